#include "shows/showjson.h"

#include "shows/showtables.h"

#include "io/filenames.h"
#include "io/outputfile.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLocale>
#include <QSet>

#include <cmath>
#include <sys/stat.h>
#include <initializer_list>
#include <limits>

namespace Shows {

namespace {

// The context of the messages' translations.
class ShowJson
{
    Q_DECLARE_TR_FUNCTIONS(ShowJson)
};

constexpr int JsonVersion = 1;
constexpr int ReservedBytes = int(sizeof(SceneRecord::reserved));

// What tells the two kinds apart in their JSON.
struct JsonForm
{
    ShowKind kind;
    const char *format;    // the value of "format"
    const char *listKey;   // the key of the programs or scenes
    int entries;           // in that list
    int tableSize;
};

const JsonForm programsForm = { ShowKind::Programs, "vn274-programs", "programs", ProgramCount, ProgramTableSize };
const JsonForm scenesForm = { ShowKind::Scenes, "vn274-scenes", "scenes", SceneCount, SceneTableSize };

const JsonForm &formOf(ShowKind kind)
{
    return kind == ShowKind::Programs ? programsForm : scenesForm;
}

// --- Writing ---------------------------------------------------------------------

QByteArray hexDigits(const quint8 *bytes, int count)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), count).toHex().toUpper();
}

// One record on one line, its keys in the order the window shows the fields.
QByteArray recordJson(const SceneRecord &record)
{
    QByteArray lamps;
    for (int lamp = 0; lamp < LampsPerScene; ++lamp)
        lamps += (lamp == 0 ? "\"#" : ", \"#") + hexDigits(record.lampRgb + 3 * lamp, 3) + '"';
    return "{\"xfade\": " + QByteArray::number(qint32(record.riseTime))
           + ", \"scene_time_ms\": " + QByteArray::number(qint32(record.staticTime))
           + ", \"end_marker\": " + QByteArray::number(record.endMarker)
           + ", \"lamps\": [" + lamps + "], \"reserved\": \"" + hexDigits(record.reserved, ReservedBytes) + "\"}";
}

// `count` records of the table from record `first` on, one per line.
QByteArray recordLines(const QByteArray &table, int first, int count, const QByteArray &indent)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += indent + recordJson(recordAt(table, (first + i) * RecordSize)) + (i + 1 < count ? ",\n" : "\n");
    return lines;
}

// --- Reading ---------------------------------------------------------------------

// A text of the file as a message shows it: quoted and escaped as in JSON,
// cut after 32 characters.
QString quoted(const QString &text)
{
    constexpr int Shown = 32;
    const QString cut = text.size() > Shown ? text.left(Shown) + QStringLiteral("...") : text;
    const QByteArray json = QJsonDocument(QJsonArray{ cut }).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// Letters, digits and "_", not first a digit, at most 32.
bool isPlainName(const QString &key)
{
    const auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    if (key.isEmpty() || key.size() > 32 || digit(key.at(0)))
        return false;
    for (QChar c : key)
        if (!(digit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
              || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('_')))
            return false;
    return true;
}

// The keys of a show are plain names; any other key, in a file that holds
// more than a show, is quoted, so that a message never carries a raw text of
// the file.
QString member(const QString &place, const QString &key)
{
    if (!isPlainName(key))
        return place + QLatin1Char('[') + quoted(key) + QLatin1Char(']');
    return place.isEmpty() ? key : place + QLatin1Char('.') + key;
}

QString member(const QString &place, const char *key)
{
    return member(place, QString::fromLatin1(key));
}

QString element(const QString &place, int index)
{
    return QStringLiteral("%1[%2]").arg(place).arg(index);
}

QString numberText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString kindOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return ShowJson::tr("a number");
    case QJsonValue::String:
        return ShowJson::tr("a string");
    case QJsonValue::Array:
        return ShowJson::tr("an array");
    case QJsonValue::Object:
        return ShowJson::tr("an object");
    case QJsonValue::Undefined:
        break;
    }
    return ShowJson::tr("nothing");
}

// "programs[2].steps[5]: missing key "lamps"", or the message alone at the top.
QString atPlace(const QString &place, const QString &message)
{
    // A place nested deeper than any show's is cut to its innermost part.
    constexpr int Longest = 160;
    if (place.isEmpty())
        return message;
    return (place.size() > Longest ? QStringLiteral("...") + place.right(Longest) : place) + QStringLiteral(": ") + message;
}

