// Service panel: the driver's external flash. What goes there is scrambled
// first and what comes back is descrambled, so the flash holds scrambled data.
// The two external flash bars of the Settings tab follow these transfers
// through the device's percent signals, wired by the window.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "service/servicepresets.h"
#include "usb/hexdump.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"

#include <QDebug>
#include <QFile>

namespace {

constexpr int MaxLength = 1048576;

// "lenght:" and "address:" lines: the value right-aligned in 8 blanks.
QString rightAligned(quint32 value, int base)
{
    return QString("%1").arg(value, 8, base, QChar(' '));
}

} // namespace

// A .bin file goes to external flash address 0 as it is, scrambled on the way,
// and is read back and compared.
void Vn274_bootloader::slotpushButtonWriteExtFlashBin(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonWriteExtFlashBin(bool t)");
    if (deviceOperationRefused())
        return;
    UserPrompts &prompts = UserPrompts::current();
    const QString fileName = prompts.getOpenFileName(this, tr("Open File"), ".", tr("Bin (*.bin)"));
    if (fileName.isEmpty())
        return;

    // A file that cannot be opened reads as empty and is refused for its length.
    QByteArray plain;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        plain = file.readAll();
    file.close();
    if (plain.isEmpty() || plain.size() % 4 != 0) {
        qDebug("length error");
        prompts.critical(this, tr("Length error"), tr("Length should be aligned to 4"));
        return;
    }
    const int length = int(plain.size());

    QByteArray sent = plain;
    encodeTransfer(sent.data(), length);
    if (boot_usb->WriteExternalFlashToAddress(sent.constData(), 0, quint32(length)) != 0) {
        prompts.critical(this, tr("Error"), tr("WriteExternalFlashToAddress"));
        return;
    }

    QByteArray readBack(length, '\0');
    if (boot_usb->ReadExternalFlashFromAddress(readBack.data(), 0, quint32(length)) != 0) {
        prompts.critical(this, tr("Error"), tr("ReadExternalFlashFromAddress"));
        return;
    }
    decodeTransfer(readBack.data(), length);
    if (readBack == plain)
        prompts.information(this, tr("Info"), tr("Write OK"));
    else
        prompts.critical(this, tr("Error"), tr("memcmp"));
}

// Fills a range of the external flash with one byte value.
void Vn274_bootloader::slotpushButtonWriteExternalFlash(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonWriteExternalFlash(bool t)");
    if (deviceOperationRefused())
        return;
    ServicePresets &presets = servicePresets();
    UserPrompts &prompts = UserPrompts::current();
    const QString title = tr("Write To External Flash Rq518");

    bool ok = false;
    const QString addressText = prompts.getText(this, title, tr("Address (hex)"), QLineEdit::Normal,
                                                hexPresetText(presets.extWriteAddress), &ok);
    if (!ok)
        return;
    bool converted = false;
    presets.extWriteAddress = addressText.toUInt(&converted, 16);
    if (!converted) {
        prompts.warning(this, tr("error"), tr("Conversion error"));
        return;
    }

    const int length = prompts.getInt(this, title, tr("Length (dec)"), presets.extWriteLength, 1, MaxLength, 1, &ok);
    if (!ok)
        return;
    presets.extWriteLength = length;

    const QString dataText = prompts.getText(this, title, tr("Data(hex)"), QLineEdit::Normal,
                                             hexPresetText(presets.extWriteData), &ok);
    if (!ok)
        return;
    presets.extWriteData = dataText.toUInt(&converted, 16);
    if (!converted) {
        prompts.warning(this, tr("error"), tr("Conversion error"));
        return;
    }

    QByteArray buffer(length, char(presets.extWriteData & 0xFF));
    encodeTransfer(buffer.data(), length);
    const int result = boot_usb->WriteExternalFlashToAddress(buffer.constData(), presets.extWriteAddress,
                                                             quint32(length));

    ui->txt->clear();
    ui->txt->append("lenght: " + rightAligned(quint32(length), 10));
    ui->txt->append("address: 0x" + rightAligned(presets.extWriteAddress, 16));
    ui->txt->append(QString::fromLatin1(hexDump(buffer.constData(), length)));
    if (result != 0)
        ui->txt->append(tr("WriteExternalFlashToAddress error"));
}

// Reads a range of the external flash and shows it descrambled.
void Vn274_bootloader::slotpushButtonReadExternalFlash(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonReadExternalFlash(bool t)");
    if (deviceOperationRefused())
        return;
    ServicePresets &presets = servicePresets();
    UserPrompts &prompts = UserPrompts::current();
    const QString title = tr("Read External Flash From Rq518");

    bool ok = false;
    const QString addressText = prompts.getText(this, title, tr("Address (hex)"), QLineEdit::Normal,
                                                hexPresetText(presets.extReadAddress), &ok);
    if (!ok)
        return;
    const int length = prompts.getInt(this, title, tr("Length (dec)"), presets.extReadLength, 1, MaxLength, 1, &ok);
    if (!ok)
        return;
    presets.extReadLength = length;

    bool converted = false;
    presets.extReadAddress = addressText.toUInt(&converted, 16);
    if (!converted) {
        prompts.warning(this, tr("error"), tr("Conversion error"));
        return;
    }

    QByteArray buffer(length, '\0');
    if (boot_usb->ReadExternalFlashFromAddress(buffer.data(), presets.extReadAddress, quint32(length)) != 0) {
        // The message area keeps what it showed.
        prompts.warning(this, tr("error"), tr("ReadExternalFlashFromAddress error"));
        return;
    }
    decodeTransfer(buffer.data(), length);
    ui->txt->clear();
    ui->txt->append(QString::fromLatin1(hexDump(buffer.constData(), length)));
}
