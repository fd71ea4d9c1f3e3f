#include "firmwarehex.h"

#include "benchmark.h"

#include <QFile>

namespace bench {

namespace {

constexpr quint32 FirmwareBase = 0x08000000;
constexpr int FirmwareSize = 256 * 1024;

void appendHexByte(QByteArray &line, unsigned value)
{
    static const char digits[] = "0123456789ABCDEF";
    line += digits[(value >> 4) & 0xF];
    line += digits[value & 0xF];
}

void appendRecord(QByteArray &text, unsigned type, unsigned address, const char *data, int count)
{
    unsigned sum = unsigned(count) + (address >> 8) + (address & 0xFF) + type;
    text += ':';
    appendHexByte(text, unsigned(count));
    appendHexByte(text, address >> 8);
    appendHexByte(text, address);
    appendHexByte(text, type);
    for (int i = 0; i < count; ++i) {
        const unsigned byte = static_cast<unsigned char>(data[i]);
        appendHexByte(text, byte);
        sum += byte;
    }
    appendHexByte(text, (0x100 - (sum & 0xFF)) & 0xFF);
    text += "\r\n";
}

} // namespace

QByteArray firmwareBytes()
{
    QByteArray bytes(FirmwareSize, Qt::Uninitialized);
    quint32 state = 0x2545F491;
    for (char &b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = char(state >> 24);
    }
    return bytes;
}

QString firmwareHexFile()
{
    static QString path;
    if (!path.isEmpty())
        return path;

    const QByteArray firmware = firmwareBytes();
    QByteArray text;
    for (int offset = 0; offset < firmware.size();) {
        const quint32 address = FirmwareBase + quint32(offset);
        if ((address & 0xFFFF) == 0) {
            const char upper[2] = { char(address >> 24), char(address >> 16) };
            appendRecord(text, 0x04, 0, upper, 2);
        }
        const int count = offset < firmware.size() / 2 ? 16 : 32;
        appendRecord(text, 0x00, address & 0xFFFF, firmware.constData() + offset, count);
        offset += count;
    }
    text += ":00000001FF\r\n";

    path = scratchPath("firmware.hex");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace bench
