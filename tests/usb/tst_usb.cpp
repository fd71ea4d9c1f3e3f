// The USB link, the Vn274 request set, the transfer scrambling and the hex
// dump, measured against the simulated driver.

#include "simulator/simdriver.h"
#include "usb/hexdump.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"

#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

QMutex logMutex;
QStringList logLines;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    QMutexLocker lock(&logMutex);
    logLines << message;
}

QStringList takeLog()
{
    QMutexLocker lock(&logMutex);
    const QStringList lines = logLines;
    logLines.clear();
    return lines;
}

QStringList controlLines(const QStringList &lines)
{
    return lines.filter(QRegularExpression("^USB Control "));
}

QByteArray pattern(int length, int seed = 0)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char(i * 37 + seed * 11 + (i >> 8));
    return bytes;
}

QString pointerText(const void *p)
{
    return QString::number(quintptr(p), 16).rightJustified(int(2 * sizeof(void *)), '0');
}

int count(const QList<sim::Transfer> &log, int request)
{
    return int(std::count_if(log.begin(), log.end(), [request](const sim::Transfer &t) { return t.request == request; }));
}

QList<int> lengths(const QList<sim::Transfer> &log)
{
    QList<int> result;
    for (const sim::Transfer &t : log)
        result << t.length;
    return result;
}

QList<int> percents(const QSignalSpy &spy)
{
    QList<int> result;
    for (const QList<QVariant> &arguments : spy)
        result << arguments.at(0).toInt();
    return result;
}

} // namespace

Q_DECLARE_METATYPE(UsbDevice::ConnectionFailure)

class TstUsb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qInstallMessageHandler(captureMessage); }
    void init()
    {
        sim::reset();
        takeLog();
    }

    // Enumeration
    void noDevice();
    void refusedDevice_data();
    void refusedDevice();
    void otherDeviceBeforeOurs_data();
    void otherDeviceBeforeOurs();
    void connectLogAndReopen();

    // The link heals itself
    void reconnectAfterFailedTransfer();
    void receiveWithoutData();

    // Requests
    void setupPacket_data();
    void setupPacket();
    void errorLines();

    // Chunking, retries, progress
    void readChunks();
    void writePage();
    void externalFlashChunks_data();
    void externalFlashChunks();
    void retryBudget_data();
    void retryBudget();

    // Status
    void statusAcquire_data();
    void statusAcquire();
    void statusOperations();

    // Mode switch as the firmware change drives it
    void bootloaderComesBack();

    // Serial, bulk, lifetime, threads
    void serial();
    void severalDrivers();
    void bulkPair();
    void destructorReleases();
    void twoThreadsNeverInterleave();
    void twoLinksTransferSideBySide();
    void enumerationStaysOneAtATime();

    // Scrambling and dump
    void scramblingKnownAnswers();
    void scramblingRoundTrip_data();
    void scramblingRoundTrip();
    void scramblingKeyRestartsPerCall();
    void encodeLogLines();
    void hexDumpText_data();
    void hexDumpText();
};

// --- Enumeration ---------------------------------------------------------------

void TstUsb::noDevice()
{
    sim::unplug();
    USBRQ518 device;
    QCOMPARE(device.connect(), -1);
    QCOMPARE(device.lastConnectionFailure(), UsbDevice::ConnectionFailure::NotFound);
    const quint32 mask = 1;
    QCOMPARE(device.control_send(USBRQ518::StatusSetRequest, 0, 0, &mask, 4), -1);
    QVERIFY(sim::transfers().isEmpty());
    QVERIFY(device.getSerial().isEmpty());
}

void TstUsb::refusedDevice_data()
{
    using Cause = UsbDevice::ConnectionFailure;
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<Cause>("cause");
    QTest::newRow("another identification word") << "word" << Cause::NotIdentified;
    QTest::newRow("one-byte identification") << "short" << Cause::NotIdentified;
    QTest::newRow("open refused") << "open" << Cause::PermissionDenied;
    QTest::newRow("open not permitted") << "open EPERM" << Cause::PermissionDenied;
    QTest::newRow("open failed otherwise") << "open EBUSY" << Cause::Unavailable;
    QTest::newRow("configuration refused") << "configuration" << Cause::Unavailable;
    // libusb 0.1 opens a node it may only read; configuring it is then refused.
    QTest::newRow("read-only device node") << "configuration EPERM" << Cause::PermissionDenied;
    QTest::newRow("interface refused") << "claim" << Cause::Unavailable;
    // Another device with our ids is skipped; our refusal is what tells.
    QTest::newRow("another model first, ours not permitted") << "other, open" << Cause::PermissionDenied;
}

