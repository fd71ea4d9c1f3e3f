// Release signatures as minisign makes them: every signature here is made by
// the real minisign program, with the project's test key or a key pair made
// for the test, and then spoilt as a row says; and read as minisign -V reads
// them, its verdict beside ours.
#include "common/releasesigning.h"
#include "common/testfiles.h"
#include "upgrade/releasesignature.h"
#include "upgrade/signaturefile.h"
#include "upgrade/upgradefile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Comment = "Vn274 firmware 2.1";

// What a row does to the signed file or to its signature.
enum class Change {
    None, Legacy, NoSignature, OtherKey, FirstByte, MiddleByte, LastByte, ByteAppended, LegacyByte,
    SignatureByte, SignatureKeyId, TrustedComment, CommentSignature, CutInThirdLine, CutInLastLine, Empty,
    UnknownAlgorithm, NotASignature, FiveLines, Oversized, LegacyTooLarge, NoKey, WindowsLineEnds, SecondKey,
    NeitherKey
};

QByteArray flipped(QByteArray bytes, int at)
{
    bytes[at] = char(bytes.at(at) ^ 0x01);
    return bytes;
}

// A base64 line with one of its characters replaced, so that the bytes it
// holds change but it stays base64.
QByteArray otherCharacter(QByteArray line, int at)
{
    line[at] = line.at(at) == 'A' ? 'B' : 'A';
    return line;
}

QByteArray withLine(const QByteArray &signature, int index, const QByteArray &line)
{
    QList<QByteArray> lines = signature.split('\n');
    lines[index] = line;
    return lines.join('\n');
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(SignatureVerdict)

class TstReleaseSignature : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::optional<ReleaseKey> testKey, otherKey, thirdKey;
    QString otherSecret, otherPublic;
    QString release;          // signed by the test key, for the rows read as minisign reads them
    QByteArray signature;     // its .minisig as minisign wrote it

private slots:
    void initTestCase();
    void keyIdAsMinisignShowsIt();
    void verdicts_data();
    void verdicts();
    void sameVerdictAsMinisign_data();
    void sameVerdictAsMinisign();
};

void TstReleaseSignature::initTestCase()
{
    QVERIFY(dir.isValid());
    const QList<QByteArray> lines = fileBytes(releasesigning::testPublicKeyFile()).split('\n');
    testKey = ReleaseKey::fromBase64(lines.value(1));
    QVERIFY(testKey);
    QVERIFY(releasesigning::generateKeyPair(dir.path(), "other", &otherSecret, &otherPublic));
    otherKey = ReleaseKey::fromBase64(fileBytes(otherPublic).split('\n').value(1));
    QString thirdSecret, thirdPublic;
    QVERIFY(releasesigning::generateKeyPair(dir.path(), "third", &thirdSecret, &thirdPublic));
    thirdKey = ReleaseKey::fromBase64(fileBytes(thirdPublic).split('\n').value(1));
    QVERIFY(otherKey && thirdKey);

    release = dir.filePath("release.upg");
    writeBytes(release, QByteArray(upgradefile::FileSize, '\x5A'));
    QVERIFY(releasesigning::sign(release, Comment));
    signature = fileBytes(signatureFileName(release));
}

// The id minisign writes into the public key file, for the test key and for a
// fresh one; the test programs pin the test key.
void TstReleaseSignature::keyIdAsMinisignShowsIt()
{
    QCOMPARE(keyIdText(testKey->keyId), releasesigning::keyIdFromMinisign(releasesigning::testPublicKeyFile()));
    QCOMPARE(keyIdText(testKey->keyId), QString("53BE7B6EA04F19A8"));
    const QString otherId = releasesigning::keyIdFromMinisign(otherPublic);
    QCOMPARE(keyIdText(otherKey->keyId), otherId);

    QCOMPARE(pinnedReleaseKeys().size(), 1);
    QCOMPARE(pinnedReleaseKeys().first().publicKey, testKey->publicKey);
    QCOMPARE(releaseKeyDescription(), QString("release key: 53BE7B6EA04F19A8"));
    QCOMPARE(releaseKeyDescription({ *testKey, *otherKey }), "release keys: 53BE7B6EA04F19A8, " + otherId);
    QCOMPARE(releaseKeyDescription({}), QString("release signatures: not checked"));
    QVERIFY(!ReleaseKey::fromBase64("RWQ="));
}

