#ifndef TOOL_PROGRESSDISPLAY_H
#define TOOL_PROGRESSDISPLAY_H

#include <QString>

namespace tool {

class Console;

// Lines and percentages of a long run on standard output. On a terminal a
// percentage is a bar that redraws its own line until the next line of text
// or another bar; elsewhere (a log, a pipe) it is a line of its own at every
// tenth, so that a log stays short. 0% shows nothing: nothing is done yet.
// Every line begins with the prefix given, where several share one output.
class ProgressDisplay
{
public:
    explicit ProgressDisplay(Console &console, const QString &prefix = QString());
    ~ProgressDisplay();

    void line(const QString &text);
    void percent(const QString &label, int value);

private:
    void endBar();

    Console &console;
    const QString prefix;
    QString label;        // of the last percentage shown
    int shown = 0;        // its value (terminal) or tenth (elsewhere)
    bool barOpen = false; // a bar's line is not finished yet
};

} // namespace tool

#endif // TOOL_PROGRESSDISPLAY_H
