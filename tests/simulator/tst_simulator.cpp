// The simulated driver on its own, driven through the plain libusb 0.1 calls,
// so that the yardstick of the link tests is measured independently of them.

#include "simulator/simdriver.h"
#include "simulator/usbfsfront.h"
#include "usb/transferscrambling.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtEndian>
#include <QtTest>

#include <usb.h>

#include <memory>

namespace {

constexpr int In = 0xC0;
constexpr int Out = 0x40;

QList<struct usb_device *> listed()
{
    QList<struct usb_device *> devices;
    usb_find_busses();
    usb_find_devices();
    for (struct usb_bus *bus = usb_get_busses(); bus; bus = bus->next)
        for (struct usb_device *dev = bus->devices; dev; dev = dev->next)
            devices << dev;
    return devices;
}

struct usb_device *vn274()
{
    for (struct usb_device *dev : listed())
        if (dev->descriptor.idVendor == sim::VendorId && qstrcmp(dev->bus->dirname, "002") == 0)
            return dev;
    return nullptr;
}

usb_dev_handle *openVn274()
{
    struct usb_device *dev = vn274();
    return dev ? usb_open(dev) : nullptr;
}

// The listed device with this bus and device number.
struct usb_device *at(int busNumber, int deviceNumber)
{
    for (struct usb_device *dev : listed())
        if (QByteArray(dev->bus->dirname).toInt() == busNumber && dev->devnum == deviceNumber)
            return dev;
    return nullptr;
}

usb_dev_handle *openDriver(const sim::Driver &driver)
{
    struct usb_device *dev = at(driver.busNumber(), driver.deviceNumber());
    return dev ? usb_open(dev) : nullptr;
}

QByteArray serialOf(usb_dev_handle *h)
{
    char serial[32];
    return usb_get_string_simple(h, 3, serial, sizeof serial) < 0 ? QByteArray() : QByteArray(serial);
}

int receive(usb_dev_handle *h, int request, quint32 address, int size, QByteArray *reply = nullptr)
{
    QByteArray buffer(size, '\0');
    const int r = usb_control_msg(h, In, request, int(address & 0xFFFF), int(address >> 16), buffer.data(), size, 2000);
    if (reply)
        *reply = buffer.left(qMax(r, 0));
    return r;
}

int send(usb_dev_handle *h, int request, quint32 address, QByteArray data)
{
    return usb_control_msg(h, Out, request, int(address & 0xFFFF), int(address >> 16), data.data(),
                           int(data.size()), 2000);
}

QByteArray word(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

class TstSimulator : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        sim::reset();
        usb_init();
    }
    void cleanup() { sim::reset(); }

    void busLayout();
    void openingAndIdentification();
    void serialDescriptor();
    void restartIntoOtherMode_data();
    void restartIntoOtherMode();
    void internalFlash();
    void externalFlashStatusAndTestWrite();
    void stallsAndErrno();
    void faults();
    void openRefusals();
    void latencyAndOverlap();
    void resetGivesFreshDevice();
    void severalDriversListed();
    void eachDriverItsOwnState();
    void restartOfOneDriverLeavesTheOthers();
    void kernelFront();
};

void TstSimulator::busLayout()
{
    sim::reset();
    QVERIFY(usb_find_busses() < 0);   // usb_init first, as libusb wants
    usb_init();
    sim::addDevice(0x16C0, 0x0789, QByteArray("\x17\x02", 2), true);
    sim::addDevice(0x046D, 0xC077, QByteArray(), false);
    const QList<struct usb_device *> devices = listed();
    QCOMPARE(devices.size(), 5);
    const QList<QByteArray> where = {"001", "001", "002", "002", "002"};
    const QList<quint16> vendors = {0x1D6B, 0x16C0, 0x1D6B, 0x16C0, 0x046D};
    for (int i = 0; i < devices.size(); ++i) {
        QCOMPARE(QByteArray(devices.at(i)->bus->dirname), where.at(i));
        QCOMPARE(devices.at(i)->descriptor.idVendor, vendors.at(i));
    }
    const struct usb_device_descriptor &d = devices.at(3)->descriptor;
    QCOMPARE(d.idProduct, quint16(0x0789));
    QCOMPARE(d.iSerialNumber, quint8(3));
    QCOMPARE(d.bMaxPacketSize0, quint8(64));
    QVERIFY(devices.at(3) == vn274());
}

