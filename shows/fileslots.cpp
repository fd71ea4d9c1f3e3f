// The file buttons of the Programs and Scenes tabs: the tables to and from
// .pgm and .scn files. A save takes what the editor shows as well, committed
// into the selected record as Set does.
#include "app/vn274_bootloader.h"

#include "app/userprompts.h"
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
    commitProgramEditor(ProgramTable, selectedProgram(), selectedStep());
    if (reportFileResult(this, Shows::saveProgramsFile(fileName, ProgramTable)))
        programsInStep(ProgramTable);
}

void Vn274_bootloader::slotpushButtonLoadProgramsFromFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonLoadProgramsFromFile(bool t)");
    const QString fileName = UserPrompts::current().getOpenFileName(
        this, tr("Open Programs File"), QStringLiteral("."), tr("Programs Files (*.pgm)"));
    if (fileName.isEmpty())
        return;
    if (reportFileResult(this, Shows::loadProgramsFile(fileName, ProgramTable))) {
        slotUpdateProgramScene(0);
        programsInStep(ProgramTable);
    }
}

void Vn274_bootloader::slotpushButtonSaveScenesToFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSaveScenesToFile(bool t)");
    const QString fileName = UserPrompts::current().getSaveFileName(
        this, tr("Save Scenes File"), QStringLiteral("."), tr("Scens Files (*.scn)"));
    if (fileName.isEmpty())
        return;
    commitSceneEditor(SceneTable, selectedScene());
    if (reportFileResult(this, Shows::saveScenesFile(fileName, SceneTable)))
        scenesInStep(SceneTable);
}

void Vn274_bootloader::slotpushButtonLoadScenesFromFile(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonLoadScenesFromFile(bool t)");
    const QString fileName = UserPrompts::current().getOpenFileName(
        this, tr("Open Scenes File"), QStringLiteral("."), tr("Scens Files (*.scn)"));
    if (fileName.isEmpty())
        return;
    if (reportFileResult(this, Shows::loadScenesFile(fileName, SceneTable))) {
        slotUpdateScene(0);
        scenesInStep(SceneTable);
    }
}
