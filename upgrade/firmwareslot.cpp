// The interactive firmware change of the service panel: the same device steps
// as the worker's, in the GUI thread, with a line or a box for every step and
// a question before the external flash.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "upgrade/signedupgrade.h"
#include "upgrade/upgradefile.h"
#include "upgrade/upgradesteps.h"
#include "usb/hexdump.h"
#include "usb/usbrq518.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QScopeGuard>

using namespace upgradesteps;

namespace {

constexpr int ConnectAttempts = 101;
constexpr int BootloaderAttempts = 1000;

// Lets the window repaint between the blocking steps.
void processEvents()
{
    QCoreApplication::processEvents();
}

// Continues the last line of the message area.
void insertText(QTextEdit *txt, const QString &text)
{
    txt->moveCursor(QTextCursor::End);
    txt->insertPlainText(text);
}

} // namespace

void Vn274_bootloader::slotpushButtonFirmware(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonFirmware(bool t)");
    if (deviceOperationRefused())
        return;
    // Events come through between the steps: a driver chosen meanwhile is
    // taken at the end of this change.
    interactiveChangeRunning = true;
    const auto changeEnded = qScopeGuard([this] {
        interactiveChangeRunning = false;
        applyChosenDriver();
    });
    UserPrompts &prompts = UserPrompts::current();
    QTextBrowser *txt = ui->txt;

    const QString fileName = prompts.getOpenFileName(this, tr("Open File"), QStringLiteral("."), tr("Upg (*.upg)"));
    if (fileName.isEmpty())
        return;
    txt->append(fileName);
    txt->append(QFileInfo(fileName).lastModified().toString(Qt::TextDate));

    // The release's signature and the whole file are checked before the first
    // connection: a refused or damaged file never reaches the driver.
    const SignedUpgradeFile release = readSignedUpgradeFile(fileName);
    const UpgradeFileContent &file = release.content;
    QString fileProblem;
    switch (file.result) {
    case UpgradeFileResult::Ok:
        break;
    case UpgradeFileResult::CannotOpen:
    case UpgradeFileResult::WrongHeader:
        fileProblem = tr("Wrong file header");
        break;
    case UpgradeFileResult::WrongVersion:
        fileProblem = tr("Wrong file version");
        break;
    case UpgradeFileResult::WrongLength:
        fileProblem = tr("Wrong file length");
        break;
    case UpgradeFileResult::WrongChecksum:
        fileProblem = tr("Wrong file checksum");
        break;
    }
    if (!release.signature.accepted())
        fileProblem = release.signature.message;
    if (!fileProblem.isEmpty()) {
        txt->append(fileProblem);
        processEvents();
        prompts.critical(this, tr("File error"), fileProblem);
        return;
    }
    // The release's trusted comment, or that nothing was checked.
    txt->append(release.signature.message);

    boot_usb->disconnect();
    bool connected = false;
    for (int attempt = 0; attempt < ConnectAttempts && !connected; ++attempt)
        connected = boot_usb->connect() == 0;
    if (!connected) {
        txt->append(tr("Can't connect to RQ518\nCheck USB cable"));
        processEvents();
        prompts.critical(this, tr("Cable error"), tr("Can't connect to RQ518\nChcek USB cable"));
        return;
    }

    const QByteArray serial = boot_usb->getSerial();
    txt->append(QString::fromLatin1(serial));
    switch (driverMode(serial)) {
    case DriverMode::Bootloader:
        txt->append(tr("Bootloader mode"));
        break;
    case DriverMode::Application:
        txt->append(tr("Apllication mode"));
        processEvents();
        txt->append(tr("Reset device"));
        processEvents();
        boot_usb->RunApplication();
        boot_usb->disconnect();
        if (!waitForBootloader(*boot_usb, BootloaderAttempts, 0)) {
            txt->append(tr("USB timout"));
            prompts.critical(this, tr("USB timout"), tr("boot_usb->connect()"));
            return;
        }
        txt->append(tr("Disconnect"));
        processEvents();
        boot_usb->disconnect();
        txt->append(tr("Connect"));
        processEvents();
        boot_usb->connect();
        txt->append(tr("Serial:") + QString::fromLatin1(boot_usb->getSerial()));
        processEvents();
        break;
    case DriverMode::Neither:
        txt->append(tr("Serial:") + QString::fromLatin1(boot_usb->getSerial()));
        return;
    }

    txt->append(tr("Writting firmware ... "));
    processEvents();
    bool verified = true;
    for (int offset = 0; offset < file.application.size(); offset += PageSize) {
        insertText(txt, QStringLiteral(" ."));
        processEvents();
        switch (writeAndVerifyPage(*boot_usb, file.application, offset)) {
        case PageResult::Verified:
            break;
        case PageResult::WriteFailed:
            insertText(txt, tr("ERROR"));
            processEvents();
            prompts.critical(this, tr("Page Write Error"), tr("Page Write Error"));
            return;
        case PageResult::ReadFailed:
            verified = false;
            prompts.critical(this, tr("Page Read Error"), tr("Page Read Error"));
            break;
        case PageResult::Differs:
            verified = false;
            insertText(txt, tr("ERROR"));
            processEvents();
            prompts.critical(this,
                             tr("Page Verify Error %0 adr 0x%1")
                                     .arg(pageNumber(offset))
                                     .arg(pageAddress(offset), 8, 16, QLatin1Char(' ')),
                             tr("Page Verify Error"));
            break;
        }
    }
    // A page that failed its read-back leaves an application that must not be
    // taken as written.
    insertText(txt, verified ? tr("OK") : tr("ERROR"));
    processEvents();

    if (prompts.question(this, tr("Change external flash?"), tr("Change external flash?"),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return;

    const QByteArray &extDatas = file.externalFlash;
    const QByteArray scrambled = scrambledCopy(extDatas);
    txt->append(tr("Writting External Flash ... "));
    processEvents();
    if (boot_usb->WriteExternalFlashToAddress(scrambled.constData(), 0, quint32(scrambled.size())) != 0) {
        insertText(txt, tr("Error"));
        processEvents();
        prompts.critical(this, tr("Error"), tr("WriteExternalFlashToAddress"));
        return;
    }
    insertText(txt, tr("OK"));
    processEvents();
    txt->append(tr("Verify External Flash ...  "));
    processEvents();

    QByteArray readBack;
    switch (verifyExternalFlash(*boot_usb, extDatas, &readBack)) {
    case ExternalFlashCheck::Equal:
        insertText(txt, tr("OK"));
        processEvents();
        prompts.information(this, tr("Info"), tr("Write OK"));
        break;
    case ExternalFlashCheck::ReadFailed:
        insertText(txt, tr("Error"));
        processEvents();
        prompts.critical(this, tr("Error"), tr("ReadExternalFlashFromAddress"));
        break;
    case ExternalFlashCheck::Differs:
        insertText(txt, tr("Error"));
        insertText(txt, tr("read_buffer"));
        insertText(txt, QString::fromLatin1(hexDump(readBack.constData(), int(readBack.size()))));
        insertText(txt, tr("ext_datas.data()"));
        insertText(txt, QString::fromLatin1(hexDump(extDatas.constData(), int(extDatas.size()))));
        processEvents();
        prompts.critical(this, tr("Error"), tr("memcmp"));
        break;
    }
    // The driver stays in its bootloader with the link open; the new
    // application starts with "RunApplication".
}
