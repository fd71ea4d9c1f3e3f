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
    ExitBadInput = 2,  // bad usage, or an input or output file that cannot be used
    ExitInterrupted = 130   // stopped by SIGINT or SIGTERM (128 + SIGINT, as a shell reports Ctrl+C)
};

// Text goes out as the system's bytes: a file name that is not valid UTF-8
// (io/filenames.h) is printed as the bytes it was given as, so that a script
// reading the paths mkboot prints gets names it can open.
class Console
{
public:
    Console(QTextStream &out, QTextStream &err, bool terminal, const QString &command, const QString &usage)
        : terminal(terminal), command(command), usage(usage), out(out), err(err)
    {
    }

    // One line on standard output.
    void print(const QString &line);
    // One JSON object on one line of standard output.
    void printJson(const QJsonObject &object);
    // Text on standard output as it stands: no line end added.
    void write(const QString &text);
    // "vn274-tool COMMAND: message" on standard error; returns `status`.
    int fail(int status, const QString &message);
    // The same followed by the command's usage line; returns ExitBadInput.
    int usageError(const QString &message);
    // "vn274-tool COMMAND: warning: message" on standard error.
    void warn(const QString &message);
    // Text on standard error as it stands.
    void writeError(const QString &text);

    // The status the program ends with once the command returned `status`: a
    // write to standard output that failed (a full disk, a closed pipe) turns
    // a success into ExitBadInput, said once on standard error with the
    // system's reason, as the standard tools do.
    int finish(int status);

    const bool terminal;        // standard output is a terminal: progress may redraw its line
    const QString command;      // the subcommand, for error messages; empty before one is known
    const QString usage;        // its arguments, as its help shows them

private:
    void send(QTextStream &stream, const QString &text, QString *problem);
    QString prefix() const;

    QTextStream &out;
    QTextStream &err;
    QString outProblem;         // why standard output failed, the first time it did
};

// A subcommand's arguments split into positional ones and options. Options
// are "--name VALUE" or "--name=VALUE" for the value options given, "--name"
// alone for the flags given; "--" ends them. An option given twice is a
// usage error, unless the command takes it more than once.
struct Arguments
{
    QStringList positional;
    QMap<QString, QStringList> options;   // a flag has one empty value

    bool has(const QString &name) const { return options.contains(name); }
    QString value(const QString &name) const { return options.value(name).value(0); }
    QStringList values(const QString &name) const { return options.value(name); }
};

// The options a command takes.
struct AcceptedOptions
{
    QStringList values;       // --name VALUE
    QStringList flags;        // --name
    QStringList repeatable;   // of the value options, those that may be given more than once
};

// False, with the reason in *error, for an option not among those accepted,
// a value option without its value, a flag with one, or an option given twice
// that may not be.
bool parseArguments(const QStringList &args, const AcceptedOptions &accepted, Arguments *parsed, QString *error);

// The arguments of a command that takes exactly `count` positional ones and
// the options given; otherwise its usage is shown and nothing is returned.
std::optional<Arguments> commandArguments(const QStringList &args, int count, Console &console,
                                          const AcceptedOptions &accepted = {});

// An unsigned number written in decimal, or in hexadecimal after "0x" (a
// leading zero does not mean octal). False unless it is one, no larger than max.
bool parseNumber(const QString &text, quint64 max, quint64 *value);
// The same in decimal only: counts, where "0x2" is more likely a slip than a number.
bool parseDecimal(const QString &text, quint64 max, quint64 *value);

// "0x0801FFFF"
QString hex32(quint32 value);

} // namespace tool

#endif // TOOL_CONSOLE_H
