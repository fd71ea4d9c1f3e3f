#include "upgrade/bootimage.h"
#include "upgrade/hextobin.h"
#include "upgrade/upgradefile.h"
#include "usb/transferscrambling.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

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

// A HEX file of 16-byte records holding the given blocks at their absolute
// addresses, with extended linear address records where needed.
QByteArray hexFile(const QList<QPair<quint32, QByteArray>> &blocks)
{
    QByteArray text;
    quint32 upper = 0xFFFFFFFF;
    for (const auto &[address, data] : blocks) {
        for (int i = 0; i < data.size();) {
            const quint32 a = address + quint32(i);
            if ((a >> 16) != upper) {
                upper = a >> 16;
                text += linearRecord(quint16(upper)) + "\r\n";
            }
            const int n = int(qMin<quint32>(16, qMin<quint32>(data.size() - i, 0x10000 - (a & 0xFFFF))));
            text += dataRecord(quint16(a), data.mid(i, n)) + "\r\n";
            i += n;
        }
    }
    return text + eofRecord + "\r\n";
}

// The sum of a region's little-endian words but the last, computed here apart
// from the program's own arithmetic.
quint32 wordSum(const QByteArray &image, int offset, int length)
{
    quint64 sum = 0;
    for (int i = offset; i < offset + length - 4; i += 4)
        sum += qFromLittleEndian<quint32>(image.constData() + i);
    return quint32(sum);
}

QByteArray streamBytes(const QString &header, const QString &version, const QByteArray &image)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << header << version << image;
    return bytes;
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
    void readBoundaries_data();
    void readBoundaries();

    // Upgrade files
    void upgradeFileBytes();
    void upgradeFileWithoutExternalData();
    void readerRefusals_data();
    void readerRefusals();
    void writeFailuresReported();

    // Bootloader images
    void bootloaderImage();
    void bootloaderSerials_data();
    void bootloaderSerials();
};

// The fast field reader must agree with QString::toUInt(&ok, 16), the conversion
// the records' fields were always read with: every pair of bytes, and four-byte
// fields over the characters toUInt reads in its own way.
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
    // A record ends with its checksum pair: anything after it but blanks would
    // be data the byte count does not cover, such as a second record.
    add("-6 second record on the line", dataRecord(0x0010, bytes(4, 9)) + dataRecord(0x0014, bytes(4, 13)), -6);
    add("-6 a character after the checksum", dataRecord(0x0010, bytes(4, 9)) + "0", -6);
    add("-6 count one smaller than data", ":03001000AABBCCDDCB", -6);
    add("-6 text after blanks", dataRecord(0x0010, bytes(4, 9)) + " \t;", -6);
    add("-6 NUL after the checksum", dataRecord(0x0010, bytes(4, 9)) + QByteArray(1, '\0'), -6);
    add("-6 second record after a type 04", linearRecord(0x0000) + dataRecord(0x0010, bytes(4, 9)), -6);
    add("-6 second record after a type 05", record(0x05, 0, bytes(4, 0)) + dataRecord(0x0010, bytes(4, 9)), -6);
    add("spaces and tabs after the checksum", dataRecord(0x0010, bytes(4, 9)) + " \t \t", 0);
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
    QTest::newRow("file without end record") << good << 0;
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

    // However far after the checksum it comes, anything but blanks on the line
    // refuses the record; blanks alone, however many, do not.
    for (int blanks : { 4000, 5000, 100000 }) {
        std::fill(image.begin(), image.end(), 0);
        const QByteArray line = dataRecord(0, bytes(16, 1)) + QByteArray(blanks, ' ');
        QCOMPARE(HexToBin(writeLines({ line + "X", eofRecord }), image.data(), 0, 0xFF), -6);
        QCOMPARE(image[0], 0);
        QCOMPARE(HexToBin(writeLines({ line, dataRecord(16, bytes(16, 17)), eofRecord }), image.data(), 0, 0xFF), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(image.data()), 32), bytes(32, 1));
    }
}