// A device that cannot be used is closed and skipped; the next connect tries
// again from scratch. The link remembers why it could not connect.
void TstUsb::refusedDevice()
{
    QFETCH(QString, refusal);
    QFETCH(UsbDevice::ConnectionFailure, cause);
    USBRQ518 device;
    if (refusal == "word")
        device.setDeviceId(0x0217);
    else if (refusal == "short")
        sim::shortenTransfers(255, 1);
    else if (refusal == "open")
        sim::refuseOpen(EACCES, 1);
    else if (refusal == "open EPERM")
        sim::refuseOpen(EPERM, 1);
    else if (refusal == "open EBUSY")
        sim::refuseOpen(EBUSY, 1);
    else if (refusal == "configuration")
        sim::refuseSetConfiguration(1);
    else if (refusal == "configuration EPERM")
        sim::refuseSetConfiguration(1, EPERM);
    else if (refusal == "claim")
        sim::refuseClaimInterface(1);
    else {
        sim::addDevice(sim::VendorId, sim::ProductId, QByteArray("\x17\x02", 2), true);
        sim::refuseOpen(EACCES, 1);
    }

    QCOMPARE(device.connect(), -1);
    QCOMPARE(device.lastConnectionFailure(), cause);
    QCOMPARE(sim::openHandles(), 0);
    QCOMPARE(sim::counters().releases, sim::counters().claims);
    QVERIFY(!sim::interfaceClaimed());
    QVERIFY(device.getSerial().isEmpty());

    device.setDeviceId(USBRQ518::Vn274DeviceId);
    QCOMPARE(device.connect(), 0);
    QCOMPARE(device.lastConnectionFailure(), UsbDevice::ConnectionFailure::None);
    QVERIFY(sim::interfaceClaimed());
}

void TstUsb::otherDeviceBeforeOurs_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("asked");
    QTest::newRow("another model") << quint16(0x0789) << QByteArray("\x17\x02", 2) << true;
    QTest::newRow("one-byte answer") << quint16(0x0789) << QByteArray("\xBA", 1) << true;
    QTest::newRow("another product") << quint16(0x05DC) << QByteArray("\xBA\x00", 2) << false;
}

void TstUsb::otherDeviceBeforeOurs()
{
    QFETCH(quint16, product);
    QFETCH(QByteArray, reply);
    QFETCH(bool, asked);
    sim::addDevice(sim::VendorId, product, reply, true);
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);

    const QList<sim::Transfer> log = sim::transfers();
    QCOMPARE(log.size(), asked ? 2 : 1);
    QCOMPARE(log.first().device, asked ? 1 : 0);
    QCOMPARE(log.first().request, 255);
    QCOMPARE(log.last().device, 0);
    QCOMPARE(device.getSerial(), QByteArray(sim::DefaultSerial));
}

void TstUsb::connectLogAndReopen()
{
    USBRQ518 device;
    takeLog();
    QCOMPARE(device.connect(), 0);
    const QStringList lines = takeLog();
    const QStringList expected = {
        "USB Connect", "bus: 0x", "bus->devices: 0x", "dev->descriptor.idVendor: 0x16c0",
        "dev->descriptor.idProduct: 0x0789", "dev->descriptor.iSerialNumber: 3",
        "dev->descriptor.bMaxPacketSize0: 64", "usb_opened ", "usb_set_configuration ", "usb_claim_interface ",
        "control_receivePrivate( 255, 0, 0, 0x",
        "USB Control Receive bRequest=255, wValue=0, wIndex=0, dataLength=2 - OK.",
        "identification word: 0x00ba, deviceId: 0x00ba"};
    int at = lines.indexOf("USB Connect");
    for (const QString &prefix : expected) {
        while (at < lines.size() && !lines.at(at).startsWith(prefix))
            ++at;
        QVERIFY2(at < lines.size(), qPrintable("missing or out of order: " + prefix));
    }
    QVERIFY(lines.contains("usb_opened "));   // exact, with its blank

    // Connecting an open link closes it and enumerates again.
    QCOMPARE(device.connect(), 0);
    QCOMPARE(sim::counters().opens, 2);
    QCOMPARE(sim::openHandles(), 1);
    QCOMPARE(sim::counters().enumerations, 2);
}

// --- The link heals itself -----------------------------------------------------

void TstUsb::reconnectAfterFailedTransfer()
{
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);
    takeLog();
    sim::failTransfers(USBRQ518::StatusGetRequest, 1);
    quint32 status = 7;
    QCOMPARE(device.StatusGet(&status), -1);
    QCOMPARE(status, 7u);
    QCOMPARE(sim::openHandles(), 0);
    QCOMPARE(sim::counters().releases, 1);
    QCOMPARE(takeLog(), QStringList({"USB Control Receive bRequest=9, wValue=0, wIndex=0, dataLength=4 - ERROR.",
                                     "USB Disconnect"}));

    QCOMPARE(device.StatusGet(&status), 0);
    QCOMPARE(status, 0u);
    QCOMPARE(sim::counters().opens, 2);

    // Unplugged and plugged in again: picked up without being asked.
    sim::unplug();
    QCOMPARE(device.StatusSet(1), -1);
    sim::plug();
    QCOMPARE(device.StatusSet(1), 0);
    QCOMPARE(sim::statusWord(), 1u);
}

void TstUsb::receiveWithoutData()
{
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);
    sim::clearTransfers();
    takeLog();
    QCOMPARE(device.control_receive(USBRQ518::StatusGetRequest, 0, 0, nullptr, 4), -1);
    unsigned char word[4];
    QCOMPARE(device.control_receive(USBRQ518::StatusGetRequest, 0, 0, word, 0), -1);
    QCOMPARE(controlLines(takeLog()),
             QStringList({"USB Control Receive bRequest=9, wValue=0, wIndex=0, dataLength=4 - ERROR.",
                          "USB Control Receive bRequest=255, wValue=0, wIndex=0, dataLength=2 - OK.",
                          "USB Control Receive bRequest=9, wValue=0, wIndex=0 - ERROR."}));
    // Each closed the link; the second reconnected first (one identification).
    QCOMPARE(sim::counters().opens, 2);
    QCOMPARE(sim::openHandles(), 0);
    QCOMPARE(sim::transfers().size(), 1);
    QCOMPARE(sim::transfers().first().request, 255);
}

