#include "upgrade/hextobin.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {

QByteArray hexByte(int value)
{
    return QByteArray::number(value & 0xFF, 16).rightJustified(2, '0').toUpper();
}

// One Intel HEX record with a correct checksum, without line end.
QByteArray record(int type, quint16 address, const QByteArray &data)
{
    int sum = data.size() + (address >> 8) + (address & 0xFF) + type;
    for (char c : data)
        sum += static_cast<unsigned char>(c);
    return ":" + hexByte(data.size()) + hexByte(address >> 8) + hexByte(address) + hexByte(type)
        + data.toHex().toUpper() + hexByte(-sum);
}

QByteArray dataRecord(quint16 address, const QByteArray &data) { return record(0x00, address, data); }
QByteArray linearRecord(quint16 upper) { return record(0x04, 0, QByteArray::fromHex(hexByte(upper >> 8) + hexByte(upper))); }
const QByteArray eofRecord = ":00000001FF";

QByteArray bytes(int count, int first)
{
    QByteArray b(count, 0);
    for (int i = 0; i < count; ++i)
        b[i] = char(first + i);
    return b;
}

} // namespace

class TstUpgrade : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    int fileCount = 0;

    QString writeFile(const QByteArray &content)
    {
        const QString name = dir.filePath(QString("f%1.hex").arg(++fileCount));
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(name));
        return name;
    }
    QString writeLines(const QList<QByteArray> &lines, const QByteArray &lineEnd = "\n")
    {
        return writeFile(lines.join(lineEnd) + lineEnd);
    }

private slots:
    // HexToBin
    void fieldsReadLikeToUInt();
    void resultCodes_data();
    void resultCodes();
    void failedRecordStoresNothing();
    void windows();
    void lineEnds_data();
    void lineEnds();
    void longRecords();
    void resultNames();
};

// The fast field reader must agree with QString::toUInt(&ok, 16), the conversion
// the records' fields were always read with: every pair of bytes, and four-byte
// fields over the characters toUInt treats specially.
void TstUpgrade::fieldsReadLikeToUInt()
{
    auto check = [](const char *field, int width) {
        bool ok;
        const uint expected = QString::fromLatin1(field, width).toUInt(&ok, 16);
        quint32 value = 0xDEADBEEF;
        const bool parsed = hexfield::parse(field, width, &value);
        if (parsed != ok || (ok && value != expected))
            QFAIL(qPrintable(QString("field %1: toUInt %2/%3, parse %4/%5")
                                 .arg(QString(QByteArray(field, width).toHex()))
                                 .arg(ok).arg(expected).arg(parsed).arg(value)));
    };
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            const char field[2] = { char(a), char(b) };
            check(field, 2);
        }
    const char alphabet[] = { ' ', '\t', '\r', '\n', '\v', '\0', '+', '-', 'x', 'X', '0', '7', 'a', 'F', 'G', char(0xA0) };
    for (char a : alphabet)
        for (char b : alphabet)
            for (char c : alphabet)
                for (char d : alphabet) {
                    const char field[4] = { a, b, c, d };
                    check(field, 4);
                }
}

void TstUpgrade::resultCodes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected");

    const QByteArray good = dataRecord(0x0000, bytes(16, 1)) + "\n";
    auto add = [&](const char *name, const QByteArray &line, int expected) {
        QTest::newRow(name) << good + line + "\n" + eofRecord + "\n" << expected;
    };
    add("ok", dataRecord(0x0010, bytes(4, 9)), 0);
    add("-1 short line", ":0000000", -1);
    add("-1 blank line before end", "", -1);
    add("-1 CR LF alone", "\r", -1);
    add("-2 no colon", ";" + dataRecord(0x0010, bytes(4, 9)).mid(1), -2);
    add("-2 before -3", "?G0000000FF", -2);
    add("-3 count", ":G4001000AABBCCDD00", -3);
    add("-3 before -4", ":G400Z000AABBCCDD00", -3);
    add("-4 address", ":04001Z00AABBCCDD00", -4);
    add("-4 before -5", ":04001ZZZAABBCCDD00", -4);
    add("-5 type", ":040010Z0AABBCCDD00", -5);
    add("-6 data", ":04001000AAZBCCDD00", -6);
    add("-6 data before checksum", ":04001000AAZBCCDD12", -6);
    add("-6 count one larger than data", ":05001000AABBCCDDCB", -6);
    add("-6 checksum missing", ":04001000AABBCCDD", -6);
    add("-6 checksum not hex", ":04001000AABBCCDDCZ", -6);
    add("-7 type 02", record(0x02, 0, QByteArray::fromHex("1000")), -7);
    add("-7 type 03", record(0x03, 0, QByteArray::fromHex("00001000")), -7);
    add("-7 type 06", record(0x06, 0, QByteArray()), -7);
    add("-7 type 04 value", ":02000004ZZZZFA", -7);
    add("-7 type 04 value before checksum", ":02000004080GFF", -7);
    add("-8 data checksum", ":04001000AABBCCDDCC", -8);
    add("-8 type 04 checksum", ":020000040800F3", -8);
    add("type 01 checksum not checked", ":00000001AB", 0);
    add("type 05 not parsed", ":04000005ZZZZZZZZZZ", 0);
    add("blanks and signs as toUInt reads them", ": 40010+0AABBCCDDDE", 0);
    QTest::newRow("-9 no end record needed") << good << 0;
}

void TstUpgrade::resultCodes()
{
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    std::vector<unsigned char> image(0x100, 0);
    QCOMPARE(HexToBin(writeFile(content), image.data(), 0, 0xFF), expected);
    // Records before the failing one stay stored: there is no roll-back.
    QCOMPARE(QByteArray(reinterpret_cast<char *>(image.data()), 16), bytes(16, 1));
}

