#include "production/upgraderecorder.h"

#include "io/filenames.h"
#include "production/serialregister.h"
#include "usb/transferscrambling.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>

namespace {

QString fileSha256(const QString &fileName)
{
    InputFile file(fileName);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open() || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

QString translated(const char *text)
{
    return QCoreApplication::translate("UpgradeRecorder", text);
}

} // namespace

void UpgradeRecorder::setRecord(std::unique_ptr<RecordDatabase> database, bool namedByUser)
{
    record = std::move(database);
    named = namedByUser;
}

void UpgradeRecorder::start(const QByteArray &driverSerial, const QString &fileName)
{
    started = true;
    QString serial = QString::fromLatin1(driverSerial);
    if (serial.size() == 10 && serial.endsWith(QLatin1Char('b')))
        serial.chop(1);   // the bootloader's form of the same serial number
    change.serial = serial;
    change.station = RecordDatabase::station();
    change.startedAt = RecordDatabase::now();
    change.fileName = QFileInfo(fileName).fileName();
    change.fileSha256 = fileSha256(fileName);
    change.keyFingerprint = transferKeyFingerprint();
    // The signature's key id and trusted comment: signature(), for a signed
    // file; empty otherwise.
}

void UpgradeRecorder::line(const QString &text)
{
    if (text.contains(QLatin1String(" src address: "))) {   // a hex dump, after its label
        lastLine = lineBefore;
        return;
    }
    lineBefore = lastLine;
    lastLine = text.trimmed().replace(QLatin1Char('\n'), QStringLiteral("; "));
}

bool UpgradeRecorder::finish(bool succeeded, QString *problem)
{
    if (!started || !record)
        return true;
    change.endedAt = RecordDatabase::now();
    change.succeeded = succeeded;
    change.outcome = succeeded ? QStringLiteral("success")
                               : lastLine.isEmpty() ? QStringLiteral("failed") : lastLine;

    // The row first: writing it connects again to a server that restarted
    // during the change.
    QString reason;
    if (FirmwareHistory(*record).add(change, &reason)) {
        const std::optional<bool> issued = SerialRegister(*record).wasIssued(change.serial, &reason);
        if (issued && !*issued)
            warn(translated(QT_TRANSLATE_NOOP("UpgradeRecorder", "the record never issued the serial number '%1'; its "
                                                                 "firmware change is recorded all the same"))
                         .arg(change.serial));
        return true;
    }
    const QString notRecorded =
        translated(QT_TRANSLATE_NOOP("UpgradeRecorder", "the firmware change (%1) is not in the record: %2"))
            .arg(change.outcome, reason);
    if (!named) {
        warn(notRecorded);
        return true;
    }
    *problem = notRecorded;
    return false;
}