// Where a parse error is, as an editor counts: lines and characters from 1.
QString brokenJson(const QByteArray &text, const QJsonParseError &error)
{
    const QByteArray before = text.left(qBound(0, error.offset, int(text.size())));
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return ShowJson::tr("broken JSON at line %1, column %2: %3")
            .arg(before.count('\n') + 1)
            .arg(QString::fromUtf8(before.mid(lineStart)).size() + 1)
            .arg(error.errorString());
}

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// `count` bytes from twice as many hexadecimal digits; false for anything else.
bool parseHex(QStringView digits, int count, quint8 *bytes)
{
    if (digits.size() != 2 * count)
        return false;
    for (QChar c : digits)
        if (!isHexDigit(c))
            return false;
    const QByteArray parsed = QByteArray::fromHex(digits.toLatin1());
    std::copy(parsed.begin(), parsed.end(), bytes);
    return true;
}

// A string of the JSON text, quotes included, as its value.
QString decodedString(const QByteArray &token)
{
    if (!token.contains('\\'))
        return QString::fromUtf8(token.mid(1, token.size() - 2));
    return QJsonDocument::fromJson('[' + token + ']').array().at(0).toString();
}

// QJsonDocument keeps the last of two equal keys of an object and says
// nothing, so a step with "xfade" twice would read as its second without a
// word. The text, which parsed, is walked for such a key; the message naming
// the first one and its place, or nothing.
std::optional<QString> repeatedKey(const QByteArray &text)
{
    struct Level
    {
        bool object;
        QString place;
        int index = 0;          // of the array's value to come
        bool keyNext = false;   // of the object's
        QString lastKey;
        QSet<QString> keys;
    };
    QList<Level> levels;
    const auto placeOfValue = [&levels]() {
        if (levels.isEmpty())
            return QString();
        const Level &top = levels.last();
        return top.object ? member(top.place, top.lastKey) : element(top.place, top.index);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '{' || c == '[') {
            levels.append({ c == '{', placeOfValue(), 0, c == '{', QString(), {} });
        } else if ((c == '}' || c == ']') && !levels.isEmpty()) {
            levels.removeLast();
        } else if (c == ',' && !levels.isEmpty()) {
            Level &top = levels.last();
            top.keyNext = top.object;
            top.index += top.object ? 0 : 1;
        } else if (c == '"') {
            const qsizetype start = i;
            for (++i; i < text.size() && text.at(i) != '"'; ++i)
                i += text.at(i) == '\\' ? 1 : 0;
            if (levels.isEmpty() || !levels.last().keyNext)
                continue;
            Level &top = levels.last();
            top.lastKey = decodedString(text.mid(start, i - start + 1));
            top.keyNext = false;
            if (top.keys.contains(top.lastKey))
                return atPlace(top.place, ShowJson::tr("key %1 given twice").arg(quoted(top.lastKey)));
            top.keys.insert(top.lastKey);
        }
    }
    return std::nullopt;
}

// Walks the parsed document and fills the table; the first thing wrong ends
// the walk with `problem` naming its place.
class ShowReader
{
public:
    explicit ShowReader(std::optional<ShowKind> expected) : expected(expected) {}

    JsonShow read(const QJsonObject &root)
    {
        JsonShow show;
        const JsonForm *form = readFormat(root);
        QByteArray table;
        if (form && readKeysAndVersion(root, *form) && readTable(root, *form, &table)) {
            show.ok = true;
            show.kind = form->kind;
            show.table = table;
        } else {
            show.problem = problem;
        }
        return show;
    }

private:
    bool fail(const QString &place, const QString &message)
    {
        problem = atPlace(place, message);
        return false;
    }

    // The form "format" names; null when it names none, or not the one expected.
    const JsonForm *readFormat(const QJsonObject &root)
    {
        const QString place = QStringLiteral("format");
        QString format;
        if (!has(root, QString(), "format") || !string(root.value(place), place, &format))
            return nullptr;
        for (const JsonForm *candidate : { &programsForm, &scenesForm })
            if (format == QLatin1String(candidate->format) && (!expected || *expected == candidate->kind))
                return candidate;
        if (expected)
            fail(place, ShowJson::tr("%1 is not %2").arg(quoted(format), quoted(QLatin1String(formOf(*expected).format))));
        else
            fail(place, ShowJson::tr("%1 is neither %2 nor %3")
                                .arg(quoted(format), quoted(QLatin1String(programsForm.format)),
                                     quoted(QLatin1String(scenesForm.format))));
        return nullptr;
    }