void TstReleaseSignature::verdicts_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<SignatureVerdict>("verdict");
    QTest::addColumn<QString>("says");   // in its message

    using V = SignatureVerdict;
    QTest::newRow("ED, minisign's default") << Change::None << V::Verified << "Signed release: " + Comment;
    QTest::newRow("legacy Ed") << Change::Legacy << V::Verified << "Signed release: " + Comment;
    QTest::newRow("Windows line ends") << Change::WindowsLineEnds << V::Verified << Comment;
    QTest::newRow("build without a key") << Change::NoKey << V::NotChecked << "not checked";
    QTest::newRow("no .minisig") << Change::NoSignature << V::NoSignature << "no signature file";
    QTest::newRow("another key") << Change::OtherKey << V::OtherKey << "signed by another key";
    QTest::newRow("the second of two pinned keys") << Change::SecondKey << V::Verified << Comment;
    QTest::newRow("none of two pinned keys") << Change::NeitherKey << V::OtherKey << "not by one of the release keys";
    QTest::newRow("key id changed in the signature") << Change::SignatureKeyId << V::OtherKey << "another key";
    const QString changed = "does not match the file";
    QTest::newRow("first byte changed") << Change::FirstByte << V::FileChanged << changed;
    QTest::newRow("middle byte changed") << Change::MiddleByte << V::FileChanged << changed;
    QTest::newRow("last byte changed") << Change::LastByte << V::FileChanged << changed;
    QTest::newRow("byte appended") << Change::ByteAppended << V::FileChanged << changed;
    QTest::newRow("legacy, byte changed") << Change::LegacyByte << V::FileChanged << changed;
    QTest::newRow("signature changed") << Change::SignatureByte << V::FileChanged << changed;
    QTest::newRow("trusted comment changed") << Change::TrustedComment << V::CommentChanged << "trusted comment";
    QTest::newRow("comment signature changed") << Change::CommentSignature << V::CommentChanged << "trusted comment";
    QTest::newRow("cut in its third line") << Change::CutInThirdLine << V::Truncated << "truncated";
    QTest::newRow("cut in its last line") << Change::CutInLastLine << V::Truncated << "truncated";
    QTest::newRow("empty") << Change::Empty << V::Truncated << "truncated";
    QTest::newRow("unknown algorithm") << Change::UnknownAlgorithm << V::Malformed << "neither ED nor Ed";
    QTest::newRow("not a signature") << Change::NotASignature << V::Malformed << "malformed";
    QTest::newRow("a fifth line, which minisign does not read") << Change::FiveLines << V::Verified << Comment;
    QTest::newRow("oversized") << Change::Oversized << V::TooLarge << "too large";
    QTest::newRow("legacy over more than an upgrade file") << Change::LegacyTooLarge << V::FileTooLarge << "legacy";
}

void TstReleaseSignature::verdicts()
{
    QFETCH(Change, change);
    QFETCH(SignatureVerdict, verdict);
    QFETCH(QString, says);

    const QString release = dir.filePath(QString("release-%1.upg").arg(QTest::currentDataTag()));
    const QString signature = signatureFileName(release);
    QByteArray content(upgradefile::FileSize, '\0');
    for (char &b : content)
        b = char(QRandomGenerator::global()->bounded(256));
    if (change == Change::LegacyTooLarge)
        content += "x";
    writeBytes(release, content);
    const bool legacy = change == Change::Legacy || change == Change::LegacyByte || change == Change::LegacyTooLarge;
    const bool byOther = change == Change::OtherKey || change == Change::SecondKey || change == Change::NeitherKey;
    QVERIFY(releasesigning::sign(release, Comment, byOther ? otherSecret : releasesigning::testSecretKeyFile(),
                                 legacy));

    const QByteArray sig = fileBytes(signature);
    const QList<QByteArray> lines = sig.split('\n');
    switch (change) {
    case Change::NoSignature: QFile::remove(signature); break;
    case Change::FirstByte: writeBytes(release, flipped(content, 0)); break;
    case Change::MiddleByte:
    case Change::LegacyByte: writeBytes(release, flipped(content, upgradefile::FileSize / 2)); break;
    case Change::LastByte: writeBytes(release, flipped(content, upgradefile::FileSize - 1)); break;
    case Change::ByteAppended: writeBytes(release, content + '\0'); break;
    case Change::SignatureByte: writeBytes(signature, withLine(sig, 1, otherCharacter(lines.at(1), 40))); break;
    case Change::SignatureKeyId: writeBytes(signature, withLine(sig, 1, otherCharacter(lines.at(1), 5))); break;
    case Change::TrustedComment: writeBytes(signature, withLine(sig, 2, lines.at(2) + " ")); break;
    case Change::CommentSignature: writeBytes(signature, withLine(sig, 3, otherCharacter(lines.at(3), 10))); break;
    case Change::CutInThirdLine: writeBytes(signature, sig.left(sig.indexOf("\ntrusted comment") + 6)); break;
    case Change::CutInLastLine: writeBytes(signature, sig.left(sig.size() - 20)); break;
    case Change::Empty: writeBytes(signature, QByteArray()); break;
    case Change::UnknownAlgorithm:
        writeBytes(signature, withLine(sig, 1, QByteArray("Xx" + QByteArray::fromBase64(lines.at(1)).mid(2)).toBase64()));
        break;
    case Change::NotASignature: writeBytes(signature, "untrusted comment: x\nnot base64!\ntrusted comment: y\nz\n"); break;
    case Change::FiveLines: writeBytes(signature, sig + "one more\n"); break;
    case Change::Oversized:
        writeBytes(signature, withLine(sig, 0, "untrusted comment: " + QByteArray(signaturefile::MaxSize, 'x')));
        break;
    case Change::WindowsLineEnds: writeBytes(signature, QByteArray(sig).replace("\n", "\r\n")); break;
    default: break;
    }

    QFile file(release);
    QVERIFY(file.open(QIODevice::ReadOnly));
    ReleaseKeys keys{ *testKey };
    if (change == Change::NoKey)
        keys.clear();
    if (change == Change::SecondKey)
        keys << *otherKey;
    if (change == Change::NeitherKey)
        keys << *thirdKey;
    const SignatureCheck check = checkReleaseSignature(file, signature, keys);
    QCOMPARE(check.verdict, verdict);
    QVERIFY2(check.message.contains(says), qPrintable(check.message));
    QCOMPARE(check.accepted(), verdict == SignatureVerdict::Verified || verdict == SignatureVerdict::NotChecked);
    // Only a verified comment is passed on as trusted; the signer is named
    // once the signature file could be read.
    QCOMPARE(check.trustedComment, verdict == SignatureVerdict::Verified ? Comment : QString());
    if (byOther)
        QCOMPARE(check.keyId, releasesigning::keyIdFromMinisign(otherPublic));
    else if (verdict == SignatureVerdict::Verified || verdict == SignatureVerdict::FileChanged)
        QCOMPARE(check.keyId, QString("53BE7B6EA04F19A8"));
}

