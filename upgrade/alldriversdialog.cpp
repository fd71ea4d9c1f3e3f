#include "upgrade/alldriversdialog.h"

#include "app/userprompts.h"
#include "production/recorddatabase.h"
#include "upgrade/releasesignature.h"
#include "usb/connecteddrivers.h"
#include "usb/usbrq518.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { SerialColumn, ModeColumn, ProgressColumn, LineColumn, ResultColumn, ColumnCount };

// One bar for the whole change: the application's pages are most of it, the
// external flash block the rest.
int overallPercent(UpgradeStep step, int percent)
{
    switch (step) {
    case UpgradeStep::Connecting: return 0;
    case UpgradeStep::RestartingIntoBootloader: return 3;
    case UpgradeStep::WritingApplication: return 5 + percent * 60 / 100;
    case UpgradeStep::WritingExternalFlash: return 65 + percent * 20 / 100;
    case UpgradeStep::VerifyingExternalFlash: return 85 + percent * 10 / 100;
    case UpgradeStep::StartingApplication: return 96;
    }
    return 0;
}

// A line as a row shows it: on one line. A hex dump (a verify error's) is
// no line to show there; the message area has it whole.
bool fitsRow(const QString &text)
{
    return text.count(QLatin1Char('\n')) < 2;
}

} // namespace