    bool readKeysAndVersion(const QJsonObject &root, const JsonForm &form)
    {
        const QString place = QStringLiteral("version");
        constexpr qint64 Whole = qint64(1) << 53;   // every whole number a double holds
        qint64 version = 0;
        if (!onlyKeys(root, QString(), { "format", "version", form.listKey })
            || !integer(root.value(place), place, -Whole, Whole, &version))
            return false;
        if (version != JsonVersion)
            return fail(place, ShowJson::tr("%1 is not a version this program reads (it reads %2)").arg(version).arg(JsonVersion));
        return true;
    }

    bool readTable(const QJsonObject &root, const JsonForm &form, QByteArray *table)
    {
        const QString listPlace = QLatin1String(form.listKey);
        QJsonArray entries;
        if (!array(root.value(listPlace), listPlace, form.entries, &entries))
            return false;
        *table = QByteArray(form.tableSize, '\0');
        for (int i = 0; i < form.entries; ++i) {
            const QString place = element(listPlace, i);
            if (form.kind == ShowKind::Scenes) {
                if (!record(entries.at(i), place, table, sceneRecordOffset(i)))
                    return false;
                continue;
            }
            QJsonObject program;
            QJsonArray steps;
            const QString stepsPlace = member(place, "steps");
            if (!object(entries.at(i), place, &program) || !onlyKeys(program, place, { "steps" })
                || !array(program.value(QLatin1String("steps")), stepsPlace, StepsPerProgram, &steps))
                return false;
            for (int step = 0; step < StepsPerProgram; ++step)
                if (!record(steps.at(step), element(stepsPlace, step), table, programRecordOffset(i, step)))
                    return false;
        }
        return true;
    }

    bool record(const QJsonValue &value, const QString &place, QByteArray *table, int offset)
    {
        QJsonObject fields;
        if (!object(value, place, &fields)
            || !onlyKeys(fields, place, { "xfade", "scene_time_ms", "end_marker", "lamps", "reserved" }))
            return false;
        const auto field = [&fields](const char *key) { return fields.value(QLatin1String(key)); };
        constexpr qint64 Int32Min = std::numeric_limits<qint32>::min();
        constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();
        qint64 xfade = 0, sceneTime = 0, endMarker = 0;
        QJsonArray lamps;
        const QString lampsPlace = member(place, "lamps");
        if (!integer(field("xfade"), member(place, "xfade"), Int32Min, Int32Max, &xfade)
            || !integer(field("scene_time_ms"), member(place, "scene_time_ms"), Int32Min, Int32Max, &sceneTime)
            || !integer(field("end_marker"), member(place, "end_marker"), 0, 255, &endMarker)
            || !array(field("lamps"), lampsPlace, LampsPerScene, &lamps))
            return false;

        SceneRecord record = {};
        record.riseTime = qint32(xfade);
        record.staticTime = qint32(sceneTime);
        record.endMarker = quint8(endMarker);
        for (int lamp = 0; lamp < LampsPerScene; ++lamp)
            if (!colour(lamps.at(lamp), element(lampsPlace, lamp), record.lampRgb + 3 * lamp))
                return false;
        QString reserved;
        const QString reservedPlace = member(place, "reserved");
        if (!string(field("reserved"), reservedPlace, &reserved))
            return false;
        if (!parseHex(reserved, ReservedBytes, record.reserved))
            return fail(reservedPlace, ShowJson::tr("%1 is not %2 hexadecimal digits").arg(quoted(reserved)).arg(2 * ReservedBytes));
        setRecordAt(*table, offset, record);
        return true;
    }

    bool colour(const QJsonValue &value, const QString &place, quint8 *rgb)
    {
        QString text;
        if (!string(value, place, &text))
            return false;
        if (!text.startsWith(QLatin1Char('#')) || !parseHex(QStringView(text).mid(1), 3, rgb))
            return fail(place, ShowJson::tr("%1 is not a colour #RRGGBB").arg(quoted(text)));
        return true;
    }

    // Unknown keys first: a misspelt key is named as written, not as missing.
    bool onlyKeys(const QJsonObject &object, const QString &place, std::initializer_list<const char *> keys)
    {
        for (const QString &key : object.keys()) {
            bool known = false;
            for (const char *allowed : keys)
                known = known || key == QLatin1String(allowed);
            if (!known)
                return fail(place, ShowJson::tr("unknown key %1").arg(quoted(key)));
        }
        for (const char *key : keys)
            if (!has(object, place, key))
                return false;
        return true;
    }

    bool has(const QJsonObject &object, const QString &place, const char *key)
    {
        return object.contains(QLatin1String(key)) || fail(place, ShowJson::tr("missing key %1").arg(quoted(QLatin1String(key))));
    }

