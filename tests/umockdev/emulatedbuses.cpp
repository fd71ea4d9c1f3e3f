// umockdev's headers first: GLib's must not meet Qt's keyword macros.
#include <umockdev.h>

#include "emulatedbuses.h"

#include "simulator/simdriver.h"
#include "simulator/usbfsfront.h"
#include "usbfshandler.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

constexpr int UsbDeviceMajor = 189;

QByteArray hex4(quint16 value)
{
    return QByteArray::number(value, 16).rightJustified(4, '0');
}

// The sysfs name: "usbB" for a root hub, "B-P" for a device on port P (the
// model's device number + 1, so that a device keeps its name through a restart).
QByteArray sysfsName(const sim::usbfs::Node &node)
{
    if (node.device < 0)
        return "usb" + QByteArray::number(node.busNumber);
    return QByteArray::number(node.busNumber) + "-" + QByteArray::number(node.device + 1);
}

} // namespace

EmulatedBuses::EmulatedBuses()
    : testbed(umockdev_testbed_new())
{
    gchar *path = umockdev_testbed_get_root_dir(testbed);
    rootDir = QString::fromLocal8Bit(path);
    g_free(path);
    nodeHandler = std::make_unique<UsbfsHandler>(rootDir);
    sync();
}

EmulatedBuses::~EmulatedBuses()
{
    for (const QString &node : std::as_const(attached))
        umockdev_testbed_detach_ioctl(testbed, node.toUtf8().constData(), nullptr);
    g_object_unref(testbed);     // removes the testbed's directory
    nodeHandler.reset();
}

void EmulatedBuses::sync()
{
    const QList<sim::usbfs::Node> nodes = sim::usbfs::nodes();
    QSet<QString> present;
    for (const sim::usbfs::Node &node : nodes)
        present.insert(node.path);
    for (auto it = shown.begin(); it != shown.end();) {
        if (present.contains(it.key())) {
            ++it;
        } else {
            // Adding a device sends its "add"; removing it sends nothing of itself.
            umockdev_testbed_uevent(testbed, it.value().toUtf8().constData(), "remove");
            umockdev_testbed_remove_device(testbed, it.value().toUtf8().constData());
            pending.remove(it.key());
            it = shown.erase(it);
        }
    }
    for (const sim::usbfs::Node &node : nodes) {
        if (!shown.contains(node.path))
            show(node);
        followAccess(node);
    }
}

void EmulatedBuses::followAccess(const sim::usbfs::Node &node)
{
    if (!vn274Nodes.contains(node.path) || node.accessPending == pending.contains(node.path))
        return;
    ::chmod(QFile::encodeName(rootDir + node.path).constData(), node.accessPending ? 0600 : vn274Mode);
    if (node.accessPending) {
        pending.insert(node.path);
        ++pendingCount;
    }
    else
        pending.remove(node.path);
}

void EmulatedBuses::show(const sim::usbfs::Node &node)
{
    const QByteArray bus = QByteArray::number(node.busNumber);
    const QByteArray number = QByteArray::number(node.deviceNumber);
    const QByteArray dev = QByteArray::number(UsbDeviceMajor) + ":"
            + QByteArray::number((node.busNumber - 1) * 128 + node.deviceNumber - 1);
    const QByteArray devname = node.path.toUtf8();
    const QByteArray vendor = hex4(node.vendorId);
    const QByteArray product = hex4(node.productId);
    // The node itself, before the device and its "add": umockdev serves a
    // path under /dev that exists in the testbed, and hands its reads and
    // ioctls to the attached handler. A node opened before its handler is
    // attached is a plain empty file, and libusb 0.1 would keep the zeroed
    // descriptor it read there for as long as the node stays. A kernel's
    // node works before udev hears of its device.
    const bool vn274 = node.vendorId == sim::VendorId && node.productId == sim::ProductId;
    if (!attached.contains(node.path)
            && umockdev_testbed_attach_ioctl(testbed, devname.constData(), nodeHandler->object(), nullptr))
        attached.insert(node.path);
    const QString file = rootDir + node.path;
    QDir().mkpath(QFileInfo(file).path());
    QFile(file).open(QIODevice::WriteOnly);
    ::chmod(QFile::encodeName(file).constData(), vn274 ? vn274Mode : 0664);
    if (vn274)
        vn274Nodes.insert(node.path);

    gchar *syspath = umockdev_testbed_add_device(
        testbed, "usb", sysfsName(node).constData(), nullptr,
        // sysfs attributes
        "idVendor", vendor.constData(), "idProduct", product.constData(), "busnum", bus.constData(),
        "devnum", number.constData(), "dev", dev.constData(), "serial", node.serial.constData(),
        "bConfigurationValue", "1", "speed", "480", nullptr,
        // udev properties
        "DEVNAME", devname.constData(), "DEVTYPE", "usb_device", "BUSNUM", bus.rightJustified(3, '0').constData(),
        "DEVNUM", number.rightJustified(3, '0').constData(),
        "PRODUCT", QByteArray(vendor + "/" + product + "/100").constData(), nullptr);
    umockdev_testbed_set_attribute_binary(testbed, syspath,
                                          "descriptors", reinterpret_cast<guint8 *>(const_cast<char *>(node.descriptors.constData())),
                                          int(node.descriptors.size()));
    shown.insert(node.path, QString::fromUtf8(syspath));
    g_free(syspath);

    if (forOtherUsers)
        openToOtherUsers();
}

void EmulatedBuses::setVn274NodeMode(mode_t mode)
{
    vn274Mode = mode;
    for (const QString &node : std::as_const(vn274Nodes))
        ::chmod(QFile::encodeName(rootDir + node).constData(), mode);
}

void EmulatedBuses::openToOtherUsers()
{
    // umockdev makes its directory for its creator alone; the program under
    // test must reach the nodes and connect to the handler's sockets.
    forOtherUsers = true;
    ::chmod(QFile::encodeName(rootDir).constData(), 0755);
    QDirIterator sockets(rootDir + QStringLiteral("/ioctl"), QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (sockets.hasNext()) {
        const QString path = sockets.next();
        ::chmod(QFile::encodeName(path).constData(), QFileInfo(path).isDir() ? 0755 : 0666);
    }
}

QProcessEnvironment EmulatedBuses::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString preload = QStringLiteral(VN274_UMOCKDEV_PRELOAD);
    const QString inherited = environment.value(QStringLiteral("LD_PRELOAD"));
    if (inherited.contains(preload))   // the test program's own
        preload = inherited;
    else if (!inherited.isEmpty())
        preload += QLatin1Char(':') + inherited;
    environment.insert(QStringLiteral("LD_PRELOAD"), preload);
    environment.insert(QStringLiteral("UMOCKDEV_DIR"), rootDir);
    // In a sanitized build the program's sanitizer runtime would insist on
    // coming first in the library list; the preload comes before it here.
    QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    asan += QString(asan.isEmpty() ? QString() : QStringLiteral(":")) + QStringLiteral("verify_asan_link_order=0");
    environment.insert(QStringLiteral("ASAN_OPTIONS"), asan);
    return environment;
}
