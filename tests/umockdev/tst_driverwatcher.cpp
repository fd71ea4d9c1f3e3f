// The watch on drivers that come and go: the events it lets through, fed as
// udev would send them, and real uevents of an umockdev testbed that follows
// the simulated buses. This program runs under umockdev's preload library,
// which hands the testbed's uevents to the process's udev monitors.

// umockdev's headers first: GLib's must not meet Qt's keyword macros.
#include <umockdev.h>

#include "emulatedbuses.h"

#include "simulator/simdriver.h"
#include "usb/driverwatcher.h"

#include <QSignalSpy>
#include <QtTest>

using Properties = QMap<QByteArray, QByteArray>;

namespace {

// A Vn274's "add" event as udev sends it with its rules applied.
Properties vn274Properties()
{
    return { { "SUBSYSTEM", "usb" }, { "DEVTYPE", "usb_device" }, { "PRODUCT", "16c0/789/100" },
             { "BUSNUM", "002" }, { "DEVNUM", "005" }, { "DEVNAME", "/dev/bus/usb/002/005" },
             { "ID_SERIAL_SHORT", "240611028" } };
}

Properties with(Properties properties, const QByteArray &name, const QByteArray &value)
{
    properties.insert(name, value);
    return properties;
}

// "arrived 002 003 240611028b", one line per event.
QStringList seen(const QSignalSpy &arrived, const QSignalSpy &left)
{
    QStringList lines;
    for (const QSignalSpy *spy : { &arrived, &left })
        for (const QList<QVariant> &arguments : *spy) {
            const DriverEvent event = arguments.at(0).value<DriverEvent>();
            lines << QStringLiteral("%1 %2 %3 %4")
                             .arg(event.action == DriverEvent::Action::Arrived ? "arrived" : "left", event.bus,
                                  event.device, QString::fromLatin1(event.serial));
        }
    return lines;
}

} // namespace

class TstDriverWatcher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("default.debug=false"); }
    void init() { sim::reset(); }

    void eventsLetThrough_data();
    void eventsLetThrough();
    void realEventsOfTheTestbed();
};

void TstDriverWatcher::eventsLetThrough_data()
{
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<Properties>("properties");
    QTest::addColumn<QStringList>("events");

    const Properties vn274 = vn274Properties();
    QTest::newRow("plugged in") << QByteArray("add") << vn274 << QStringList("arrived 002 005 240611028");
    QTest::newRow("taken away") << QByteArray("remove") << vn274 << QStringList("left 002 005 240611028");
    QTest::newRow("numbers without zeros") << QByteArray("add") << with(with(vn274, "BUSNUM", "2"), "DEVNUM", "17")
                                           << QStringList("arrived 002 017 240611028");
    QTest::newRow("ids with leading zeros") << QByteArray("add") << with(vn274, "PRODUCT", "16c0/0789/0100")
                                            << QStringList("arrived 002 005 240611028");
    QTest::newRow("serial with controls, read as a link reads it")
            << QByteArray("add") << with(vn274, "ID_SERIAL_SHORT", "24\x1b[2J\xc2\x9b" "1\xc3\xa9")
            << QStringList(QString::fromUtf8("arrived 002 005 24?[2J?1\xc3\xa9"));
    QTest::newRow("its interface") << QByteArray("add") << with(vn274, "DEVTYPE", "usb_interface") << QStringList();
    QTest::newRow("another product") << QByteArray("add") << with(vn274, "PRODUCT", "16c0/788/100") << QStringList();
    QTest::newRow("another vendor") << QByteArray("add") << with(vn274, "PRODUCT", "1d6b/789/100") << QStringList();
    QTest::newRow("no product") << QByteArray("add") << with(vn274, "PRODUCT", "") << QStringList();
    QTest::newRow("another subsystem") << QByteArray("add") << with(vn274, "SUBSYSTEM", "tty") << QStringList();
    QTest::newRow("change") << QByteArray("change") << vn274 << QStringList();
    QTest::newRow("bind") << QByteArray("bind") << vn274 << QStringList();
}

void TstDriverWatcher::eventsLetThrough()
{
    QFETCH(QByteArray, action);
    QFETCH(Properties, properties);
    QFETCH(QStringList, events);
    DriverWatcher watcher;
    QSignalSpy arrived(&watcher, &DriverWatcher::driverArrived);
    QSignalSpy left(&watcher, &DriverWatcher::driverLeft);
    watcher.feed(action, properties);
    QCOMPARE(seen(arrived, left), events);
}

// A driver added to the testbed, one of another make, a restart (gone, and
// back under another number in its bootloader) and an unplugged cable, each
// a real uevent; the driver there before the watch began is not announced.
void TstDriverWatcher::realEventsOfTheTestbed()
{
    EmulatedBuses buses;
    DriverWatcher watcher;
    QVERIFY(watcher.start());
    QSignalSpy arrived(&watcher, &DriverWatcher::driverArrived);
    QSignalSpy left(&watcher, &DriverWatcher::driverLeft);

    const sim::Driver added = sim::addDriver("240611028");
    sim::addDevice(0x1234, 0x5678, QByteArray());
    buses.sync();
    QTRY_COMPARE(arrived.count(), 1);
    const int first = added.deviceNumber();

    added.setMode(sim::Mode::Bootloader);
    buses.sync();
    QTRY_COMPARE(arrived.count() + left.count(), 3);
    const int restarted = added.deviceNumber();
    added.unplug();
    buses.sync();
    QTRY_COMPARE(left.count(), 2);
    const auto number = [](int device) { return QStringLiteral("%1").arg(device, 3, 10, QLatin1Char('0')); };
    QCOMPARE(seen(arrived, left), QStringList({ "arrived 002 " + number(first) + " 240611028",
                                                "arrived 002 " + number(restarted) + " 240611028b",
                                                "left 002 " + number(first) + " ",
                                                "left 002 " + number(restarted) + " " }));

    // Asked, it announces the drivers there now, in either mode, and nothing else.
    const sim::Driver third = sim::addDriver("240611029", sim::Mode::Bootloader);
    buses.sync();
    QTRY_COMPARE(arrived.count(), 3);
    arrived.clear();
    left.clear();
    watcher.announcePresent();
    QCOMPARE(seen(arrived, left), QStringList({ "arrived 002 002 240611027",
                                                "arrived 002 " + number(third.deviceNumber()) + " 240611029b" }));
}

QTEST_GUILESS_MAIN(TstDriverWatcher)
#include "tst_driverwatcher.moc"
