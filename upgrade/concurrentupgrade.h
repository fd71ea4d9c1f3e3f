#ifndef CONCURRENTUPGRADE_H
#define CONCURRENTUPGRADE_H

#include "production/firmwarehistory.h"
#include "upgrade/upgradeprocedure.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

class QSocketNotifier;
class QThread;
class RecordDatabase;

// How far one driver's change has come.
struct DriverProgress
{
    QByteArray serial;                            // its serial number, nine characters
    UpgradeStep step = UpgradeStep::Connecting;
    int percent = 0;                              // of the step, where it has one; else 0
};

// How one driver's change ended.
struct DriverResult
{
    enum class Ending {
        Succeeded,     // the new application runs on it
        Failed,        // the line in `outcome` ended it
        Interrupted    // stopped at once by a second stop request
    };

    QByteArray serial;
    Ending ending = Ending::Failed;
    UpgradeStep step = UpgradeStep::Connecting;   // the step it ended in
    QString outcome;          // the line that ended it, as the change sent it
    qint64 milliseconds = 0;
    bool inBootloader = false;   // an interrupted one: it answers from its bootloader now
    // Its row in the firmware history, when a record was given.
    bool recorded = false;
    QString recordProblem;    // why it is not there
};

// The firmware of several drivers changed at once from one release: the file
// and its release signature are checked once, before any driver is touched;
// each driver then has its own device object and thread, and is changed
// exactly as one driver alone is (changeFirmware), followed through both
// restarts by its serial number. A driver that fails ends its own change
// only.
//
// It reports through signals in the thread it lives in, so a console
// program runs an event loop (waitUntilIdle) and a window stays responsive.
// Drivers may be added while others are in progress (a station adds them as
// they are plugged in).
//
// Stopping: the first request starts nothing new and lets the changes in
// progress finish; a second one ends them before their next page, step or
// wait (a wait ends at once; a page or the external flash block being
// written is finished first), each reported Interrupted.
class ConcurrentUpgrade : public QObject
{
    Q_OBJECT

public:
    explicit ConcurrentUpgrade(QObject *parent = nullptr);
    // Stops the changes in progress at once, waits for their threads and
    // writes their rows, without signals.
    ~ConcurrentUpgrade() override;

    // The serial numbers of the Vn274s on the buses that identified
    // themselves, in either mode, in the order the buses list them.
    static QList<QByteArray> connectedDrivers();

    // Reads and checks the release once; false when it is refused, and then
    // no driver can be started. Its lines are those the one-driver change
    // shows first: the file name, then the signature's verdict or the refusal.
    bool setRelease(const QString &fileName);
    const CheckedRelease &release() const { return checked; }
    QStringList releaseLines() const { return checkLines; }

    // Each change gets its row in this record's firmware history when it
    // ends, written in this object's thread. Null (the default): none. The
    // record must outlive the changes.
    void setRecord(RecordDatabase *record) { history = record; }

    // Starts the change of the driver with this serial number (either form of
    // its serial string) in a thread of its own. False, and nothing started,
    // without a usable release, once a stop was requested, or while that
    // driver's change is in progress.
    bool start(const QByteArray &serial);

    void requestStop();
    bool stopRequested() const { return stopRequests > 0; }

    int running() const { return int(changes.size()); }
    QList<QByteArray> inProgress() const { return changes.keys(); }
    QList<DriverResult> results() const { return ended; }   // in the order they ended

    // Runs an event loop until no change is in progress.
    void waitUntilIdle();

signals:
    void driverStarted(const QByteArray &serial);
    void driverProgress(const DriverProgress &progress);
    void driverLine(const QByteArray &serial, const QString &line);
    void driverFinished(const DriverResult &result);
    void idle();   // the last change in progress has ended

private:
    struct Change;
    void run(Change &change);   // in the change's thread

    // What a change's thread tells, waiting in the mailbox until this
    // object's thread takes it. The threads meet only through a lock of the
    // standard library and an eventfd, both of which a thread sanitizer
    // follows; no Qt event crosses from a change's thread.
    struct Message
    {
        enum Kind { Line, Progress, Ended } kind = Line;
        QByteArray serial;
        QString line;
        UpgradeStep step = UpgradeStep::Connecting;
        int percent = 0;
        DriverResult result;      // Ended: how, the thread's part of it
    };
    void tell(Message message);   // in the change's thread
    void deliver();               // in this object's thread: the mailbox's messages as signals

    // The change's thread has told its end: the result, its row, and (while
    // announcing) the signals.
    void finish(DriverResult result);
    void record(const Change &change, DriverResult &result);

    CheckedRelease checked;
    QStringList checkLines;
    QString releaseSha256;
    RecordDatabase *history = nullptr;
    std::atomic<bool> stopNow { false };   // the changes end at their next step
    int stopRequests = 0;
    QMap<QByteArray, std::shared_ptr<Change>> changes;   // in progress, by serial number
    QList<DriverResult> ended;
    bool announcing = true;       // false once this object is being destroyed
    std::mutex mailboxMutex;
    QList<Message> mailbox;
    int mailboxEvent = -1;        // an eventfd: something is in the mailbox
    QSocketNotifier *mailboxNotifier = nullptr;
};

Q_DECLARE_METATYPE(DriverProgress)
Q_DECLARE_METATYPE(DriverResult)

#endif // CONCURRENTUPGRADE_H