void TstUpgrade::readBoundaries_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<int>("lineEndAt");
    QTest::addColumn<bool>("overlongFirstLine");
    // The file is read 64 KiB at a time; these put a line end where a read stops.
    QTest::newRow("CR LF split by a read") << QByteArray("\r\n") << 65535 << false;
    QTest::newRow("CR last of a read") << QByteArray("\r") << 65535 << false;
    QTest::newRow("LF last of a read") << QByteArray("\n") << 65535 << false;
    QTest::newRow("CR LF first of a read") << QByteArray("\r\n") << 65536 << false;
    QTest::newRow("overlong line, CR LF split by a read") << QByteArray("\r\n") << 65535 << true;
    QTest::newRow("overlong line, CR last of a read") << QByteArray("\r") << 65535 << true;
}

void TstUpgrade::readBoundaries()
{
    QFETCH(QByteArray, lineEnd);
    QFETCH(int, lineEndAt);
    QFETCH(bool, overlongFirstLine);

    // Blanks after the checksum are never read, so they move a line end anywhere.
    QByteArray text;
    QByteArray expected;
    bool placed = false;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray line = dataRecord(quint16(16 * i), bytes(16, i));
        int blanks = 0;
        if (!placed && (overlongFirstLine || text.size() + 2 * (line.size() + lineEnd.size()) > lineEndAt)) {
            blanks = lineEndAt - text.size() - line.size();
            placed = true;
        }
        text += line + QByteArray(blanks, ' ') + lineEnd;
        expected += bytes(16, i);
    }
    QVERIFY(text.mid(lineEndAt, lineEnd.size()) == lineEnd);

    std::vector<unsigned char> image(expected.size(), 0);
    QCOMPARE(HexToBin(writeFile(text + eofRecord + lineEnd), image.data(), 0, expected.size() - 1), 0);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(image.data()), expected.size()), expected);
}

void TstUpgrade::upgradeFileBytes()
{
    const QByteArray application = bytes(0x123, 0x11);
    const QString hex = writeFile(hexFile({
        { 0x08000000, bytes(64, 0x80) },          // a bootloader in the same file: ignored
        { 0x08004000, application },              // ends long before the checksum word
        { 0x0801FFF8, bytes(8, 0x50) },           // last 4 bytes replaced by the checksum
        { 0x08020000, bytes(40, 0x60) },
        { 0x08033FF0, bytes(16, 0x70) },          // last 4 bytes replaced by the checksum
        { 0x08034000, bytes(32, 0x90) },          // beyond the external flash data: ignored
    }));

    QByteArray expected(0x40000, 0);
    expected.replace(0x4000, application.size(), application);
    expected.replace(0x1FFF8, 4, bytes(4, 0x50));
    expected.replace(0x20000, 40, bytes(40, 0x60));
    expected.replace(0x33FF0, 12, bytes(12, 0x70));
    qToLittleEndian(wordSum(expected, 0x4000, 0x1C000), expected.data() + 0x1FFFC);
    qToLittleEndian(wordSum(expected, 0x20000, 0x14000), expected.data() + 0x33FFC);

    const UpgradeImage built = buildUpgradeImage(hex);
    QCOMPARE(built.applicationResult, 0);
    QCOMPARE(built.externalFlashResult, 0);
    QCOMPARE(built.image, expected);

    const QString upg = dir.filePath("built.upg");
    QVERIFY(writeUpgradeFile(upg, built.image));
    QFile file(upg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written.size(), 262210);
    // Header and version as UTF-16 strings, then the image length: the same
    // 66 bytes start every upgrade file.
    QCOMPARE(written.left(66).toHex(),
             QByteArray("00000032" "0056006e00320037003400200055007000670072006100640065"
                        "002000460069006c00650020004800650061006400650072"
                        "00000004" "00300031" "00040000"));
    QByteArray payload = written.mid(66);
    QVERIFY(payload != expected);
    decodeTransfer(payload.data(), payload.size());
    QCOMPARE(payload, expected);

    const UpgradeFileContent read = readUpgradeFile(upg);
    QCOMPARE(read.result, UpgradeFileResult::Ok);
    QCOMPARE(read.application, expected.mid(0x4000, 0x1C000));
    QCOMPARE(read.externalFlash, expected.mid(0x20000, 0x14000));
}

