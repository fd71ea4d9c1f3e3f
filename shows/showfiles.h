#ifndef SHOWFILES_H
#define SHOWFILES_H

#include <QByteArray>
#include <QString>

class QIODevice;

// Programs files (.pgm) and scenes files (.scn): a QDataStream of the header
// text, the version text and the whole table as one byte array, unscrambled.
// A programs file is 7750 bytes, a scenes file 450.
namespace Shows {

extern const char ProgramsFileHeader[];   // "Vn274 Programs File"
extern const char ScenesFileHeader[];     // "Vn274 Scenes File"
extern const char ShowFileVersion[];      // "Version 01"

enum class FileResult {
    Ok,
    WrongHeader,    // also a file that cannot be opened or is empty
    WrongVersion,
    WrongLength,    // the table in the file is shorter than the table
    CannotWrite,
};

// Replace the whole table from a file; on any failure the table is unchanged.
// A longer table in the file fills the table from its first bytes. No length
// field of the file is trusted: memory stays bounded by the table's size.
FileResult loadProgramsFile(const QString &fileName, QByteArray &programs);
FileResult loadScenesFile(const QString &fileName, QByteArray &scenes);
// The same from a device open for reading, from its current position.
FileResult loadProgramsFile(QIODevice &device, QByteArray &programs);
FileResult loadScenesFile(QIODevice &device, QByteArray &scenes);

// Write the table as it stands, as io/outputfile.h writes: a failed save
// leaves an old file intact, and *reason (if given) holds the system's reason.
FileResult saveProgramsFile(const QString &fileName, const QByteArray &programs, QString *reason = nullptr);
FileResult saveScenesFile(const QString &fileName, const QByteArray &scenes, QString *reason = nullptr);

} // namespace Shows

#endif // SHOWFILES_H