    bool object(const QJsonValue &value, const QString &place, QJsonObject *object)
    {
        if (!value.isObject())
            return fail(place, ShowJson::tr("expected an object, found %1").arg(kindOf(value)));
        *object = value.toObject();
        return true;
    }

    bool array(const QJsonValue &value, const QString &place, int count, QJsonArray *array)
    {
        if (!value.isArray())
            return fail(place, ShowJson::tr("expected an array, found %1").arg(kindOf(value)));
        *array = value.toArray();
        if (array->size() != count)
            return fail(place, ShowJson::tr("expected %1 entries, found %2").arg(count).arg(array->size()));
        return true;
    }

    bool string(const QJsonValue &value, const QString &place, QString *text)
    {
        if (!value.isString())
            return fail(place, ShowJson::tr("expected a string, found %1").arg(kindOf(value)));
        *text = value.toString();
        return true;
    }

    bool integer(const QJsonValue &value, const QString &place, qint64 min, qint64 max, qint64 *number)
    {
        if (!value.isDouble())
            return fail(place, ShowJson::tr("expected a whole number, found %1").arg(kindOf(value)));
        const double d = value.toDouble();
        if (d != std::floor(d))
            return fail(place, ShowJson::tr("%1 is not a whole number").arg(numberText(d)));
        if (d < double(min) || d > double(max))
            return fail(place, ShowJson::tr("%1 does not fit its field (%2 to %3)").arg(numberText(d)).arg(min).arg(max));
        *number = qint64(d);
        return true;
    }

    const std::optional<ShowKind> expected;
    QString problem;
};

// Some editors begin UTF-8 with a byte order mark, and show no column for it.
QByteArray withoutByteOrderMark(QByteArray text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    return text;
}

JsonShow refused(const QString &problem)
{
    JsonShow show;
    show.problem = problem;
    return show;
}

} // namespace

QByteArray showToJson(ShowKind kind, const QByteArray &table)
{
    const JsonForm &form = formOf(kind);
    Q_ASSERT(table.size() == form.tableSize);
    QByteArray json = "{\n  \"format\": \"" + QByteArray(form.format) + "\",\n  \"version\": "
                      + QByteArray::number(JsonVersion) + ",\n  \"" + form.listKey + "\": [\n";
    if (kind == ShowKind::Scenes) {
        json += recordLines(table, 0, SceneCount, "    ");
    } else {
        for (int program = 0; program < ProgramCount; ++program)
            json += "    {\"steps\": [\n" + recordLines(table, program * StepsPerProgram, StepsPerProgram, "      ")
                    + (program + 1 < ProgramCount ? "    ]},\n" : "    ]}\n");
    }
    return json + "  ]\n}\n";
}

JsonShow readShowJson(QIODevice &device, std::optional<ShowKind> expected)
{
    QByteArray text = device.read(MaxJsonBytes + 1);
    if (text.size() > MaxJsonBytes)
        return refused(ShowJson::tr("the file is larger than 1 MiB, far more than programs or scenes as JSON"));
    text = withoutByteOrderMark(text);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        return refused(brokenJson(text, error));
    if (!document.isObject())
        return refused(ShowJson::tr("expected an object, found %1")
                               .arg(document.isArray() ? ShowJson::tr("an array") : ShowJson::tr("nothing")));
    if (const std::optional<QString> repeated = repeatedKey(text))
        return refused(*repeated);
    return ShowReader(expected).read(document.object());
}

JsonShow readShowJson(const QString &fileName, std::optional<ShowKind> expected)
{
    InputFile file(fileName);
    if (!file.open())
        return refused(ShowJson::tr("cannot read the file: %1").arg(file.errorString()));
    return readShowJson(file, expected);
}

bool saveShowJson(const QString &fileName, ShowKind kind, const QByteArray &table, QString *reason)
{
    return outputfile::write(fileName, showToJson(kind, table), reason);
}

bool isJsonFileName(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

bool isJsonShowFile(const QString &fileName)
{
    if (isJsonFileName(fileName))
        return true;
    // Only a regular file is looked into: what is read from a pipe is gone.
    struct stat status;
    InputFile file(fileName);
    if (::stat(filenames::toBytes(fileName).constData(), &status) != 0 || !S_ISREG(status.st_mode) || !file.open())
        return false;
    for (char c : withoutByteOrderMark(file.read(4096))) {
        if (c == '{')
            return true;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return false;
}

} // namespace Shows
