#include "upgrade/concurrentupgrade.h"

#include "production/recorddatabase.h"
#include "upgrade/upgradesteps.h"
#include "usb/usbrq518.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// A deep copy: Qt's shared buffers are counted partly inside Qt's library,
// where a thread sanitizer cannot follow the count, so nothing a change's
// thread hands over shares one with what it keeps.
QString ownCopy(const QString &text)
{
    return QString(text.constData(), text.size());
}

QByteArray ownCopy(const QByteArray &bytes)
{
    return QByteArray(bytes.constData(), bytes.size());
}

QStringList ownCopy(const QStringList &texts)
{
    QStringList copy;
    for (const QString &text : texts)
        copy << ownCopy(text);
    return copy;
}

} // namespace

// One driver's change, made by the owner's thread. The change's thread only
// reads `serial` and `release`, and tells the rest through the mailbox.
struct ConcurrentUpgrade::Change
{
    QByteArray serial;
    CheckedRelease release;     // a copy: the regions' bytes are shared, never written
    FirmwareHistoryRow row;
    QElapsedTimer clock;
    UpgradeStep step = UpgradeStep::Connecting;   // the last one reported
    std::unique_ptr<QThread> thread;
};

ConcurrentUpgrade::ConcurrentUpgrade(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<DriverProgress>();
    qRegisterMetaType<DriverResult>();
    mailboxEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (mailboxEvent < 0)
        qFatal("ConcurrentUpgrade: no eventfd: %s", std::strerror(errno));
    mailboxNotifier = new QSocketNotifier(mailboxEvent, QSocketNotifier::Read, this);
    connect(mailboxNotifier, &QSocketNotifier::activated, this, [this] {
        eventfd_t count = 0;
        ::eventfd_read(mailboxEvent, &count);
        deliver();
    });
}

ConcurrentUpgrade::~ConcurrentUpgrade()
{
    stopNow = true;
    for (const std::shared_ptr<Change> &change : std::as_const(changes))
        change->thread->wait();
    // Their rows are written; nobody is told any more.
    announcing = false;
    deliver();
    delete mailboxNotifier;
    ::close(mailboxEvent);
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
    change->row.begin(serial, checked.fileName, releaseSha256);
    change->row.setSignature(checked.signature.keyId, checked.signature.trustedComment);

    change->thread.reset(QThread::create([this, c = change.get()] { run(*c); }));
    changes.insert(serial, change);
    emit driverStarted(serial);
    change->thread->start();
    return true;
}

void ConcurrentUpgrade::requestStop()
{
    if (++stopRequests > 1)
        stopNow = true;
}

void ConcurrentUpgrade::waitUntilIdle()
{
    if (changes.isEmpty())
        return;
    QEventLoop loop;
    connect(this, &ConcurrentUpgrade::idle, &loop, &QEventLoop::quit);
    loop.exec();
}

// In the change's thread: everything it tells goes to the mailbox, in order,
// before the thread's finished signal.
void ConcurrentUpgrade::run(Change &change)
{
    // Ctrl+C and its kin are the program's, in its own thread: a handler
    // run in this one would cut its system calls short, a transfer's among
    // them.
    sigset_t asynchronous;
    sigemptyset(&asynchronous);
    for (const int signal : { SIGINT, SIGTERM, SIGHUP, SIGQUIT })
        sigaddset(&asynchronous, signal);
    pthread_sigmask(SIG_BLOCK, &asynchronous, nullptr);

    const QByteArray serial = change.serial;
    const auto post = [this, serial](UpgradeStep step, int percent) {
        tell(Message{ Message::Progress, serial, QString(), step, percent, {} });
    };

    USBRQ518 usb;
    usb.selectSerial(serial);
    QObject::connect(&usb, &USBRQ518::sendPercentExtFlashWrite,
                     [&post](int percent) { post(UpgradeStep::WritingExternalFlash, percent); });
    QObject::connect(&usb, &USBRQ518::sendPercentExtFlashRead,
                     [&post](int percent) { post(UpgradeStep::VerifyingExternalFlash, percent); });

    UpgradeProgress report;
    report.line = [this, serial](const QString &line) { tell(Message{ Message::Line, serial, line, {}, 0, {} }); };
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
    report.stopNow = [this] { return stopNow.load(); };
    const FirmwareChangeOutcome outcome = changeFirmware(usb, change.release, report);

    Message ended{ Message::Ended, serial, QString(), {}, 0, {} };
    ended.result.serial = serial;
    ended.result.ending = outcome.succeeded     ? DriverResult::Ending::Succeeded
                          : outcome.stopped ? DriverResult::Ending::Interrupted
                                                : DriverResult::Ending::Failed;
    ended.result.outcome = outcome.outcome;
    // Left where it was: whether that is its bootloader, ready for another
    // attempt, is worth one look.
    if (outcome.stopped)
        ended.result.inBootloader = upgradesteps::inBootloader(usb, serial);
    ended.result.devices = usb.connectedDevices();
    tell(ended);
}

void ConcurrentUpgrade::tell(Message message)
{
    message.serial = ownCopy(message.serial);
    message.line = ownCopy(message.line);
    message.result.serial = ownCopy(message.result.serial);
    message.result.outcome = ownCopy(message.result.outcome);
    message.result.devices = ownCopy(message.result.devices);
    bool first = false;
    {
        const std::lock_guard<std::mutex> lock(mailboxMutex);
        first = mailbox.isEmpty();
        mailbox.append(std::move(message));
    }
    // One delivery takes all that came meanwhile.
    if (first)
        ::eventfd_write(mailboxEvent, 1);
}

void ConcurrentUpgrade::deliver()
{
    QList<Message> messages;
    {
        const std::lock_guard<std::mutex> lock(mailboxMutex);
        messages.swap(mailbox);
    }
    for (const Message &message : std::as_const(messages)) {
        switch (message.kind) {
        case Message::Line:
            if (announcing)
                emit driverLine(message.serial, message.line);
            break;
        case Message::Progress:
            if (const std::shared_ptr<Change> change = changes.value(message.serial))
                change->step = message.step;
            if (announcing)
                emit driverProgress(DriverProgress{ message.serial, message.step, message.percent });
            break;
        case Message::Ended:   // its last message
            finish(message.result);
            break;
        }
    }
}

void ConcurrentUpgrade::finish(DriverResult result)
{
    const std::shared_ptr<Change> change = changes.take(result.serial);
    if (!change)
        return;
    change->thread->wait();
    result.step = change->step;
    result.milliseconds = change->clock.elapsed();
    record(*change, result);
    ended << result;
    if (!announcing)
        return;
    emit driverFinished(result);
    if (changes.isEmpty())
        emit idle();
}

void ConcurrentUpgrade::record(Change &change, DriverResult &result)
{
    if (!history)
        return;
    change.row.end(result.ending, result.outcome);
    result.recorded = change.row.addTo(*history, &result.recordWarning, &result.recordProblem);
}