// --- Requests ------------------------------------------------------------------

void TstUsb::setupPacket_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("in");
    QTest::addColumn<QString>("line");
    QTest::newRow("1 read") << "read" << 1 << 0x3FD0 << 0x0800 << 32 << true
                            << "USB Control Receive bRequest=1, wValue=16336, wIndex=2048, dataLength=32 - OK.";
    QTest::newRow("2 test write") << "test" << 2 << 0 << 0 << 512 << false
                                  << "USB Control Send bRequest=2, wValue=0, wIndex=0, dataLength=512 - OK.";
    QTest::newRow("3 page") << "page" << 3 << 0x5000 << 0x0800 << 1024 << false
                            << "USB Control Send bRequest=3, wValue=20480, wIndex=2048, dataLength=1024 - OK.";
    QTest::newRow("4 run") << "run" << 4 << 0 << 0 << 0 << false
                           << "USB Control Send bRequest=4, wValue=0, wIndex=0 - OK.";
    QTest::newRow("5 read external") << "readext" << 5 << 0xFFF0 << 1 << 16 << true
                                     << "USB Control Receive bRequest=5, wValue=65520, wIndex=1, dataLength=16 - OK.";
    QTest::newRow("6 write external") << "writeext" << 6 << 0x4000 << 1 << 16 << false
                                      << "USB Control Send bRequest=6, wValue=16384, wIndex=1, dataLength=16 - OK.";
    QTest::newRow("7 set") << "set" << 7 << 0 << 0 << 4 << false
                           << "USB Control Send bRequest=7, wValue=0, wIndex=0, dataLength=4 - OK.";
    QTest::newRow("8 clear") << "clr" << 8 << 0 << 0 << 4 << false
                             << "USB Control Send bRequest=8, wValue=0, wIndex=0, dataLength=4 - OK.";
    QTest::newRow("9 get") << "get" << 9 << 0 << 0 << 4 << true
                           << "USB Control Receive bRequest=9, wValue=0, wIndex=0, dataLength=4 - OK.";
}

void TstUsb::setupPacket()
{
    QFETCH(QString, operation);
    QFETCH(int, request);
    QFETCH(int, value);
    QFETCH(int, index);
    QFETCH(int, length);
    QFETCH(bool, in);
    QFETCH(QString, line);

    if (operation == "page")
        sim::setMode(sim::Mode::Bootloader);
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);
    sim::clearTransfers();
    takeLog();

    QByteArray buffer = pattern(1024);
    quint32 status = 0;
    int result = 0;
    if (operation == "read")
        result = device.ReadFromAddress(buffer.data(), 0x08003FD0, 32);
    else if (operation == "test")
        result = device.control_send(USBRQ518::TestWriteRequest, 0, 0, buffer.constData(), 512) == 512 ? 0 : -1;
    else if (operation == "page")
        result = device.WritePageToAddress(buffer.data(), 0x08005000);
    else if (operation == "run")
        device.RunApplication();
    else if (operation == "readext")
        result = device.ReadExternalFlashFromAddress(buffer.data(), 0x1FFF0, 16);
    else if (operation == "writeext")
        result = device.WriteExternalFlashToAddress(buffer.constData(), 0x14000, 16);
    else if (operation == "set")
        result = device.StatusSet(1);
    else if (operation == "clr")
        result = device.StatusClr(1);
    else
        result = device.StatusGet(&status);
    QCOMPARE(result, 0);

    const QList<sim::Transfer> log = sim::transfers();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().request, request);
    QCOMPARE(int(log.first().value), value);
    QCOMPARE(int(log.first().index), index);
    QCOMPARE(log.first().length, length);
    QCOMPARE(log.first().direction, in ? sim::Direction::In : sim::Direction::Out);
    QCOMPARE(log.first().result, length);
    QCOMPARE(log.first().timeout, 2000);

    const QStringList lines = takeLog();
    QCOMPARE(controlLines(lines), QStringList{line});
    const int at = lines.indexOf(line);
    if (!in)
        QCOMPARE(lines.value(at - 1), QString("UsbDevice::control_send()"));
    if (operation == "run")
        QCOMPARE(lines.value(at - 2), QString("USBRQ518::RunApplication(void)"));
    if (operation == "test")
        QCOMPARE(sim::lastTestWrite(), buffer.left(512));
}

void TstUsb::errorLines()
{
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);
    takeLog();
    sim::failTransfers(USBRQ518::StatusSetRequest, 1);
    sim::failTransfers(USBRQ518::RunApplicationRequest, 1);
    QCOMPARE(device.StatusSet(1), -1);
    device.RunApplication();
    QCOMPARE(controlLines(takeLog()),
             QStringList({"USB Control Send bRequest=7, wValue=0, wIndex=0, dataLength=4 - ERROR.",
                          "USB Control Receive bRequest=255, wValue=0, wIndex=0, dataLength=2 - OK.",
                          "USB Control Send bRequest=4, wValue=0, wIndex=0 - ERROR."}));
    QCOMPARE(sim::mode(), sim::Mode::Application);
}

// --- Chunking, retries, progress -----------------------------------------------

