#ifndef ALLDRIVERSDIALOG_H
#define ALLDRIVERSDIALOG_H

#include "upgrade/concurrentupgrade.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>

#include <memory>

class ConnectedDrivers;
class QLabel;
class QPushButton;
class QTableWidget;
class RecordDatabase;

// "Change Firmware Of All Drivers…": the firmware of every connected driver
// changed at once from one release, one row per driver (serial number, mode,
// progress, the last line of its change, how it ended). The release is
// checked once before any driver is touched. The changes run in threads of
// their own (ConcurrentUpgrade), so the window goes on meanwhile.
//
// Stop ends every change at its next step; a driver stopped in its bootloader
// stays there, ready for another attempt. Closing the dialog while changes
// run asks first, and a yes stops them and closes it once they have ended.
class AllDriversDialog : public QDialog
{
    Q_OBJECT

public:
    // drivers: the window's list, whose modes the rows follow while the
    // drivers restart; may be null.
    explicit AllDriversDialog(const ConnectedDrivers *drivers, QWidget *parent = nullptr);
    ~AllDriversDialog() override;

    // Reads and checks the release; false when it is refused (refusal()
    // says why), and then nothing can start.
    bool setRelease(const QString &fileName);
    QString refusal() const { return changes.release().refusal; }

    // Every change gets its row in this record's firmware history. Null: one
    // warning line with the problem, and no rows.
    void setRecord(std::unique_ptr<RecordDatabase> database, const QString &problem);

    // One row per driver, by the serial strings the buses gave; every change
    // starts at once.
    void start(const QList<QByteArray> &serialStrings);
    bool changing() const { return changes.running() > 0; }
    void stop();

    const ConcurrentUpgrade &upgrade() const { return changes; }

    // Escape and Close: as closing the dialog.
    void reject() override;

signals:
    // A line of a driver's change, "240611027: Writting firmware ... ", for
    // the window's message area.
    void line(const QString &text);
    // The last change in progress has ended.
    void changesEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    int rowOf(const QByteArray &serial) const;
    void showProgress(const DriverProgress &progress);
    void showLine(const QByteArray &serial, const QString &text);
    void showResult(const DriverResult &result);
    void followModes();
    void refreshSummary();
    bool mayClose();

    QPointer<const ConnectedDrivers> drivers;
    // The record outlives the changes, which write their rows into it.
    std::unique_ptr<RecordDatabase> record;
    ConcurrentUpgrade changes;
    QList<QByteArray> serials;          // by row
    QSet<QByteArray> followed;          // rows whose mode the window's list has told
    QLabel *releaseLabel = nullptr;
    QTableWidget *table = nullptr;
    QLabel *summary = nullptr;
    QPushButton *stopButton = nullptr;
    bool closeWhenEnded = false;
};

#endif // ALLDRIVERSDIALOG_H
