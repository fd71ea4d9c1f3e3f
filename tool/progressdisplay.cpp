#include "tool/progressdisplay.h"

#include "tool/console.h"

namespace tool {

namespace {

constexpr int BarWidth = 40;

} // namespace

ProgressDisplay::ProgressDisplay(Console &console) : console(console)
{
}

ProgressDisplay::~ProgressDisplay()
{
    endBar();
}

void ProgressDisplay::endBar()
{
    if (barOpen)
        console.write(QStringLiteral("\n"));
    barOpen = false;
}

void ProgressDisplay::line(const QString &text)
{
    endBar();
    console.print(text);
}

void ProgressDisplay::percent(const QString &name, int value)
{
    value = qBound(0, value, 100);
    if (name != label) {
        endBar();
        label = name;
        shown = 0;
    }
    if (value == 0)
        return;

    if (!console.terminal) {
        if (value / 10 > shown) {
            shown = value / 10;
            console.print(QStringLiteral("%1 %2%").arg(label).arg(value));
        }
        return;
    }
    if (value == shown)
        return;
    shown = value;
    const int filled = value * BarWidth / 100;
    console.write(QStringLiteral("\r%1 [%2%3] %4%")
                          .arg(label, -21)
                          .arg(QString(filled, QLatin1Char('#')), QString(BarWidth - filled, QLatin1Char('.')))
                          .arg(value, 3));
    barOpen = true;
    if (value == 100)
        endBar();
}

} // namespace tool
