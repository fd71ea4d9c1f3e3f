#include "common/testfiles.h"

#include "usb/transferscrambling.h"

#include <QFile>

QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(fileName));
}

QByteArray scrambled(QByteArray bytes)
{
    encodeTransfer(bytes.data(), int(bytes.size()));
    return bytes;
}