void TstSimulator::openingAndIdentification()
{
    usb_dev_handle *h = openVn274();
    QVERIFY(h);
    QCOMPARE(usb_set_configuration(h, 2), -EINVAL);
    QCOMPARE(usb_set_configuration(h, 1), 0);
    QCOMPARE(usb_claim_interface(h, 1), -ENOENT);
    QCOMPARE(usb_claim_interface(h, 0), 0);
    usb_dev_handle *second = openVn274();
    QCOMPARE(usb_claim_interface(second, 0), -EBUSY);
    QCOMPARE(usb_close(second), 0);
    QCOMPARE(sim::openHandles(), 1);
    QVERIFY(sim::interfaceClaimed());

    QByteArray reply;
    QCOMPARE(receive(h, 255, 0, 2, &reply), 2);
    QCOMPARE(reply, QByteArray("\xBA\x00", 2));
    QCOMPARE(receive(h, 255, 0, 8, &reply), 2);   // a larger buffer gets the reply

    QCOMPARE(usb_release_interface(h, 0), 0);
    QCOMPARE(usb_release_interface(h, 0), -ENOENT);
    QCOMPARE(usb_close(h), 0);
    const sim::Counters c = sim::counters();
    QCOMPARE(c.opens, 2);
    QCOMPARE(c.closes, 2);
    QCOMPARE(c.claims, 1);
    QCOMPARE(c.releases, 1);

    // Another model answers with its own bytes and knows no other request.
    sim::addDevice(0x16C0, 0x0789, QByteArray("\x17", 1), true);
    usb_dev_handle *other = usb_open(listed().at(1));
    QCOMPARE(receive(other, 255, 0, 2, &reply), 1);
    QCOMPARE(reply, QByteArray("\x17"));
    QCOMPARE(receive(other, 9, 0, 4), -EPIPE);
    QCOMPARE(sim::transfers().last().device, 1);
    usb_close(other);
}

void TstSimulator::serialDescriptor()
{
    usb_dev_handle *h = openVn274();
    unsigned char buffer[256];
    QCOMPARE(usb_get_descriptor(h, USB_DT_STRING, 3, buffer, sizeof buffer), 20);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), 20),
             QByteArray("\x14\x03" "2\0" "4\0" "0\0" "6\0" "1\0" "1\0" "0\0" "2\0" "7\0", 20));
    usb_close(h);

    sim::setMode(sim::Mode::Bootloader);
    h = openVn274();
    QCOMPARE(usb_get_descriptor(h, USB_DT_STRING, 3, buffer, sizeof buffer), 22);
    QCOMPARE(int(buffer[0]), 22);
    QCOMPARE(char(buffer[20]), 'b');
    QCOMPARE(int(buffer[21]), 0);
    QCOMPARE(sim::serialString(), QByteArray("240611027b"));

    // The text comes from the serial stored in the bootloader's area.
    sim::writeInternalFlash(sim::SerialAddress, QByteArray("12345678\0", 9));
    QCOMPARE(sim::serialString(), QByteArray("12345678b"));
    usb_close(h);
}

void TstSimulator::restartIntoOtherMode_data()
{
    QTest::addColumn<int>("enumerations");
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<bool>("never");
    QTest::addColumn<bool>("staysInBootloader");
    QTest::newRow("after 5 enumerations") << 5 << 60000 << false << false;
    QTest::newRow("after 30 ms") << 1000 << 30 << false << false;
    QTest::newRow("never") << 5 << 30 << true << false;
    QTest::newRow("new application never starts") << 5 << 60000 << false << true;
}

