#ifndef FUZZINPUT_H
#define FUZZINPUT_H

#include <QBuffer>
#include <QByteArray>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>

// What every harness does with libFuzzer's input: hands it to the reader as
// the open file it would read, a device positioned at its start. The harnesses
// share LLVMFuzzerInitialize (fuzzinput.cpp).
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size)
        : bytes(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)))
    {
        buffer.setBuffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
    }

    QIODevice &device() { return buffer; }

private:
    QByteArray bytes;
    QBuffer buffer;
};

#endif // FUZZINPUT_H
