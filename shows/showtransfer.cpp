#include "shows/showtransfer.h"

#include "shows/showtables.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"

namespace Shows {

TransferResult readTableFromDriver(USBRQ518 &device, quint32 address, QByteArray &table)
{
    if (device.StatusAcquire() != 0)
        return TransferResult::AcquireFailed;

    QByteArray buffer(table.size(), '\0');
    const bool read = device.ReadExternalFlashFromAddress(buffer.data(), address, quint32(buffer.size())) == 0;
    if (read) {
        decodeTransfer(buffer.data(), int(buffer.size()));
        table = buffer;
    }
    device.StatusRelease();
    return read ? TransferResult::Done : TransferResult::ReadFailed;
}

TransferResult writeTableToDriver(USBRQ518 &device, quint32 address, const QByteArray &table)
{
    if (device.StatusAcquire() != 0)
        return TransferResult::AcquireFailed;

    QByteArray buffer = table;
    encodeTransfer(buffer.data(), int(buffer.size()));
    const bool written = device.WriteExternalFlashToAddress(buffer.constData(), address, quint32(buffer.size())) == 0;
    device.StatusRelease();
    return written ? TransferResult::Done : TransferResult::WriteFailed;
}

TransferResult readProgramsFromDriver(USBRQ518 &device, QByteArray &programs)
{
    return readTableFromDriver(device, ProgramTableAddress, programs);
}

TransferResult writeProgramsToDriver(USBRQ518 &device, const QByteArray &programs)
{
    return writeTableToDriver(device, ProgramTableAddress, programs);
}

TransferResult readScenesFromDriver(USBRQ518 &device, QByteArray &scenes)
{
    return readTableFromDriver(device, SceneTableAddress, scenes);
}

TransferResult writeScenesToDriver(USBRQ518 &device, const QByteArray &scenes)
{
    return writeTableToDriver(device, SceneTableAddress, scenes);
}

} // namespace Shows
