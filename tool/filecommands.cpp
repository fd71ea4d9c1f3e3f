// The subcommands that make and read files: no driver involved.
#include "tool/commands.h"

#include "io/filenames.h"
#include "io/outputfile.h"
#include "production/serialregister.h"
#include "tool/interruption.h"
#include "tool/outputs.h"
#include "tool/record.h"
#include "tool/showfileio.h"
#include "upgrade/bootimage.h"
#include "upgrade/hextobin.h"
#include "upgrade/releasesignature.h"
#include "upgrade/signedupgrade.h"
#include "upgrade/upgradefile.h"

#include <QDir>
#include <QJsonObject>

namespace tool {

namespace {

constexpr quint64 MaxWindow = 16 * 1024 * 1024;   // more than any flash of the driver

// "FILE.hex: HexToBin error: -6) bad data", the window's text with the code's
// name, and the system's reason for a file that cannot be read.
QString hexError(const QString &hexFile, int result, const HexToBinDetails &details)
{
    QString error = QStringLiteral("%1: HexToBin error: %2) %3").arg(hexFile).arg(result)
                            .arg(QLatin1String(hexToBinResultName(result)));
    if (!details.readError.isEmpty())
        error += QStringLiteral(": ") + details.readError;
    return error;
}

// "... puts no byte into the bootloader window 0x08000000-0x08003FFF"
QString emptyWindow(const QString &hexFile, const char *window, quint32 first, quint32 last)
{
    return QStringLiteral("%1 puts no byte into the %2 window %3-%4").arg(hexFile, QLatin1String(window), hex32(first),
                                                                         hex32(last));
}

// Text from a user's file, shown between quotes on one line: control and
// format characters (a line end, the escape sequences that drive a terminal,
// text direction marks), a lone surrogate, the quote and the backslash are
// written as escapes.
QString printable(const QString &text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool paired = (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                || (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate());
        switch (c.unicode()) {
        case '\\': shown += QStringLiteral("\\\\"); continue;
        case '"':  shown += QStringLiteral("\\\""); continue;
        case '\n': shown += QStringLiteral("\\n"); continue;
        case '\r': shown += QStringLiteral("\\r"); continue;
        case '\t': shown += QStringLiteral("\\t"); continue;
        default: break;
        }
        const QChar::Category category = c.category();
        if ((c.isSurrogate() && !paired) || category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QString serialRule()
{
    return QStringLiteral("a serial number is YYMMDDNNN: nine digits, month 01-12, day 01-31, number 001-999");
}


// What upginfo tells of an upgrade file, as lines or as one JSON object.
class UpgradeFileFacts
{
public:
    UpgradeFileFacts(const UpgradeFileFields &fields, const SignatureCheck &signature)
        : fields(fields), signature(signature)
    {
    }

    void print(const QString &fileName, Console &console) const
    {
        const auto verdict = [](bool ok) { return ok ? QStringLiteral("ok") : QStringLiteral("WRONG"); };
        console.print(QStringLiteral("file: %1").arg(fileName));
        console.print(QStringLiteral("header: \"%1\" (%2)").arg(printable(header()), verdict(headerRead())));
        if (headerRead())
            console.print(QStringLiteral("version: \"%1\" (%2)").arg(printable(fields.version), verdict(versionRight())));
        if (versionRight())
            console.print(fields.imageSize < 0
                                  ? QStringLiteral("image: cut short (WRONG)")
                                  : QStringLiteral("image: %1 bytes (%2)").arg(fields.imageSize).arg(verdict(imageSizeRight())));
        if (hasImage())
            for (const Region &region : regions())
                console.print(QStringLiteral("%1: stored %2, computed %3 (%4)")
                                      .arg(QLatin1String(region.name), hex32(region.checksum.stored),
                                           hex32(region.checksum.computed), verdict(region.checksum.matches())));
        console.print(QStringLiteral("signature: ") + signatureLine());
        if (signature.verdict == SignatureVerdict::Verified)
            console.print(QStringLiteral("trusted comment: ") + printable(signature.trustedComment));
        console.print(QStringLiteral("verdict: ") + (accepted() ? QStringLiteral("ok, the upgrade accepts this file") : refusal()));
    }

    // The same facts; what the file does not reach is null.
    QJsonObject json(const QString &fileName) const
    {
        QJsonObject object{ { "path", fileName }, { "header", header() }, { "header_ok", headerRead() },
                            { "version", QJsonValue::Null }, { "version_ok", false },
                            { "image_size", QJsonValue::Null }, { "image_size_ok", false },
                            { "accepted", accepted() }, { "verdict", verdictName() } };
        if (headerRead()) {
            object["version"] = fields.version;
            object["version_ok"] = versionRight();
        }
        if (versionRight() && fields.imageSize >= 0) {
            object["image_size"] = double(fields.imageSize);
            object["image_size_ok"] = imageSizeRight();
        }
        for (const Region &region : regions())
            object[QLatin1String(region.key)] = hasImage()
                    ? QJsonObject{ { "stored", double(region.checksum.stored) },
                                   { "computed", double(region.checksum.computed) },
                                   { "ok", region.checksum.matches() } }
                    : QJsonValue(QJsonValue::Null);
        const bool verified = signature.verdict == SignatureVerdict::Verified;
        object["signature"] = QJsonObject{
            { "verdict", QLatin1String(signatureVerdictName(signature.verdict)) },
            { "accepted", signature.accepted() },
            { "message", signature.message },
            { "release_key_id", signature.keyId.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(signature.keyId) },
            { "trusted_comment", verified ? QJsonValue(signature.trustedComment) : QJsonValue(QJsonValue::Null) } };
        return object;
    }

    bool accepted() const { return fields.result == UpgradeFileResult::Ok && signature.accepted(); }

    // The verdict in short words, the same in the lines and in JSON: "ok", or
    // what the upgrade refuses the file for, the file's own checks first.
    QString verdictName() const
    {
        if (fields.result != UpgradeFileResult::Ok)
            return QLatin1String(upgradeFileResultName(fields.result));
        return accepted() ? QStringLiteral("ok") : QStringLiteral("signature refused");
    }

    QString refusal() const
    {
        if (fields.result == UpgradeFileResult::Ok)
            return signature.message;
        return QStringLiteral("%1, the upgrade refuses this file").arg(verdictName());
    }

private:
    struct Region
    {
        const char *name;   // in the lines
        const char *key;    // in the JSON object
        RegionChecksum checksum;
    };

    QList<Region> regions() const
    {
        return { { "application checksum", "application_checksum", fields.application },
                 { "external flash checksum", "external_flash_checksum", fields.externalFlash } };
    }
    // The verdict in the words of the check.
    QString signatureLine() const
    {
        if (signature.verdict == SignatureVerdict::NotChecked)
            return QStringLiteral("not checked (this build has no release key)");
        if (signature.verdict == SignatureVerdict::Verified)
            return QStringLiteral("verified, release key %1").arg(signature.keyId);
        return signature.message;
    }
    bool headerRead() const { return fields.result != UpgradeFileResult::WrongHeader; }
    bool versionRight() const { return headerRead() && fields.version == QLatin1String(upgradefile::Version); }
    bool imageSizeRight() const { return fields.imageSize == upgradefile::ImageSize; }
    bool hasImage() const { return !fields.image.isEmpty(); }
    // Another kind of file may hold anything where the header belongs.
    QString header() const
    {
        return fields.header.size() > 40 ? fields.header.left(40) + QStringLiteral("...") : fields.header;
    }

    const UpgradeFileFields &fields;
    const SignatureCheck &signature;
};

} // namespace

int hex2bin(const QStringList &args, Console &console)
{
    Arguments parsed;
    QString error;
    if (!parseArguments(args, { { QStringLiteral("fill") } }, &parsed, &error))
        return console.usageError(error);
    if (parsed.positional.size() != 4)
        return console.usageError(QStringLiteral("expected four arguments, got %1").arg(parsed.positional.size()));
    const QString &hexFile = parsed.positional.at(0);
    const QString &outFile = parsed.positional.at(3);

    quint64 first = 0, last = 0, fill = 0xFF;
    if (!parseNumber(parsed.positional.at(1), 0xFFFFFFFFu, &first))
        return console.usageError(QStringLiteral("FIRST '%1' is not a 32-bit address").arg(parsed.positional.at(1)));
    if (!parseNumber(parsed.positional.at(2), 0xFFFFFFFFu, &last))
        return console.usageError(QStringLiteral("LAST '%1' is not a 32-bit address").arg(parsed.positional.at(2)));
    if (parsed.has(QStringLiteral("fill")) && !parseNumber(parsed.value(QStringLiteral("fill")), 0xFF, &fill))
        return console.usageError(QStringLiteral("--fill '%1' is not a byte (0-255 or 0x00-0xFF)")
                                          .arg(parsed.value(QStringLiteral("fill"))));
    if (last < first)
        return console.usageError(QStringLiteral("LAST %1 lies below FIRST %2").arg(hex32(quint32(last)), hex32(quint32(first))));
    const quint64 size = last - first + 1;
    if (size > MaxWindow)
        return console.usageError(QStringLiteral("a window of %1 bytes is more than the 16 MiB allowed").arg(size));
    if (const int refused = refuseInputAsOutput(console, outFile, { hexFile }))
        return refused;

    QByteArray image(qsizetype(size), static_cast<char>(fill));
    HexToBinDetails details;
    const int result = HexToBin(hexFile, reinterpret_cast<unsigned char *>(image.data()), quint32(first),
                                quint32(last), &details);
    if (result != HexToBinOk)
        return console.fail(ExitBadInput, hexError(hexFile, result, details));
    return writeOutput(console, outFile, image);
}

int mkupg(const QStringList &args, Console &console)
{
    Arguments parsed;
    QString error;
    if (!parseArguments(args, {}, &parsed, &error))
        return console.usageError(error);
    if (parsed.positional.size() != 2)
        return console.usageError(QStringLiteral("expected two arguments, got %1").arg(parsed.positional.size()));
    const QString &hexFile = parsed.positional.at(0);
    const QString &upgFile = parsed.positional.at(1);
    if (const int refused = refuseInputAsOutput(console, upgFile, { hexFile }))
        return refused;

    // The window still offers to save after a HEX error, with what was read
    // before it; a build pipeline gets no such file, only the error. Both
    // regions read the whole file, so an error is said once.
    const UpgradeImage built = buildUpgradeImage(hexFile);
    if (built.applicationResult != HexToBinOk)
        return console.fail(ExitBadInput, hexError(hexFile, built.applicationResult, built.application));
    if (built.externalFlashResult != HexToBinOk)
        return console.fail(ExitBadInput, hexError(hexFile, built.externalFlashResult, built.externalFlash));
    // A release the driver would run as an empty application: the file was
    // cut short, or it is the HEX output of another build (the bootloader's).
    if (!built.application.endOfFileRecord)
        return console.fail(ExitBadInput, QStringLiteral("%1 ends without its end-of-file record: it may be cut short; "
                                                         "no upgrade file was written").arg(hexFile));
    if (built.application.bytesInWindow == 0)
        return console.fail(ExitBadInput, emptyWindow(hexFile, "application",
                                                      upgradefile::FlashBase + upgradefile::ApplicationOffset,
                                                      upgradefile::FlashBase + upgradefile::ApplicationOffset
                                                              + upgradefile::ApplicationSize - 1)
                                                  + QStringLiteral(" (is it the bootloader's?); no upgrade file was written"));

    if (!writeUpgradeFile(upgFile, built.image, &error))
        return console.fail(ExitBadInput, QStringLiteral("cannot write %1: %2").arg(upgFile, error));
    return ExitSuccess;
}

int upginfo(const QStringList &args, Console &console)
{
    const QString json = QStringLiteral("json");
    Arguments parsed;
    QString error;
    if (!parseArguments(args, { {}, { json } }, &parsed, &error))
        return console.usageError(error);
    if (parsed.positional.size() != 1)
        return console.usageError(QStringLiteral("expected one argument, got %1").arg(parsed.positional.size()));
    const QString &upgFile = parsed.positional.at(0);

    InputFile file(upgFile);
    if (!file.open())
        return console.fail(ExitBadInput, QStringLiteral("cannot open %1: %2").arg(upgFile, file.errorString()));
    const UpgradeFileFields fields = inspectUpgradeFile(file);

    // The verdict the change itself would reach.
    const SignatureCheck signature = readSignedUpgradeFile(upgFile).signature;
    const UpgradeFileFacts facts(fields, signature);
    if (parsed.has(json))
        console.printJson(facts.json(upgFile));
    else
        facts.print(upgFile, console);
    if (facts.accepted())
        return ExitSuccess;
    return console.fail(ExitBadInput, QStringLiteral("%1: %2").arg(upgFile, facts.refusal()));
}

int show2json(const QStringList &args, Console &console)
{
    Arguments parsed;
    QString error;
    if (!parseArguments(args, {}, &parsed, &error))
        return console.usageError(error);
    if (parsed.positional.isEmpty() || parsed.positional.size() > 2)
        return console.usageError(QStringLiteral("expected one or two arguments, got %1").arg(parsed.positional.size()));

    if (parsed.positional.size() == 2)
        if (const int refused = refuseInputAsOutput(console, parsed.positional.at(1), { parsed.positional.at(0) }))
            return refused;

    Shows::ShowKind kind;
    QByteArray table;
    if (const int refused = readBinaryShowFile(parsed.positional.at(0), console, &kind, &table))
        return refused;
    if (parsed.positional.size() == 2)
        return writeJsonShowFile(kind, parsed.positional.at(1), table, console);
    // A write error on standard output is said when the command ends.
    console.write(QString::fromUtf8(Shows::showToJson(kind, table)));
    return ExitSuccess;
}

int json2show(const QStringList &args, Console &console)
{
    const std::optional<Arguments> parsed = commandArguments(args, 2, console);
    if (!parsed)
        return ExitBadInput;
    const QString &jsonFile = parsed->positional.at(0);
    const QString &showFile = parsed->positional.at(1);
    if (const int refused = refuseInputAsOutput(console, showFile, { jsonFile }))
        return refused;

    QFile input(jsonFile);
    if (!input.open(QIODevice::ReadOnly))
        return console.fail(ExitBadInput, QStringLiteral("cannot open %1: %2").arg(jsonFile, input.errorString()));
    const Shows::JsonShow show = Shows::readShowJson(input, std::nullopt);
    if (!show.ok)
        return console.fail(ExitBadInput, QStringLiteral("%1: %2").arg(jsonFile, show.problem));
    // A scenes file named .pgm would be refused by every loader of programs,
    // and the other way round.
    const bool programs = show.kind == Shows::ShowKind::Programs;
    if (showFile.endsWith(programs ? QLatin1String(".scn") : QLatin1String(".pgm"), Qt::CaseInsensitive))
        return console.fail(ExitBadInput, QStringLiteral("%1 holds %2: write them to a %3 file, not %4")
                                                  .arg(jsonFile, showKindName(show.kind),
                                                       programs ? QLatin1String(".pgm") : QLatin1String(".scn"), showFile));
    return writeBinaryShowFile(show.kind, showFile, show.table, console);
}

namespace {

void (*imageWrittenHook)(int written) = nullptr;

// What mkboot makes: one image per serial number.
struct BootBatch
{
    QStringList serials;
    QStringList files;
    QString folder;    // of a batch, made when missing; empty for one image
    int next = 0;      // --next: how many numbers to take from the record
    QString day;       // and of which day

    void nameFiles()
    {
        files.clear();
        for (const QString &serial : std::as_const(serials))
            files << QDir(folder).filePath(bootloaderImageFileName(serial) + QStringLiteral(".bin"));
    }
};

// "241208001, 241208002 and 3 more"
QString serialList(const QStringList &serials)
{
    constexpr int Shown = 10;
    QString list = QStringList(serials.mid(0, Shown)).join(QStringLiteral(", "));
    if (serials.size() > Shown)
        list += QStringLiteral(" and %1 more").arg(serials.size() - Shown);
    return list;
}

// "241208001 and 241208002 were issued before; ...". A number only reserved
// belongs to a batch that has not confirmed it: one still being written at
// another station, or one stopped before it could (a record server lost).
QString clashMessage(const QStringList &clashes, const QStringList &unfinished)
{
    QStringList issued = clashes;
    for (const QString &serial : unfinished)
        issued.removeOne(serial);
    const auto verb = [](const QStringList &serials) {
        return serials.size() == 1 ? QStringLiteral("was") : QStringLiteral("were");
    };
    const auto them = [](const QStringList &serials) {
        return serials.size() == 1 ? QStringLiteral("it") : QStringLiteral("them");
    };
    QStringList parts;
    if (!issued.isEmpty())
        parts << QStringLiteral("%1 %2 issued before (a serial number is never issued twice); "
                                "--reissue makes %3 again, recorded as a reissue")
                     .arg(serialList(issued), verb(issued), them(issued));
    if (!unfinished.isEmpty())
        parts << QStringLiteral("%1 %2 reserved by a batch that did not confirm %3 (one still running at a "
                                "station, or one stopped before its images were recorded); once no batch "
                                "is making %3, --reissue makes %3, recorded as a reissue")
                     .arg(serialList(unfinished), verb(unfinished), them(unfinished));
    return parts.join(QStringLiteral("; "));
}

// The batch from the arguments; a status to stop with otherwise (reported).
int planBootBatch(const Arguments &parsed, Console &console, BootBatch *batch)
{
    const QString from = QStringLiteral("serial-from"), count = QStringLiteral("count"),
                  outDir = QStringLiteral("out-dir"), next = QStringLiteral("next"), date = QStringLiteral("date");
    if (parsed.has(next)) {
        if (parsed.positional.size() != 1 || !parsed.has(outDir) || parsed.has(from) || parsed.has(count)
            || parsed.has(QStringLiteral("reissue")))
            return console.usageError(QStringLiteral("--next takes FILE.hex with --out-dir, and neither --serial-from, "
                                                     "--count nor --reissue"));
        quint64 n = 0;
        if (!parseDecimal(parsed.value(next), 999, &n) || n == 0)
            return console.usageError(QStringLiteral("--next '%1' is not a number from 1 to 999").arg(parsed.value(next)));
        batch->next = int(n);
        batch->day = parsed.has(date) ? parsed.value(date) : productionToday().toString(QStringLiteral("yyMMdd"));
        if (!isValidBootloaderSerial(batch->day + QStringLiteral("001")))
            return console.usageError(QStringLiteral("--date '%1' is not a production date YYMMDD").arg(batch->day));
        batch->folder = parsed.value(outDir);
        return ExitSuccess;
    }
    if (parsed.has(date))
        return console.usageError(QStringLiteral("--date goes with --next"));

    const bool several = parsed.has(from) || parsed.has(count) || parsed.has(outDir);
    if (!several && parsed.positional.size() != 3)
        return console.usageError(QStringLiteral("expected FILE.hex YYMMDDNNN OUT.bin"));
    if (several && (parsed.positional.size() != 1 || !parsed.has(from) || !parsed.has(count) || !parsed.has(outDir)))
        return console.usageError(QStringLiteral("a batch takes FILE.hex with --serial-from, --count and --out-dir"));
    const QString firstSerial = several ? parsed.value(from) : parsed.positional.at(1);
    if (!isValidBootloaderSerial(firstSerial))
        return console.usageError(QStringLiteral("'%1' is not a serial number: %2").arg(firstSerial, serialRule()));
    if (!several) {
        batch->serials << firstSerial;
        batch->files << parsed.positional.at(2);
        return ExitSuccess;
    }
    quint64 n = 0;
    if (!parseDecimal(parsed.value(count), 999, &n) || n == 0)
        return console.usageError(QStringLiteral("--count '%1' is not a number from 1 to 999").arg(parsed.value(count)));
    const QString day = firstSerial.left(6);
    const int firstNumber = firstSerial.mid(6).toInt();
    if (firstNumber + int(n) - 1 > 999)
        return console.usageError(QStringLiteral("%1 images from %2 would run past number 999 (the last is %3)")
                                          .arg(n).arg(firstSerial, day + QStringLiteral("999")));
    for (int number = firstNumber; number < firstNumber + int(n); ++number)
        batch->serials << day + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
    batch->folder = parsed.value(outDir);
    batch->nameFiles();
    return ExitSuccess;
}

// Takes the batch's serial numbers in the record: the next free ones, or
// those given when none of them was issued before (or --reissue).
int reserveSerials(SerialRegister &serials, bool reissue, Console &console, BootBatch *batch)
{
    QString reason;
    QStringList clashes, unfinished;
    const SerialRegister::Result result = batch->next > 0
            ? serials.reserveNext(batch->day, batch->next, &batch->serials, &reason)
            : serials.reserve(batch->serials, reissue, &clashes, &reason, &unfinished);
    switch (result) {
    case SerialRegister::Result::Done:
        if (batch->next > 0)
            batch->nameFiles();
        return ExitSuccess;
    case SerialRegister::Result::Refused:
        return console.fail(ExitBadInput, clashes.isEmpty() ? reason : clashMessage(clashes, unfinished));
    case SerialRegister::Result::Failed:
        break;
    }
    return console.fail(ExitFailure, QStringLiteral("%1; nothing was written").arg(reason));
}

// The images must not be written over the HEX file they are made from.
int refuseHexAsImage(const BootBatch &batch, const QString &hexFile, Console &console)
{
    for (const QString &file : batch.files)
        if (const int refused = refuseInputAsOutput(console, file, { hexFile }))
            return refused;
    return ExitSuccess;
}

// Writes the images; with a record, confirms those written and voids the
// rest, so that the record never claims an image that was not made, nor
// leaves an image it does not claim. An interrupt lets the image being
// written finish and stops there.
int writeBootBatch(const BootBatch &batch, const QByteArray &bootloader, SerialRegister *serials, Console &console)
{
    QString error, ignored;
    if (!batch.folder.isEmpty() && !filenames::makePath(batch.folder, &error)) {
        if (serials)
            serials->voidUnconfirmed(&ignored);
        return console.fail(ExitBadInput, QStringLiteral("cannot make the folder %1: %2").arg(batch.folder, error));
    }
    QList<SerialRegister::Image> written;
    QString writeProblem;
    for (int i = 0; i < batch.files.size() && !InterruptGuard::interrupted(); ++i) {
        if (!writeBootloaderImage(batch.files.at(i), stampSerial(bootloader, batch.serials.at(i)), &error)) {
            writeProblem = QStringLiteral("cannot write %1: %2 (%3 of %4 images written)")
                                   .arg(batch.files.at(i), error).arg(i).arg(batch.files.size());
            break;
        }
        written.append({ batch.serials.at(i), batch.files.at(i) });
        if (imageWrittenHook)
            imageWrittenHook(i + 1);
    }

    if (serials && !serials->confirm(written, &error)) {
        for (const SerialRegister::Image &image : std::as_const(written))
            filenames::remove(image.file);
        serials->voidUnconfirmed(&ignored);   // the record may be out of reach: then they stay reserved
        return console.fail(ExitFailure, QStringLiteral("the record failed: %1; the %2 images written are removed, "
                                                        "none is recorded as issued; run the command again")
                                                 .arg(error).arg(written.size()));
    }
    const qsizetype unmade = batch.files.size() - written.size();
    if (serials && unmade > 0)
        serials->voidUnconfirmed(&error);
    if (!batch.folder.isEmpty())
        for (const SerialRegister::Image &image : std::as_const(written))
            console.print(image.file);
    if (!writeProblem.isEmpty())
        return console.fail(ExitBadInput, writeProblem);
    if (InterruptGuard::interrupted())
        return console.fail(ExitInterrupted, QStringLiteral("interrupted: %1 of %2 images written%3")
                                                     .arg(written.size()).arg(batch.files.size())
                                                     .arg(!serials ? QString()
                                                          : unmade == 0 ? QStringLiteral(" and recorded as issued")
                                                          : QStringLiteral(" and recorded as issued; the other %1 serial "
                                                                           "numbers are void (--serial-from makes them "
                                                                           "again)")
                                                                    .arg(unmade)));
    return ExitSuccess;
}

} // namespace

void setImageWrittenHook(void (*hook)(int written))
{
    imageWrittenHook = hook;
}

int mkboot(const QStringList &args, Console &console)
{
    const QString reissue = QStringLiteral("reissue"), noRecord = QStringLiteral("no-record");
    Arguments parsed;
    QString error;
    const AcceptedOptions options = { { QStringLiteral("serial-from"), QStringLiteral("count"),
                                        QStringLiteral("out-dir"), QStringLiteral("next"), QStringLiteral("date"),
                                        DatabaseOption },
                                      { reissue, noRecord } };
    if (!parseArguments(args, options, &parsed, &error))
        return console.usageError(error);
    BootBatch batch;
    if (const int refused = planBootBatch(parsed, console, &batch))
        return refused;
    if (parsed.has(noRecord) && (batch.next > 0 || parsed.has(DatabaseOption) || parsed.has(reissue)))
        return console.usageError(QStringLiteral("--no-record goes with neither --next, --db nor --reissue"));
    const QString hexFile = parsed.positional.at(0);
    if (const int refused = refuseHexAsImage(batch, hexFile, console))
        return refused;

    // The HEX file is read once for the whole batch, and a HEX error leaves
    // nothing behind: no image, no folder, no record. Neither does a HEX file
    // with nothing for the bootloader (the application's, given by mistake):
    // its images would be blank but for their serial numbers.
    const BootloaderImage bootloader = readBootloaderHex(hexFile);
    if (bootloader.hexResult != HexToBinOk)
        return console.fail(ExitBadInput, hexError(hexFile, bootloader.hexResult, bootloader.hex));
    if (bootloader.hex.bytesInWindow == 0)
        return console.fail(ExitBadInput, emptyWindow(hexFile, "bootloader", bootimage::FlashBase,
                                                      bootimage::FlashBase + bootimage::ImageSize - 1)
                                                  + QStringLiteral(" (is it the application's?); nothing was made"));

    OpenedRecord record;
    if (!parsed.has(noRecord)) {
        // No serial number is stamped that nothing remembers.
        record = openRecord(parsed, console, RecordUse::Write,
                            QStringLiteral("--no-record makes the images without a production record"));
        if (record.status != ExitSuccess)
            return record.status;
    }
    // Before any number is taken: numbers taken for a folder that cannot
    // hold their images would be left void.
    if (!batch.folder.isEmpty() && !outputfile::canMakeFilesIn(batch.folder, &error))
        return console.fail(ExitBadInput, QStringLiteral("cannot make the images in %1: %2; nothing was made")
                                                  .arg(batch.folder, error));

    // From here Ctrl+C lets the image being written finish, and the record
    // then holds as issued exactly the images on disk.
    const QString prefix = QStringLiteral("vn274-tool mkboot: ");
    const InterruptGuard guard(prefix + QStringLiteral("interrupted: the image being written will finish; the images "
                                                       "written are recorded as issued, the other numbers left void"),
                               prefix + QStringLiteral("interrupted again: the batch stops after the image being "
                                                       "written"));
    if (!record.database)
        return writeBootBatch(batch, bootloader.image, nullptr, console);
    SerialRegister serials(*record.database);
    if (const int refused = reserveSerials(serials, parsed.has(reissue), console, &batch))
        return refused;
    if (const int refused = refuseHexAsImage(batch, hexFile, console)) {   // --next names its files only now
        serials.voidUnconfirmed(&error);
        return refused;
    }
    return writeBootBatch(batch, bootloader.image, &serials, console);
}

} // namespace tool
