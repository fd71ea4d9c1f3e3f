#include "tool/console.h"

#include "io/filenames.h"

#include <QJsonDocument>

namespace tool {

void Console::send(QTextStream &stream, const QString &text, QString *problem)
{
    // A stream on a device gets the bytes; one on a string (the tests) the text.
    QIODevice *device = stream.device();
    if (!device) {
        stream << text;
        stream.flush();
        return;
    }
    stream.flush();
    const QByteArray bytes = filenames::toBytes(text);
    if (device->write(bytes) != bytes.size() && problem && problem->isEmpty())
        *problem = device->errorString();
}

QString Console::prefix() const
{
    return command.isEmpty() ? QStringLiteral("vn274-tool: ") : QStringLiteral("vn274-tool %1: ").arg(command);
}

void Console::print(const QString &line)
{
    write(line + QLatin1Char('\n'));
}

void Console::printJson(const QJsonObject &object)
{
    print(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

void Console::write(const QString &text)
{
    send(out, text, &outProblem);
}

void Console::writeError(const QString &text)
{
    send(err, text, nullptr);
}

int Console::fail(int status, const QString &message)
{
    writeError(prefix() + message + QLatin1Char('\n'));
    return status;
}

int Console::usageError(const QString &message)
{
    fail(ExitBadInput, message);
    QString text;
    const QStringList forms = usage.split(QStringLiteral(" | "));
    for (int i = 0; i < forms.size(); ++i)
        text += QStringLiteral("%1vn274-tool %2 %3\n").arg(QLatin1String(i == 0 ? "usage: " : "       "), command, forms.at(i));
    writeError(text + QStringLiteral("(vn274-tool %1 --help for more)\n").arg(command));
    return ExitBadInput;
}

void Console::warn(const QString &message)
{
    writeError(prefix() + QStringLiteral("warning: ") + message + QLatin1Char('\n'));
}

int Console::finish(int status)
{
    out.flush();
    if (outProblem.isEmpty() && out.status() != QTextStream::Ok)
        outProblem = out.device() ? out.device()->errorString() : QStringLiteral("write failed");
    if (outProblem.isEmpty())
        return status;
    fail(ExitBadInput, QStringLiteral("cannot write to standard output: %1").arg(outProblem));
    return status == ExitSuccess ? ExitBadInput : status;
}

bool parseArguments(const QStringList &args, const AcceptedOptions &accepted, Arguments *parsed, QString *error)
{
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1String("--"))) {
            parsed->positional << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const int equals = arg.indexOf(QLatin1Char('='));
        const QString name = arg.mid(2, equals < 0 ? -1 : equals - 2);
        QString value;
        if (accepted.flags.contains(name)) {
            if (equals >= 0) {
                *error = QStringLiteral("option --%1 takes no value").arg(name);
                return false;
            }
        } else if (!accepted.values.contains(name)) {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return false;
        } else if (equals >= 0) {
            value = arg.mid(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args.at(++i);
        } else {
            *error = QStringLiteral("option --%1 needs a value").arg(name);
            return false;
        }
        // The last one winning would hide a typing slip or a script's doubled word.
        if (parsed->has(name) && !accepted.repeatable.contains(name)) {
            *error = QStringLiteral("option --%1 given twice").arg(name);
            return false;
        }
        parsed->options[name] << value;
    }
    return true;
}

std::optional<Arguments> commandArguments(const QStringList &args, int count, Console &console, const AcceptedOptions &accepted)
{
    Arguments parsed;
    QString error;
    if (!parseArguments(args, accepted, &parsed, &error)) {
        console.usageError(error);
        return std::nullopt;
    }
    if (parsed.positional.size() != count) {
        console.usageError(QStringLiteral("expected %1 argument(s), got %2").arg(count).arg(parsed.positional.size()));
        return std::nullopt;
    }
    return parsed;
}

namespace {

bool parseDigits(const QString &digits, int base, quint64 max, quint64 *value)
{
    // toULongLong would also take blanks and signs around the digits.
    if (digits.isEmpty() || digits.size() > 20)
        return false;
    for (QChar c : digits) {
        const char ascii = c.toLatin1();
        const bool digit = (ascii >= '0' && ascii <= '9')
                || (base == 16 && ((ascii >= 'a' && ascii <= 'f') || (ascii >= 'A' && ascii <= 'F')));
        if (!digit || c.unicode() > 127)
            return false;
    }
    bool ok = false;
    const quint64 number = digits.toULongLong(&ok, base);
    if (!ok || number > max)
        return false;
    *value = number;
    return true;
}

} // namespace

bool parseNumber(const QString &text, quint64 max, quint64 *value)
{
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return parseDigits(text.mid(2), 16, max, value);
    return parseDigits(text, 10, max, value);
}

bool parseDecimal(const QString &text, quint64 max, quint64 *value)
{
    return parseDigits(text, 10, max, value);
}

QString hex32(quint32 value)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace tool
