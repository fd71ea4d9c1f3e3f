#include "tool/console.h"

#include <QJsonDocument>

namespace tool {

void Console::print(const QString &line)
{
    out << line << '\n';
    out.flush();
}

void Console::printJson(const QJsonObject &object)
{
    out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) << '\n';
    out.flush();
}

int Console::fail(int status, const QString &message)
{
    out.flush();   // what was said before comes first where both streams meet
    err << "vn274-tool " << command << ": " << message << '\n';
    err.flush();
    return status;
}

int Console::usageError(const QString &message)
{
    fail(ExitBadInput, message);
    const QStringList forms = usage.split(QStringLiteral(" | "));
    for (int i = 0; i < forms.size(); ++i)
        err << (i == 0 ? "usage: " : "       ") << "vn274-tool " << command << ' ' << forms.at(i) << '\n';
    err << "(vn274-tool " << command << " --help for more)\n";
    err.flush();
    return ExitBadInput;
}

bool parseArguments(const QStringList &args, const QStringList &valueOptions, Arguments *parsed,
                    QString *error, const QStringList &flags)
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
        if (flags.contains(name)) {
            if (equals >= 0) {
                *error = QStringLiteral("option --%1 takes no value").arg(name);
                return false;
            }
            parsed->options.insert(name, QString());
            continue;
        }
        if (!valueOptions.contains(name)) {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return false;
        }
        if (equals >= 0) {
            parsed->options.insert(name, arg.mid(equals + 1));
        } else if (i + 1 < args.size()) {
            parsed->options.insert(name, args.at(++i));
        } else {
            *error = QStringLiteral("option --%1 needs a value").arg(name);
            return false;
        }
    }
    return true;
}

std::optional<Arguments> commandArguments(const QStringList &args, int count, Console &console,
                                          const QStringList &valueOptions, const QStringList &flags)
{
    Arguments parsed;
    QString error;
    if (!parseArguments(args, valueOptions, &parsed, &error, flags)) {
        console.usageError(error);
        return std::nullopt;
    }
    if (parsed.positional.size() != count) {
        console.usageError(QStringLiteral("expected %1 argument(s), got %2").arg(count).arg(parsed.positional.size()));
        return std::nullopt;
    }
    return parsed;
}

bool parseNumber(const QString &text, quint64 max, quint64 *value)
{
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const QString digits = hex ? text.mid(2) : text;
    // toULongLong would also take blanks and signs around the digits.
    if (digits.isEmpty() || digits.size() > 20)
        return false;
    for (QChar c : digits) {
        const char ascii = c.toLatin1();
        const bool digit = (ascii >= '0' && ascii <= '9')
                || (hex && ((ascii >= 'a' && ascii <= 'f') || (ascii >= 'A' && ascii <= 'F')));
        if (!digit || c.unicode() > 127)
            return false;
    }
    bool ok = false;
    const quint64 number = digits.toULongLong(&ok, hex ? 16 : 10);
    if (!ok || number > max)
        return false;
    *value = number;
    return true;
}

QString hex32(quint32 value)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace tool
