// The file buttons of the Programs and Scenes tabs: the tables to and from
// .pgm and .scn files. The editors' edits are in the tables as they are made.
#include "app/vn274_bootloader.h"

#include "app/userprompts.h"
#include "shows/editedtable.h"
#include "shows/showfiles.h"

#include <QDebug>

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

} // namespace

void Vn274_bootloader::slotpushButtonSaveProgramsToFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSaveProgramsToFile(bool t)");
    const QString fileName = UserPrompts::current().getSaveFileName(
        this, tr("Save Programs File"), QStringLiteral("."), tr("Programs Files (*.pgm)"));
    if (fileName.isEmpty())
        return;
    const QByteArray saved = programs->bytes();
    if (reportFileResult(this, Shows::saveProgramsFile(fileName, saved)))
        programsInStep(saved);
}

void Vn274_bootloader::slotpushButtonLoadProgramsFromFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonLoadProgramsFromFile(bool t)");
    const QString fileName = UserPrompts::current().getOpenFileName(
        this, tr("Open Programs File"), QStringLiteral("."), tr("Programs Files (*.pgm)"));
    if (fileName.isEmpty())
        return;
    QByteArray loaded = programs->bytes();
    if (reportFileResult(this, Shows::loadProgramsFile(fileName, loaded))) {
        programs->replace(QT_TRANSLATE_NOOP("EditedTable", "Load programs from file"), loaded,
                          shownProgram * Shows::StepsPerProgram + shownStep);
        programsInStep(loaded);
    }
}

void Vn274_bootloader::slotpushButtonSaveScenesToFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSaveScenesToFile(bool t)");
    const QString fileName = UserPrompts::current().getSaveFileName(
        this, tr("Save Scenes File"), QStringLiteral("."), tr("Scens Files (*.scn)"));
    if (fileName.isEmpty())
        return;
    const QByteArray saved = scenes->bytes();
    if (reportFileResult(this, Shows::saveScenesFile(fileName, saved)))
        scenesInStep(saved);
}

void Vn274_bootloader::slotpushButtonLoadScenesFromFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonLoadScenesFromFile(bool t)");
    const QString fileName = UserPrompts::current().getOpenFileName(
        this, tr("Open Scenes File"), QStringLiteral("."), tr("Scens Files (*.scn)"));
    if (fileName.isEmpty())
        return;
    QByteArray loaded = scenes->bytes();
    if (reportFileResult(this, Shows::loadScenesFile(fileName, loaded))) {
        scenes->replace(QT_TRANSLATE_NOOP("EditedTable", "Load scenes from file"), loaded, shownScene);
        scenesInStep(loaded);
    }
}
