#include "production/firmwarehistoryrow.h"

#include "production/serialregister.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("UpgradeRecorder", text);
}

} // namespace

void FirmwareHistoryRow::begin(const QByteArray &driverSerial, const QString &fileName, const QString &fileSha256)
{
    row.serial = QString::fromLatin1(USBRQ518::serialNumber(driverSerial));
    row.station = RecordDatabase::station();
    row.startedAt = RecordDatabase::now();
    row.fileName = QFileInfo(fileName).fileName();
    row.fileSha256 = fileSha256.isEmpty() ? ::fileSha256(fileName) : fileSha256;
    row.keyFingerprint = transferKeyFingerprint();
}

void FirmwareHistoryRow::setSignature(const QString &keyId, const QString &trustedComment)
{
    row.signatureKeyId = keyId;
    row.trustedComment = trustedComment;
}

void FirmwareHistoryRow::end(ChangeEnding ending, const QString &lastLine)
{
    row.endedAt = RecordDatabase::now();
    row.succeeded = ending == ChangeEnding::Succeeded;
    row.outcome = outcome(ending, lastLine);
}

QString FirmwareHistoryRow::outcome(ChangeEnding ending, const QString &lastLine)
{
    switch (ending) {
    case ChangeEnding::Succeeded:
        return QStringLiteral("success");
    case ChangeEnding::Interrupted:
        return QStringLiteral("interrupted");
    case ChangeEnding::Failed:
        break;
    }
    const QString line = lastLine.trimmed().replace(QLatin1Char('\n'), QStringLiteral("; "));
    return line.isEmpty() ? QStringLiteral("failed") : line;
}

bool FirmwareHistoryRow::addTo(RecordDatabase &record, QString *warning, QString *reason) const
{
    warning->clear();
    // The row first: writing it connects again to a server that restarted
    // during the change.
    if (!FirmwareHistory(record).add(row, reason))
        return false;
    QString unknown;   // the row is in; whether the number was issued is a side note
    const std::optional<bool> issued = SerialRegister(record).wasIssued(row.serial, &unknown);
    if (issued && !*issued)
        *warning = translated(QT_TRANSLATE_NOOP("UpgradeRecorder", "the record never issued the serial number '%1'; "
                                                                   "its firmware change is recorded all the same"))
                           .arg(row.serial);
    return true;
}

QString FirmwareHistoryRow::notRecorded(const QString &outcome, const QString &reason)
{
    return translated(QT_TRANSLATE_NOOP("UpgradeRecorder", "the firmware change (%1) is not in the record: %2"))
            .arg(outcome, reason);
}
