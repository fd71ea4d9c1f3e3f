#include "shows/showfiles.h"

#include "shows/showtables.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

namespace Shows {

const char ProgramsFileHeader[] = "Vn274 Programs File";
const char ScenesFileHeader[] = "Vn274 Scenes File";
const char ShowFileVersion[] = "Version 01";

namespace {

FileResult loadTableFile(const QString &fileName, const char *header, int tableSize, QByteArray &table)
{
    // A file that cannot be opened reads as empty, and so has the wrong header.
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    QDataStream in(&file);

    QString text;
    in >> text;
    if (text != QLatin1String(header))
        return FileResult::WrongHeader;
    in >> text;
    if (text != QLatin1String(ShowFileVersion))
        return FileResult::WrongVersion;

    QByteArray stored;
    in >> stored;
    if (stored.size() < tableSize)
        return FileResult::WrongLength;

    table = stored.left(tableSize);
    return FileResult::Ok;
}

FileResult saveTableFile(const QString &fileName, const char *header, const QByteArray &table)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return FileResult::CannotWrite;
    QDataStream out(&file);
    out << QString::fromLatin1(header) << QString::fromLatin1(ShowFileVersion) << table;
    if (out.status() != QDataStream::Ok || !file.commit())
        return FileResult::CannotWrite;
    return FileResult::Ok;
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

FileResult saveProgramsFile(const QString &fileName, const QByteArray &programs)
{
    return saveTableFile(fileName, ProgramsFileHeader, programs);
}

FileResult saveScenesFile(const QString &fileName, const QByteArray &scenes)
{
    return saveTableFile(fileName, ScenesFileHeader, scenes);
}

} // namespace Shows
