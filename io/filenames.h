#ifndef FILENAMES_H
#define FILENAMES_H

#include <QByteArray>
#include <QFile>
#include <QString>

// File names as the system keeps them: bytes. Qt 6 spells every name in UTF-8,
// whatever the locale, so a name that is not valid UTF-8 (a Latin-2 byte from
// an old USB stick) has no QString that QFile turns back into its bytes:
// QCoreApplication::arguments() and QFile::decodeName make U+FFFD of such a
// byte, and the file is never found.
//
// Here each byte that is not part of valid UTF-8 stands for itself as one of
// the lone surrogates U+DC80-U+DCFF, which no decoded text holds, and becomes
// that byte again where the name is used: every name round-trips. A name that
// is valid UTF-8 is the very QString Qt makes of it. The functions below, and
// InputFile and io/outputfile.h, reach a file by its name's bytes.
namespace filenames {

QString fromBytes(const QByteArray &bytes);
QByteArray toBytes(const QString &name);

// The system's words for an errno value ("Permission denied").
QString systemReason(int error);

// Whether anything stands at the name (a link is followed).
bool exists(const QString &name);
// Removes a file; false, with the system's reason, when it cannot.
bool remove(const QString &name, QString *reason = nullptr);
// Makes the folder with the parents it lacks; false, with the system's reason
// and the part that failed, when it cannot.
bool makePath(const QString &folder, QString *reason = nullptr);

} // namespace filenames

// A file the program reads, named as filenames has it: open() takes only
// reading, and errorString() then holds the system's reason when it failed.
class InputFile : public QFile
{
public:
    explicit InputFile(const QString &name) : name(name) {}

    bool open(OpenMode mode = ReadOnly) override;

private:
    const QString name;
};

#endif // FILENAMES_H
