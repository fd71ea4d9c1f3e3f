// The Programs tab of the main window: one program step at a time in the
// editor, the whole programs table to and from the driver.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "shows/lampcolours.h"
#include "shows/showtables.h"
#include "shows/showtransfer.h"

#include <QDebug>

#include <cstring>

int Vn274_bootloader::selectedProgram() const
{
    return ui->spinBoxProgramNumber->value() - 1;
}

int Vn274_bootloader::selectedStep() const
{
    return ui->spinBoxSceneNumber->value() - 1;
}

// What the editor shows, over the record's other bytes.
void Vn274_bootloader::takeProgramEditor(SceneRecord &record) const
{
    record.riseTime = ui->spinBoxRiseTime->value();
    record.staticTime = ui->spinBoxStaticTime->value();
    record.endMarker = quint8(ui->spinBoxEndMarker->value());
    Shows::takeLampColours(programLamps, record);
}

bool Vn274_bootloader::programEditorChanged() const
{
    SceneRecord now{};
    takeProgramEditor(now);
    return std::memcmp(&now, &programEditorAtShow, sizeof now) != 0;
}

// A record the user left as shown keeps its bytes, also those the editor
// cannot hold as they are (a time beyond its range, an end marker other than
// 1): so a file loaded and saved again stays the same, and an untouched record
// is no pending change.
void Vn274_bootloader::commitProgramEditor(QByteArray &table, int program, int step) const
{
    if (!programEditorChanged())
        return;
    const int offset = Shows::programRecordOffset(program, step);
    SceneRecord record = Shows::recordAt(table, offset);
    takeProgramEditor(record);
    Shows::setRecordAt(table, offset, record);
}

// The lamps change one by one; whoever shows a record refreshes what follows
// the editor (overview, modified marker) once it is all there.
void Vn274_bootloader::showProgramRecord(int program, int step)
{
    const SceneRecord record = Shows::recordAt(ProgramTable, Shows::programRecordOffset(program, step));
    ++editorRefreshHeld;
    // The spin boxes clamp values beyond their ranges.
    ui->spinBoxRiseTime->setValue(record.riseTime);
    ui->spinBoxStaticTime->setValue(record.staticTime);
    ui->spinBoxEndMarker->setValue(record.endMarker != 0 ? 1 : 0);
    Shows::showLampColours(record, programLamps);
    programEditorAtShow = SceneRecord{};
    takeProgramEditor(programEditorAtShow);
    --editorRefreshHeld;
}

// The editor's content reaches the table when the selection moves away from
// the record it shows (or with a Set).
void Vn274_bootloader::slotUpdateProgramScene(int)
{
    const int program = selectedProgram();
    const int step = selectedStep();
    if (program != shownProgram || step != shownStep)
        commitProgramEditor(ProgramTable, shownProgram, shownStep);
    showProgramRecord(program, step);
    shownProgram = program;
    shownStep = step;
    programsEdited();
}

void Vn274_bootloader::slotpushButtonGetProgramsFromVn274(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonGetProgramsFromVn274(bool t)");
    const Shows::TransferResult result = Shows::readProgramsFromDriver(*boot_usb, ProgramTable);
    showTransferFailure(result);
    if (result == Shows::TransferResult::AcquireFailed)
        return;
    // Shows the selected step from the table as it now stands; edits not yet
    // committed give way to what the driver holds.
    slotUpdateProgramScene(0);
    if (result == Shows::TransferResult::Done)
        programsInStep(ProgramTable);
}

void Vn274_bootloader::slotpushButtonSetProgramsInVn274(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSetProgramsInVn274(bool t)");
    // The editor goes into the selected step; the table takes it only once the
    // driver has answered.
    QByteArray programs = ProgramTable;
    commitProgramEditor(programs, selectedProgram(), selectedStep());
    const Shows::TransferResult result = Shows::writeProgramsToDriver(*boot_usb, programs);
    if (result != Shows::TransferResult::AcquireFailed)
        ProgramTable = programs;
    if (result == Shows::TransferResult::Done)
        programsInStep(programs);
    showTransferFailure(result);
}

// One box for each way a table transfer can fail; nothing when it was done.
void Vn274_bootloader::showTransferFailure(Shows::TransferResult result)
{
    switch (result) {
    case Shows::TransferResult::AcquireFailed:
        UserPrompts::current().critical(this, tr("Error"), tr("USB Timeout\nCheck USB Cable"));
        break;
    case Shows::TransferResult::ReadFailed:
        UserPrompts::current().critical(this, tr("Error"), tr("ReadExternalFlashFromAddress"));
        break;
    case Shows::TransferResult::WriteFailed:
        UserPrompts::current().critical(this, tr("Error"), tr("WriteExternalFlashToAddress"));
        break;
    case Shows::TransferResult::Done:
        break;
    }
}
