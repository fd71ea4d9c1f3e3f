#include "upgrade/hextobin.h"

#include "io/filenames.h"

#include <array>
#include <cstring>

namespace {

// Value of every byte as a hexadecimal digit, -1 for the others.
constexpr std::array<signed char, 256> digitValues = [] {
    std::array<signed char, 256> values {};
    for (int c = 0; c < 256; ++c) {
        if (c >= '0' && c <= '9')
            values[c] = static_cast<signed char>(c - '0');
        else if (c >= 'a' && c <= 'f')
            values[c] = static_cast<signed char>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            values[c] = static_cast<signed char>(c - 'A' + 10);
        else
            values[c] = -1;
    }
    return values;
}();

inline int digitValue(char c)
{
    return digitValues[static_cast<unsigned char>(c)];
}

// The blanks that QString::toUInt skips around a number.
inline bool isBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Hands out the lines of a device one at a time, each with its line end (LF,
// CR LF, or a CR alone). Reads the device in chunks, so that lines of any length
// are read whole; a line can only be refused for its content, never for where a
// read happened to stop.
class LineReader
{
public:
    explicit LineReader(QIODevice &device)
        : device(device), buffer(BufferSize, Qt::Uninitialized)
    {
    }

    // The next line, valid until the next call of next() or restOfLineBlank().
    // False at the end of the data or on a read error (see failed()).
    bool next(const char **line, int *length);
    // Whether the part of the current line beyond the characters handed out
    // holds only spaces and tabs. Only a line longer than MaxLine has such a
    // part; it is read here, so the line handed out is no longer valid.
    bool restOfLineBlank();
    bool failed() const { return readError; }

private:
    // No record needs more than 523 characters (255 data bytes and CR LF). Of a
    // longer line only the first MaxLine characters are handed out and the rest
    // is read on without being kept, so that a huge file without line ends
    // costs no memory.
    enum { BufferSize = 64 * 1024, MaxLine = 4096 };

    int lineEnd(int *scanned) const;
    bool skipRestOfLine();
    void fill();

    QIODevice &device;
    QByteArray buffer;
    int begin = 0;           // first byte not handed out yet
    int end = 0;             // one past the last byte read into the buffer
    bool atEnd = false;
    bool readError = false;
    bool cut = false;        // the line handed out last goes on beyond it
};

// Where the line at begin ends (just past its line end), or -1 when the data
// read so far does not tell. *scanned counts the bytes after begin known to hold
// no line end.
int LineReader::lineEnd(int *scanned) const
{
    const char *data = buffer.constData();
    int k = begin + *scanned;
    while (k < end && data[k] != '\n' && data[k] != '\r')
        ++k;
    *scanned = k - begin;
    if (k == end)
        return atEnd ? end : -1;
    if (data[k] == '\n')
        return k + 1;
    if (k + 1 < end)
        return data[k + 1] == '\n' ? k + 2 : k + 1;
    return atEnd ? k + 1 : -1;   // whether an LF follows this CR is in the next chunk
}

bool LineReader::next(const char **line, int *length)
{
    if (cut)
        restOfLineBlank();
    int scanned = 0;
    for (;;) {
        if (readError)
            return false;
        const int stop = lineEnd(&scanned);
        if (stop == begin)
            return false;   // at the end, nothing left
        if (stop > begin || scanned >= MaxLine) {
            *line = buffer.constData() + begin;
            *length = stop > begin ? stop - begin : MaxLine;
            cut = stop < begin;
            begin += *length;
            return true;
        }
        fill();
    }
}

bool LineReader::restOfLineBlank()
{
    if (!cut)
        return true;
    cut = false;
    return skipRestOfLine();
}

// Reads on to just past the current line's end; true when nothing but spaces
// and tabs came before it.
bool LineReader::skipRestOfLine()
{
    bool blank = true;
    for (;;) {
        int scanned = 0;
        const int stop = lineEnd(&scanned);
        for (int k = begin; k < begin + scanned && blank; ++k)
            blank = buffer.at(k) == ' ' || buffer.at(k) == '\t';
        if (stop >= begin) {
            begin = stop;
            return blank;
        }
        begin += scanned;
        fill();
    }
}

void LineReader::fill()
{
    const int kept = end - begin;
    std::memmove(buffer.data(), buffer.constData() + begin, size_t(kept));
    begin = 0;
    end = kept;
    const qint64 n = device.read(buffer.data() + end, buffer.size() - end);
    if (n < 0)
        readError = true;
    if (n <= 0)
        atEnd = true;
    else
        end += int(n);
}

// Spaces and tabs, and the line end the line was handed out with.
inline bool onlyBlanks(const char *text, int length)
{
    for (int i = 0; i < length; ++i)
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n')
            return false;
    return true;
}

// A field of the line; one that runs past the line's characters is not hexadecimal.
inline bool lineField(const char *line, int length, int position, int width, quint32 *value)
{
    return position + width <= length && hexfield::parse(line + position, width, value);
}

} // namespace

namespace hexfield {

bool parse(const char *field, int width, quint32 *value)
{
    // Firmware builds write plain digits; everything else takes the long way.
    quint32 plain = 0;
    int i = 0;
    for (; i < width; ++i) {
        const int d = digitValue(field[i]);
        if (d < 0)
            break;
        plain = (plain << 4) | quint32(d);
    }
    if (i == width) {
        *value = plain;
        return width > 0;
    }

    int e = 0;
    while (e < width && field[e] != '\0')
        ++e;
    int b = 0;
    while (b < e && isBlank(field[b]))
        ++b;
    while (e > b && isBlank(field[e - 1]))
        --e;
    if (b < e && field[b] == '+')
        ++b;
    if (e - b >= 2 && field[b] == '0' && (field[b + 1] == 'x' || field[b + 1] == 'X'))
        b += 2;
    if (b == e)
        return false;
    quint32 result = 0;
    for (; b < e; ++b) {
        const int d = digitValue(field[b]);
        if (d < 0)
            return false;
        result = (result << 4) | quint32(d);
    }
    *value = result;
    return true;
}

} // namespace hexfield

int HexToBin(const QString &fileName, unsigned char *image, quint32 firstAddress, quint32 lastAddress)
{
    return HexToBin(fileName, image, firstAddress, lastAddress, nullptr);
}

int HexToBin(QIODevice &device, unsigned char *image, quint32 firstAddress, quint32 lastAddress)
{
    return HexToBin(device, image, firstAddress, lastAddress, nullptr);
}

int HexToBin(const QString &fileName, unsigned char *image, quint32 firstAddress, quint32 lastAddress,
             HexToBinDetails *details)
{
    InputFile file(fileName);
    if (!file.open()) {
        if (details)
            details->readError = file.errorString();
        return HexToBinCannotRead;
    }
    const int result = HexToBin(file, image, firstAddress, lastAddress, details);
    if (result == HexToBinCannotRead && details)
        details->readError = file.errorString();
    return result;
}

int HexToBin(QIODevice &device, unsigned char *image, quint32 firstAddress, quint32 lastAddress,
             HexToBinDetails *details)
{
    HexToBinDetails found;
    details = details ? details : &found;
    LineReader lines(device);
    quint32 upper = 0;
    unsigned char data[255];
    const char *line;
    int length;
    while (lines.next(&line, &length)) {
        if (length < 11)
            return HexToBinLineTooShort;
        if (line[0] != ':')
            return HexToBinNoStartCode;
        quint32 count, address, type;
        if (!lineField(line, length, 1, 2, &count))
            return HexToBinBadByteCount;
        if (!lineField(line, length, 3, 4, &address))
            return HexToBinBadAddress;
        if (!lineField(line, length, 7, 2, &type))
            return HexToBinBadRecordType;

        // A record ends with its checksum pair: whatever else the line holds
        // but blanks (a second record, say) would be data that no byte count
        // covers, dropped without a word. The check reads the rest of a long
        // line, after which `line` is not used.
        const int recordEnd = 11 + 2 * int(count);
        const auto endsWithRecord = [&] {
            return (length <= recordEnd || onlyBlanks(line + recordEnd, length - recordEnd)) && lines.restOfLineBlank();
        };

        if (type == 0x01) {
            details->endOfFileRecord = true;
            return HexToBinOk;
        }
        if (type == 0x05) {
            if (!endsWithRecord())
                return HexToBinBadData;
            continue;
        }
        if (type != 0x00 && type != 0x04)
            return HexToBinUnsupportedRecord;

        quint32 linearAddress = 0;
        if (type == 0x04 && !lineField(line, length, 9, 4, &linearAddress))
            return HexToBinUnsupportedRecord;

        // The record takes effect only once its checksum matched.
        quint32 sum = count + (address >> 8) + (address & 0xFF) + type;
        for (quint32 i = 0; i < count; ++i) {
            quint32 byte;
            if (!lineField(line, length, 9 + 2 * int(i), 2, &byte))
                return HexToBinBadData;
            data[i] = static_cast<unsigned char>(byte);
            sum += byte;
        }
        quint32 checksum;
        if (!lineField(line, length, 9 + 2 * int(count), 2, &checksum) || !endsWithRecord())
            return HexToBinBadData;
        if (((sum + checksum) & 0xFF) != 0)
            return HexToBinBadChecksum;

        if (type == 0x04) {
            upper = linearAddress << 16;
            continue;
        }
        for (quint32 i = 0; i < count; ++i) {
            const quint32 a = upper + address + i;
            if (a >= firstAddress && a <= lastAddress) {
                image[a - firstAddress] = data[i];
                ++details->bytesInWindow;
            }
        }
    }
    return lines.failed() ? HexToBinCannotRead : HexToBinOk;
}

const char *hexToBinResultName(int result)
{
    switch (result) {
    case HexToBinOk:                return "ok";
    case HexToBinLineTooShort:      return "line too short";
    case HexToBinNoStartCode:       return "no start code";
    case HexToBinBadByteCount:      return "bad byte count";
    case HexToBinBadAddress:        return "bad address";
    case HexToBinBadRecordType:     return "bad record type";
    case HexToBinBadData:           return "bad data";
    case HexToBinUnsupportedRecord: return "unsupported record";
    case HexToBinBadChecksum:       return "bad checksum";
    case HexToBinCannotRead:        return "cannot read file";
    }
    return "unknown error";
}
