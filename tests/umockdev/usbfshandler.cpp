// umockdev's headers first: GLib's must not meet Qt's keyword macros.
#include <umockdev.h>

#include "usbfshandler.h"

#include "simulator/usbfsfront.h"

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QThread>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <vector>

#include <sys/stat.h>

using sim::usbfs::File;

// The caller's memory that one ioctl reaches: umockdev copies each area in on
// resolve() and writes changed ones back when the call completes, so the
// areas are kept until then.
class UsbfsHandler::Memory
{
public:
    explicit Memory(UMockdevIoctlClient *client) : argument(umockdev_ioctl_client_get_arg(client)) {}
    ~Memory()
    {
        for (UMockdevIoctlData *area : areas)
            g_object_unref(area);
    }

    // The `length` bytes that the pointer at `offset` of `within` (the
    // argument itself when null) points to; null when they cannot be read.
    UMockdevIoctlData *resolve(size_t offset, size_t length, UMockdevIoctlData *within = nullptr)
    {
        GError *error = nullptr;
        UMockdevIoctlData *area = umockdev_ioctl_data_resolve(within ? within : argument, offset, length, &error);
        if (!area) {
            g_error_free(error);
            return nullptr;
        }
        areas.push_back(area);
        return area;
    }

private:
    UMockdevIoctlData *argument;
    std::vector<UMockdevIoctlData *> areas;
};

UsbfsHandler::UsbfsHandler(const QString &testbedRoot)
    : handler(umockdev_ioctl_base_new()),
      root(testbedRoot)
{
    g_signal_connect(handler, "client-connected", G_CALLBACK(clientConnected), this);
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(handleIoctl), this);
    g_signal_connect(handler, "handle-read", G_CALLBACK(handleRead), this);
    g_signal_connect(handler, "handle-write", G_CALLBACK(handleWrite), this);
}

UsbfsHandler::~UsbfsHandler()
{
    g_signal_handlers_disconnect_by_data(handler, this);
    QMutexLocker lock(&mutex);
    for (auto &entry : files)
        g_object_unref(entry.first);
    files.clear();
    lock.unlock();
    g_object_unref(handler);
}

void UsbfsHandler::setCaller(uid_t uid, gid_t gid)
{
    QMutexLocker lock(&mutex);
    callerUid = uid;
    callerGid = gid;
}

QList<NodeCall> UsbfsHandler::calls() const
{
    QMutexLocker lock(&mutex);
    return log;
}

void UsbfsHandler::clearCalls()
{
    QMutexLocker lock(&mutex);
    log.clear();
}

bool UsbfsHandler::closeFinishedFiles(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    forever {
        QMutexLocker lock(&mutex);
        if (closeFinishedLocked() == 0)
            return true;
        lock.unlock();
        if (clock.elapsed() >= milliseconds)
            return false;
        QThread::msleep(5);
    }
}

// Closes the files whose clients have gone; the number still open.
int UsbfsHandler::closeFinishedLocked()
{
    for (auto it = files.begin(); it != files.end();) {
        if (umockdev_ioctl_client_get_connected(it->first)) {
            ++it;
        } else {
            g_object_unref(it->first);
            it = files.erase(it);
        }
    }
    return int(files.size());
}

// Expects the lock held.
bool UsbfsHandler::mayWrite(const QString &node) const
{
    if (callerUid == 0)
        return true;
    struct stat status;
    if (::stat(QString(root + node).toLocal8Bit().constData(), &status) != 0)
        return false;
    if (status.st_uid == callerUid)
        return status.st_mode & S_IWUSR;
    if (status.st_gid == callerGid)
        return status.st_mode & S_IWGRP;
    return status.st_mode & S_IWOTH;
}

File *UsbfsHandler::fileOf(UMockdevIoctlClient *client, int *opening)
{
    QMutexLocker lock(&mutex);
    const auto it = files.find(client);
    *opening = it == files.end() ? 0 : it->second.number;
    return it == files.end() ? nullptr : it->second.file.get();
}

void UsbfsHandler::record(UMockdevIoctlClient *client, int opening, const QString &what, long result)
{
    QMutexLocker lock(&mutex);
    log.append(NodeCall{QString::fromUtf8(umockdev_ioctl_client_get_devnode(client)), opening, what, result});
}