void TstUsb::readChunks()
{
    const QByteArray data = pattern(5000, 1);
    sim::writeInternalFlash(0x08004000, data);
    USBRQ518 device;
    QByteArray buffer(5000, '\0');
    QCOMPARE(device.ReadFromAddress(buffer.data(), 0x08004000, 5000), 0);
    // Equal only if every transfer is descrambled with the key restarting.
    QCOMPARE(buffer, data);

    QList<sim::Transfer> log = sim::transfers();
    log.removeFirst();   // identification
    QCOMPARE(lengths(log), QList<int>({2048, 2048, 904}));
    QCOMPARE(log.at(0).value, quint16(0x4000));
    QCOMPARE(log.at(1).value, quint16(0x4800));
    QCOMPARE(log.at(2).value, quint16(0x5000));
    QCOMPARE(log.at(2).index, quint16(0x0800));

    // The first short transfer ends the read, without retry.
    sim::clearTransfers();
    sim::shortenTransfers(USBRQ518::ReadRequest, 100, 1, 1);
    QCOMPARE(device.ReadFromAddress(buffer.data(), 0x08004000, 5000), -1);
    QCOMPARE(sim::transfers().size(), 2);

    sim::clearTransfers();
    QCOMPARE(device.ReadFromAddress(buffer.data(), 0x08004000, 0), 0);
    QVERIFY(sim::transfers().isEmpty());
}

void TstUsb::writePage()
{
    const QByteArray plain = pattern(1024, 2);
    QByteArray page = plain;
    USBRQ518 device;
    QCOMPARE(device.WritePageToAddress(page.data(), 0x08004400), -1);   // application refuses
    QCOMPARE(sim::internalFlash(0x08004400, 1024), QByteArray(1024, char(0xFF)));

    sim::setMode(sim::Mode::Bootloader);
    page = plain;
    QCOMPARE(device.WritePageToAddress(page.data(), 0x08004400), 0);
    QCOMPARE(sim::internalFlash(0x08004400, 1024), plain);
    QVERIFY(page != plain);   // left scrambled
    decodeTransfer(page.data(), page.size());
    QCOMPARE(page, plain);
}

void TstUsb::externalFlashChunks_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QList<int>>("chunks");
    QTest::addColumn<QList<int>>("percent");
    QTest::newRow("write 1000") << true << QList<int>{256, 256, 256, 232} << QList<int>{25, 51, 76, 100};
    QTest::newRow("read 1000") << false << QList<int>{512, 488} << QList<int>{51, 100};
}

void TstUsb::externalFlashChunks()
{
    QFETCH(bool, write);
    QFETCH(QList<int>, chunks);
    QFETCH(QList<int>, percent);
    const quint32 address = 0x1FF00;   // the second chunk crosses into wIndex 2
    const QByteArray data = pattern(1000, 3);
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);
    sim::clearTransfers();
    QSignalSpy writeSpy(&device, &USBRQ518::sendPercentExtFlashWrite);
    QSignalSpy readSpy(&device, &USBRQ518::sendPercentExtFlashRead);

    QByteArray buffer(1000, '\0');
    if (write) {
        QCOMPARE(device.WriteExternalFlashToAddress(data.constData(), address, 1000), 0);
        QCOMPARE(sim::externalFlash(address, 1000), data);   // raw, not scrambled
    } else {
        sim::writeExternalFlash(address, data);
        QCOMPARE(device.ReadExternalFlashFromAddress(buffer.data(), address, 1000), 0);
        QCOMPARE(buffer, data);
    }
    const QList<sim::Transfer> log = sim::transfers();
    QCOMPARE(lengths(log), chunks);
    quint32 at = address;
    for (const sim::Transfer &t : log) {
        QCOMPARE(t.request, write ? 6 : 5);
        QCOMPARE(quint32(t.index) << 16 | t.value, at);
        at += quint32(t.length);
    }
    QCOMPARE(percents(write ? writeSpy : readSpy), percent);
    QCOMPARE((write ? readSpy : writeSpy).count(), 0);

    sim::clearTransfers();
    QCOMPARE(device.WriteExternalFlashToAddress(data.constData(), address, 0), 0);
    QCOMPARE(device.ReadExternalFlashFromAddress(buffer.data(), address, 0), 0);
    QVERIFY(sim::transfers().isEmpty());
}

void TstUsb::retryBudget_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("firstChunkFailures");
    QTest::addColumn<int>("secondChunkFailures");
    QTest::addColumn<int>("result");
    QTest::newRow("read, 100 on one chunk") << false << 100 << 0 << 0;
    QTest::newRow("read, 101 on one chunk") << false << 101 << 0 << -1;
    QTest::newRow("write, 101 on one chunk") << true << 101 << 0 << -1;
    QTest::newRow("read, 3 then 97") << false << 3 << 97 << 0;
    QTest::newRow("read, 3 then 98") << false << 3 << 98 << -1;
    QTest::newRow("write, 3 then 97") << true << 3 << 97 << 0;
    QTest::newRow("write, 3 then 98") << true << 3 << 98 << -1;
}