void TstSimulator::restartIntoOtherMode()
{
    QFETCH(int, enumerations);
    QFETCH(int, milliseconds);
    QFETCH(bool, never);
    QFETCH(bool, staysInBootloader);
    sim::setReenumeration(enumerations, milliseconds);
    sim::setNeverReturns(never);
    sim::setStaysInBootloader(staysInBootloader);
    sim::setStatusWord(1);
    usb_dev_handle *h = openVn274();

    QCOMPARE(send(h, 4, 0, QByteArray()), 0);   // acknowledged, then gone
    QCOMPARE(receive(h, 9, 0, 4), -ENODEV);
    QCOMPARE(errno, ENODEV);
    QVERIFY(!sim::onBus());
    QCOMPARE(sim::mode(), sim::Mode::Bootloader);
    for (int i = 0; i < qMin(enumerations, 50); ++i)
        QVERIFY(!vn274());
    if (milliseconds < 1000)
        QThread::msleep(ulong(milliseconds + 10));

    if (never) {
        QVERIFY(!vn274());
        sim::plug();
    }
    QVERIFY(vn274());
    QCOMPARE(receive(h, 9, 0, 4), -ENODEV);   // the old handle stays dead
    usb_close(h);

    h = openVn274();
    QByteArray status;
    QCOMPARE(receive(h, 9, 0, 4, &status), 4);
    QCOMPARE(status, word(0));   // a restart forgets the status
    QCOMPARE(sim::serialString().size(), 10);
    QCOMPARE(send(h, 4, 0, QByteArray()), 0);
    QCOMPARE(sim::mode(), staysInBootloader ? sim::Mode::Bootloader : sim::Mode::Application);
    usb_close(h);
}

void TstSimulator::internalFlash()
{
    QCOMPARE(sim::internalFlash(0x08003FD0, 32),
             QByteArray("Vn274 boot 1.3\0\xFF" "Jun 11 2024\0\xFF\xFF\xFF\xFF", 32));
    QCOMPARE(sim::internalFlash(0x08003FF0, 10), QByteArray("240611027\xFF"));
    QCOMPARE(sim::internalFlash(0x08004000, 0x1C000), QByteArray(0x1C000, char(0xFF)));

    // Request 1 scrambles each transfer on its own, with the build's key
    // table. Zero words come out as 2k: with our own table k0 = 0xe0c2936a
    // gives 0xc18526d4, k1 = 0x65bc5079 gives 0xcb78a0f2.
    const auto twiceKey = [](int i) { return word(2 * qFromLittleEndian<quint32>(transferKey + 4 * i)); };
    sim::writeInternalFlash(0x08010000, QByteArray(132, '\0'));
    usb_dev_handle *h = openVn274();
    QByteArray reply;
    QCOMPARE(receive(h, 1, 0x08010000, 132, &reply), 132);
    QCOMPARE(reply.left(8), twiceKey(0) + twiceKey(1));
    QCOMPARE(reply.mid(128), twiceKey(0));   // word 32: k0 again
    QCOMPARE(receive(h, 1, 0x08010004, 4, &reply), 4);
    QCOMPARE(reply, twiceKey(0));            // a new transfer: k0 again
    QCOMPARE(receive(h, 1, 0x0801FFF8, 8), 8);
    QCOMPARE(receive(h, 1, 0x0801FFFC, 8), -EPIPE);
    QCOMPARE(receive(h, 1, 0x07FFFFFC, 8), -EPIPE);
    QCOMPARE(receive(h, 1, 0x08004000, 2049), -EPIPE);

    // Request 3 descrambles: 2k words and all-ones words come back as zeros
    // and ones. Only the bootloader writes, whole aligned application pages.
    QByteArray page(1024, char(0xFF));
    page.replace(0, 8, twiceKey(0) + twiceKey(1));
    QByteArray plain(1024, char(0xFF));
    plain.replace(0, 8, QByteArray(8, '\0'));
    QCOMPARE(send(h, 3, 0x08004000, page), -EPIPE);
    usb_close(h);
    sim::setMode(sim::Mode::Bootloader);
    h = openVn274();
    QCOMPARE(send(h, 3, 0x08003C00, page), -EPIPE);
    QCOMPARE(send(h, 3, 0x08020000, page), -EPIPE);
    QCOMPARE(send(h, 3, 0x08004200, page), -EPIPE);
    QCOMPARE(send(h, 3, 0x08004000, page.left(1020)), -EPIPE);
    QCOMPARE(sim::internalFlash(0x08003C00, 0x3D0), QByteArray(0x3D0, char(0xFF)));
    QCOMPARE(sim::internalFlash(0x08004000, 0xC000), QByteArray(0xC000, char(0xFF)));
    QCOMPARE(send(h, 3, 0x0801FC00, page), 1024);
    QCOMPARE(sim::internalFlash(0x0801FC00, 1024), plain);
    usb_close(h);
}

