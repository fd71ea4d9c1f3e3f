#ifndef CONNECTEDDRIVERS_H
#define CONNECTEDDRIVERS_H

#include "usb/driverwatcher.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// The Vn274s on the buses as the driver watcher tells of them, and the one a
// window works on.
//
// Which driver is worked on: none is chosen while at most one driver has been
// seen, and the window's link takes whichever driver it finds, as it always
// has. When a second driver arrives while none is chosen, the choice falls on
// the one the window's link is open on, else on the one that was there
// before. From then on the choice holds: a chosen driver that leaves (a
// restart, a pulled cable) stays chosen, so that nothing falls back to
// another driver, until it comes back or another is chosen.
class ConnectedDrivers : public QObject
{
    Q_OBJECT

public:
    struct Driver
    {
        QByteArray serial;      // its serial number, nine characters
        bool bootloader = false;
        QString bus;            // "002"
        QString device;         // "003": a new one at every arrival
    };

    explicit ConnectedDrivers(QObject *parent = nullptr);

    // The watcher's news. linkSerial: the driver the window's link is open
    // on, if any (either form of its serial string).
    void arrived(const DriverEvent &event, const QByteArray &linkSerial = QByteArray());
    void left(const DriverEvent &event);

    QList<Driver> drivers() const { return present; }   // in the order they arrived
    bool isPresent(const QByteArray &serial) const;

    // The serial number of the driver chosen; empty while none is.
    QByteArray chosen() const { return choice; }
    void choose(const QByteArray &serial);
    // The driver the window works on: the chosen one, else the only one
    // there; empty when that is not known.
    QByteArray workedOn() const;

    // "application", "bootloader" or "not connected", for the user.
    QString modeText(const QByteArray &serial) const;

signals:
    // The list or the choice changed.
    void changed();

private:
    int indexOfNode(const QString &bus, const QString &device) const;

    QList<Driver> present;
    QByteArray choice;
};

#endif // CONNECTEDDRIVERS_H
