#include "tool/showfileio.h"

#include "io/filenames.h"
#include "shows/showfiles.h"
#include "shows/showtables.h"
#include "tool/outputs.h"

namespace tool {

namespace {

// The binary loaders take a file that cannot be opened for one with the wrong
// header: it is opened here first, to say why.
int checkReadable(const QString &fileName, Console &console)
{
    InputFile file(fileName);
    if (!file.open())
        return console.fail(ExitBadInput, QStringLiteral("cannot open %1: %2").arg(fileName, file.errorString()));
    return ExitSuccess;
}

// `kinds`: what the file should have been, "programs" or "programs or scenes".
int binaryProblem(Shows::FileResult result, const QString &fileName, const QString &kinds, Console &console)
{
    switch (result) {
    case Shows::FileResult::Ok:
        return ExitSuccess;
    case Shows::FileResult::WrongHeader:
        return console.fail(ExitBadInput, QStringLiteral("%1 is not a %2 file (wrong file header)").arg(fileName, kinds));
    case Shows::FileResult::WrongVersion:
        return console.fail(ExitBadInput, QStringLiteral("%1: wrong version").arg(fileName));
    case Shows::FileResult::WrongLength:
    case Shows::FileResult::CannotWrite:
        break;
    }
    return console.fail(ExitBadInput, QStringLiteral("%1: wrong file length").arg(fileName));
}

Shows::FileResult loadBinary(Shows::ShowKind kind, const QString &fileName, QByteArray *table)
{
    if (kind == Shows::ShowKind::Programs) {
        *table = QByteArray(Shows::ProgramTableSize, '\0');
        return Shows::loadProgramsFile(fileName, *table);
    }
    *table = QByteArray(Shows::SceneTableSize, '\0');
    return Shows::loadScenesFile(fileName, *table);
}

} // namespace

QString showKindName(Shows::ShowKind kind)
{
    return kind == Shows::ShowKind::Programs ? QStringLiteral("programs") : QStringLiteral("scenes");
}

int readShowFile(Shows::ShowKind kind, const QString &fileName, Console &console, QByteArray *table)
{
    if (const int refused = checkReadable(fileName, console))
        return refused;
    if (!Shows::isJsonShowFile(fileName))
        return binaryProblem(loadBinary(kind, fileName, table), fileName, showKindName(kind), console);
    const Shows::JsonShow show = Shows::readShowJson(fileName, kind);
    if (!show.ok)
        return console.fail(ExitBadInput, QStringLiteral("%1: %2").arg(fileName, show.problem));
    *table = show.table;
    return ExitSuccess;
}

int readBinaryShowFile(const QString &fileName, Console &console, Shows::ShowKind *kind, QByteArray *table)
{
    if (const int refused = checkReadable(fileName, console))
        return refused;
    *kind = Shows::ShowKind::Programs;
    Shows::FileResult result = loadBinary(*kind, fileName, table);
    if (result == Shows::FileResult::WrongHeader) {
        *kind = Shows::ShowKind::Scenes;
        result = loadBinary(*kind, fileName, table);
    }
    return binaryProblem(result, fileName, QStringLiteral("programs or scenes"), console);
}

int writeBinaryShowFile(Shows::ShowKind kind, const QString &fileName, const QByteArray &table, Console &console)
{
    QString reason;
    const Shows::FileResult result = kind == Shows::ShowKind::Programs
                                             ? Shows::saveProgramsFile(fileName, table, &reason)
                                             : Shows::saveScenesFile(fileName, table, &reason);
    if (result != Shows::FileResult::Ok)
        return console.fail(ExitBadInput, QStringLiteral("cannot write %1: %2").arg(fileName, reason));
    return ExitSuccess;
}

int writeJsonShowFile(Shows::ShowKind kind, const QString &fileName, const QByteArray &table, Console &console)
{
    return writeOutput(console, fileName, Shows::showToJson(kind, table));
}

} // namespace tool
