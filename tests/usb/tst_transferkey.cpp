// The scrambling built with a key table from a file, as VN274_TRANSFER_KEY_FILE
// builds it: this program carries the scrambling code with the table generated
// from testkey.bin (bytes 0x01 to 0x80, so key word i is 0x04030201 +
// 0x04040404 * i) and nothing else of the system.
#include "usb/transferscrambling.h"

#include <QtTest>

class TstTransferKey : public QObject
{
    Q_OBJECT

private slots:
    void tableAsTheFileHoldsIt();
    void knownAnswers();
    void fingerprint();
};

void TstTransferKey::tableAsTheFileHoldsIt()
{
    QByteArray bytes;
    for (int i = 1; i <= 128; ++i)
        bytes += char(i);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(transferKey), 128), bytes);
    // Aligned as the ABI promises to code that sees only the declaration.
    QCOMPARE(quintptr(transferKey) % 16, quintptr(0));
}

// Worked out by hand from w' = (w XOR k) + k. Word 0 of 00 01 02 03:
// 0x03020100 ^ 0x04030201 = 0x07010301; + 0x04030201 = 0x0b040502.
void TstTransferKey::knownAnswers()
{
    QByteArray counting(16, '\0');
    for (int i = 0; i < 16; ++i)
        counting[i] = char(i);
    QByteArray area = counting;
    encodeTransfer(area.data(), int(area.size()));
    QCOMPARE(area, QByteArray::fromHex("0205040b060908170a0d0c130e11102f"));
    decodeTransfer(area.data(), int(area.size()));
    QCOMPARE(area, counting);

    // A zero word becomes 2k: word 31 uses the last key word 0x807f7e7d (the
    // carry out of 32 bits is dropped), word 32 the first again.
    area = QByteArray(132, '\0');
    encodeTransfer(area.data(), int(area.size()));
    QCOMPARE(area.mid(124), QByteArray::fromHex("fafcfe0002040608"));
}

void TstTransferKey::fingerprint()
{
    // sha256sum testkey.bin: bafa52e3c9b5c872...
    QCOMPARE(transferKeyFingerprint(), QString("bafa52e3c9b5c872"));
}

QTEST_GUILESS_MAIN(TstTransferKey)
#include "tst_transferkey.moc"
