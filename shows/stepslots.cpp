// Steps arranged on the overview strips: a tile dragged onto another moves its
// record there (or copies it, with Ctrl), and the strips' context menus insert
// and delete records and copy and paste whole programs. Each is one step of
// the table's history.
#include "app/vn274_bootloader.h"

#include "app/userprompts.h"
#include "shows/editedtable.h"
#include "shows/programoverview.h"
#include "shows/sceneclipboard.h"
#include "shows/steparrangement.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

namespace {

QAction *addStripAction(ProgramOverview *strip, const char *name, const QString &text)
{
    auto *action = new QAction(text, strip);
    action->setObjectName(QLatin1String(name));
    strip->addAction(action);
    return action;
}

} // namespace

void Vn274_bootloader::buildStepMenus()
{
    connect(addStripAction(programOverview, "actionInsertStep", tr("Insert empty step before")),
            &QAction::triggered, this, &Vn274_bootloader::insertProgramStep);
    connect(addStripAction(programOverview, "actionDeleteStep", tr("Delete step")),
            &QAction::triggered, this, &Vn274_bootloader::deleteProgramStep);
    addStripAction(programOverview, "separator", QString())->setSeparator(true);
    connect(addStripAction(programOverview, "actionCopyProgram", tr("Copy program")),
            &QAction::triggered, this, &Vn274_bootloader::copyProgram);
    QAction *paste = addStripAction(programOverview, "actionPasteProgram", tr("Paste program"));
    connect(paste, &QAction::triggered, this, &Vn274_bootloader::pasteProgram);
    const auto followClipboard = [paste] { paste->setEnabled(Shows::programOnClipboard().has_value()); };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, paste, followClipboard);
    followClipboard();
    connect(programOverview, &ProgramOverview::stepDropped, this, &Vn274_bootloader::programStepDropped);

    connect(addStripAction(sceneOverview, "actionInsertScene", tr("Insert empty scene before")),
            &QAction::triggered, this, &Vn274_bootloader::insertScene);
    connect(addStripAction(sceneOverview, "actionDeleteScene", tr("Delete scene")),
            &QAction::triggered, this, &Vn274_bootloader::deleteScene);
    connect(sceneOverview, &ProgramOverview::stepDropped, this, &Vn274_bootloader::sceneDropped);
}

QByteArray Vn274_bootloader::shownProgramSteps() const
{
    return programs->bytes().mid(Shows::programRecordOffset(shownProgram, 0),
                                 Shows::StepsPerProgram * Shows::RecordSize);
}

void Vn274_bootloader::arrangeProgram(const char *text, const QByteArray &steps, int focusStep)
{
    programs->change(text, Shows::programRecordOffset(shownProgram, 0), steps,
                     shownProgram * Shows::StepsPerProgram + focusStep);
}

void Vn274_bootloader::arrangeScenes(const char *text, const QByteArray &row, int focusScene)
{
    scenes->change(text, 0, row, focusScene);
}

// A record pushed off the end of the row is asked for first, unless it is empty.
bool Vn274_bootloader::lastRecordMayGo(const QByteArray &row, bool programTab)
{
    const int last = int(row.size() / Shows::RecordSize) - 1;
    if (Shows::isEmptyRecord(row, last))
        return true;
    const QString title = programTab ? tr("Step 20 is not empty") : tr("Scene 8 is not empty");
    const QString text = programTab
        ? tr("Step 20 of program %1 is not empty. It falls off the end of the program.").arg(shownProgram + 1)
        : tr("Scene 8 is not empty. It falls off the end of the scenes.");
    return UserPrompts::current().question(this, title, text + QStringLiteral("\n\n") + tr("Go on?"),
                                           QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel)
           == QMessageBox::Yes;
}

void Vn274_bootloader::programStepDropped(int from, int to, bool copy)
{
    const QByteArray steps = shownProgramSteps();
    if (!copy)
        arrangeProgram(QT_TRANSLATE_NOOP("EditedTable", "Move step"), Shows::movedRecord(steps, from, to), to);
    else if (lastRecordMayGo(steps, true))
        arrangeProgram(QT_TRANSLATE_NOOP("EditedTable", "Copy step"), Shows::copiedRecord(steps, from, to), to);
}

void Vn274_bootloader::sceneDropped(int from, int to, bool copy)
{
    const QByteArray row = scenes->bytes();
    if (!copy)
        arrangeScenes(QT_TRANSLATE_NOOP("EditedTable", "Move scene"), Shows::movedRecord(row, from, to), to);
    else if (lastRecordMayGo(row, false))
        arrangeScenes(QT_TRANSLATE_NOOP("EditedTable", "Copy scene by dragging"), Shows::copiedRecord(row, from, to),
                      to);
}

void Vn274_bootloader::insertProgramStep()
{
    const QByteArray steps = shownProgramSteps();
    if (lastRecordMayGo(steps, true))
        arrangeProgram(QT_TRANSLATE_NOOP("EditedTable", "Insert empty step"),
                       Shows::withEmptyRecord(steps, shownStep), shownStep);
}

void Vn274_bootloader::deleteProgramStep()
{
    arrangeProgram(QT_TRANSLATE_NOOP("EditedTable", "Delete step"),
                   Shows::withoutRecord(shownProgramSteps(), shownStep), shownStep);
}

void Vn274_bootloader::insertScene()
{
    const QByteArray row = scenes->bytes();
    if (lastRecordMayGo(row, false))
        arrangeScenes(QT_TRANSLATE_NOOP("EditedTable", "Insert empty scene"),
                      Shows::withEmptyRecord(row, shownScene), shownScene);
}

void Vn274_bootloader::deleteScene()
{
    arrangeScenes(QT_TRANSLATE_NOOP("EditedTable", "Delete scene"), Shows::withoutRecord(scenes->bytes(), shownScene),
                  shownScene);
}

void Vn274_bootloader::copyProgram()
{
    Shows::copyProgramToClipboard(shownProgramSteps());
}

void Vn274_bootloader::pasteProgram()
{
    if (const std::optional<QByteArray> steps = Shows::programOnClipboard())
        arrangeProgram(QT_TRANSLATE_NOOP("EditedTable", "Paste program"), *steps, shownStep);
}
