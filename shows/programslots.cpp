// The Programs tab of the main window: one program step at a time in the
// editor, the whole programs table to and from the driver.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "shows/lampcolours.h"
#include "shows/showtables.h"
#include "shows/showtransfer.h"

#include <QDebug>

int Vn274_bootloader::selectedProgram() const
{
    return ui->spinBoxProgramNumber->value() - 1;
}

int Vn274_bootloader::selectedStep() const
{
    return ui->spinBoxSceneNumber->value() - 1;
}

void Vn274_bootloader::commitProgramEditor(QByteArray &table, int program, int step) const
{
    const int offset = Shows::programRecordOffset(program, step);
    SceneRecord record = Shows::recordAt(table, offset);
    record.riseTime = ui->spinBoxRiseTime->value();
    record.staticTime = ui->spinBoxStaticTime->value();
    record.endMarker = quint8(ui->spinBoxEndMarker->value());
    Shows::takeLampColours(programLamps, record);
    Shows::setRecordAt(table, offset, record);
}

void Vn274_bootloader::showProgramRecord(int program, int step)
{
    const SceneRecord record = Shows::recordAt(ProgramTable, Shows::programRecordOffset(program, step));
    // The spin boxes clamp values beyond their ranges.
    ui->spinBoxRiseTime->setValue(record.riseTime);
    ui->spinBoxStaticTime->setValue(record.staticTime);
    ui->spinBoxEndMarker->setValue(record.endMarker != 0 ? 1 : 0);
    Shows::showLampColours(record, programLamps);
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