void UsbfsHandler::clientConnected(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self)
{
    auto *handler = static_cast<UsbfsHandler *>(self);
    const QString node = QString::fromUtf8(umockdev_ioctl_client_get_devnode(client));
    int opening = 0;
    {
        QMutexLocker lock(&handler->mutex);
        handler->closeFinishedLocked();
        opening = ++handler->openings;
        handler->files[static_cast<UMockdevIoctlClient *>(g_object_ref(client))]
                = Opening{opening, std::make_unique<File>(node, handler->mayWrite(node))};
    }
    handler->record(client, opening, QStringLiteral("OPEN"), 0);
}

int UsbfsHandler::handleRead(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self)
{
    auto *handler = static_cast<UsbfsHandler *>(self);
    UMockdevIoctlData *buffer = umockdev_ioctl_client_get_arg(client);
    int opening = 0;
    File *file = handler->fileOf(client, &opening);
    const long result = file ? file->read(reinterpret_cast<char *>(buffer->data), buffer->data_len) : -EBADF;
    handler->record(client, opening, QStringLiteral("READ %1").arg(buffer->data_len), result);
    umockdev_ioctl_client_complete(client, result < 0 ? -1 : result, result < 0 ? int(-result) : 0);
    return TRUE;
}

// usbfs has no write.
int UsbfsHandler::handleWrite(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self)
{
    auto *handler = static_cast<UsbfsHandler *>(self);
    int opening = 0;
    handler->fileOf(client, &opening);
    handler->record(client, opening, QStringLiteral("WRITE"), -EINVAL);
    umockdev_ioctl_client_complete(client, -1, EINVAL);
    return TRUE;
}

int UsbfsHandler::handleIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self)
{
    auto *handler = static_cast<UsbfsHandler *>(self);
    {
        QMutexLocker lock(&handler->mutex);
        handler->closeFinishedLocked();
    }
    int opening = 0;
    File *file = handler->fileOf(client, &opening);
    Memory memory(client);
    QString what;
    const long result = file ? handler->ioctl(client, *file, memory, &what) : -EBADF;
    handler->record(client, opening, what, result);
    umockdev_ioctl_client_complete(client, result < 0 ? -1 : result, result < 0 ? int(-result) : 0);
    return TRUE;
}

long UsbfsHandler::ioctl(UMockdevIoctlClient *client, File &file, Memory &memory, QString *what)
{
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    switch (request) {
    case USBDEVFS_SETCONFIGURATION:
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE: {
        const UMockdevIoctlData *value = memory.resolve(0, sizeof(unsigned int));
        if (!value)
            return -EFAULT;
        unsigned int number = 0;
        std::memcpy(&number, value->data, sizeof number);
        if (request == USBDEVFS_SETCONFIGURATION) {
            *what = QStringLiteral("SETCONFIGURATION %1").arg(number);
            return file.setConfiguration(number);
        }
        if (request == USBDEVFS_CLAIMINTERFACE) {
            *what = QStringLiteral("CLAIMINTERFACE %1").arg(number);
            return file.claimInterface(number);
        }
        *what = QStringLiteral("RELEASEINTERFACE %1").arg(number);
        return file.releaseInterface(number);
    }
    case USBDEVFS_CONTROL: {
        UMockdevIoctlData *setup = memory.resolve(0, sizeof(usbdevfs_ctrltransfer));
        if (!setup)
            return -EFAULT;
        usbdevfs_ctrltransfer transfer;
        std::memcpy(&transfer, setup->data, sizeof transfer);
        *what = QString::asprintf("CONTROL %02x %u %u %u %u", unsigned(transfer.bRequestType),
                                  unsigned(transfer.bRequest), unsigned(transfer.wValue), unsigned(transfer.wIndex),
                                  unsigned(transfer.wLength));
        UMockdevIoctlData *data = nullptr;
        if (transfer.wLength > 0) {
            data = memory.resolve(offsetof(usbdevfs_ctrltransfer, data), transfer.wLength, setup);
            if (!data)
                return -EFAULT;
        }
        return file.control(transfer, data ? data->data : nullptr);
    }
    case USBDEVFS_CONNECTINFO: {
        UMockdevIoctlData *info = memory.resolve(0, sizeof(usbdevfs_connectinfo));
        *what = QStringLiteral("CONNECTINFO");
        if (!info)
            return -EFAULT;
        usbdevfs_connectinfo answer = {};
        const int result = file.connectInfo(&answer);
        if (result == 0)
            std::memcpy(info->data, &answer, sizeof answer);
        return result;
    }
    default:
        *what = QStringLiteral("IOCTL %1").arg(request & 0xFFFF, 4, 16, QLatin1Char('0'));
        return file.otherIoctl();
    }
}
