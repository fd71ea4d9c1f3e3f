#ifndef HEXTOBIN_H
#define HEXTOBIN_H

#include <QString>
#include <QtGlobal>

class QIODevice;

// Results of HexToBin. Users see them as numbers ("HexToBin error: -6)"), so the
// values never change; new causes get new codes.
enum HexToBinResult {
    HexToBinOk = 0,                 // an end-of-file record was reached, or the file ended
    HexToBinLineTooShort = -1,      // a line shorter than 11 characters, line end included
    HexToBinNoStartCode = -2,       // a line whose first character is not ':'
    HexToBinBadByteCount = -3,      // byte count not hexadecimal
    HexToBinBadAddress = -4,        // address not hexadecimal
    HexToBinBadRecordType = -5,     // record type not hexadecimal
    HexToBinBadData = -6,           // a data byte or the checksum missing or not hexadecimal,
                                    // or anything but blanks after the checksum
    HexToBinUnsupportedRecord = -7, // record type other than 00, 01, 04, 05, or the value
                                    // of an extended linear address not hexadecimal
    HexToBinBadChecksum = -8,       // a data or extended linear address record whose
                                    // checksum does not match
    HexToBinCannotRead = -9         // the file cannot be opened or read
};

// Reads the Intel HEX file fileName and copies every data byte whose absolute
// address A lies in [firstAddress, lastAddress] to image[A - firstAddress]. The
// caller owns and prepares the image (at least lastAddress - firstAddress + 1
// bytes); bytes the file does not define are left alone. Understands data (00),
// end of file (01), extended linear address (04) and start linear address (05,
// skipped) records. A record ends with its checksum: only spaces and tabs may
// follow it on its line. Data and extended linear address records take effect
// only after their checksum matched. Stops at the first error and keeps what it
// stored before. Returns 0 or one of the negative HexToBinResult codes.
int HexToBin(const QString &fileName, unsigned char *image, quint32 firstAddress, quint32 lastAddress);
// The same from a device open for reading, from its current position.
int HexToBin(QIODevice &device, unsigned char *image, quint32 firstAddress, quint32 lastAddress);

// What a reading found beside its result, for the tools that must tell a HEX
// file that reads well from one that is of no use to them: the HEX output of
// another build (nothing in the window) or a file cut short.
struct HexToBinDetails
{
    qint64 bytesInWindow = 0;       // data bytes stored into the image
    bool endOfFileRecord = false;   // reading ended at an end-of-file record (01),
                                    // not merely where the file did
    QString readError;              // the system's reason when the file could not be read
};
int HexToBin(const QString &fileName, unsigned char *image, quint32 firstAddress, quint32 lastAddress,
             HexToBinDetails *details);
int HexToBin(QIODevice &device, unsigned char *image, quint32 firstAddress, quint32 lastAddress,
             HexToBinDetails *details);

// A short English name of a HexToBin result ("line too short", "bad checksum", ...),
// for logs and command-line tools. Unknown codes give "unknown error".
const char *hexToBinResultName(int result);

namespace hexfield {

// Reads a fixed-width hexadecimal field of a HEX record exactly as
// QString::fromLatin1(field, width).toUInt(&ok, 16) would: surrounding blanks
// (space, tab, CR, LF, VT, FF), one leading '+' and a "0x" prefix are accepted,
// a NUL ends the field. Returns false where toUInt would report failure.
bool parse(const char *field, int width, quint32 *value);

} // namespace hexfield

#endif // HEXTOBIN_H
