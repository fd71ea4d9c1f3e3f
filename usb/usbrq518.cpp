#include "usb/usbrq518.h"

#include "usb/transferscrambling.h"

#include <QtDebug>
#include <QtEndian>

namespace {

constexpr quint32 ReadChunk = 2048;
constexpr quint32 PageSize = 1024;
constexpr quint32 ExternalReadChunk = 512;
constexpr quint32 ExternalWriteChunk = 256;
constexpr int RetryBudget = 100;
constexpr int AcquireAttempts = 11;
constexpr quint32 OwnershipBit = 1;
constexpr int BootloaderSerialLength = 10;   // the application's nine characters and "b"

inline quint16 low16(quint32 address) { return quint16(address & 0xFFFF); }
inline quint16 high16(quint32 address) { return quint16(address >> 16); }

} // namespace

USBRQ518::USBRQ518()
{
    setVidPid(Vn274VendorId, Vn274ProductId);
    setDeviceId(Vn274DeviceId);
    qDebug("USBRQ518 constructor");
}

void USBRQ518::selectSerial(const QByteArray &serial)
{
    const QByteArray number = serialNumber(serial);
    setSerialFilter(number.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{ number, number + 'b' });
}

QByteArray USBRQ518::selectedSerial()
{
    return serialFilter().value(0);
}

QByteArray USBRQ518::serialNumber(const QByteArray &serialString)
{
    if (serialString.size() == BootloaderSerialLength && serialString.endsWith('b'))
        return serialString.left(BootloaderSerialLength - 1);
    return serialString;
}

int USBRQ518::ReadFromAddress(void *buffer, quint32 address, quint32 length)
{
    unsigned char *p = static_cast<unsigned char *>(buffer);
    while (length > 0) {
        const quint32 chunk = qMin(length, ReadChunk);
        if (control_receive(ReadRequest, low16(address), high16(address), p, int(chunk)) != int(chunk))
            return -1;
        // The device scrambles each transfer with the key starting afresh.
        decodeTransfer(p, int(chunk));
        p += chunk;
        address += chunk;
        length -= chunk;
    }
    return 0;
}

int USBRQ518::WritePageToAddress(void *buffer, quint32 address)
{
    encodeTransfer(buffer, int(PageSize));
    return control_send(WritePageRequest, low16(address), high16(address), buffer, int(PageSize)) == int(PageSize)
            ? 0 : -1;
}

int USBRQ518::ReadExternalFlashFromAddress(void *buffer, quint32 address, quint32 length)
{
    return transferExternalFlash(Direction::Read, static_cast<unsigned char *>(buffer), address, length);
}

int USBRQ518::WriteExternalFlashToAddress(const void *buffer, quint32 address, quint32 length)
{
    // Only sent, never written to.
    return transferExternalFlash(Direction::Write, static_cast<unsigned char *>(const_cast<void *>(buffer)),
                                 address, length);
}

int USBRQ518::transferExternalFlash(Direction direction, unsigned char *data, quint32 address, quint32 length)
{
    const bool reading = direction == Direction::Read;
    const quint32 chunkSize = reading ? ExternalReadChunk : ExternalWriteChunk;
    int retriesLeft = RetryBudget;   // for the whole call, not per chunk
    quint32 remaining = length;

    while (remaining > 0) {
        const quint32 chunk = qMin(remaining, chunkSize);
        const int moved = reading
                ? control_receive(ReadExternalFlashRequest, low16(address), high16(address), data, int(chunk))
                : control_send(WriteExternalFlashRequest, low16(address), high16(address), data, int(chunk));
        if (moved != int(chunk)) {
            // The failed transfer closed the link; the retry reconnects.
            if (retriesLeft == 0)
                return -1;
            --retriesLeft;
            continue;
        }
        data += chunk;
        address += chunk;
        remaining -= chunk;
        const int percent = int((length - remaining) * 100u / length);   // unsigned 32-bit
        if (reading)
            emit sendPercentExtFlashRead(percent);
        else
            emit sendPercentExtFlashWrite(percent);
    }
    return 0;
}

void USBRQ518::RunApplication()
{
    qDebug("USBRQ518::RunApplication(void)");
    control_send(RunApplicationRequest, 0, 0, nullptr, 0);
}

int USBRQ518::StatusGet(quint32 *status)
{
    unsigned char word[4];
    if (control_receive(StatusGetRequest, 0, 0, word, sizeof word) != int(sizeof word))
        return -1;
    if (status)
        *status = qFromLittleEndian<quint32>(word);
    return 0;
}

int USBRQ518::StatusSet(quint32 mask)
{
    unsigned char word[4];
    qToLittleEndian(mask, word);
    return control_send(StatusSetRequest, 0, 0, word, sizeof word) == int(sizeof word) ? 0 : -1;
}

int USBRQ518::StatusClr(quint32 mask)
{
    unsigned char word[4];
    qToLittleEndian(mask, word);
    return control_send(StatusClrRequest, 0, 0, word, sizeof word) == int(sizeof word) ? 0 : -1;
}

int USBRQ518::StatusAcquire()
{
    if (connect() < 0)
        return -1;
    for (int attempt = 0; attempt < AcquireAttempts; ++attempt) {
        quint32 status = 0;
        if (StatusGet(&status) < 0) {
            connect();
            continue;
        }
        if (status & OwnershipBit)
            return 0;
        StatusSet(OwnershipBit);
    }
    return -1;
}

int USBRQ518::StatusRelease()
{
    return StatusClr(OwnershipBit);
}

// The meta-object code in this file's own object, so that a program using the
// link alone (vn274-tool) does not pull in the window's.
#include "moc_usbrq518.cpp"
