#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/information.h"
#include "app/translation.h"
#include "app/userprompts.h"
#include "app/version.h"
#include "shows/editedtable.h"
#include "shows/showtables.h"
#include "style/arthurstyle.h"
#include "upgrade/upgrader.h"
#include "usb/usbrq518.h"
#include "widgets/monospacefont.h"
#include "widgets/superrgb.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>

Vn274_bootloader::Vn274_bootloader(QWidget *parent)
    : QMainWindow(parent)
{
    ui = new Ui::Vn274_bootloaderClass;
    programLamps.clear();
    sceneLamps.clear();
    ui->setupUi(this);
    // Hex dumps need a fixed-width face in the message area.
    useMonospaceFromFirstText(ui->txt);

    refreshTitle();

    // The whole window wears the skin, not only the window itself: a widget's
    // style does not pass on to the widgets already inside it. The style is a
    // child of the window made after the form, so it goes after the widgets.
    arthurStyle = new ArthurStyle;
    arthurStyle->setParent(this);
    setStyleRecursively(this, arthurStyle);
    timerState = 0;

    qDebug("MY_DEBUG");

    ui->pushButtonRead->hide();
    ui->pushButtonReadExternalFlash->hide();
    ui->pushButtonWrite->hide();
    ui->pushButtonWriteExternalFlash->hide();
    ui->pushButtonWriteExtFlashBin->hide();
    ui->pushButtonWritePage->hide();

    boot_usb = new USBRQ518;

    connect(ui->pushButtonConnect, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonConnect);
    connect(ui->pushButtonDisconnect, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonDisconnect);
    connect(ui->pushButtonRead, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonRead);
    connect(ui->pushButtonWrite, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonWrite);
    connect(ui->pushButtonWritePage, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonWritePage);
    connect(ui->pushButtonFirmware, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonFirmware);
    connect(ui->pushButtonRunApplication, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonRunApplication);
    connect(ui->pushButtonReadExternalFlash, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonReadExternalFlash);
    connect(ui->pushButtonWriteExternalFlash, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonWriteExternalFlash);
    connect(ui->pushButtonWriteExtFlashBin, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonWriteExtFlashBin);
    connect(ui->pushButtonCreateUpg, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonCreateUpg);
    connect(ui->pushButtonCreateBootBin, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonCreateBootBin);
    connect(ui->pushButtonStatusGet, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonStatusGet);
    connect(ui->pushButtonStatusSet, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonStatusSet);
    connect(ui->pushButtonStatusClr, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonStatusClr);
    connect(ui->spinBoxProgramNumber, &QSpinBox::valueChanged, this, &Vn274_bootloader::slotUpdateProgramScene);
    connect(ui->spinBoxSceneNumber, &QSpinBox::valueChanged, this, &Vn274_bootloader::slotUpdateProgramScene);
    connect(ui->pushButtonCHF, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonCHF);
    connect(ui->pushButtonGetProgramsFormVn274, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonGetProgramsFromVn274);
    connect(ui->pushButtonSetProgramsInVn274, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonSetProgramsInVn274);
    connect(ui->pushButtonGetScenesFormVn274, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonGetScenesFromVn274);
    connect(ui->pushButtonSetScenesInVn274, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonSetScenesInVn274);
    connect(ui->spinBoxSceneSceneNumber, &QSpinBox::valueChanged, this, &Vn274_bootloader::slotUpdateScene);
    connect(ui->pushButtonLoadScenesFromFile, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonLoadScenesFromFile);
    connect(ui->pushButtonLoadProgramsFromFile, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonLoadProgramsFromFile);
    connect(ui->pushButtonSaveScenesToFile, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonSaveScenesToFile);
    connect(ui->pushButtonSaveProgramsToFile, &QPushButton::clicked, this, &Vn274_bootloader::slotpushButtonSaveProgramsToFile);
    connect(ui->actionVn274_info, &QAction::triggered, this, &Vn274_bootloader::slotShowInfo);
    connect(ui->actionClose, &QAction::triggered, this, &Vn274_bootloader::close);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &Vn274_bootloader::slotTabChange);
    connect(ui->actionPolish, &QAction::triggered, this, &Vn274_bootloader::slotPolish);
    connect(ui->actionEnglish, &QAction::triggered, this, &Vn274_bootloader::slotEnglish);

    // The service panel is for the maker's bench: its slots stay connected, but
    // the buttons are taken out of the user's reach.
    for (QPushButton *button : { ui->pushButtonConnect, ui->pushButtonDisconnect, ui->pushButtonRead,
                                 ui->pushButtonWrite, ui->pushButtonWritePage, ui->pushButtonFirmware,
                                 ui->pushButtonRunApplication, ui->pushButtonReadExternalFlash,
                                 ui->pushButtonWriteExternalFlash, ui->pushButtonWriteExtFlashBin,
                                 ui->pushButtonCreateBootBin, ui->pushButtonStatusClr,
                                 ui->pushButtonStatusGet, ui->pushButtonStatusSet }) {
        button->setEnabled(false);
        button->hide();
    }
    ui->pushButtonCreateUpg->setEnabled(false);
    ui->pushButtonCreateUpg->hide();

    // The form's ranges are narrower than the tables; these are the real ones.
    ui->spinBoxRiseTime->setRange(0, 100000);
    ui->spinBoxStaticTime->setRange(0, 900000);
    ui->spinBoxProgramNumber->setRange(1, Shows::ProgramCount);
    ui->spinBoxSceneNumber->setRange(1, Shows::StepsPerProgram);
    ui->spinBoxSceneRiseTime->setRange(0, 100000);
    ui->spinBoxSceneStaticTime->setRange(0, 900000);
    ui->spinBoxSceneSceneNumber->setRange(1, Shows::SceneCount);
    buildEditingTools();

    upgrader = new Upgrader(boot_usb);
    connect(upgrader, &Upgrader::sendText, ui->txt, &QTextBrowser::append);
    connect(upgrader, &Upgrader::sendPercent, ui->progressBarFlash, &QProgressBar::setValue);

    connectExternalFlashBars();

    // Emitted in the worker's thread, handled in the window's.
    connect(upgrader, &QThread::finished, this, &Vn274_bootloader::firmwareChangeFinished);

    buildDriverMenu();
}

