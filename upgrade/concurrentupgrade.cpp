#include "upgrade/concurrentupgrade.h"

#include "production/recorddatabase.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QThread>

namespace {

// The history's words for how a change ended: "success", "interrupted", or
// the line that ended it, on one line.
QString historyOutcome(const FirmwareChangeOutcome &outcome)
{
    if (outcome.succeeded)
        return QStringLiteral("success");
    if (outcome.interrupted)
        return QStringLiteral("interrupted");
    const QString line = outcome.outcome.trimmed().replace(QLatin1Char('\n'), QStringLiteral("; "));
    return line.isEmpty() ? QStringLiteral("failed") : line;
}

} // namespace

// One driver's change. The owner's thread makes it and reads `outcome` and
// `inBootloader` once the change's thread has finished; that thread reads
// `serial` and `release` and writes those two.
struct ConcurrentUpgrade::Change
{
    QByteArray serial;
    CheckedRelease release;     // a copy: the regions' bytes are shared, never written
    FirmwareChange row;
    QElapsedTimer clock;
    UpgradeStep step = UpgradeStep::Connecting;   // the last one reported
    std::unique_ptr<QThread> thread;

    FirmwareChangeOutcome outcome;
    bool inBootloader = false;
};

ConcurrentUpgrade::ConcurrentUpgrade(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<DriverProgress>();
    qRegisterMetaType<DriverResult>();
}

ConcurrentUpgrade::~ConcurrentUpgrade()
{
    stopNow.set();
    // Their rows are written; nobody is told any more.
    while (!changes.isEmpty())
        finish(changes.firstKey(), false);
}

QList<QByteArray> ConcurrentUpgrade::connectedDrivers()
{
    USBRQ518 usb;
    QList<QByteArray> serials;
    for (const UsbDevice::FoundDevice &found : usb.findDevices())
        if (found.failure == UsbDevice::ConnectionFailure::None)
            serials << USBRQ518::serialNumber(found.serial);
    return serials;
}

bool ConcurrentUpgrade::setRelease(const QString &fileName)
{
    // The changes in progress read the release they started with.
    if (!changes.isEmpty())
        return false;
    UpgradeProgress lines;
    checkLines.clear();
    lines.line = [this](const QString &line) { checkLines << line; };
    checked = checkRelease(fileName, lines);
    releaseSha256 = checked.usable() ? fileSha256(fileName) : QString();
    return checked.usable();
}

bool ConcurrentUpgrade::start(const QByteArray &serialString)
{
    const QByteArray serial = USBRQ518::serialNumber(serialString);
    if (!checked.usable() || stopRequested() || serial.isEmpty() || changes.contains(serial))
        return false;

    auto change = std::make_shared<Change>();
    change->serial = serial;
    change->release = checked;
    change->clock.start();
    FirmwareChange &row = change->row;
    row.serial = QString::fromLatin1(serial);
    row.station = RecordDatabase::station();
    row.startedAt = RecordDatabase::now();
    row.fileName = QFileInfo(checked.fileName).fileName();
    row.fileSha256 = releaseSha256;
    row.keyFingerprint = transferKeyFingerprint();
    row.signatureKeyId = checked.signature.keyId;
    row.trustedComment = checked.signature.trustedComment;

    change->thread.reset(QThread::create([this, c = change.get()] { run(*c); }));
    connect(change->thread.get(), &QThread::finished, this, [this, serial] { finish(serial, true); });
    changes.insert(serial, change);
    emit driverStarted(serial);
    change->thread->start();
    return true;
}

void ConcurrentUpgrade::requestStop()
{
    if (++stopRequests > 1)
        stopNow.set();
}

void ConcurrentUpgrade::waitUntilIdle()
{
    if (changes.isEmpty())
        return;
    QEventLoop loop;
    connect(this, &ConcurrentUpgrade::idle, &loop, &QEventLoop::quit);
    loop.exec();
}

// In the change's thread: everything it tells goes to the owner's thread as
// events, in order, before the thread's finished signal.
void ConcurrentUpgrade::run(Change &change)
{
    const QByteArray serial = change.serial;
    const auto post = [this, serial](UpgradeStep step, int percent) {
        QMetaObject::invokeMethod(this, [=] { progress(serial, step, percent); }, Qt::QueuedConnection);
    };

    USBRQ518 usb;
    usb.selectSerial(serial);
    QObject::connect(&usb, &USBRQ518::sendPercentExtFlashWrite,
                     [&post](int percent) { post(UpgradeStep::WritingExternalFlash, percent); });
    QObject::connect(&usb, &USBRQ518::sendPercentExtFlashRead,
                     [&post](int percent) { post(UpgradeStep::VerifyingExternalFlash, percent); });

    UpgradeProgress report;
    report.line = [this, serial](const QString &line) {
        QMetaObject::invokeMethod(this, [=] { emit driverLine(serial, line); }, Qt::QueuedConnection);
    };
    // The change also resets its page percentage before it begins.
    UpgradeStep current = UpgradeStep::Connecting;
    report.percent = [&](int percent) {
        if (current == UpgradeStep::WritingApplication)
            post(current, percent);
    };
    report.step = [&](UpgradeStep step) {
        current = step;
        post(step, 0);
    };
    report.stop = &stopNow;
    change.outcome = changeFirmware(usb, change.release, report);
    // Left where it was: whether that is its bootloader, ready for another
    // attempt, is worth one look.
    if (change.outcome.interrupted)
        change.inBootloader = upgradesteps::inBootloader(usb, serial);
}

void ConcurrentUpgrade::progress(const QByteArray &serial, UpgradeStep step, int percent)
{
    if (const std::shared_ptr<Change> change = changes.value(serial))
        change->step = step;
    emit driverProgress(DriverProgress{ serial, step, percent });
}

void ConcurrentUpgrade::finish(const QByteArray &serial, bool announce)
{
    const std::shared_ptr<Change> change = changes.take(serial);
    if (!change)
        return;
    change->thread->wait();

    DriverResult result;
    result.serial = serial;
    result.ending = change->outcome.succeeded     ? DriverResult::Ending::Succeeded
                    : change->outcome.interrupted ? DriverResult::Ending::Interrupted
                                                  : DriverResult::Ending::Failed;
    result.step = change->step;
    result.outcome = change->outcome.outcome;
    result.milliseconds = change->clock.elapsed();
    result.inBootloader = change->inBootloader;
    record(*change, result);
    ended << result;
    if (!announce)
        return;
    emit driverFinished(result);
    if (changes.isEmpty())
        emit idle();
}

void ConcurrentUpgrade::record(const Change &change, DriverResult &result)
{
    if (!history)
        return;
    FirmwareChange row = change.row;
    row.endedAt = RecordDatabase::now();
    row.succeeded = change.outcome.succeeded;
    row.outcome = historyOutcome(change.outcome);
    result.recorded = FirmwareHistory(*history).add(row, &result.recordProblem);
}
