#include "upgrade/upgrader.h"

#include "production/recordlocation.h"
#include "production/upgraderecorder.h"
#include "upgrade/upgradeprocedure.h"
#include "usb/usbrq518.h"

#include <QtDebug>

namespace {

QString &recordTool()
{
    static QString toolName = QStringLiteral("vn274-tool");
    return toolName;
}

} // namespace

Upgrader::Upgrader(USBRQ518 *device)
    : QThread(nullptr)
{
    qDebug("Upgrader constructor");
    usb = device;
}

Upgrader::~Upgrader()
{
    qDebug("Upgrader destructor");
}

void Upgrader::slotSetFileName(QString name)
{
    fileName = name;
}

void Upgrader::setRecordTool(const QString &toolName)
{
    recordTool() = toolName;
}

QString Upgrader::recordToolName()
{
    return recordTool();
}

void Upgrader::run()
{
    if (fileName.isEmpty())
        return;   // a cancelled dialog: no line, no record

    // The window never stops for its record: a record that cannot be opened
    // is said at once, a row it cannot take when the change has ended.
    UpgradeRecorder recorder([this](const QString &message) { emit sendText(tr("Warning: %1").arg(message)); });
    QString unusable;
    std::unique_ptr<RecordDatabase> record = openDefaultRecord(recordTool(), &unusable);
    if (!record)
        emit sendText(tr("Warning: %1; this firmware change is not recorded").arg(unusable));
    recorder.setRecord(std::move(record), false);

    UpgradeProgress progress;
    progress.line = [this, &recorder](const QString &line) {
        recorder.line(line);
        emit sendText(line);
    };
    progress.percent = [this](int percent) { emit sendPercent(percent); };
    // Where the window has chosen no driver, the change follows the one it
    // reaches first through both restarts: a driver plugged in meanwhile is
    // never taken in its place. The window's choice is back afterwards.
    const QByteArray chosen = usb->selectedSerial();
    progress.driver = [this, &recorder, &chosen](const QByteArray &serial) {
        if (chosen.isEmpty())
            usb->selectSerial(serial);
        recorder.start(serial, fileName);
    };
    const FirmwareChangeOutcome outcome = changeFirmware(*usb, fileName, progress);
    usb->selectSerial(chosen);
    recorder.signature(outcome.signature.keyId, outcome.signature.trustedComment);
    QString problem;   // none: the record is not one that must take the row
    recorder.finish(outcome.succeeded, &problem);
}
