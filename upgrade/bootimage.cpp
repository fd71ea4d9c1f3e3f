#include "upgrade/bootimage.h"

#include "io/outputfile.h"
#include "upgrade/hextobin.h"

#include <algorithm>
#include <atomic>

using namespace bootimage;

BootloaderImage readBootloaderHex(const QString &hexFileName)
{
    BootloaderImage read;
    read.image = QByteArray(ImageSize, char(0xFF));
    read.hexResult = HexToBin(hexFileName, reinterpret_cast<unsigned char *>(read.image.data()),
                              FlashBase, FlashBase + ImageSize - 1, &read.hex);
    return read;
}

QByteArray stampSerial(QByteArray image, const QString &serial)
{
    const QByteArray digits = serial.toLatin1().left(SerialLength);
    std::copy(digits.cbegin(), digits.cend(), image.begin() + SerialOffset);
    return image;
}

BootloaderImage buildBootloaderImage(const QString &hexFileName, const QString &serial)
{
    BootloaderImage built = readBootloaderHex(hexFileName);
    built.image = stampSerial(built.image, serial);
    return built;
}

bool writeBootloaderImage(const QString &fileName, const QByteArray &image, QString *errorString)
{
    return outputfile::write(fileName, image, errorString);
}

QString bootloaderImageFileName(const QString &serial)
{
    return QStringLiteral("Vn274Bootloader_") + serial;
}

bool isValidBootloaderSerial(const QString &serial)
{
    if (serial.size() != SerialLength)
        return false;
    for (QChar c : serial)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    const int month = serial.mid(2, 2).toInt();
    const int day = serial.mid(4, 2).toInt();
    const int number = serial.mid(6, 3).toInt();
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && number >= 1 && number <= 999;
}

namespace {
std::atomic<DateSource> dateSource { QDate::currentDate };
} // namespace

void setProductionDateSource(DateSource source)
{
    dateSource = source ? source : QDate::currentDate;
}

QDate productionToday()
{
    return dateSource.load()();
}