// 100 failed transfers are tolerated per call, whichever chunks they hit.
void TstUsb::retryBudget()
{
    QFETCH(bool, write);
    QFETCH(int, firstChunkFailures);
    QFETCH(int, secondChunkFailures);
    QFETCH(int, result);
    const int request = write ? USBRQ518::WriteExternalFlashRequest : USBRQ518::ReadExternalFlashRequest;
    const int length = write ? 512 : 1024;   // two chunks either way
    const QByteArray data = pattern(length, 4);
    sim::writeExternalFlash(0, data);
    sim::failTransfers(request, firstChunkFailures);
    sim::failTransfers(request, secondChunkFailures, firstChunkFailures + 1);

    USBRQ518 device;
    QSignalSpy spy(&device, write ? &USBRQ518::sendPercentExtFlashWrite : &USBRQ518::sendPercentExtFlashRead);
    QByteArray buffer(length, '\0');
    QCOMPARE(write ? device.WriteExternalFlashToAddress(data.constData(), 0, quint32(length))
                   : device.ReadExternalFlashFromAddress(buffer.data(), 0, quint32(length)),
             result);
    const QList<sim::Transfer> log = sim::transfers();
    const int failures = int(std::count_if(log.begin(), log.end(), [](const sim::Transfer &t) { return t.result < 0; }));
    QCOMPARE(failures, qMin(firstChunkFailures + secondChunkFailures, 101));
    if (result == 0) {
        QCOMPARE(percents(spy), QList<int>({50, 100}));
        if (!write)
            QCOMPARE(buffer, data);
    } else {
        // The progress stays at the last complete chunk.
        QCOMPARE(percents(spy), secondChunkFailures ? QList<int>{50} : QList<int>{});
    }
}

// --- Status ----------------------------------------------------------------------

void TstUsb::statusAcquire_data()
{
    QTest::addColumn<quint32>("status");
    QTest::addColumn<quint32>("locked");
    QTest::addColumn<int>("failedGets");
    QTest::addColumn<bool>("unplugged");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("gets");
    QTest::addColumn<int>("sets");
    QTest::newRow("set already") << 1u << 0u << 0 << false << 0 << 1 << 0;
    QTest::newRow("set on request") << 4u << 0u << 0 << false << 0 << 2 << 1;
    QTest::newRow("never sets") << 0u << 1u << 0 << false << -1 << 11 << 11;
    QTest::newRow("a failed read") << 1u << 0u << 1 << false << 0 << 2 << 0;
    QTest::newRow("eleven failed reads") << 1u << 0u << 11 << false << -1 << 11 << 0;
    QTest::newRow("no device") << 0u << 0u << 0 << true << -1 << 0 << 0;
}

void TstUsb::statusAcquire()
{
    QFETCH(quint32, status);
    QFETCH(quint32, locked);
    QFETCH(int, failedGets);
    QFETCH(bool, unplugged);
    QFETCH(int, result);
    QFETCH(int, gets);
    QFETCH(int, sets);
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);
    sim::setStatusWord(status);
    sim::setStatusLockedBits(locked);
    sim::failTransfers(USBRQ518::StatusGetRequest, failedGets);
    if (unplugged)
        sim::unplug();
    const int opensBefore = sim::counters().opens;

    QCOMPARE(device.StatusAcquire(), result);
    const QList<sim::Transfer> log = sim::transfers();
    QCOMPARE(count(log, 9), gets);
    QCOMPARE(count(log, 7), sets);
    if (!unplugged) {
        // It reconnects first, and again after every failed read.
        QCOMPARE(sim::counters().opens - opensBefore, 1 + failedGets);
    }
    if (result == 0)
        QCOMPARE(sim::statusWord() & 1, 1u);
}

void TstUsb::statusOperations()
{
    USBRQ518 device;
    sim::setStatusWord(0x80000003);
    quint32 status = 0;
    QCOMPARE(device.StatusGet(&status), 0);
    QCOMPARE(status, 0x80000003u);
    QCOMPARE(device.StatusRelease(), 0);
    QCOMPARE(sim::statusWord(), 0x80000002u);
    QCOMPARE(device.StatusSet(0x00010001), 0);
    QCOMPARE(sim::statusWord(), 0x80010003u);

    sim::shortenTransfers(USBRQ518::StatusGetRequest, 2);
    status = 42;
    QCOMPARE(device.StatusGet(&status), -1);
    QCOMPARE(status, 42u);
    sim::shortenTransfers(USBRQ518::StatusSetRequest, 3);
    QCOMPARE(device.StatusSet(4), -1);
}

// --- Mode switch -------------------------------------------------------------------

// Both firmware procedures: the window retries connect at once (1000 times),
// the worker 10 times, either after sleeping 2.5 s or, in a benchmark, not at all.
void TstUsb::bootloaderComesBack()
{
    USBRQ518 device;
    auto waitForBootloader = [&device](int attempts) {
        for (int attempt = 1; attempt <= attempts; ++attempt) {
            if (device.connect() == 0) {
                const QByteArray serial = device.getSerial();
                if (serial.size() >= 10 && serial.at(9) == 'b')
                    return attempt;
            }
        }
        return 0;
    };
    QCOMPARE(device.connect(), 0);
    QCOMPARE(device.getSerial().size(), 9);
    device.RunApplication();
    device.disconnect();
    const int attempts = waitForBootloader(1000);
    QVERIFY(attempts > 1 && attempts <= 10);

    // The bootloader starts the application the same way.
    device.RunApplication();
    device.disconnect();
    QVERIFY(device.connect() < 0);
    for (int attempt = 0; attempt < 10 && device.connect() < 0; ++attempt) {
    }
    QCOMPARE(device.getSerial(), QByteArray(sim::DefaultSerial));

    // After a sleep longer than the restart takes, the first attempt succeeds.
    sim::setReenumeration(1000, 20);
    device.RunApplication();
    QThread::msleep(40);
    device.disconnect();
    QCOMPARE(waitForBootloader(1), 1);

    // A device that never comes back uses up all attempts.
    sim::setNeverReturns(true);
    device.RunApplication();
    device.disconnect();
    QCOMPARE(waitForBootloader(1000), 0);
}