void TstUpgrade::upgradeFileWithoutExternalData()
{
    const UpgradeImage built = buildUpgradeImage(writeFile(hexFile({ { 0x08004000, bytes(16, 1) } })));
    QCOMPARE(built.externalFlashResult, 0);
    QCOMPARE(built.image.mid(0x20000, 0x14000), QByteArray(0x14000, 0));

    // A HEX error in the middle is reported for both windows; what came before stays.
    const UpgradeImage broken = buildUpgradeImage(writeFile(
        hexFile({ { 0x08004000, bytes(16, 1) } }).replace(":00000001FF", ":04001000AABBCCDDCC")));
    QCOMPARE(broken.applicationResult, -8);
    QCOMPARE(broken.externalFlashResult, -8);
    QCOMPARE(broken.image.mid(0x4000, 16), bytes(16, 1));
    QCOMPARE(buildUpgradeImage(dir.filePath("missing.hex")).applicationResult, -9);
}

void TstUpgrade::readerRefusals_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<UpgradeFileResult>("expected");

    QByteArray plain = buildUpgradeImage(writeFile(hexFile({ { 0x08004000, bytes(100, 1) },
                                                            { 0x08020000, bytes(100, 2) } }))).image;
    QByteArray scrambled = plain;
    encodeTransfer(scrambled.data(), scrambled.size());
    const QString header = "Vn274 Upgrade File Header";
    auto damaged = [&](int offset) {
        QByteArray image = scrambled;
        image[offset] = char(image[offset] ^ 0x01);
        return streamBytes(header, "01", image);
    };

    QTest::newRow("accepted") << streamBytes(header, "01", scrambled) << UpgradeFileResult::Ok;
    QTest::newRow("empty") << QByteArray() << UpgradeFileResult::WrongHeader;
    QTest::newRow("header") << streamBytes("Vn274 Upgrade File", "01", scrambled) << UpgradeFileResult::WrongHeader;
    QTest::newRow("version") << streamBytes(header, "02", scrambled) << UpgradeFileResult::WrongVersion;
    QTest::newRow("short image") << streamBytes(header, "01", scrambled.left(262140)) << UpgradeFileResult::WrongVersion;
    QTest::newRow("long image") << streamBytes(header, "01", scrambled + "1234") << UpgradeFileResult::WrongVersion;
    // Cut short past its header: a copy that stopped, told apart from another format.
    QTest::newRow("cut file") << streamBytes(header, "01", scrambled).left(100000) << UpgradeFileResult::WrongLength;
    QTest::newRow("cut in the version") << streamBytes(header, "01", scrambled).left(56) << UpgradeFileResult::WrongLength;
    QTest::newRow("cut before the image") << streamBytes(header, "01", scrambled).left(62) << UpgradeFileResult::WrongLength;
    QTest::newRow("cut in the header") << streamBytes(header, "01", scrambled).left(30) << UpgradeFileResult::WrongHeader;
    // Length fields are checked before anything is read.
    const QByteArray texts = streamBytes(header, "01", QByteArray()).chopped(4);
    const QByteArray claim("\xFF\xFF\xFF\xFE", 4);
    QTest::newRow("header claiming 4 GiB") << claim + QByteArray(1000, 'A') << UpgradeFileResult::WrongHeader;
    QTest::newRow("header of an odd length") << QByteArray("\0\0\0\x33", 4) + streamBytes(header, "01", scrambled).mid(4)
                                             << UpgradeFileResult::WrongHeader;
    QTest::newRow("null header") << QByteArray(4, '\xFF') << UpgradeFileResult::WrongHeader;
    QTest::newRow("version claiming 4 GiB") << texts.left(54) + claim + scrambled << UpgradeFileResult::WrongVersion;
    QTest::newRow("image claiming 4 GiB") << texts + claim + scrambled << UpgradeFileResult::WrongVersion;
    QTest::newRow("null image") << texts + QByteArray(4, '\xFF') << UpgradeFileResult::WrongVersion;
    QTest::newRow("application damaged") << damaged(0x4000 + 50) << UpgradeFileResult::WrongChecksum;
    QTest::newRow("application checksum damaged") << damaged(0x1FFFF) << UpgradeFileResult::WrongChecksum;
    QTest::newRow("external flash damaged") << damaged(0x33000) << UpgradeFileResult::WrongChecksum;
}

