#ifndef SIMULATEDDRIVERS_H
#define SIMULATEDDRIVERS_H

#include <QByteArray>
#include <QSemaphore>
#include <QString>

#include <atomic>
#include <vector>

// Several simulated drivers changed at once, as the tests of the concurrent
// change and of the window's dialog set them up.

// The serial number of the simulated driver with this index: 240611027 + index.
QByteArray simulatedSerial(int index);

// Drivers 240611027, 240611028, ... in their applications (the first is
// there after sim::reset()), each back from a restart after two enumerations
// of the bus.
void setUpSimulatedDrivers(int count);

// The upgrade file built from this Intel HEX text in `folder`, signed with
// the test key ("Vn274 firmware 2.1"); empty when that failed.
QString signedRelease(const QString &folder, const QByteArray &hex);

// Holds the first `drivers` drivers as their application page 40 is about
// to be written, until release(): the test acts while their changes are
// surely in progress. Installs the simulator's hooks; the destructor clears them.
class PageFortyHold
{
public:
    explicit PageFortyHold(int drivers);
    ~PageFortyHold();
    bool waitUntilHeld();     // all of them, within 30 s
    void release();
    int pagesWritten(int driver) const { return pages[driver]; }

private:
    int drivers;
    QSemaphore arrived;
    QSemaphore released;
    std::vector<std::atomic<int>> pages;
};

#endif // SIMULATEDDRIVERS_H
