// The file buttons of the Programs and Scenes tabs: the tables to and from
// files, .pgm and .scn or their JSON form. The editors' edits are in the
// tables as they are made.
#include "app/vn274_bootloader.h"

#include "app/userprompts.h"
#include "shows/editedtable.h"
#include "shows/showfiles.h"
#include "shows/showjson.h"

#include <QDebug>

#include <optional>

namespace {

// Reports a failed load or save; returns true when there was nothing to report.
bool reportFileResult(QWidget *parent, Shows::FileResult result)
{
    QString text;
    switch (result) {
    case Shows::FileResult::Ok:
        return true;
    case Shows::FileResult::WrongHeader:
        text = Vn274_bootloader::tr("Wrong file header");
        break;
    case Shows::FileResult::WrongVersion:
        text = Vn274_bootloader::tr("Wrong version");
        break;
    case Shows::FileResult::WrongLength:
        text = Vn274_bootloader::tr("Wrong file length");
        break;
    case Shows::FileResult::CannotWrite:
        text = Vn274_bootloader::tr("Can't write file");
        break;
    }
    UserPrompts::current().critical(parent, Vn274_bootloader::tr("File error"), text);
    return false;
}

// One of the four file dialogs: the binary form is offered first, as it
// always was, and the JSON form beside it.
struct ShowFileDialog
{
    Shows::ShowKind kind;
    QString caption;
    QString filter;        // "Programs Files (*.pgm)"
    QString jsonFilter;    // "Programs as JSON (*.json)"
    QString suffix;        // ".pgm"

    QString filters() const { return filter + QStringLiteral(";;") + jsonFilter; }
};

// The name's extension decides the form; a name without the binary one takes
// the form of the filter chosen, so that "show" saved under the JSON filter is
// JSON (and loads back as such: a JSON file is known by its first character).
bool savesAsJson(const ShowFileDialog &dialog, const QString &fileName, const QString &selectedFilter)
{
    if (Shows::isJsonFileName(fileName))
        return true;
    return selectedFilter == dialog.jsonFilter && !fileName.endsWith(dialog.suffix, Qt::CaseInsensitive);
}

// Asks for a file and writes the table to it; true when it was written.
bool saveShow(QWidget *parent, const ShowFileDialog &dialog, const QByteArray &table)
{
    QString selectedFilter;
    const QString fileName = UserPrompts::current().getSaveFileName(parent, dialog.caption, QStringLiteral("."),
                                                                    dialog.filters(), &selectedFilter);
    if (fileName.isEmpty())
        return false;
    if (!savesAsJson(dialog, fileName, selectedFilter))
        return reportFileResult(parent, dialog.kind == Shows::ShowKind::Programs ? Shows::saveProgramsFile(fileName, table)
                                                                                 : Shows::saveScenesFile(fileName, table));
    QString reason;
    if (Shows::saveShowJson(fileName, dialog.kind, table, &reason))
        return true;
    qDebug() << "cannot write" << fileName << reason;
    return reportFileResult(parent, Shows::FileResult::CannotWrite);
}

// Asks for a file and reads a whole table from it; nothing when the dialog
// was cancelled or the file refused (and the user told why).
std::optional<QByteArray> loadShow(QWidget *parent, const ShowFileDialog &dialog)
{
    const QString fileName = UserPrompts::current().getOpenFileName(parent, dialog.caption, QStringLiteral("."),
                                                                    dialog.filters());
    if (fileName.isEmpty())
        return std::nullopt;
    if (Shows::isJsonShowFile(fileName)) {
        const Shows::JsonShow show = Shows::readShowJson(fileName, dialog.kind);
        if (show.ok)
            return show.table;
        UserPrompts::current().critical(parent, Vn274_bootloader::tr("File error"), show.problem);
        return std::nullopt;
    }
    const bool programs = dialog.kind == Shows::ShowKind::Programs;
    QByteArray table(programs ? Shows::ProgramTableSize : Shows::SceneTableSize, '\0');
    if (!reportFileResult(parent, programs ? Shows::loadProgramsFile(fileName, table) : Shows::loadScenesFile(fileName, table)))
        return std::nullopt;
    return table;
}

} // namespace

void Vn274_bootloader::slotpushButtonSaveProgramsToFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSaveProgramsToFile(bool t)");
    const QByteArray saved = programs->bytes();
    if (saveShow(this, { Shows::ShowKind::Programs, tr("Save Programs File"), tr("Programs Files (*.pgm)"),
                         tr("Programs as JSON (*.json)"), QStringLiteral(".pgm") }, saved))
        programsInStep(saved);
}

void Vn274_bootloader::slotpushButtonLoadProgramsFromFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonLoadProgramsFromFile(bool t)");
    const std::optional<QByteArray> loaded = loadShow(this, { Shows::ShowKind::Programs, tr("Open Programs File"),
                                                              tr("Programs Files (*.pgm)"), tr("Programs as JSON (*.json)"),
                                                              QStringLiteral(".pgm") });
    if (!loaded)
        return;
    programs->replace(QT_TRANSLATE_NOOP("EditedTable", "Load programs from file"), *loaded,
                      shownProgram * Shows::StepsPerProgram + shownStep);
    programsInStep(*loaded);
}

void Vn274_bootloader::slotpushButtonSaveScenesToFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSaveScenesToFile(bool t)");
    const QByteArray saved = scenes->bytes();
    if (saveShow(this, { Shows::ShowKind::Scenes, tr("Save Scenes File"), tr("Scens Files (*.scn)"),
                         tr("Scenes as JSON (*.json)"), QStringLiteral(".scn") }, saved))
        scenesInStep(saved);
}

void Vn274_bootloader::slotpushButtonLoadScenesFromFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonLoadScenesFromFile(bool t)");
    const std::optional<QByteArray> loaded = loadShow(this, { Shows::ShowKind::Scenes, tr("Open Scenes File"),
                                                              tr("Scens Files (*.scn)"), tr("Scenes as JSON (*.json)"),
                                                              QStringLiteral(".scn") });
    if (!loaded)
        return;
    scenes->replace(QT_TRANSLATE_NOOP("EditedTable", "Load scenes from file"), *loaded, shownScene);
    scenesInStep(*loaded);
}
