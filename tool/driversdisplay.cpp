#include "tool/driversdisplay.h"

#include "tool/console.h"
#include "tool/firmwarechanges.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace tool {

namespace {

constexpr int RedrawMs = 100;
constexpr int SerialWidth = 10;

// Columns of the terminal on standard output; 80 when it does not say.
int terminalWidth()
{
    struct winsize size {};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace

DriversDisplay::DriversDisplay(Console &console, const QList<QByteArray> &serials)
    : console(console), order(serials)
{
    for (const QByteArray &serial : serials) {
        Driver &driver = drivers[serial];
        driver.state = stepWords(UpgradeStep::Connecting);
        if (!console.terminal)
            driver.log = std::make_unique<ProgressDisplay>(console, QString::fromLatin1(serial) + QStringLiteral(": "));
    }
    if (!console.terminal)
        return;
    width = terminalWidth();
    redraw.setSingleShot(true);
    redraw.setInterval(RedrawMs);
    connect(&redraw, &QTimer::timeout, this, &DriversDisplay::draw);
    draw();
}

DriversDisplay::~DriversDisplay()
{
    close();
}

void DriversDisplay::progress(const DriverProgress &progress)
{
    const auto found = drivers.find(progress.serial);
    if (found == drivers.end())
        return;
    Driver &driver = found->second;
    const QString label = percentLabel(progress.step);
    if (driver.log) {
        if (!label.isEmpty())
            driver.log->percent(label, progress.percent);
        return;
    }
    driver.state = stepWords(progress.step);
    if (!label.isEmpty())
        driver.state += QStringLiteral(" %1%").arg(progress.percent);
    changed();
}

void DriversDisplay::line(const QByteArray &serial, const QString &text)
{
    const auto found = drivers.find(serial);
    if (found == drivers.end() || !found->second.log)
        return;
    // Each line of a text of several ("USB timout\nCheck USB cable", a dump)
    // is the driver's.
    for (const QString &part : text.split(QLatin1Char('\n')))
        found->second.log->line(part);
}

void DriversDisplay::finished(const DriverResult &result)
{
    const auto found = drivers.find(result.serial);
    if (found == drivers.end() || found->second.log)
        return;
    found->second.state = resultLine(result);
    changed();
}

void DriversDisplay::interrupted()
{
    if (!console.terminal || closed)
        return;
    drawn = false;
    draw();
}

void DriversDisplay::close()
{
    if (closed)
        return;
    if (console.terminal) {
        redraw.stop();
        draw();
    }
    // The logs end their bars' lines.
    for (auto &driver : drivers)
        driver.second.log.reset();
    closed = true;
}

void DriversDisplay::changed()
{
    if (!redraw.isActive())
        redraw.start();
}

void DriversDisplay::draw()
{
    if (closed)
        return;
    QString text;
    // Back to the first line, each line then written over whole.
    if (drawn)
        text += QStringLiteral("\x1b[%1A").arg(order.size());
    for (const QByteArray &serial : order)
        text += QStringLiteral("\r\x1b[K") + liveLine(serial) + QLatin1Char('\n');
    console.write(text);
    drawn = true;
}

QString DriversDisplay::liveLine(const QByteArray &serial) const
{
    const QString line = QString::fromLatin1(serial).leftJustified(SerialWidth) + QStringLiteral("  ")
                         + drivers.at(serial).state;
    return line.left(width - 1);
}

} // namespace tool
