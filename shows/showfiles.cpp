#include "shows/showfiles.h"

#include "io/boundedstream.h"
#include "io/filenames.h"
#include "io/outputfile.h"
#include "shows/showtables.h"

#include <QDataStream>

namespace Shows {

const char ProgramsFileHeader[] = "Vn274 Programs File";
const char ScenesFileHeader[] = "Vn274 Scenes File";
const char ShowFileVersion[] = "Version 01";

namespace {

// Longer than any header or version text of these files.
constexpr quint32 MaxTextBytes = 256;

// Each length is checked before its value is read: no field of the file makes
// the reader hold more than the table. A longer table array fills the table
// from its first bytes; the rest is passed over, but must be there.
FileResult loadTableFile(QIODevice &device, const char *header, int tableSize, QByteArray &table)
{
    QDataStream in(&device);

    QString text;
    if (!boundedstream::readText(in, MaxTextBytes, &text) || text != QLatin1String(header))
        return FileResult::WrongHeader;
    if (!boundedstream::readText(in, MaxTextBytes, &text) || text != QLatin1String(ShowFileVersion))
        return FileResult::WrongVersion;

    quint32 length = 0;
    if (!boundedstream::readLength(in, &length) || length == boundedstream::NullLength || length < quint32(tableSize))
        return FileResult::WrongLength;
    QByteArray stored;
    if (!boundedstream::readBytes(in, quint32(tableSize), &stored)
            || !boundedstream::skipBytes(in, length - quint32(tableSize)))
        return FileResult::WrongLength;
    table = stored;
    return FileResult::Ok;
}

FileResult loadTableFile(const QString &fileName, const char *header, int tableSize, QByteArray &table)
{
    // A file that cannot be opened reads as empty, and so has the wrong header.
    InputFile file(fileName);
    file.open();
    return loadTableFile(file, header, tableSize, table);
}

FileResult saveTableFile(const QString &fileName, const char *header, const QByteArray &table, QString *reason)
{
    QByteArray content;
    QDataStream out(&content, QIODevice::WriteOnly);
    out << QString::fromLatin1(header) << QString::fromLatin1(ShowFileVersion) << table;
    return outputfile::write(fileName, content, reason) ? FileResult::Ok : FileResult::CannotWrite;
}

} // namespace

FileResult loadProgramsFile(const QString &fileName, QByteArray &programs)
{
    return loadTableFile(fileName, ProgramsFileHeader, ProgramTableSize, programs);
}

FileResult loadScenesFile(const QString &fileName, QByteArray &scenes)
{
    return loadTableFile(fileName, ScenesFileHeader, SceneTableSize, scenes);
}

FileResult loadProgramsFile(QIODevice &device, QByteArray &programs)
{
    return loadTableFile(device, ProgramsFileHeader, ProgramTableSize, programs);
}

FileResult loadScenesFile(QIODevice &device, QByteArray &scenes)
{
    return loadTableFile(device, ScenesFileHeader, SceneTableSize, scenes);
}

FileResult saveProgramsFile(const QString &fileName, const QByteArray &programs, QString *reason)
{
    return saveTableFile(fileName, ProgramsFileHeader, programs, reason);
}

FileResult saveScenesFile(const QString &fileName, const QByteArray &scenes, QString *reason)
{
    return saveTableFile(fileName, ScenesFileHeader, scenes, reason);
}

} // namespace Shows
