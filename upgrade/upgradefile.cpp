#include "upgrade/upgradefile.h"

#include "io/boundedstream.h"
#include "io/filenames.h"
#include "io/outputfile.h"
#include "upgrade/hextobin.h"
#include "usb/transferscrambling.h"

#include <QDataStream>
#include <QtEndian>

using namespace upgradefile;

namespace {

// The header and version texts are read, to be shown, when they are no longer
// than this; a longer one is refused unread.
constexpr quint32 MaxTextBytes = 256;

// Sum of the region's little-endian words except the last, where it belongs.
quint32 regionChecksum(const char *region, int length)
{
    quint32 sum = 0;
    for (int offset = 0; offset < length - 4; offset += 4)
        sum += qFromLittleEndian<quint32>(region + offset);
    return sum;
}

void storeChecksum(char *region, int length)
{
    qToLittleEndian<quint32>(regionChecksum(region, length), region + length - 4);
}

RegionChecksum checksumOf(const char *region, int length)
{
    RegionChecksum checksum;
    checksum.stored = qFromLittleEndian<quint32>(region + length - 4);
    checksum.computed = regionChecksum(region, length);
    return checksum;
}

} // namespace

UpgradeImage buildUpgradeImage(const QString &hexFileName)
{
    UpgradeImage built;
    built.image = QByteArray(ImageSize, '\0');
    auto *image = reinterpret_cast<unsigned char *>(built.image.data());

    built.applicationResult = HexToBin(hexFileName, image + ApplicationOffset,
                                       FlashBase + ApplicationOffset,
                                       FlashBase + ApplicationOffset + ApplicationSize - 1, &built.application);
    built.externalFlashResult = HexToBin(hexFileName, image + ExternalFlashOffset,
                                         FlashBase + ExternalFlashOffset,
                                         FlashBase + ExternalFlashOffset + ExternalFlashSize - 1,
                                         &built.externalFlash);

    storeChecksum(built.image.data() + ApplicationOffset, ApplicationSize);
    storeChecksum(built.image.data() + ExternalFlashOffset, ExternalFlashSize);
    return built;
}

bool writeUpgradeFile(const QString &fileName, const QByteArray &image, QString *errorString)
{
    auto fail = [errorString](const QString &reason) {
        if (errorString)
            *errorString = reason;
        return false;
    };
    if (image.size() != ImageSize)
        return fail(QStringLiteral("the image is not %1 bytes").arg(ImageSize));

    QByteArray scrambled(image.constData(), image.size());
    encodeTransfer(scrambled.data(), scrambled.size());

    QByteArray content;
    QDataStream out(&content, QIODevice::WriteOnly);
    out << QString::fromLatin1(Header) << QString::fromLatin1(Version) << scrambled;
    return outputfile::write(fileName, content, errorString);
}

UpgradeFileFields inspectUpgradeFile(QIODevice &device)
{
    // Each length is checked before its value is read: no field of the file
    // makes the reader hold more than the format's own sizes.
    UpgradeFileFields fields;
    QDataStream in(&device);

    if (!boundedstream::readText(in, MaxTextBytes, &fields.header) || fields.header != QLatin1String(Header)) {
        fields.result = UpgradeFileResult::WrongHeader;
        return fields;
    }
    // Past the right header, a file that ends before the values it announces
    // was cut short: a copy that stopped, not another format.
    const auto cutShort = [&in] { return in.status() == QDataStream::ReadPastEnd; };
    if (!boundedstream::readText(in, MaxTextBytes, &fields.version) || fields.version != QLatin1String(Version)) {
        fields.result = cutShort() ? UpgradeFileResult::WrongLength : UpgradeFileResult::WrongVersion;
        return fields;
    }
    // An image of any other length is a format this program does not know.
    quint32 length = 0;
    QByteArray image;
    if (boundedstream::readLength(in, &length))
        fields.imageSize = length == boundedstream::NullLength ? 0 : qint64(length);
    if (fields.imageSize != ImageSize || !boundedstream::readBytes(in, length, &image)) {
        if (fields.imageSize == ImageSize)
            fields.imageSize = -1;
        fields.result = cutShort() ? UpgradeFileResult::WrongLength : UpgradeFileResult::WrongVersion;
        return fields;
    }

    decodeTransfer(image.data(), int(image.size()));
    fields.application = checksumOf(image.constData() + ApplicationOffset, ApplicationSize);
    fields.externalFlash = checksumOf(image.constData() + ExternalFlashOffset, ExternalFlashSize);
    fields.image = image;
    fields.result = fields.application.matches() && fields.externalFlash.matches() ? UpgradeFileResult::Ok
                                                                                 : UpgradeFileResult::WrongChecksum;
    return fields;
}

UpgradeFileFields inspectUpgradeFile(const QString &fileName)
{
    InputFile file(fileName);
    if (!file.open()) {
        UpgradeFileFields fields;
        fields.result = UpgradeFileResult::CannotOpen;
        return fields;
    }
    return inspectUpgradeFile(file);
}

namespace {

UpgradeFileContent contentOf(const UpgradeFileFields &fields)
{
    UpgradeFileContent content;
    content.result = fields.result;
    if (content.result == UpgradeFileResult::Ok) {
        content.application = fields.image.mid(ApplicationOffset, ApplicationSize);
        content.externalFlash = fields.image.mid(ExternalFlashOffset, ExternalFlashSize);
    }
    return content;
}

} // namespace

UpgradeFileContent readUpgradeFile(const QString &fileName)
{
    return contentOf(inspectUpgradeFile(fileName));
}

UpgradeFileContent readUpgradeFile(QIODevice &device)
{
    return contentOf(inspectUpgradeFile(device));
}

const char *upgradeFileResultName(UpgradeFileResult result)
{
    switch (result) {
    case UpgradeFileResult::Ok:            return "ok";
    case UpgradeFileResult::CannotOpen:    return "cannot open file";
    case UpgradeFileResult::WrongHeader:   return "wrong file header";
    case UpgradeFileResult::WrongVersion:  return "wrong file version";
    case UpgradeFileResult::WrongLength:   return "wrong file length";
    case UpgradeFileResult::WrongChecksum: return "wrong file checksum";
    }
    return "unknown result";
}