// --- Serial, bulk, lifetime, threads -------------------------------------------------

void TstUsb::serial()
{
    USBRQ518 device;
    QVERIFY(device.getSerial().isEmpty());
    QCOMPARE(sim::counters().descriptorReads, 0);
    QVERIFY(sim::transfers().isEmpty());   // and it does not connect

    QCOMPARE(device.connect(), 0);
    QCOMPARE(device.getSerial(), QByteArray("240611027"));
    sim::setMode(sim::Mode::Bootloader);
    QVERIFY(device.getSerial().isEmpty());   // the old handle is gone
    QCOMPARE(device.connect(), 0);
    QCOMPARE(device.getSerial(), QByteArray("240611027b"));

    // A device whose serial string would drive a terminal (ESC, CSI, DEL).
    sim::unplug();
    sim::addDriver("24\x1b[2J\x9b" "1\x7f");
    QCOMPARE(device.connect(), 0);
    QCOMPARE(device.getSerial(), QByteArray("24?[2J?1?"));
}

// The window takes the first driver found; a serial filter takes only the
// driver with that serial number, in either mode; findDevices() tells them all
// apart without keeping any open.
void TstUsb::severalDrivers()
{
    const sim::Driver second = sim::addDriver("240611028", sim::Mode::Bootloader);
    sim::addDevice(sim::VendorId, sim::ProductId, QByteArray("\x17\x02", 2), true);   // another model, first
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);
    QCOMPARE(device.getSerial(), QByteArray("240611027"));

    for (const QByteArray &form : { QByteArray("240611028"), QByteArray("240611028b") }) {
        device.selectSerial(form);
        QCOMPARE(device.selectedSerial(), QByteArray("240611028"));
        QCOMPARE(device.connect(), 0);
        QCOMPARE(device.getSerial(), QByteArray("240611028b"));
    }
    // Every reconnection of a transfer keeps to it.
    second.failTransfers(9, 1);
    quint32 status = 0;
    QCOMPARE(device.StatusGet(&status), -1);
    QCOMPARE(device.StatusGet(&status), 0);
    QCOMPARE(device.getSerial(), QByteArray("240611028b"));
    for (const sim::Transfer &transfer : sim::driver(0).transfers())
        QCOMPARE(transfer.request, 255);

    device.selectSerial("999999999");
    QCOMPARE(device.connect(), -1);
    QCOMPARE(device.lastConnectionFailure(), UsbDevice::ConnectionFailure::SerialMismatch);
    sim::driver(0).refuseOpen(EACCES);   // it may be the one: that tells more
    QCOMPARE(device.connect(), -1);
    QCOMPARE(device.lastConnectionFailure(), UsbDevice::ConnectionFailure::PermissionDenied);
    sim::driver(0).clearFaults();

    QCOMPARE(device.countDevices(), 3);
    const QList<UsbDevice::FoundDevice> found = device.findDevices();
    QCOMPARE(found.size(), 3);
    QCOMPARE(found.at(0).bus, QString("001"));
    QCOMPARE(found.at(0).failure, UsbDevice::ConnectionFailure::NotIdentified);
    const struct { QByteArray serial; int device; } drivers[] = { { "240611027", 2 }, { "240611028b", 3 } };
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(found.at(i + 1).bus, QString("002"));
        QCOMPARE(found.at(i + 1).device, QStringLiteral("%1").arg(drivers[i].device, 3, 10, QLatin1Char('0')));
        QCOMPARE(found.at(i + 1).serial, drivers[i].serial);
        QCOMPARE(found.at(i + 1).failure, UsbDevice::ConnectionFailure::None);
    }
    QCOMPARE(sim::driver(0).openHandles() + second.openHandles(), 0);
    QVERIFY(device.getSerial().isEmpty());   // the link was closed first
}

void TstUsb::bulkPair()
{
    USBRQ518 device;
    char in[8] = {};
    QCOMPARE(device.bulk_write("hello", 5), -1);   // closed: no transfer, no connect
    QCOMPARE(sim::counters().opens, 0);
    QCOMPARE(device.connect(), 0);
    QCOMPARE(device.bulk_write(nullptr, 5), -1);
    QCOMPARE(device.bulk_write("hello", 0), -1);
    QCOMPARE(device.bulk_write("hello", 5), 5);
    QCOMPARE(device.bulk_read(in, 8), 5);
    QCOMPARE(QByteArray(in, 5), QByteArray("hello"));
    QCOMPARE(device.bulk_read(in, 8), -1);   // nothing to read: the device times out
}

void TstUsb::destructorReleases()
{
    auto device = std::make_unique<USBRQ518>();
    QCOMPARE(device->connect(), 0);
    QVERIFY(sim::interfaceClaimed());
    takeLog();
    device.reset();
    QCOMPARE(takeLog(), QStringList({"UsbDevice destructor", "USB Disconnect"}));
    QCOMPARE(sim::counters().releases, 1);
    QCOMPARE(sim::openHandles(), 0);
    QVERIFY(!sim::interfaceClaimed());
}