Vn274_bootloader::~Vn274_bootloader()
{
    // The worker uses the device to its last step, so the device goes after
    // it; its destructor closes an open link. The lamp editors belong to their
    // layouts' widgets and go with the window, the style after them.
    if (upgrader) {
        upgrader->wait();
        delete upgrader;
        upgrader = nullptr;
    }
    delete boot_usb;
    boot_usb = nullptr;
    delete ui;
    programLamps.clear();
    sceneLamps.clear();
}

void Vn274_bootloader::addLamps(QList<SuperRGB *> &lamps, QBoxLayout *layout)
{
    for (int lampNumber = 0; lampNumber < Shows::LampsPerScene; ++lampNumber) {
        SuperRGB *lamp = new SuperRGB(0, 0, 0, lampNumber);
        setStyleRecursively(lamp, arthurStyle);
        lamps.append(lamp);
        layout->addWidget(lamp, 0);
    }
}

void Vn274_bootloader::connectExternalFlashBars()
{
    connect(boot_usb, &USBRQ518::sendPercentExtFlashWrite, ui->progressBarExtFlashWr, &QProgressBar::setValue,
            Qt::UniqueConnection);
    connect(boot_usb, &USBRQ518::sendPercentExtFlashRead, ui->progressBarExtFlashRd, &QProgressBar::setValue,
            Qt::UniqueConnection);
}

void Vn274_bootloader::disconnectExternalFlashBars()
{
    disconnect(boot_usb, &USBRQ518::sendPercentExtFlashWrite, ui->progressBarExtFlashWr, &QProgressBar::setValue);
    disconnect(boot_usb, &USBRQ518::sendPercentExtFlashRead, ui->progressBarExtFlashRd, &QProgressBar::setValue);
}

// The external flash bars follow only the transfers started from the Settings
// tab; programs and scenes transfers leave them alone.
void Vn274_bootloader::slotTabChange(int index)
{
    if (index == 0)
        connectExternalFlashBars();
    else
        disconnectExternalFlashBars();
}

void Vn274_bootloader::closeEvent(QCloseEvent *event)
{
    qDebug("Vn274_bootloader::closeEvent ( QCloseEvent * event )");
    if (refuseDuringFirmwareChange() || !closeLosingPendingChanges()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// Asks only while something would be lost; true when the window may close.
bool Vn274_bootloader::closeLosingPendingChanges()
{
    const bool programsPending = programChanges.pendingIn(programs->bytes());
    const bool scenesPending = sceneChanges.pendingIn(scenes->bytes());
    if (!programsPending && !scenesPending)
        return true;
    QString text;
    if (programsPending && scenesPending)
        text = tr("The programs and the scenes have changes that were neither saved to a file nor set in the Vn274.");
    else if (programsPending)
        text = tr("The programs have changes that were neither saved to a file nor set in the Vn274.");
    else
        text = tr("The scenes have changes that were neither saved to a file nor set in the Vn274.");
    text += QStringLiteral("\n\n") + tr("Close the window and lose them?");
    const QMessageBox::StandardButton answer = UserPrompts::current().question(
        this, tr("Unsaved changes"), text, QMessageBox::Close | QMessageBox::Cancel, QMessageBox::Cancel);
    return answer == QMessageBox::Close;
}

void Vn274_bootloader::slotShowInfo(bool)
{
    Information info(this);
    info.exec();
}

// A language change ends the event loop with a restart code; main then builds
// a new window under the other translation.
void Vn274_bootloader::slotPolish(bool)
{
    qDebug("Vn274_bootloader::slotPolish(bool t)");
    if (refuseDuringFirmwareChange())
        return;
    QCoreApplication::exit(RestartInPolish);
}

void Vn274_bootloader::slotEnglish(bool)
{
    qDebug("Vn274_bootloader::slotEnglish(bool t)");
    if (refuseDuringFirmwareChange())
        return;
    QCoreApplication::exit(RestartInEnglish);
}