void TstSimulator::externalFlashStatusAndTestWrite()
{
    QCOMPARE(sim::externalFlash(0, int(sim::ExternalFlashSize)), QByteArray(int(sim::ExternalFlashSize), char(0xFF)));
    usb_dev_handle *h = openVn274();
    const QByteArray data = QByteArray("raw bytes, as they come").leftJustified(256, '.');
    QCOMPARE(send(h, 6, 0xFFF00, data), 256);
    QCOMPARE(sim::externalFlash(0xFFF00, 256), data);
    QCOMPARE(send(h, 6, 0xFFF00, data + "x"), -EPIPE);
    QCOMPARE(send(h, 6, 0xFFFF0, data.left(32)), -EPIPE);
    QByteArray reply;
    QCOMPARE(receive(h, 5, 0xFFE00, 512, &reply), 512);
    QCOMPARE(reply.mid(256), data);
    QCOMPARE(receive(h, 5, 0, 513), -EPIPE);

    QCOMPARE(send(h, 7, 0, word(0x80000005)), 4);
    QCOMPARE(send(h, 8, 0, word(0x00000004)), 4);
    QCOMPARE(receive(h, 9, 0, 4, &reply), 4);
    QCOMPARE(reply, word(0x80000001));
    sim::setStatusLockedBits(1);
    QCOMPARE(send(h, 8, 0, word(0xFFFFFFFF)), 4);
    QCOMPARE(sim::statusWord(), 1u);
    QCOMPARE(send(h, 7, 0, QByteArray(3, '\xFF')), -EPIPE);

    QByteArray test(512, '\0');
    for (int i = 0; i < 512; ++i)
        test[i] = char(i);
    QCOMPARE(send(h, 2, 0, test), 512);
    QCOMPARE(sim::lastTestWrite(), test);
    QCOMPARE(send(h, 2, 0, test.left(511)), -EPIPE);
    usb_close(h);
}

void TstSimulator::stallsAndErrno()
{
    usb_dev_handle *h = openVn274();
    errno = 0;
    QCOMPARE(receive(h, 10, 0, 4), -EPIPE);
    QCOMPARE(errno, EPIPE);
    QCOMPARE(send(h, 9, 0, word(0)), -EPIPE);                  // wrong direction
    QCOMPARE(receive(h, 7, 0, 4), -EPIPE);
    QByteArray buffer(2, '\0');
    QCOMPARE(usb_control_msg(h, 0x80, 255, 0, 0, buffer.data(), 2, 2000), -EPIPE);   // not vendor
    QCOMPARE(usb_bulk_write(h, 0x02, "abc", 3, 2000), 3);
    QCOMPARE(usb_bulk_read(h, 0x82, buffer.data(), 2, 2000), -EPIPE);
    QCOMPARE(usb_bulk_read(h, 0x81, buffer.data(), 2, 2000), 2);
    QCOMPARE(buffer, QByteArray("ab"));
    QCOMPARE(sim::transfers().size(), 4);   // failures are logged too
    QCOMPARE(sim::transfers().at(1).direction, sim::Direction::Out);
    QCOMPARE(sim::transfers().at(1).result, -EPIPE);
    usb_close(h);
}