// The GUI thread and the upgrade worker share the device; single transfers
// must never overlap, even though sequences interleave.
void TstUsb::twoThreadsNeverInterleave()
{
    sim::setLatency(1);
    USBRQ518 device;
    QCOMPARE(device.connect(), 0);
    sim::clearTransfers();

    int statusFailures = 0;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        for (int i = 0; i < 30; ++i) {
            quint32 status;
            statusFailures += device.StatusGet(&status) != 0;
            device.getSerial();
        }
    }));
    worker->start();
    QByteArray buffer(30 * 512, '\0');
    QCOMPARE(device.ReadExternalFlashFromAddress(buffer.data(), 0, quint32(buffer.size())), 0);
    QVERIFY(worker->wait(60000));
    QCOMPARE(statusFailures, 0);

    const QList<sim::Transfer> log = sim::transfers();
    QCOMPARE(log.size(), 60);
    QSet<Qt::HANDLE> threads;
    for (int i = 0; i < log.size(); ++i) {
        threads.insert(log.at(i).thread);
        if (i > 0)
            QVERIFY(log.at(i).begin > log.at(i - 1).end);
    }
    QCOMPARE(threads.size(), 2);
    QCOMPARE(sim::counters().maxConcurrentTransfers, 1);
}

// Each driver its own link: a transfer of one does not wait for the other's.
// Each status read is held at its driver until the other link's has arrived
// at its own; with one lock for both the first would wait in vain.
void TstUsb::twoLinksTransferSideBySide()
{
    sim::addDriver("240611028");
    USBRQ518 links[2];
    links[0].selectSerial("240611027");
    links[1].selectSerial("240611028");
    for (USBRQ518 &link : links)
        QCOMPARE(link.connect(), 0);
    sim::clearTransfers();

    QSemaphore arrived[2];
    sim::Hooks hooks;
    hooks.transfer = [&arrived](int device, int) {
        const int self = device == 0 ? 0 : 1;
        arrived[self].release();
        arrived[1 - self].tryAcquire(1, 10000);
    };
    sim::setHooks(hooks);
    quint32 status[2] = {};
    std::atomic<int> otherResult { -1 };
    std::unique_ptr<QThread> other(QThread::create([&] { otherResult = links[1].StatusGet(&status[1]); }));
    other->start();
    QCOMPARE(links[0].StatusGet(&status[0]), 0);
    QVERIFY(other->wait(30000));
    QCOMPARE(otherResult.load(), 0);
    sim::setHooks(sim::Hooks());

    const QList<sim::Transfer> log = sim::transfers();
    QCOMPARE(log.size(), 2);
    QVERIFY(log.at(0).device != log.at(1).device);
    QVERIFY(log.at(1).begin < log.at(0).end);
    QCOMPARE(sim::counters().maxConcurrentTransfers, 2);
}

// libusb 0.1 frees the devices gone from its list at every enumeration: one
// link's search, from its enumeration to its last opening, is never split by
// another link's enumeration. Here the first driver leaves the bus for a
// moment as the first search is about to open it, and that search waits there
// for the other link to enumerate (up to 300 ms): the bus list lock keeps the
// other out until the search is done, so nothing is opened through a list
// that no longer holds it.
void TstUsb::enumerationStaysOneAtATime()
{
    const sim::Driver second = sim::addDriver("240611028");
    USBRQ518 searching, other;
    searching.selectSerial("240611028");   // its search opens the first driver first
    other.selectSerial("240611027");

    QSemaphore aboutToOpen, otherEnumerating;
    std::atomic<Qt::HANDLE> searchingThread { nullptr };
    std::atomic<bool> held { false };
    sim::Hooks hooks;
    hooks.open = [&] {
        if (QThread::currentThreadId() == searchingThread && !held.exchange(true)) {
            sim::unplug();
            aboutToOpen.release();
            otherEnumerating.tryAcquire(1, 300);
            sim::plug();
        }
    };
    hooks.enumeration = [&] {
        if (QThread::currentThreadId() != searchingThread)
            otherEnumerating.release();
    };
    sim::setHooks(hooks);
    std::atomic<int> searched { -1 };
    std::unique_ptr<QThread> thread(QThread::create([&] {
        searchingThread = QThread::currentThreadId();
        searched = searching.connect();
    }));
    thread->start();
    QVERIFY(aboutToOpen.tryAcquire(1, 10000));
    QCOMPARE(other.connect(), 0);
    QVERIFY(thread->wait(30000));
    sim::setHooks(sim::Hooks());

    QCOMPARE(searched.load(), 0);
    QCOMPARE(searching.getSerial(), QByteArray("240611028"));
    QCOMPARE(other.getSerial(), QByteArray("240611027"));
    QCOMPARE(sim::counters().staleOpens, 0);
    QCOMPARE(second.openHandles(), 1);
}

// --- Scrambling --------------------------------------------------------------------

