#ifndef TOOL_CONSOLE_H
#define TOOL_CONSOLE_H

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

// What a subcommand of vn274-tool works with: its two output streams, whether
// standard output is a terminal, and the exit statuses it ends with.
namespace tool {

enum ExitStatus {
    ExitSuccess = 0,
    ExitFailure = 1,   // the driver failed, was not found or cannot be opened, or a check failed
    ExitBadInput = 2   // bad usage, or an input or output file that cannot be used
};

class Console
{
public:
    Console(QTextStream &out, QTextStream &err, bool terminal, const QString &command, const QString &usage)
        : out(out), err(err), terminal(terminal), command(command), usage(usage)
    {
    }

    // One line on standard output.
    void print(const QString &line);
    // One JSON object on one line of standard output.
    void printJson(const QJsonObject &object);
    // "vn274-tool COMMAND: message" on standard error; returns `status`.
    int fail(int status, const QString &message);
    // The same followed by the command's usage line; returns ExitBadInput.
    int usageError(const QString &message);

    QTextStream &out;
    QTextStream &err;
    const bool terminal;        // standard output is a terminal: progress may redraw its line
    const QString command;      // the subcommand, for error messages
    const QString usage;        // its arguments, as its help shows them
};

// A subcommand's arguments split into positional ones and options. Options
// are "--name VALUE" or "--name=VALUE" for the value options given, "--name"
// alone for the flags given; "--" ends them.
struct Arguments
{
    QStringList positional;
    QMap<QString, QString> options;

    bool has(const QString &name) const { return options.contains(name); }
    QString value(const QString &name) const { return options.value(name); }
};

// False, with the reason in *error, for an option not among `valueOptions` and
// `flags`, a value option without its value or a flag with one.
bool parseArguments(const QStringList &args, const QStringList &valueOptions, Arguments *parsed,
                    QString *error, const QStringList &flags = {});

// The arguments of a command that takes exactly `count` positional ones and
// the options given; otherwise its usage is shown and nothing is returned.
std::optional<Arguments> commandArguments(const QStringList &args, int count, Console &console,
                                          const QStringList &valueOptions = {}, const QStringList &flags = {});

// An unsigned number written in decimal, or in hexadecimal after "0x" (a
// leading zero does not mean octal). False unless it is one, no larger than max.
bool parseNumber(const QString &text, quint64 max, quint64 *value);

// "0x0801FFFF"
QString hex32(quint32 value);

} // namespace tool

#endif // TOOL_CONSOLE_H
