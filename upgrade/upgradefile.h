#ifndef UPGRADEFILE_H
#define UPGRADEFILE_H

#include "upgrade/hextobin.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// Upgrade files (.upg): one firmware release, the application for the internal
// flash and the data block for the external flash, in one 262144-byte image that
// mirrors the device from 0x08000000 upwards (image offset = address - 0x08000000).
//
// The file is a QDataStream with default settings holding three values: the
// header string "Vn274 Upgrade File Header", the version string "01" and the
// image, scrambled by one encodeTransfer call over all of it, as a QByteArray.
// 262210 bytes in all.
//
// Each region ends in a checksum word: the 32-bit sum (mod 2^32) of all the
// region's other little-endian words, stored little-endian in its last word,
// over the plain image.
namespace upgradefile {

inline constexpr quint32 FlashBase = 0x08000000;      // device address of image offset 0
inline constexpr int ImageSize = 0x40000;
inline constexpr int ApplicationOffset = 0x4000;      // internal flash 0x08004000-0x0801FFFF
inline constexpr int ApplicationSize = 0x1C000;
inline constexpr int ExternalFlashOffset = 0x20000;   // external flash 0x0-0x13FFF,
inline constexpr int ExternalFlashSize = 0x14000;     // HEX addresses 0x08020000-0x08033FFF
inline constexpr int FileSize = 262210;

inline constexpr char Header[] = "Vn274 Upgrade File Header";
inline constexpr char Version[] = "01";

} // namespace upgradefile

// A plain upgrade image built from the firmware build's HEX file.
struct UpgradeImage
{
    QByteArray image;             // 262144 bytes, gaps 0x00, both checksum words in place
    int applicationResult = 0;    // HexToBin result for the application window
    int externalFlashResult = 0;  // HexToBin result for the external flash data window
    HexToBinDetails application;  // what each reading found
    HexToBinDetails externalFlash;
};

// Reads the HEX file twice, the application (0x08004000-0x0801FFFF) and the
// external flash data (0x08020000-0x08033FFF), into a zero-filled image, then
// stores both checksum words. A HexToBin error does not stop it: the image holds
// what was read before the error, and the results tell the caller what happened.
UpgradeImage buildUpgradeImage(const QString &hexFileName);

// Writes an upgrade file holding the plain image (262144 bytes, left unchanged)
// as io/outputfile.h writes: a file that existed stays as it was unless the
// whole new one was written. Returns false, with the reason in errorString if
// given, when it cannot be written.
bool writeUpgradeFile(const QString &fileName, const QByteArray &image, QString *errorString = nullptr);

// What reading an upgrade file found.
enum class UpgradeFileResult {
    Ok,
    CannotOpen,
    WrongHeader,     // header string not "Vn274 Upgrade File Header"
    WrongVersion,    // version string not "01", or an image not of 262144 bytes
    WrongLength,     // the file ends before the values it announces: cut short
    WrongChecksum    // a region's checksum word does not match: a damaged file
};

// The two regions of an upgrade file, descrambled, ready for the device.
struct UpgradeFileContent
{
    UpgradeFileResult result = UpgradeFileResult::CannotOpen;
    QByteArray application;       // 0x1C000 bytes for internal flash from 0x08004000
    QByteArray externalFlash;     // 0x14000 bytes for external flash from 0
};

// Reads and checks an upgrade file: the header, then the version, then an image
// of exactly 262144 bytes, which is descrambled and whose two checksum words
// must match. Only with Ok are the regions filled. Touches no device.
UpgradeFileContent readUpgradeFile(const QString &fileName);
// The same from a device open for reading, from its current position.
UpgradeFileContent readUpgradeFile(QIODevice &device);

// A region's checksum word as stored and as the region's other words add up.
struct RegionChecksum
{
    quint32 stored = 0;
    quint32 computed = 0;
    bool matches() const { return stored == computed; }
};

// What the reader finds in an upgrade file, field by field, for tools that show
// it. Reading stops where readUpgradeFile stops: the fields after the one that
// failed keep their defaults.
struct UpgradeFileFields
{
    UpgradeFileResult result = UpgradeFileResult::CannotOpen;
    QString header;                // as stored
    QString version;               // as stored, once the header was right
    qint64 imageSize = -1;         // bytes of the image as its length field says;
                                   // -1 when not reached or cut short (WrongLength)
    QByteArray image;              // descrambled, when it has 262144 bytes
    RegionChecksum application;    // with such an image
    RegionChecksum externalFlash;
};

// The reading behind readUpgradeFile, with everything it found. A header or
// version text longer than 256 bytes is refused unread, and so is an image
// whose length field is not 262144: no file makes it hold more than that.
UpgradeFileFields inspectUpgradeFile(const QString &fileName);
// The same from a device open for reading, from its current position.
UpgradeFileFields inspectUpgradeFile(QIODevice &device);

// A short English name of a reading result, for logs and command-line tools.
const char *upgradeFileResultName(UpgradeFileResult result);

#endif // UPGRADEFILE_H
