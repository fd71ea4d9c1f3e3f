#include "tool/standardstream.h"

#include "io/filenames.h"
#include "io/outputfile.h"

StandardStream::StandardStream(int descriptor) : descriptor(descriptor)
{
    open(WriteOnly | Unbuffered);
}

qint64 StandardStream::readData(char *, qint64)
{
    return -1;
}

qint64 StandardStream::writeData(const char *data, qint64 size)
{
    int error = 0;
    if (outputfile::writeAll(descriptor, data, size, &error))
        return size;
    setErrorString(filenames::systemReason(error));
    return -1;
}