AllDriversDialog::AllDriversDialog(const ConnectedDrivers *drivers, QWidget *parent)
    : QDialog(parent), drivers(drivers)
{
    setWindowTitle(tr("Change Firmware Of All Drivers"));
    auto *layout = new QVBoxLayout(this);
    releaseLabel = new QLabel(this);
    releaseLabel->setWordWrap(true);
    releaseLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(releaseLabel);

    table = new QTableWidget(0, ColumnCount, this);
    table->setObjectName(QStringLiteral("tableDrivers"));
    table->setHorizontalHeaderLabels({ tr("Serial"), tr("Mode"), tr("Progress"), tr("Last line"), tr("Result") });
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setSectionResizeMode(LineColumn, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(ResultColumn, QHeaderView::Stretch);
    layout->addWidget(table);

    summary = new QLabel(this);
    layout->addWidget(summary);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    stopButton = buttons->addButton(tr("Stop"), QDialogButtonBox::ActionRole);
    stopButton->setObjectName(QStringLiteral("pushButtonStop"));
    stopButton->setEnabled(false);
    connect(stopButton, &QPushButton::clicked, this, &AllDriversDialog::stop);
    connect(buttons, &QDialogButtonBox::rejected, this, &AllDriversDialog::reject);
    layout->addWidget(buttons);
    resize(820, 380);

    connect(&changes, &ConcurrentUpgrade::driverProgress, this, &AllDriversDialog::showProgress);
    connect(&changes, &ConcurrentUpgrade::driverLine, this, &AllDriversDialog::showLine);
    connect(&changes, &ConcurrentUpgrade::driverFinished, this, &AllDriversDialog::showResult);
    connect(&changes, &ConcurrentUpgrade::idle, this, [this] {
        stopButton->setEnabled(false);
        refreshSummary();
        emit changesEnded();
        if (closeWhenEnded)
            close();
    });
    if (drivers)
        connect(drivers, &ConnectedDrivers::changed, this, &AllDriversDialog::followModes);
}

AllDriversDialog::~AllDriversDialog() = default;

bool AllDriversDialog::setRelease(const QString &fileName)
{
    const bool usable = changes.setRelease(fileName);
    QStringList lines = changes.releaseLines();
    // A build without release keys writes any file: never without a word.
    if (usable && !releaseCheckNotice().isEmpty())
        lines << releaseCheckNotice();
    releaseLabel->setText(lines.join(QLatin1Char('\n')));
    return usable;
}

void AllDriversDialog::setRecord(std::unique_ptr<RecordDatabase> database, const QString &problem)
{
    record = std::move(database);
    changes.setRecord(record.get());
    if (!record)
        releaseLabel->setText(releaseLabel->text() + QLatin1Char('\n')
                              + tr("Warning: %1; these firmware changes are not recorded").arg(problem));
}

void AllDriversDialog::start(const QList<QByteArray> &serialStrings)
{
    for (const QByteArray &serialString : serialStrings) {
        const QByteArray serial = USBRQ518::serialNumber(serialString);
        if (rowOf(serial) >= 0)
            continue;
        const int row = table->rowCount();
        table->insertRow(row);
        serials << serial;
        table->setItem(row, SerialColumn, new QTableWidgetItem(QString::fromLatin1(serial)));
        const bool bootloader = serialString.size() == serial.size() + 1;
        table->setItem(row, ModeColumn, new QTableWidgetItem(bootloader ? ConnectedDrivers::tr("bootloader")
                                                                        : ConnectedDrivers::tr("application")));
        auto *bar = new QProgressBar(table);
        bar->setRange(0, 100);
        bar->setValue(0);
        table->setCellWidget(row, ProgressColumn, bar);
        table->setItem(row, LineColumn, new QTableWidgetItem);
        table->setItem(row, ResultColumn, new QTableWidgetItem);
    }
    table->resizeColumnToContents(SerialColumn);
    for (const QByteArray &serial : std::as_const(serials))
        changes.start(serial);
    stopButton->setEnabled(changing());
    followModes();
    refreshSummary();
}

void AllDriversDialog::stop()
{
    // Twice: the first request only keeps new changes from starting, and
    // every change here has started.
    changes.requestStop();
    changes.requestStop();
    stopButton->setEnabled(false);
    summary->setText(tr("Stopping: each change ends at its next step…"));
}

int AllDriversDialog::rowOf(const QByteArray &serial) const
{
    return int(serials.indexOf(serial));
}

void AllDriversDialog::showProgress(const DriverProgress &progress)
{
    const int row = rowOf(progress.serial);
    if (row < 0)
        return;
    auto *bar = static_cast<QProgressBar *>(table->cellWidget(row, ProgressColumn));
    bar->setValue(overallPercent(progress.step, progress.percent));
}

void AllDriversDialog::showLine(const QByteArray &serial, const QString &text)
{
    emit line(QString::fromLatin1(serial) + QStringLiteral(": ") + text);
    const int row = rowOf(serial);
    if (row >= 0 && fitsRow(text) && !text.trimmed().isEmpty())
        table->item(row, LineColumn)->setText(text.simplified());
}

void AllDriversDialog::showResult(const DriverResult &result)
{
    const int row = rowOf(result.serial);
    if (row < 0)
        return;
    QString text;
    QColor colour(Qt::darkRed);
    switch (result.ending) {
    case DriverResult::Ending::Succeeded:
        text = tr("The new application runs");
        colour = Qt::darkGreen;
        static_cast<QProgressBar *>(table->cellWidget(row, ProgressColumn))->setValue(100);
        break;
    case DriverResult::Ending::Failed:
        text = tr("Failed: %1").arg(result.outcome.simplified());
        break;
    case DriverResult::Ending::Interrupted:
        text = result.inBootloader ? tr("Stopped in its bootloader, ready for another attempt") : tr("Stopped");
        break;
    }
    if (record && !result.recorded)
        text += QStringLiteral(" (") + tr("not in the firmware history: %1").arg(result.recordProblem)
                + QLatin1Char(')');
    QTableWidgetItem *item = table->item(row, ResultColumn);
    item->setText(text);
    item->setForeground(colour);
    refreshSummary();
}

// The rows' modes as the buses tell them while the drivers restart; a row
// keeps the mode it started with until the window's list has news of it.
void AllDriversDialog::followModes()
{
    if (!drivers)
        return;
    for (int row = 0; row < serials.size(); ++row) {
        const QByteArray &serial = serials.at(row);
        if (drivers->isPresent(serial))
            followed.insert(serial);
        if (followed.contains(serial))
            table->item(row, ModeColumn)->setText(drivers->modeText(serial));
    }
}

void AllDriversDialog::refreshSummary()
{
    int succeeded = 0;
    int failed = 0;
    for (const DriverResult &result : changes.results())
        ++(result.ending == DriverResult::Ending::Succeeded ? succeeded : failed);
    summary->setText(tr("Changed: %1, failed or stopped: %2, in progress: %3")
                         .arg(succeeded)
                         .arg(failed)
                         .arg(changes.running()));
}

// While changes run, closing asks first; a yes stops them, and the dialog
// closes once they have ended (their rows written).
bool AllDriversDialog::mayClose()
{
    if (!changing())
        return true;
    if (closeWhenEnded)
        return false;
    QStringList running;
    for (const QByteArray &serial : changes.inProgress())
        running << QString::fromLatin1(serial);
    const QMessageBox::StandardButton answer = UserPrompts::current().question(
        this, tr("Firmware change in progress"),
        tr("Drivers still being changed: %1.").arg(running.join(QStringLiteral(", "))) + QStringLiteral("\n\n")
            + tr("Stop their changes and close? Each stops at its next step; a driver left in its bootloader is "
                 "ready for another attempt."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        closeWhenEnded = true;
        stop();
    }
    return false;
}

void AllDriversDialog::reject()
{
    if (mayClose())
        QDialog::reject();
}

void AllDriversDialog::closeEvent(QCloseEvent *event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
