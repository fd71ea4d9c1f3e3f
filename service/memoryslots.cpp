// Service panel: memory reads and page writes, the driver's status word.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "service/servicepresets.h"
#include "usb/hexdump.h"
#include "usb/usbrq518.h"

#include <QDebug>

#include <cstring>

namespace {

// ReadFromAddress moves at most this much per transfer.
constexpr quint32 ReadTransferSize = 2048;
constexpr int TestPatternSize = 512;
constexpr int PageSize = 1024;
constexpr quint32 TestPageAddress = 0x08005000;
constexpr int MaxLength = 1048576;

// The status word and its masks are shown as 32 binary digits, bit 31 first.
QString binary32(quint32 word)
{
    return QString("%1").arg(word, 32, 2, QChar('0'));
}

// Reads length bytes one ReadFromAddress transfer at a time, which is the
// traffic a single call makes, so that a failure is known to the transfer.
// Everything from the first byte of the failing transfer on is zeroed: that
// transfer may have left part of its bytes behind, still scrambled.
bool readMemory(USBRQ518 &device, unsigned char *buffer, quint32 address, quint32 length)
{
    for (quint32 done = 0; done < length;) {
        const quint32 chunk = qMin(length - done, ReadTransferSize);
        if (device.ReadFromAddress(buffer + done, address + done, chunk) != 0) {
            std::memset(buffer + done, 0, length - done);
            return false;
        }
        done += chunk;
    }
    return true;
}

} // namespace

void Vn274_bootloader::slotpushButtonRead(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonRead(bool t)");
    if (deviceOperationRefused())
        return;
    ServicePresets &presets = servicePresets();
    UserPrompts &prompts = UserPrompts::current();

    bool ok = false;
    const QString addressText = prompts.getText(this, tr("Read From Rq518"), tr("Address (hex)"),
                                                QLineEdit::Normal, hexPresetText(presets.readAddress), &ok);
    if (!ok)
        return;
    const int length = prompts.getInt(this, tr("Read From Rq518"), tr("Length (dec)"),
                                      presets.readLength, 1, MaxLength, 1, &ok);
    if (!ok)
        return;
    presets.readLength = length;

    bool converted = false;
    presets.readAddress = addressText.toUInt(&converted, 16);
    if (!converted) {
        prompts.warning(this, tr("error"), tr("Conversion error"));
        return;
    }

    QByteArray buffer(length, '\0');
    const bool read = readMemory(*boot_usb, reinterpret_cast<unsigned char *>(buffer.data()),
                                 presets.readAddress, quint32(length));
    ui->txt->clear();
    if (!read)
        ui->txt->append(tr("ReadFromAddress error"));
    ui->txt->append(QString::fromLatin1(hexDump(buffer.constData(), length)));
}

void Vn274_bootloader::slotpushButtonWrite(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonWrite(bool t)");
    if (deviceOperationRefused())
        return;
    QByteArray pattern(TestPatternSize, '\0');
    for (int i = 0; i < TestPatternSize; ++i)
        pattern[i] = char(i % 256);
    const int sent = boot_usb->control_send(USBRQ518::TestWriteRequest, 0, 0, pattern.constData(), TestPatternSize);
    if (sent == TestPatternSize)
        qDebug("%s", hexDump(pattern.constData(), TestPatternSize).constData());
}

void Vn274_bootloader::slotpushButtonWritePage(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonWritePage(bool t)");
    if (deviceOperationRefused())
        return;
    ServicePresets &presets = servicePresets();
    bool ok = false;
    const int fill = UserPrompts::current().getInt(this, tr("Fill pattern"), tr("Number (dec)"),
                                                   presets.fillByte, 0, 255, 1, &ok);
    if (!ok)
        return;
    presets.fillByte = fill;

    // WritePageToAddress scrambles the page in place before sending it.
    QByteArray page(PageSize, char(fill));
    if (boot_usb->WritePageToAddress(page.data(), TestPageAddress) == 0)
        qDebug("page write OK");
    else
        qDebug("page write ERROR");
}

void Vn274_bootloader::slotpushButtonStatusGet(bool)
{
    if (deviceOperationRefused())
        return;
    quint32 status = 0;
    if (boot_usb->StatusGet(&status) == 0)
        ui->txt->append("Status: " + binary32(status));
    else
        ui->txt->append("Status: ERROR");
}

// The mask is always bit 0, the bit that the programs and scenes transfers
// hold while they use the external flash.
void Vn274_bootloader::slotpushButtonStatusSet(bool)
{
    if (deviceOperationRefused())
        return;
    const quint32 mask = 1;
    if (boot_usb->StatusSet(mask) == 0)
        ui->txt->append("StatusSet(" + binary32(mask) + ")");
    else
        ui->txt->append("StatusSet() ERROR");
}

void Vn274_bootloader::slotpushButtonStatusClr(bool)
{
    if (deviceOperationRefused())
        return;
    const quint32 mask = 1;
    if (boot_usb->StatusClr(mask) == 0)
        ui->txt->append("StatusClr(" + binary32(mask) + ")");
    else
        ui->txt->append("StatusClr() ERROR");
}
