#ifndef TOOL_INTERRUPTION_H
#define TOOL_INTERRUPTION_H

#include <QByteArray>
#include <QString>

#include <csignal>

// Ctrl+C (SIGINT) and SIGTERM while a command does work that must not be cut
// off halfway: a driver between its bootloader and its new application, a
// batch of images whose numbers the record holds as reserved. While a guard
// lives, the signals no longer end the process; they are requests:
//  - the first says what will finish (the notice given, on standard error at
//    once) and asks the command to start nothing new;
//  - the second (its own notice) asks it to stop at once, at its next step;
//  - the command ends with ExitInterrupted (130) either way, after it has
//    recorded how far it came.
// The handler only counts and writes the prepared notices, so it is safe at
// any moment; the command looks at the count between its steps, from any
// thread. One guard at a time; the signals' former handling comes back when
// it goes.
namespace tool {

class InterruptGuard
{
public:
    InterruptGuard(const QString &firstNotice, const QString &secondNotice);
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard &) = delete;
    InterruptGuard &operator=(const InterruptGuard &) = delete;

    // A first signal came: finish what is under way, start nothing new.
    static bool interrupted();
    // A second came: stop at once.
    static bool stopNow();

private:
    const QByteArray notices[2];
    struct sigaction formerInterrupt {};
    struct sigaction formerTerminate {};
};

} // namespace tool

#endif // TOOL_INTERRUPTION_H
