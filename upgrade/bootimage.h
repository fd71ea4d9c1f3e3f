#ifndef BOOTIMAGE_H
#define BOOTIMAGE_H

#include "upgrade/hextobin.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// Bootloader images (.bin) for the production line: the bootloader's 16 KB of
// internal flash, 0x08000000-0x08003FFF, byte i at address 0x08000000 + i, with
// the device's serial number stamped in. Raw bytes, no header, not scrambled.
namespace bootimage {

inline constexpr quint32 FlashBase = 0x08000000;
inline constexpr int ImageSize = 16384;
inline constexpr int SerialOffset = 0x3FF0;   // nine ASCII digits, no terminator
inline constexpr int SerialLength = 9;

} // namespace bootimage

struct BootloaderImage
{
    QByteArray image;     // 16384 bytes
    int hexResult = 0;    // HexToBin result
    HexToBinDetails hex;  // and what it found
};

// Reads the bootloader's HEX file into an image whose gaps are 0xFF (erased
// flash), as the HEX file has it at 0x3FF0. A HexToBin error does not stop it:
// the image holds what was read before the error, and hexResult tells the
// caller.
BootloaderImage readBootloaderHex(const QString &hexFileName);

// The image with the serial's nine characters at 0x3FF0, over whatever the
// HEX file put there. A batch reads the HEX file once and stamps each serial
// into a copy.
QByteArray stampSerial(QByteArray image, const QString &serial);

// readBootloaderHex, then stampSerial.
BootloaderImage buildBootloaderImage(const QString &hexFileName, const QString &serial);

// Writes the image as io/outputfile.h writes. Returns false, with the reason
// in errorString if given, when the file cannot be written.
bool writeBootloaderImage(const QString &fileName, const QByteArray &image, QString *errorString = nullptr);

// The file name proposed for an image: "Vn274Bootloader_" followed by the serial.
QString bootloaderImageFileName(const QString &serial);

// Whether a serial number reads YYMMDDNNN: nine digits, month 01-12, day 01-31
// (not checked against the month), number 001-999.
bool isValidBootloaderSerial(const QString &serial);

// Today's date, from which the serial number dialogs take their presets. It
// goes through a replaceable function so that tests can pick the day; a null
// function restores QDate::currentDate.
using DateSource = QDate (*)();
void setProductionDateSource(DateSource source);
QDate productionToday();

#endif // BOOTIMAGE_H
