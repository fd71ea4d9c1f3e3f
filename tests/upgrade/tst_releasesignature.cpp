// Release signatures as minisign makes them: every signature here is made by
// the real minisign program, with the project's test key or a key pair made
// for the test, and then spoilt as a row says.
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
    UnknownAlgorithm, NotASignature, FiveLines, Oversized, LegacyTooLarge, NoKey, WindowsLineEnds
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
    std::optional<ReleaseKey> testKey;
    QString otherSecret, otherPublic;

private slots:
    void initTestCase();
    void keyIdAsMinisignShowsIt();
    void verdicts_data();
    void verdicts();
};

void TstReleaseSignature::initTestCase()
{
    QVERIFY(dir.isValid());
    const QList<QByteArray> lines = fileBytes(releasesigning::testPublicKeyFile()).split('\n');
    testKey = ReleaseKey::fromBase64(lines.value(1));
    QVERIFY(testKey);
    QVERIFY(releasesigning::generateKeyPair(dir.path(), "other", &otherSecret, &otherPublic));
}

// The id minisign writes into the public key file, for the test key and for a
// fresh one; the test programs pin the test key.
void TstReleaseSignature::keyIdAsMinisignShowsIt()
{
    QCOMPARE(keyIdText(testKey->keyId), releasesigning::keyIdFromMinisign(releasesigning::testPublicKeyFile()));
    QCOMPARE(keyIdText(testKey->keyId), QString("53BE7B6EA04F19A8"));
    QCOMPARE(keyIdText(ReleaseKey::fromBase64(fileBytes(otherPublic).split('\n').value(1))->keyId),
             releasesigning::keyIdFromMinisign(otherPublic));

    QVERIFY(pinnedReleaseKey());
    QCOMPARE(pinnedReleaseKey()->publicKey, testKey->publicKey);
    QCOMPARE(releaseKeyDescription(), QString("release key: 53BE7B6EA04F19A8"));
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
    QTest::newRow("five lines") << Change::FiveLines << V::Malformed << "more than four lines";
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
    QVERIFY(releasesigning::sign(release, Comment,
                                 change == Change::OtherKey ? otherSecret : releasesigning::testSecretKeyFile(),
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
    const SignatureCheck check =
            checkReleaseSignature(file, signature, change == Change::NoKey ? std::nullopt : testKey);
    QCOMPARE(check.verdict, verdict);
    QVERIFY2(check.message.contains(says), qPrintable(check.message));
    QCOMPARE(check.accepted(), verdict == SignatureVerdict::Verified || verdict == SignatureVerdict::NotChecked);
    // Only a verified comment is passed on as trusted; the signer is named
    // once the signature file could be read.
    QCOMPARE(check.trustedComment, verdict == SignatureVerdict::Verified ? Comment : QString());
    if (verdict == SignatureVerdict::Verified || verdict == SignatureVerdict::FileChanged)
        QCOMPARE(check.keyId, QString("53BE7B6EA04F19A8"));
    if (change == Change::OtherKey)
        QCOMPARE(check.keyId, releasesigning::keyIdFromMinisign(otherPublic));
}

QTEST_GUILESS_MAIN(TstReleaseSignature)
#include "tst_releasesignature.moc"
