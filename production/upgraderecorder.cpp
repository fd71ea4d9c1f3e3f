#include "production/upgraderecorder.h"

void UpgradeRecorder::setRecord(std::unique_ptr<RecordDatabase> database, bool namedByUser)
{
    record = std::move(database);
    named = namedByUser;
}

void UpgradeRecorder::line(const QString &text)
{
    if (text.contains(QLatin1String(" src address: "))) {   // a hex dump, after its label
        lastLine = lineBefore;
        return;
    }
    lineBefore = lastLine;
    lastLine = text;
}

bool UpgradeRecorder::finish(ChangeEnding ending, QString *problem)
{
    if (!row.begun() || !record)
        return true;
    row.end(ending, lastLine);
    QString warning, reason;
    if (row.addTo(*record, &warning, &reason)) {
        if (!warning.isEmpty())
            warn(warning);
        return true;
    }
    const QString notRecorded = FirmwareHistoryRow::notRecorded(row.change().outcome, reason);
    if (!named) {
        warn(notRecorded);
        return true;
    }
    *problem = notRecorded;
    return false;
}