void TstSimulator::faults()
{
    usb_dev_handle *h = openVn274();
    sim::failTransfers(sim::AnyRequest, 2);
    sim::failTransfers(9, 1, 2, ETIMEDOUT);     // the third request 9 from now
    QCOMPARE(receive(h, 255, 0, 2), -EIO);
    QCOMPARE(send(h, 7, 0, word(2)), -EIO);
    QCOMPARE(sim::statusWord(), 0u);           // a failed transfer has no effect
    QCOMPARE(send(h, 7, 0, word(2)), 4);
    QCOMPARE(receive(h, 9, 0, 4), 4);
    QCOMPARE(receive(h, 9, 0, 4), 4);
    QCOMPARE(receive(h, 9, 0, 4), -ETIMEDOUT);
    QCOMPARE(receive(h, 9, 0, 4), 4);
    QCOMPARE(sim::statusWord(), 2u);

    sim::shortenTransfers(5, 10);
    sim::shortenTransfers(6, 100);
    QCOMPARE(receive(h, 5, 0, 512), 10);
    QCOMPARE(send(h, 6, 0, QByteArray(256, 'x')), 100);
    QCOMPARE(sim::externalFlash(0, 4), QByteArray(4, char(0xFF)));   // dropped

    sim::corruptReads(sim::Memory::External, 0x100, 1);
    QByteArray reply;
    QCOMPARE(receive(h, 5, 0, 512, &reply), 512);
    QCOMPARE(reply.at(0x100), char(0x00));
    QCOMPARE(reply.count(char(0xFF)), 511);
    QCOMPARE(receive(h, 5, 0, 512, &reply), 512);
    QCOMPARE(reply, QByteArray(512, char(0xFF)));
    QCOMPARE(sim::externalFlash(0x100, 1), QByteArray(1, char(0xFF)));

    QByteArray clean, corrupted;
    receive(h, 1, 0x08004000, 16, &clean);
    sim::corruptReads(sim::Memory::Internal, 0x08004005);
    receive(h, 1, 0x08004000, 16, &corrupted);
    QVERIFY(clean.mid(4, 4) != corrupted.mid(4, 4));
    QCOMPARE(clean.left(4) + clean.mid(8), corrupted.left(4) + corrupted.mid(8));

    sim::unplug();
    QCOMPARE(receive(h, 255, 0, 2), -ENODEV);
    QVERIFY(!vn274());
    sim::plug();
    QVERIFY(vn274());
    QCOMPARE(receive(h, 255, 0, 2), -ENODEV);
    usb_close(h);

    // The cable comes out as the second page arrives: that page is lost, and
    // the driver stays away.
    sim::setMode(sim::Mode::Bootloader);
    h = openVn274();
    sim::unplugAtTransfer(3, 1);
    QCOMPARE(send(h, 3, 0x08004000, QByteArray(1024, 'a')), 1024);
    QCOMPARE(send(h, 3, 0x08004400, QByteArray(1024, 'b')), -ENODEV);
    QVERIFY(!sim::onBus());
    QVERIFY(!vn274());
    QCOMPARE(sim::internalFlash(0x08004400, 1), QByteArray(1, char(0xFF)));
    usb_close(h);
}

void TstSimulator::openRefusals()
{
    sim::refuseOpen(EPERM, 1);
    errno = 0;
    QVERIFY(!openVn274());
    QCOMPARE(errno, EPERM);
    QCOMPARE(sim::lastOpenErrno(), EPERM);
    usb_dev_handle *h = openVn274();
    QVERIFY(h);
    QCOMPARE(sim::lastOpenErrno(), 0);

    sim::refuseSetConfiguration(1);
    sim::refuseClaimInterface(1);
    QCOMPARE(usb_set_configuration(h, 1), -EBUSY);
    QCOMPARE(usb_set_configuration(h, 1), 0);
    QCOMPARE(usb_claim_interface(h, 0), -EBUSY);
    QCOMPARE(usb_claim_interface(h, 0), 0);

    sim::refuseOpen(EACCES);   // for good, until cleared
    QVERIFY(!openVn274());
    QVERIFY(!openVn274());
    sim::clearFaults();
    usb_dev_handle *again = openVn274();
    QVERIFY(again);
    usb_close(again);
    usb_close(h);
}

