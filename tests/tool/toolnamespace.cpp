#include "toolnamespace.h"

#include "tool/commands.h"
#include "tool/console.h"
#include "tool/stationdrivers.h"

#include <QtTest>

void verifyRepeatableOptions()
{
    const tool::AcceptedOptions accepted = { { "serial", "db" }, {}, { "serial" } };
    tool::Arguments parsed;
    QString error;
    QVERIFY(tool::parseArguments({ "--serial", "A", "x", "--serial=B" }, accepted, &parsed, &error));
    QCOMPARE(parsed.values("serial"), QStringList({ "A", "B" }));
    QCOMPARE(parsed.positional, QStringList("x"));
    tool::Arguments twice;
    QVERIFY(!tool::parseArguments({ "--db", "a", "--db", "b" }, accepted, &twice, &error));
    QCOMPARE(error, QString("option --db given twice"));
}

void watchNoDriversPluggedIn()
{
    tool::setDriverWatchStart([](DriverWatcher &) { return true; });
}

QStringList stationArrivals(const QStringList &events)
{
    using Arrival = tool::StationDrivers::Arrival;
    tool::StationDrivers drivers;
    QStringList arrivals;
    for (const QString &event : events) {
        QStringList words = event.split(' ');
        const QString what = words.takeFirst();
        const QByteArray serial = words.takeFirst().toLatin1();
        if (what == "arrive") {
            const Arrival arrival = drivers.arrived(serial, words.first());
            arrivals << (arrival == Arrival::New ? "new" : arrival == Arrival::OwnRestart ? "own restart"
                                                                                         : "plugged in again");
        } else if (what == "start") {
            drivers.started(serial);
        } else {
            DriverResult result;
            result.serial = serial;
            result.ending = ChangeEnding::Succeeded;
            result.devices = words;
            drivers.finished(result);
        }
    }
    return arrivals;
}
