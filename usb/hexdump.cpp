#include "usb/hexdump.h"

#include <cstdio>

namespace {

constexpr int BytesPerLine = 16;

void appendLine(QByteArray &text, const unsigned char *bytes, int offset, int count)
{
    char cell[16];
    std::snprintf(cell, sizeof cell, "\n0x%04x:", offset);
    text += cell;
    for (int i = 0; i < count; ++i) {
        std::snprintf(cell, sizeof cell, " %02x", bytes[i]);
        text += cell;
    }
    text += QByteArray(3 * (BytesPerLine - count), ' ');
    text += " < ";
    for (int i = 0; i < count; ++i)
        text += static_cast<signed char>(bytes[i]) < 0x20 ? '.' : char(bytes[i]);
    text += QByteArray(BytesPerLine - count, ' ');
    text += " >";
}

} // namespace

QByteArray hexDump(const void *area, int length)
{
    const unsigned char *bytes = static_cast<const unsigned char *>(area);
    QByteArray text = "\n src address: 0x"
            + QByteArray::number(quintptr(area), 16).rightJustified(int(2 * sizeof(void *)), '0');
    if (length <= 0)
        return text;
    text.reserve(text.size() + (length / BytesPerLine + 1) * 80);

    const int fullLines = length / BytesPerLine;
    for (int line = 0; line < fullLines; ++line)
        appendLine(text, bytes + line * BytesPerLine, line * BytesPerLine, BytesPerLine);
    if (const int rest = length % BytesPerLine)
        appendLine(text, bytes + fullLines * BytesPerLine, fullLines * BytesPerLine, rest);
    return text;
}