// The yardstick of the link's locking: overlapping transfers must show.
void TstSimulator::latencyAndOverlap()
{
    usb_dev_handle *h = openVn274();
    sim::setLatency(30);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(receive(h, 9, 0, 4), 4);
    QVERIFY(clock.elapsed() >= 30);

    sim::clearTransfers();
    std::unique_ptr<QThread> other(QThread::create([h] { receive(h, 9, 0, 4); }));
    other->start();
    receive(h, 255, 0, 2);
    QVERIFY(other->wait(10000));
    const QList<sim::Transfer> log = sim::transfers();
    QCOMPARE(log.size(), 2);
    QVERIFY(log.at(0).thread != log.at(1).thread);
    QVERIFY(log.at(1).begin < log.at(0).end);
    QCOMPARE(sim::counters().maxConcurrentTransfers, 2);

    sim::setLatency(0);
    clock.restart();
    sim::failTransfers(sim::AnyRequest, 20, 0, ETIMEDOUT);
    for (int i = 0; i < 20; ++i)
        QCOMPARE(receive(h, 9, 0, 4), -ETIMEDOUT);
    QVERIFY(clock.elapsed() < 1000);   // failures answer at once
    usb_close(h);

    // Reading a descriptor is a transfer on the wire too: it waits, and it
    // shows when it overlaps another transfer.
    sim::reset();
    usb_init();
    h = openVn274();
    sim::setLatency(30);
    std::unique_ptr<QThread> reader(QThread::create([h] {
        char descriptor[64];
        usb_get_descriptor(h, USB_DT_STRING, 3, descriptor, sizeof descriptor);
    }));
    reader->start();
    receive(h, 9, 0, 4);
    QVERIFY(reader->wait(10000));
    QCOMPARE(sim::counters().descriptorReads, 1);
    QCOMPARE(sim::counters().maxConcurrentTransfers, 2);
    usb_close(h);

    // Opening a device that a later enumeration did not list (it was away
    // meanwhile) is what libusb 0.1 makes a use of freed memory: counted.
    struct usb_device *dev = vn274();
    listed();
    h = usb_open(dev);
    QCOMPARE(sim::counters().staleOpens, 0);
    usb_close(h);
    sim::unplug();
    listed();
    sim::plug();
    h = usb_open(dev);
    QCOMPARE(sim::counters().staleOpens, 1);
    usb_close(h);
}

void TstSimulator::resetGivesFreshDevice()
{
    usb_dev_handle *h = openVn274();
    sim::setMode(sim::Mode::Bootloader);
    usb_close(h);
    h = openVn274();
    send(h, 7, 0, word(1));
    sim::writeExternalFlash(0, "data");
    sim::failTransfers(sim::AnyRequest, sim::Forever);
    sim::addDevice(0x16C0, 0x0789, QByteArray(), true);

    sim::reset();
    usb_init();
    QVERIFY(sim::transfers().isEmpty());
    QCOMPARE(receive(h, 9, 0, 4), -ENODEV);   // handles from before are dead
    usb_close(h);
    QCOMPARE(listed().size(), 3);
    QCOMPARE(sim::mode(), sim::Mode::Application);
    QCOMPARE(sim::statusWord(), 0u);
    QCOMPARE(sim::externalFlash(0, 4), QByteArray(4, char(0xFF)));
    h = openVn274();
    QCOMPARE(receive(h, 255, 0, 2), 2);
    QCOMPARE(sim::counters().opens, 1);
    usb_close(h);
}

void TstSimulator::severalDriversListed()
{
    const sim::Driver second = sim::addDriver("241231001");
    const sim::Driver third = sim::addDriver("241231002", sim::Mode::Bootloader, true);
    sim::addDevice(0x046D, 0xC077, QByteArray());
    QCOMPARE(sim::driverCount(), 3);
    QCOMPARE(second.index(), 1);
    QCOMPARE(sim::driver(2).serialString(), QByteArray("241231002b"));

    // Bus by bus, each in the order added, numbered from 1 as the kernel does.
    QList<QByteArray> seen;
    for (struct usb_device *dev : listed())
        seen << QByteArray(dev->bus->dirname) + "/" + QByteArray::number(dev->devnum) + " "
                    + QByteArray::number(dev->descriptor.idVendor, 16);
    QCOMPARE(seen, QList<QByteArray>({"001/1 1d6b", "001/2 16c0", "002/1 1d6b", "002/2 16c0", "002/3 16c0",
                                      "002/4 46d"}));
    QCOMPARE(sim::driver(0).busNumber(), 2);
    QCOMPARE(sim::driver(0).deviceNumber(), 2);
    QCOMPARE(second.deviceNumber(), 3);
    QCOMPARE(third.busNumber(), 1);
    QCOMPARE(third.deviceNumber(), 2);

    const QList<QByteArray> serials = {sim::DefaultSerial, "241231001", "241231002b"};
    for (int i = 0; i < 3; ++i) {
        usb_dev_handle *h = openDriver(sim::driver(i));
        QCOMPARE(serialOf(h), serials.at(i));
        QCOMPARE(receive(h, 255, 0, 2), 2);
        usb_close(h);
        QCOMPARE(sim::driver(i).counters().opens, 1);
        QCOMPARE(sim::driver(i).transfers().size(), 1);
        QCOMPARE(sim::driver(i).transfers().first().device, sim::driver(i).number());
    }
    QCOMPARE(third.number(), 2);
    QCOMPARE(sim::transfers().size(), 3);

    sim::reset();
    QCOMPARE(sim::driverCount(), 1);
}