// Expected values worked out by hand from w' = (w XOR k) + k with the key's
// first and last words: k0 = 0xe0c2936a, k1 = 0x65bc5079, k2 = 0x17ddee22,
// k3 = 0x8cbf5995, k31 = 0x87f01de3. For instance word 0 of 00 01 02 03:
// 0x03020100 ^ 0xe0c2936a = 0xe3c0926a; + 0xe0c2936a = 0xc48325d4.
void TstUsb::scramblingKnownAnswers()
{
    // Code that sees only the table's declaration may load it with aligned
    // vector instructions: the x86-64 ABI aligns an array of 128 bytes to 16.
    QCOMPARE(quintptr(transferKey) % 16, quintptr(0));
#ifdef VN274_CUSTOM_TRANSFER_KEY
    QSKIP("built with the key table of VN274_TRANSFER_KEY_FILE; tst_transferkey checks a table from a file");
#endif
    QByteArray counting(16, '\0');
    for (int i = 0; i < 16; ++i)
        counting[i] = char(i);
    QByteArray area = counting;
    encodeTransfer(area.data(), area.size());
    QCOMPARE(area, QByteArray::fromHex("d42583c4f6a576c84cd5b5342eae7010"));
    decodeTransfer(area.data(), area.size());
    QCOMPARE(area, counting);

    // Zero words become 2k; word 32 starts the key again. 0xdeadbeef at word
    // 31: 0xdeadbeef ^ 0x87f01de3 = 0x595da30c; + 0x87f01de3 = 0xe14dc0ef.
    area = QByteArray(132, '\0');
    qToLittleEndian<quint32>(0xdeadbeef, area.data() + 124);
    encodeTransfer(area.data(), area.size());
    QCOMPARE(area.mid(0, 8), QByteArray::fromHex("d42685c1f2a078cb"));     // 0xc18526d4, 0xcb78a0f2
    QCOMPARE(area.mid(124, 8), QByteArray::fromHex("efc04de1d42685c1"));   // 0xe14dc0ef, 0xc18526d4

    // Erased flash (all ones) maps onto itself: (~k) + k = 0xffffffff.
    area = QByteArray(8, char(0xFF));
    encodeTransfer(area.data(), area.size());
    QCOMPARE(area, QByteArray(8, char(0xFF)));

    // What vn274-tool --version shows for this table.
    QCOMPARE(transferKeyFingerprint(), QString("9c8ea148f6c2fdf4"));
}

void TstUsb::scramblingRoundTrip_data()
{
    QTest::addColumn<int>("length");
    for (int length : {0, 1, 2, 3, 4, 7, 130, 262147})
        QTest::newRow(qPrintable(QString::number(length))) << length;
}

void TstUsb::scramblingRoundTrip()
{
    QFETCH(int, length);
    const QByteArray plain = pattern(length, 5);
    QByteArray area = plain;
    encodeTransfer(area.data(), length);
    const int words = length / 4 * 4;
    QCOMPARE(area.mid(words), plain.mid(words));   // trailing bytes untouched
    if (length >= 4)
        QVERIFY(area.left(4) != plain.left(4));
    decodeTransfer(area.data(), length);
    QCOMPARE(area, plain);
}

void TstUsb::scramblingKeyRestartsPerCall()
{
    const QByteArray plain = pattern(256, 6);
    QByteArray whole = plain, halves = plain;
    encodeTransfer(whole.data(), 256);
    encodeTransfer(halves.data(), 128);
    encodeTransfer(halves.data() + 128, 128);
    QCOMPARE(halves, whole);

    QByteArray sixteen = plain.left(16), eights = plain.left(16);
    encodeTransfer(sixteen.data(), 16);
    encodeTransfer(eights.data(), 8);
    encodeTransfer(eights.data() + 8, 8);
    QCOMPARE(eights.left(8), sixteen.left(8));
    QVERIFY(eights.mid(8) != sixteen.mid(8));
}

void TstUsb::encodeLogLines()
{
    char area[8] = {};
    takeLog();
    for (int length : {7, 3}) {
        encodeTransfer(area, length);
        const char *end = area + (length & ~3);
        QCOMPARE(takeLog(), QStringList({"Encoding started @ 0x" + pointerText(area),
                                         "Encoding end @ 0x" + pointerText(end)}));
    }
    QVERIFY(pointerText(area).size() >= 8);
    decodeTransfer(area, 8);
    QVERIFY(takeLog().isEmpty());
}

// --- Hex dump ----------------------------------------------------------------------

void TstUsb::hexDumpText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("lines");
    QTest::newRow("3 bytes") << QByteArray("\x41\x0A\xC8", 3)
                             << "\n0x0000: 41 0a c8" + QByteArray(39, ' ') + " < A.." + QByteArray(13, ' ') + " >";
    QTest::newRow("16 bytes") << QByteArray("Hello, Vn274!\x7F\x80\xFF", 16)
                              << QByteArray("\n0x0000: 48 65 6c 6c 6f 2c 20 56 6e 32 37 34 21 7f 80 ff"
                                            " < Hello, Vn274!\x7F.. >");
    QTest::newRow("20 bytes") << QByteArray("0123456789abcdef\x1F wx", 20)
                              << "\n0x0000: 30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66 < 0123456789abcdef >"
                                 "\n0x0010: 1f 20 77 78" + QByteArray(36, ' ') + " < . wx" + QByteArray(12, ' ') + " >";
    QTest::newRow("0 bytes") << QByteArray() << QByteArray();
}

void TstUsb::hexDumpText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, lines);
    const QByteArray expected = "\n src address: 0x" + pointerText(bytes.constData()).toLatin1() + lines;
    QCOMPARE(hexDump(bytes.constData(), bytes.size()), expected);
}

QTEST_GUILESS_MAIN(TstUsb)
#include "tst_usb.moc"
