// The Programs tab of the main window: one program step at a time in the
// editor, the whole programs table to and from the driver.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "shows/editedtable.h"
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

const QByteArray &Vn274_bootloader::programTable() const
{
    return programs->bytes();
}

// What the editor shows, over the record's other bytes.
void Vn274_bootloader::takeProgramEditor(SceneRecord &record) const
{
    record.riseTime = ui->spinBoxRiseTime->value();
    record.staticTime = ui->spinBoxStaticTime->value();
    record.endMarker = quint8(ui->spinBoxEndMarker->value());
    Shows::takeLampColours(programLamps, record);
}

// The lamps change one by one; none of that is an edit.
void Vn274_bootloader::showProgramRecord(int program, int step)
{
    const SceneRecord record = Shows::recordAt(programs->bytes(), Shows::programRecordOffset(program, step));
    ++editorRefreshHeld;
    // The spin boxes clamp values beyond their ranges; the table keeps them
    // until the user changes that very value.
    ui->spinBoxRiseTime->setValue(record.riseTime);
    ui->spinBoxStaticTime->setValue(record.staticTime);
    ui->spinBoxEndMarker->setValue(record.endMarker != 0 ? 1 : 0);
    Shows::showLampColours(record, programLamps);
    --editorRefreshHeld;
}

// Every edit is in the table already: a new selection only shows its record.
void Vn274_bootloader::slotUpdateProgramScene(int)
{
    shownProgram = selectedProgram();
    shownStep = selectedStep();
    programGestures.interrupt();
    showProgramRecord(shownProgram, shownStep);
    showProgramsInOverview();
}

void Vn274_bootloader::slotpushButtonGetProgramsFromVn274(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonGetProgramsFromVn274(bool t)");
    if (deviceOperationRefused())
        return;
    QByteArray got = programs->bytes();
    const Shows::TransferResult result = Shows::readProgramsFromDriver(*boot_usb, got);
    showTransferFailure(result);
    if (result != Shows::TransferResult::Done)
        return;
    programs->replace(QT_TRANSLATE_NOOP("EditedTable", "Get programs from the Vn274"), got,
                      shownProgram * Shows::StepsPerProgram + shownStep);
    programsInStep(got);
}

void Vn274_bootloader::slotpushButtonSetProgramsInVn274(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSetProgramsInVn274(bool t)");
    if (deviceOperationRefused())
        return;
    const QByteArray sent = programs->bytes();
    const Shows::TransferResult result = Shows::writeProgramsToDriver(*boot_usb, sent);
    if (result == Shows::TransferResult::Done)
        programsInStep(sent);
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
