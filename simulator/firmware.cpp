#include "simulator/firmware.h"

#include "simulator/faults.h"
#include "usb/transferscrambling.h"

#include <QtEndian>

#include <cerrno>
#include <cstring>

namespace sim::model {

namespace {

constexpr int MaxRead = 2048;
constexpr int MaxExternalRead = 512;
constexpr int MaxExternalWrite = 256;
constexpr int TestWriteLength = 512;
constexpr int SerialLength = 9;

bool inRange(quint64 address, quint64 length, quint64 base, quint64 size)
{
    return address >= base && address + length <= base + size;
}

void putText(QByteArray &memory, quint32 offset, const char *text)
{
    std::memcpy(memory.data() + offset, text, std::strlen(text) + 1);
}

// The words of one transfer, key restarting at its first word. Written out
// here rather than taken from the tool, so that a fault in the tool's
// scrambling is not shared by its yardstick. The key table is the build's.
void scramble(QByteArray &data)
{
    for (int i = 0; i + 4 <= data.size(); i += 4) {
        const quint32 k = qFromLittleEndian<quint32>(transferKey + (i / 4 % 32) * 4);
        const quint32 w = qFromLittleEndian<quint32>(data.constData() + i);
        qToLittleEndian<quint32>((w ^ k) + k, data.data() + i);
    }
}

void descramble(QByteArray &data)
{
    for (int i = 0; i + 4 <= data.size(); i += 4) {
        const quint32 k = qFromLittleEndian<quint32>(transferKey + (i / 4 % 32) * 4);
        const quint32 w = qFromLittleEndian<quint32>(data.constData() + i);
        qToLittleEndian<quint32>((w - k) ^ k, data.data() + i);
    }
}

} // namespace

Firmware::Firmware(const QByteArray &serial, Mode mode)
    : runningMode(mode),
      internal(int(InternalFlashSize), char(0xFF)),
      external(int(ExternalFlashSize), char(0xFF))
{
    putText(internal, BootloaderVersionAddress - InternalFlashBase, DefaultBootloaderVersion);
    putText(internal, BootloaderVersionAddress + 16 - InternalFlashBase, DefaultBootloaderDate);
    const QByteArray stored = serial.left(SerialLength).leftJustified(SerialLength, '\0');
    std::memcpy(internal.data() + (SerialAddress - InternalFlashBase), stored.constData(), SerialLength);
}

QByteArray Firmware::serialString() const
{
    QByteArray serial;
    for (int i = 0; i < SerialLength; ++i) {
        const char c = internal.at(int(SerialAddress - InternalFlashBase) + i);
        if (c == '\0' || c == char(0xFF))
            break;
        serial += c;
    }
    if (runningMode == Mode::Bootloader)
        serial += 'b';
    return serial;
}

int Firmware::answer(int request, quint32 address, int length, Faults &faults, QByteArray &reply)
{
    switch (request) {
    case 255:
        reply.resize(2);
        qToLittleEndian(IdentificationWord, reply.data());
        return 0;
    case 1:
        if (length > MaxRead || !inRange(address, quint64(length), InternalFlashBase, InternalFlashSize))
            return -EPIPE;
        reply = internal.mid(int(address - InternalFlashBase), length);
        faults.corrupt(Memory::Internal, address, reply);
        scramble(reply);
        return 0;
    case 5:
        if (length > MaxExternalRead || !inRange(address, quint64(length), 0, ExternalFlashSize))
            return -EPIPE;
        reply = external.mid(int(address), length);
        faults.corrupt(Memory::External, address, reply);
        return 0;
    case 9:
        reply.resize(4);
        qToLittleEndian(status, reply.data());
        return 0;
    default:
        return -EPIPE;
    }
}

int Firmware::take(int request, quint32 address, const QByteArray &data, bool *restart)
{
    *restart = false;
    const int length = data.size();
    switch (request) {
    case 2:
        if (length != TestWriteLength)
            return -EPIPE;
        testWrite = data;
        return length;
    case 3: {
        if (runningMode != Mode::Bootloader || length != int(PageSize) || address % PageSize != 0
                || !inRange(address, PageSize, ApplicationBase, InternalFlashBase + InternalFlashSize - ApplicationBase))
            return -EPIPE;
        QByteArray page = data;
        descramble(page);
        std::memcpy(internal.data() + (address - InternalFlashBase), page.constData(), PageSize);
        return length;
    }
    case 4:
        if (length != 0)
            return -EPIPE;
        // Acknowledged first; the bus then takes the driver off and brings it
        // back in the other mode.
        *restart = true;
        return 0;
    case 6:
        if (length < 1 || length > MaxExternalWrite || !inRange(address, quint64(length), 0, ExternalFlashSize))
            return -EPIPE;
        std::memcpy(external.data() + address, data.constData(), size_t(length));
        return length;
    case 7:
    case 8: {
        if (length != 4)
            return -EPIPE;
        const quint32 mask = qFromLittleEndian<quint32>(data.constData()) & ~lockedBits;
        status = request == 7 ? status | mask : status & ~mask;
        return length;
    }
    default:
        return -EPIPE;
    }
}

void Firmware::forgetRam()
{
    status = 0;
    bulkLoop.clear();
}

QByteArray Firmware::internalFlash(quint32 address, int length) const
{
    if (length < 0 || !inRange(address, quint64(length), InternalFlashBase, InternalFlashSize))
        return QByteArray();
    return internal.mid(int(address - InternalFlashBase), length);
}

void Firmware::writeInternalFlash(quint32 address, const QByteArray &bytes)
{
    if (inRange(address, quint64(bytes.size()), InternalFlashBase, InternalFlashSize))
        std::memcpy(internal.data() + (address - InternalFlashBase), bytes.constData(), size_t(bytes.size()));
}

QByteArray Firmware::externalFlash(quint32 address, int length) const
{
    if (length < 0 || !inRange(address, quint64(length), 0, ExternalFlashSize))
        return QByteArray();
    return external.mid(int(address), length);
}

void Firmware::writeExternalFlash(quint32 address, const QByteArray &bytes)
{
    if (inRange(address, quint64(bytes.size()), 0, ExternalFlashSize))
        std::memcpy(external.data() + address, bytes.constData(), size_t(bytes.size()));
}

} // namespace sim::model