void TstSimulator::eachDriverItsOwnState()
{
    const sim::Driver second = sim::addDriver("241231001");
    usb_dev_handle *first = openVn274();
    usb_dev_handle *other = openDriver(second);
    QVERIFY(first && other);

    QCOMPARE(send(other, 6, 0x14000, QByteArray(256, 'p')), 256);
    QCOMPARE(send(other, 7, 0, word(1)), 4);
    QCOMPARE(second.externalFlash(0x14000, 256), QByteArray(256, 'p'));
    QCOMPARE(sim::externalFlash(0x14000, 256), QByteArray(256, char(0xFF)));
    QCOMPARE(second.statusWord(), 1u);
    QCOMPARE(sim::statusWord(), 0u);

    // Faults belong to the driver they were planted in; clearFaults() clears all.
    second.failTransfers(sim::AnyRequest, sim::Forever);
    sim::driver(0).corruptReads(sim::Memory::External, 0x14000);
    QCOMPARE(receive(first, 9, 0, 4), 4);
    QCOMPARE(receive(other, 9, 0, 4), -EIO);
    second.refuseOpen(EACCES);
    QVERIFY(!openDriver(second));
    QCOMPARE(second.lastOpenErrno(), EACCES);
    usb_dev_handle *again = openVn274();
    QVERIFY(again);
    usb_close(again);
    sim::clearFaults();
    QCOMPARE(receive(other, 9, 0, 4), 4);
    QByteArray reply;
    QCOMPARE(receive(first, 5, 0x14000, 4, &reply), 4);
    QCOMPARE(reply, QByteArray(4, char(0xFF)));

    // Interface 0 is claimed per driver.
    QCOMPARE(usb_claim_interface(first, 0), 0);
    QCOMPARE(usb_claim_interface(other, 0), 0);
    QVERIFY(sim::interfaceClaimed() && second.interfaceClaimed());
    QCOMPARE(second.openHandles(), 1);
    usb_close(other);
    QVERIFY(sim::interfaceClaimed() && !second.interfaceClaimed());
    QCOMPARE(second.openHandles(), 0);
    usb_close(first);
}

void TstSimulator::restartOfOneDriverLeavesTheOthers()
{
    const sim::Driver second = sim::addDriver("241231001");
    second.setReenumeration(3, 60000);
    sim::setStatusWord(5);
    usb_dev_handle *first = openVn274();
    usb_dev_handle *other = openDriver(second);
    const int before = second.deviceNumber();
    QCOMPARE(send(other, 7, 0, word(1)), 4);

    QCOMPARE(send(other, 4, 0, QByteArray()), 0);
    QVERIFY(!second.onBus());
    QCOMPARE(second.deviceNumber(), 0);
    QCOMPARE(second.mode(), sim::Mode::Bootloader);
    QCOMPARE(receive(other, 9, 0, 4), -ENODEV);
    QCOMPARE(listed().size(), 3);               // the hubs and the first driver
    QCOMPARE(receive(first, 9, 0, 4), 4);       // the first one goes on as before
    QVERIFY(sim::onBus());
    listed();
    listed();

    // Back in its bootloader under a new device number; the other keeps its own.
    QCOMPARE(listed().size(), 4);
    QVERIFY(second.onBus());
    QVERIFY(second.deviceNumber() != before);
    QCOMPARE(sim::driver(0).deviceNumber(), 2);
    QCOMPARE(second.statusWord(), 0u);
    QCOMPARE(sim::statusWord(), 5u);
    QCOMPARE(sim::mode(), sim::Mode::Application);
    usb_close(other);
    other = openDriver(second);
    QCOMPARE(serialOf(other), QByteArray("241231001b"));
    QCOMPARE(receive(first, 255, 0, 2), 2);

    // Unplugging one is no business of the other either.
    second.unplug();
    QCOMPARE(receive(first, 255, 0, 2), 2);
    QCOMPARE(receive(other, 255, 0, 2), -ENODEV);
    second.plug();
    QVERIFY(at(2, second.deviceNumber()));
    usb_close(other);
    usb_close(first);
}

