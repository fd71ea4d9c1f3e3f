#ifndef UPGRADER_H
#define UPGRADER_H

#include <QString>
#include <QThread>

class USBRQ518;

// The "Firmware Change" worker: runs the unattended firmware change of
// runFirmwareUpgrade (upgrade/upgradeprocedure.h) in its own thread and sends
// its lines and percentages as signals, queued into the window's thread.
// Each change that reaches a driver adds its row to the firmware history of
// the production record, as vn274-tool upgrade does; a record that cannot be
// used is one warning line, never a stop.
//
// The device object is the window's and is shared with the GUI thread; only
// single device operations are serialised (its linkMutex), so the window keeps its
// other users of the device away while the worker runs.
class Upgrader : public QThread
{
    Q_OBJECT

public:
    explicit Upgrader(USBRQ518 *device);
    ~Upgrader() override;

    // The tool whose record the changes go to when VN274_DB names none
    // (production/recordlocation.h): "vn274-tool". Set before any change.
    static void setRecordTool(const QString &toolName);
    static QString recordToolName();

signals:
    void sendText(QString s);
    void sendPercent(int percent);

public slots:
    // Called from the GUI thread right before start(); run() reads the name
    // only at its beginning.
    void slotSetFileName(QString fileName);

protected:
    void run() override;

private:
    USBRQ518 *usb = nullptr;
    QString fileName;
};

#endif // UPGRADER_H
