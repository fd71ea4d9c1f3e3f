#ifndef TOOL_DRIVERSDISPLAY_H
#define TOOL_DRIVERSDISPLAY_H

#include "tool/progressdisplay.h"
#include "upgrade/concurrentupgrade.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

namespace tool {

class Console;

// The progress of several drivers changed at once, on standard output. On a
// terminal each driver has one line (serial number, step, percentage) that is
// redrawn in place, at most ten times a second, and ends with the result;
// the lines of text are left out. Elsewhere (a log, a pipe) every line of
// text and every tenth of a percentage is a whole line of its own, prefixed
// with the driver's serial number, as the change of one driver prints them.
class DriversDisplay : public QObject
{
    Q_OBJECT

public:
    // The drivers in the order of their lines.
    DriversDisplay(Console &console, const QList<QByteArray> &serials);
    ~DriversDisplay() override;

    void progress(const DriverProgress &progress);
    void line(const QByteArray &serial, const QString &text);
    void finished(const DriverResult &result);
    // The notice of an interruption has been written under the lines: they
    // begin again below it.
    void interrupted();

    // The last state drawn: nothing more is written after it.
    void close();

private:
    struct Driver
    {
        QString state;                           // its live line after the serial number
        std::unique_ptr<ProgressDisplay> log;    // elsewhere: its lines
    };

    void changed();
    void draw();
    QString liveLine(const QByteArray &serial) const;

    Console &console;
    const QList<QByteArray> order;
    std::map<QByteArray, Driver> drivers;
    QTimer redraw;
    int width = 80;         // of the terminal: a longer line would wrap and spoil the redraw
    bool drawn = false;     // the lines are on the terminal: a redraw goes back up to them first
    bool closed = false;
};

} // namespace tool

#endif // TOOL_DRIVERSDISPLAY_H
