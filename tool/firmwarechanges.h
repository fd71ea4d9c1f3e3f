#ifndef TOOL_FIRMWARECHANGES_H
#define TOOL_FIRMWARECHANGES_H

#include "tool/console.h"
#include "upgrade/concurrentupgrade.h"

#include <QObject>

class QSocketNotifier;

// What the commands that change firmware share: the release checked before
// any driver is touched, and for the changes of several drivers at once
// (upgrade --all, station) the stop requests of Ctrl+C and the words for how
// far a driver has come and how its change ended.
namespace tool {

// The release as the change takes it, checked already: a refused signature
// or a damaged file is bad input, said in the tool's words (ExitBadInput); a
// build without release keys warns that nothing was checked. Returns
// ExitSuccess for a release the change may write.
int refuseRelease(const CheckedRelease &release, Console &console);

// Reads and checks the release once into `upgrade`, as refuseRelease says.
int setRelease(ConcurrentUpgrade &upgrade, const QString &fileName, Console &console);

// Hands the signals an InterruptGuard counts to a change of several drivers
// as they come (its event loop waits on them): the first starts nothing new,
// the second stops the changes in progress at their next step.
class StopRequests : public QObject
{
    Q_OBJECT

public:
    explicit StopRequests(ConcurrentUpgrade &upgrade);

signals:
    void requested(int count);   // 1 the first, 2 the second

private:
    ConcurrentUpgrade &upgrade;
    QSocketNotifier *notifier = nullptr;
    int forwarded = 0;
};

// How far a driver has come, as its live line shows it: "writing the application".
QString stepWords(UpgradeStep step);
// The same for a machine: "writing_application".
QString stepName(UpgradeStep step);
// The label of a step's percentage as the change of one driver shows it
// ("Flash"); empty for a step without one.
QString percentLabel(UpgradeStep step);

// How a driver's change ended, on one line: "the new application runs", the
// line that ended it with the step it was in ("ERROR (writing the
// application)"), or where a second stop request stopped it.
QString resultLine(const DriverResult &result);
// One driver's change for a machine: serial, succeeded, outcome (as the
// firmware history words it), step, seconds, in_bootloader, recorded.
QJsonObject resultJson(const DriverResult &result);

// The drivers' rows in the production record: a named record that did not
// take one is an error (true), the local one a warning; each is said with the
// driver's serial number. The serial numbers the record never issued are one
// warning, unless they were said already.
bool reportRecordProblems(const QList<DriverResult> &results, bool recordNamed, bool neverIssuedSaid,
                          Console &console);

} // namespace tool

#endif // TOOL_FIRMWARECHANGES_H