// A .minisig changed as editors, mail programs and hands change it: taken
// where minisign -V takes it, refused where it refuses it.
void TstReleaseSignature::sameVerdictAsMinisign_data()
{
    QTest::addColumn<QByteArray>("minisig");
    QTest::addColumn<bool>("accepted");

    const QList<QByteArray> lines = signature.split('\n');
    const auto joined = [](const QList<QByteArray> &four) { return four.join('\n') + '\n'; };
    const auto withLine = [&](int index, const QByteArray &line) {
        QList<QByteArray> four = lines.mid(0, 4);
        four[index] = line;
        return joined(four);
    };
    QByteArray crlf = signature;
    crlf.replace("\n", "\r\n");
    // 74 bytes end in a group of two: the two low bits of its last digit are not used.
    const QByteArray digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray otherBits = lines.at(1);
    char &last = otherBits[otherBits.size() - 2];
    last = digits.at(digits.indexOf(last) ^ 1);

    QTest::newRow("as minisign writes it") << signature << true;
    QTest::newRow("a blank line at the end") << signature + "\n" << true;
    QTest::newRow("two blank lines at the end") << signature + "\n\n" << true;
    QTest::newRow("CR LF line ends") << crlf << true;
    QTest::newRow("CR LF and a blank line") << crlf + "\r\n" << true;
    QTest::newRow("no line break at the end") << signature.chopped(1) << true;
    QTest::newRow("text after the fourth line") << signature + "signed by the release team\n" << true;
    QTest::newRow("a NUL byte after the fourth line") << signature + '\0' << true;
    QTest::newRow("a CR and text after the trusted comment") << withLine(2, lines.at(2) + "\rnotes") << true;
    QTest::newRow("unused bits of the signature set") << withLine(1, otherBits) << true;
    QTest::newRow("an untrusted comment of 1022 bytes")
            << withLine(0, "untrusted comment: " + QByteArray(1022 - 19, 'x')) << true;
    QTest::newRow("an untrusted comment of 1023 bytes")
            << withLine(0, "untrusted comment: " + QByteArray(1023 - 19, 'x')) << false;
    QTest::newRow("a blank line first") << "\n" + signature << false;
    QTest::newRow("a blank line after the signature")
            << joined({ lines.at(0), lines.at(1), "", lines.at(2), lines.at(3) }) << false;
    QTest::newRow("a blank after the signature") << withLine(1, lines.at(1) + " ") << false;
    QTest::newRow("a blank after the comment signature") << withLine(3, lines.at(3) + " ") << false;
    QTest::newRow("CR CR LF line ends") << QByteArray(signature).replace("\n", "\r\r\n") << false;
    QTest::newRow("CR line ends") << QByteArray(signature).replace("\n", "\r") << false;
    QTest::newRow("the signature's padding taken off") << withLine(1, lines.at(1).chopped(1)) << false;
    QTest::newRow("one '=' too many") << withLine(3, lines.at(3) + "=") << false;
    QTest::newRow("a NUL byte in the trusted comment") << withLine(2, lines.at(2) + '\0') << false;
    QTest::newRow("the third line cut before its line break") << lines.mid(0, 3).join('\n') << false;
    QTest::newRow("a blank at the end of the trusted comment") << withLine(2, lines.at(2) + " ") << false;
}

void TstReleaseSignature::sameVerdictAsMinisign()
{
    QFETCH(QByteArray, minisig);
    QFETCH(bool, accepted);

    const QString variant = dir.filePath("variant.minisig");
    writeBytes(variant, minisig);
    QFile file(release);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const SignatureCheck check = checkReleaseSignature(file, variant, { *testKey });
    QCOMPARE(releasesigning::minisignVerifies(release, variant), accepted);
    QVERIFY2(check.accepted() == accepted, qPrintable(check.message));
    if (accepted)
        QCOMPARE(check.trustedComment, Comment);
}

QTEST_GUILESS_MAIN(TstReleaseSignature)
#include "tst_releasesignature.moc"
