#ifndef TESTFILES_H
#define TESTFILES_H

#include <QByteArray>
#include <QString>

// Small helpers the test areas share.

// The whole file, or nothing when it cannot be read.
QByteArray fileBytes(const QString &fileName);
// Writes the file whole, or stops the test program.
void writeBytes(const QString &fileName, const QByteArray &bytes);
// The bytes as the driver keeps them: one scrambling call over the whole area.
QByteArray scrambled(QByteArray bytes);

#endif // TESTFILES_H
