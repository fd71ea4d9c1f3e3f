#include "upgrade/samplefirmware.h"

#include <QtEndian>

#include <cmath>

namespace samplefirmware {

namespace {

constexpr quint32 StackTop = 0x20005000;
constexpr int VectorCount = 64;
constexpr int CodeSize = 40 * 1024;
constexpr int VersionOffset = 0x200;
constexpr int DataBlockSize = 20 * 1024;

// Irregular but repeatable bytes, as compiled code looks.
class Noise
{
public:
    explicit Noise(quint32 seed) : state(seed) {}
    char next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return char(state >> 24);
    }

private:
    quint32 state;
};

QByteArray hexByte(int value)
{
    return QByteArray::number(value & 0xFF, 16).rightJustified(2, '0').toUpper();
}

QByteArray record(int type, quint16 address, const QByteArray &data)
{
    int sum = int(data.size()) + (address >> 8) + (address & 0xFF) + type;
    for (char c : data)
        sum += static_cast<unsigned char>(c);
    return ":" + hexByte(int(data.size())) + hexByte(address >> 8) + hexByte(address) + hexByte(type)
            + data.toHex().toUpper() + hexByte(-sum) + "\r\n";
}

} // namespace

QByteArray application()
{
    QByteArray code(CodeSize, '\0');
    Noise noise(0x2741u);
    for (char &c : code)
        c = noise.next();

    // A Cortex-M vector table: the stack top, then the handlers (Thumb addresses).
    qToLittleEndian<quint32>(StackTop, code.data());
    for (int vector = 1; vector < VectorCount; ++vector)
        qToLittleEndian<quint32>(ApplicationAddress + (vector == 1 ? 0x401 : 0x481), code.data() + 4 * vector);

    const QByteArray version("Vn274 sample application 1.02");
    code.replace(VersionOffset, int(version.size()) + 1, version + '\0');
    return code;
}

QByteArray dataBlock()
{
    QByteArray data(DataBlockSize, '\0');
    // A gamma table for the lamps, then a name, then tables the firmware uses.
    for (int i = 0; i < 256; ++i)
        data[i] = char(std::lround(255.0 * std::pow(i / 255.0, 2.2)));
    const QByteArray name("Vn274 sample data block");
    data.replace(256, int(name.size()), name);
    Noise noise(0x0789u);
    for (int i = 512; i < DataBlockSize; ++i)
        data[i] = noise.next();
    return data;
}

QByteArray intelHex(const QList<QPair<quint32, QByteArray>> &blocks)
{
    QByteArray text;
    quint32 upper = 0xFFFFFFFF;
    for (const auto &[address, data] : blocks) {
        for (int i = 0; i < data.size();) {
            const quint32 at = address + quint32(i);
            if ((at >> 16) != upper) {
                upper = at >> 16;
                text += record(0x04, 0, QByteArray::fromHex(hexByte(int(upper >> 8)) + hexByte(int(upper))));
            }
            // Records never cross a 64 KiB boundary.
            const int n = int(qMin<quint32>(qMin<quint32>(16, quint32(data.size() - i)), 0x10000 - (at & 0xFFFF)));
            text += record(0x00, quint16(at), data.mid(i, n));
            i += n;
        }
    }
    return text + ":00000001FF\r\n";
}

QByteArray hexFile()
{
    return intelHex({ { ApplicationAddress, application() }, { DataBlockAddress, dataBlock() } });
}

} // namespace samplefirmware