void TstUpgrade::failedRecordStoresNothing()
{
    std::vector<unsigned char> image(0x100, 0xEE);
    // Data in order, then a record whose checksum is wrong, then one that would
    // move everything after it away.
    QCOMPARE(HexToBin(writeLines({ ":04001000AABBCCDDCC", eofRecord }), image.data(), 0, 0xFF), -8);
    QCOMPARE(image[0x10], 0xEE);
    QCOMPARE(HexToBin(writeLines({ ":02000004FFFFFD", dataRecord(0x0000, "A"), eofRecord }), image.data(), 0, 0xFF), -8);
    QCOMPARE(image[0x00], 0xEE);

    QCOMPARE(HexToBin(dir.filePath("missing.hex"), image.data(), 0, 0xFF), -9);
    QCOMPARE(HexToBin(dir.path(), image.data(), 0, 0xFF), -9);
    QVERIFY(std::all_of(image.begin(), image.end(), [](unsigned char c) { return c == 0xEE; }));
}

void TstUpgrade::windows()
{
    const QString file = writeLines({
        dataRecord(0xFFF8, bytes(16, 0x10)),    // 0x0000FFF8..0x00010007: straddles the upper half
        linearRecord(0x0801),
        dataRecord(0xFFFC, bytes(4, 0x20)),     // 0x0801FFFC..0x0801FFFF
        dataRecord(0x0000, bytes(8, 0x30)),     // upper persists: 0x08010000..
        linearRecord(0x0802),
        dataRecord(0x0000, bytes(8, 0x40)),     // 0x08020000..
        eofRecord,
    });

    // A window cutting records in the middle.
    std::vector<unsigned char> image(16, 0xEE);
    QCOMPARE(HexToBin(file, image.data(), 0x0000FFFC, 0x0000FFFF + 8), 0);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(image.data()), 12), bytes(12, 0x14));
    QCOMPARE(image[12], 0xEE);

    // The extended address persists over several records.
    std::fill(image.begin(), image.end(), 0xEE);
    QCOMPARE(HexToBin(file, image.data(), 0x0801FFFC, 0x0802000B), 0);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(image.data()), 12), bytes(4, 0x20) + bytes(8, 0x40));
    QCOMPARE(image[12], 0xEE);
    std::fill(image.begin(), image.end(), 0xEE);
    QCOMPARE(HexToBin(file, image.data(), 0x08010000, 0x0801000F), 0);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(image.data()), 9), bytes(8, 0x30) + char(0xEE));

    // A file wholly outside the window reads fine and changes nothing.
    std::fill(image.begin(), image.end(), 0xEE);
    QCOMPARE(HexToBin(file, image.data(), 0x08030000, 0x0803000F), 0);
    QVERIFY(std::all_of(image.begin(), image.end(), [](unsigned char c) { return c == 0xEE; }));
}

void TstUpgrade::lineEnds_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected");
    const QList<QByteArray> lines = { linearRecord(0x0800), dataRecord(0x0000, bytes(16, 1)),
                                      dataRecord(0x0010, bytes(16, 17)), eofRecord };
    QTest::newRow("LF") << lines.join("\n") + "\n" << 0;
    QTest::newRow("CR LF") << lines.join("\r\n") + "\r\n" << 0;
    QTest::newRow("CR") << lines.join("\r") + "\r" << 0;
    QTest::newRow("no end record, no last line end") << lines.mid(0, 3).join("\n") << 0;
    QTest::newRow("blank lines after the end record") << lines.join("\r\n") + "\r\n\r\n\n" << 0;
    QTest::newRow("blank line before the end record")
        << lines.mid(0, 3).join("\r\n") + "\r\n\r\n" + eofRecord + "\r\n" << -1;
}

void TstUpgrade::lineEnds()
{
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    std::vector<unsigned char> image(32, 0);
    QCOMPARE(HexToBin(writeFile(content), image.data(), 0x08000000, 0x0800001F), expected);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(image.data()), 32), bytes(32, 1));
}

void TstUpgrade::longRecords()
{
    QList<QByteArray> lines = { linearRecord(0x0800) };
    QByteArray expected;
    for (int i = 0; i < 64; ++i) {
        // Records longer than any buffer chunk boundary luck: 32-byte and 255-byte records.
        const int size = (i % 2) ? 255 : 32;
        lines << dataRecord(quint16(expected.size()), bytes(size, i));
        expected += bytes(size, i);
    }
    lines << eofRecord;
    std::vector<unsigned char> image(expected.size(), 0);
    QCOMPARE(HexToBin(writeLines(lines, "\r\n"), image.data(), 0x08000000, 0x08000000 + expected.size() - 1), 0);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(image.data()), expected.size()), expected);

    // A line of any length is read whole: a 255-byte record with a wrong checksum
    // is caught, not cut into pieces.
    lines = { dataRecord(0, bytes(255, 0)) };
    lines[0][lines[0].size() - 1] = lines[0].endsWith('0') ? '1' : '0';
    std::fill(image.begin(), image.end(), 0);
    QCOMPARE(HexToBin(writeLines(lines), image.data(), 0, 0xFF), -8);
}

void TstUpgrade::resultNames()
{
    QStringList names;
    for (int code = 0; code >= -9; --code)
        names << hexToBinResultName(code);
    names.removeDuplicates();
    QCOMPARE(names.size(), 10);
    QCOMPARE(hexToBinResultName(-8), "bad checksum");
    QCOMPARE(hexToBinResultName(-10), "unknown error");
}

QTEST_GUILESS_MAIN(TstUpgrade)
#include "tst_upgrade.moc"