void TstUpgrade::readerRefusals()
{
    QFETCH(QByteArray, content);
    QFETCH(UpgradeFileResult, expected);
    const UpgradeFileContent read = readUpgradeFile(writeFile(content));
    QCOMPARE(read.result, expected);
    QCOMPARE(read.application.size(), expected == UpgradeFileResult::Ok ? 0x1C000 : 0);
    QCOMPARE(read.externalFlash.size(), expected == UpgradeFileResult::Ok ? 0x14000 : 0);
    QCOMPARE(readUpgradeFile(dir.filePath("missing.upg")).result, UpgradeFileResult::CannotOpen);
}

void TstUpgrade::writeFailuresReported()
{
    // Tests may run as root, so a directory that does not exist stands for one
    // that cannot be written.
    const QString nowhere = dir.filePath("no-such-directory/file");
    QString reason;
    QVERIFY(!writeUpgradeFile(nowhere, QByteArray(0x40000, 0), &reason));
    QVERIFY(!reason.isEmpty());
    reason.clear();
    QVERIFY(!writeBootloaderImage(nowhere, QByteArray(16384, 0), &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(!QFile::exists(nowhere));
}

void TstUpgrade::bootloaderImage()
{
    const QByteArray versions = QByteArray("BOOT 1.02\0\0\0\0\0\0\0HW 3\0\0\0\0\0\0\0\0\0\0\0\0", 32);
    const QByteArray hex = hexFile({
        { 0x08000000, bytes(0x100, 0x01) },
        { 0x08003FD0, versions },
        { 0x08003FF0, bytes(16, 0x30) },          // a serial already there is replaced
        { 0x08004000, bytes(0x100, 0x02) },       // an application in the same file: ignored
    });
    const BootloaderImage built = buildBootloaderImage(writeFile(hex), "241231001");
    QCOMPARE(built.hexResult, 0);
    QCOMPARE(built.image.size(), 16384);
    QCOMPARE(built.image.left(0x100), bytes(0x100, 0x01));
    QCOMPARE(built.image.mid(0x100, 0x3ED0), QByteArray(0x3ED0, char(0xFF)));
    QCOMPARE(built.image.mid(0x3FD0, 32), versions);
    QCOMPARE(built.image.mid(0x3FF0, 16), QByteArray("241231001") + bytes(7, 0x39));

    const QString bin = dir.filePath(bootloaderImageFileName("241231001"));
    QVERIFY(bin.endsWith("/Vn274Bootloader_241231001"));
    QVERIFY(writeBootloaderImage(bin, built.image));
    QFile file(bin);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), built.image);

    // A HEX error is reported; the serial is stamped all the same.
    const BootloaderImage broken = buildBootloaderImage(writeFile(QByteArray(hex).insert(0, "\n")), "240101002");
    QCOMPARE(broken.hexResult, -1);
    QCOMPARE(broken.image.size(), 16384);
    QCOMPARE(broken.image.mid(0x3FF0, 9), QByteArray("240101002"));
}

void TstUpgrade::bootloaderSerials_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("valid");
    QTest::newRow("last day of 2024") << "241231001" << true;
    QTest::newRow("day 31 in February") << "240231999" << true;
    QTest::newRow("month 00") << "240001001" << false;
    QTest::newRow("month 13") << "241301001" << false;
    QTest::newRow("day 32") << "241232001" << false;
    QTest::newRow("number 000") << "241231000" << false;
    QTest::newRow("eight digits") << "24123100" << false;
    QTest::newRow("ten digits") << "2412310011" << false;
    QTest::newRow("not a digit") << "2412310a1" << false;
}

void TstUpgrade::bootloaderSerials()
{
    QFETCH(QString, serial);
    QFETCH(bool, valid);
    QCOMPARE(isValidBootloaderSerial(serial), valid);
}

QTEST_GUILESS_MAIN(TstUpgrade)
#include "tst_upgrade.moc"
