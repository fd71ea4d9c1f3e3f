#include "usb/transferscrambling.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QtDebug>
#include <QtEndian>

#include <cstdint>

namespace {

constexpr int KeyWords = 32;

// On x86-64 Linux the two loops are also built for AVX2, and the loader picks
// the build that the processor runs best.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define SCRAMBLING_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define SCRAMBLING_CLONES
#endif

struct Key
{
    uint32_t word[KeyWords];
};

// The key as host-order words, in a local copy so that the compiler knows the
// area being scrambled cannot overlap it and keeps the key in registers.
inline Key loadKey()
{
    Key key;
    for (int i = 0; i < KeyWords; ++i)
        key.word[i] = qFromLittleEndian<uint32_t>(transferKey + 4 * i);
    return key;
}

inline void encodeWord(unsigned char *p, uint32_t k)
{
    qToLittleEndian<uint32_t>((qFromLittleEndian<uint32_t>(p) ^ k) + k, p);
}

inline void decodeWord(unsigned char *p, uint32_t k)
{
    qToLittleEndian<uint32_t>((qFromLittleEndian<uint32_t>(p) - k) ^ k, p);
}

// Whole key cycles of 32 words, then the rest: straight loops without
// branches, which the compiler turns into vector code (this file is always
// built with -O3, see CMakeLists.txt).
SCRAMBLING_CLONES void encodeWords(unsigned char *p, int words)
{
    const Key key = loadKey();
    for (; words >= KeyWords; words -= KeyWords, p += 4 * KeyWords)
        for (int i = 0; i < KeyWords; ++i)
            encodeWord(p + 4 * i, key.word[i]);
    for (int i = 0; i < words; ++i)
        encodeWord(p + 4 * i, key.word[i]);
}

SCRAMBLING_CLONES void decodeWords(unsigned char *p, int words)
{
    const Key key = loadKey();
    for (; words >= KeyWords; words -= KeyWords, p += 4 * KeyWords)
        for (int i = 0; i < KeyWords; ++i)
            decodeWord(p + 4 * i, key.word[i]);
    for (int i = 0; i < words; ++i)
        decodeWord(p + 4 * i, key.word[i]);
}

QByteArray pointerText(const void *p)
{
    return QByteArray::number(quintptr(p), 16).rightJustified(int(2 * sizeof(void *)), '0');
}

} // namespace

int encodeTransfer(void *area, int length)
{
    unsigned char *p = static_cast<unsigned char *>(area);
    const int words = length >> 2;
    qDebug("Encoding started @ 0x%s", pointerText(p).constData());
    encodeWords(p, words);
    qDebug("Encoding end @ 0x%s", pointerText(p + 4 * words).constData());
    return 0;
}

int decodeTransfer(void *area, int length)
{
    decodeWords(static_cast<unsigned char *>(area), length >> 2);
    return 0;
}

QString transferKeyFingerprint()
{
    const QByteArray key(reinterpret_cast<const char *>(transferKey), sizeof transferKey);
    return QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
}
