#include "tool/interruption.h"

#include "io/filenames.h"

#include <atomic>
#include <cerrno>
#include <unistd.h>

namespace tool {

namespace {

std::atomic<int> requests { 0 };
static_assert(std::atomic<int>::is_always_lock_free, "the handler touches it");

// Set before the handler is installed and left alone while it is.
const char *noticeText[2] = {};
size_t noticeLength[2] = {};

void onSignal(int)
{
    const int saved = errno;
    const int request = requests.fetch_add(1);
    if (request < 2 && noticeLength[request] > 0) {
        // Only write(2): nothing here may take a lock or allocate.
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, noticeText[request], noticeLength[request]);
    }
    errno = saved;
}

QByteArray line(const QString &notice)
{
    return notice.isEmpty() ? QByteArray() : filenames::toBytes(notice + QLatin1Char('\n'));
}

} // namespace

InterruptGuard::InterruptGuard(const QString &firstNotice, const QString &secondNotice)
    : notices{ line(firstNotice), line(secondNotice) }
{
    requests = 0;
    for (int i = 0; i < 2; ++i) {
        noticeText[i] = notices[i].constData();
        noticeLength[i] = size_t(notices[i].size());
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // A system call the signal meets goes on: a page half sent over USB or a
    // file half written would be the very harm the guard is for.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &formerInterrupt);
    sigaction(SIGTERM, &action, &formerTerminate);
}

InterruptGuard::~InterruptGuard()
{
    sigaction(SIGINT, &formerInterrupt, nullptr);
    sigaction(SIGTERM, &formerTerminate, nullptr);
    noticeLength[0] = noticeLength[1] = 0;
}

bool InterruptGuard::interrupted()
{
    return requests.load() > 0;
}

bool InterruptGuard::stopNow()
{
    return requests.load() > 1;
}

} // namespace tool
