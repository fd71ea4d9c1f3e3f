#ifndef SIM_UDEVFRONT_H
#define SIM_UDEVFRONT_H

#include <QMap>
#include <QObject>
#include <QString>

class DriverWatcher;
class QTimer;

namespace sim {

// udev's part for programs on the simulated buses (the demo program): tells
// a driver watcher of the Vn274s that come and go there, a restart's
// departure and arrival included, as udev's monitor tells of real ones.
//
// The model lets a restarting driver come back when it is looked for, so
// this looks at the buses every 50 ms, the way the kernel notices a device
// on its port; the watcher itself never polls.
class UdevFront : public QObject
{
    Q_OBJECT

public:
    // Watches for this watcher (and is deleted with it).
    explicit UdevFront(DriverWatcher *watcher);

    // An arrival for each Vn274 on the buses now, then the news as it comes.
    void start();
    // Tells what changed since the last look.
    void look();

private:
    DriverWatcher *watcher;
    QTimer *timer;
    QMap<QString, QByteArray> shown;   // serial strings of the nodes told of, by node path
};

} // namespace sim

#endif // SIM_UDEVFRONT_H