// The device nodes as usbfs shows them, on the same model.
void TstSimulator::kernelFront()
{
    sim::addDriver("241231001", sim::Mode::Bootloader);
    const QList<sim::usbfs::Node> nodes = sim::usbfs::nodes();
    QCOMPARE(nodes.size(), 4);
    QCOMPARE(nodes.at(2).path, QString("/dev/bus/usb/002/002"));
    QCOMPARE(nodes.at(3).serial, QByteArray("241231001b"));
    QCOMPARE(nodes.at(3).descriptors.size(), 18 + 32);

    // read() goes on from where it stopped, as libusb reads it.
    sim::usbfs::File file("/dev/bus/usb/002/002", true);
    char bytes[64];
    QCOMPARE(file.read(bytes, 18), 18);
    QCOMPARE(QByteArray(bytes, 4), QByteArray("\x12\x01\x00\x02", 4));
    QCOMPARE(file.read(bytes, 8), 8);
    QCOMPARE(QByteArray(bytes, 4), QByteArray("\x09\x02\x20\x00", 4));
    QCOMPARE(file.read(bytes, 64), 24);
    QCOMPARE(file.read(bytes, 64), 0);

    usbdevfs_connectinfo info = {};
    QCOMPARE(file.connectInfo(&info), 0);
    QCOMPARE(info.devnum, 2u);
    QCOMPARE(file.otherIoctl(), -ENOTTY);
    QCOMPARE(file.setConfiguration(1), 0);
    QCOMPARE(file.claimInterface(0), 0);
    usbdevfs_ctrltransfer identify = { 0xC0, 255, 0, 0, 2, 2000, nullptr };
    QCOMPARE(file.control(identify, bytes), 2);
    QCOMPARE(QByteArray(bytes, 2), QByteArray("\xBA\x00", 2));
    usbdevfs_ctrltransfer serial = { 0x80, 6, 0x0303, 0, 255, 1000, nullptr };
    QCOMPARE(file.control(serial, bytes), 20);

    // One claim per device; closing a file gives it up.
    {
        sim::usbfs::File other("/dev/bus/usb/002/002", true);
        QCOMPARE(other.claimInterface(0), -EBUSY);
        sim::usbfs::File second("/dev/bus/usb/002/003", true);
        QCOMPARE(second.claimInterface(0), 0);
    }
    QCOMPARE(sim::openHandles(), 1);
    QVERIFY(sim::driver(1).counters().claims == 1 && !sim::driver(1).interfaceClaimed());

    // Read-only: the descriptors, but no ioctl.
    sim::usbfs::File readOnly("/dev/bus/usb/002/002", false);
    QCOMPARE(readOnly.read(bytes, 18), 18);
    QCOMPARE(readOnly.setConfiguration(1), -EPERM);
    QCOMPARE(readOnly.connectInfo(&info), -EPERM);

    // A restart: the file stays with the device that has gone, even when
    // another one gets its number meanwhile.
    usbdevfs_ctrltransfer restart = { 0x40, 4, 0, 0, 0, 2000, nullptr };
    QCOMPARE(file.control(restart, nullptr), 0);
    QCOMPARE(file.control(identify, bytes), -ENODEV);
    QCOMPARE(file.read(bytes, 18), -ENODEV);
    QCOMPARE(sim::usbfs::nodes().size(), 3);
    sim::plug();
    QCOMPARE(sim::usbfs::nodes().at(2).path, QString("/dev/bus/usb/002/004"));
    QCOMPARE(file.releaseInterface(0), -ENODEV);
    sim::usbfs::File gone("/dev/bus/usb/002/002", true);
    QCOMPARE(gone.read(bytes, 18), -ENODEV);
    QCOMPARE(sim::serialString(), QByteArray("240611027b"));
}

QTEST_GUILESS_MAIN(TstSimulator)
#include "tst_simulator.moc"
