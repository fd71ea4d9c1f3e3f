#include "app/demo.h"

#include "shows/showtables.h"
#include "simulator/simdriver.h"
#include "usb/transferscrambling.h"

#include <QColor>

namespace {

void setLamp(SceneRecord &record, int lamp, const QColor &colour)
{
    record.lampRgb[3 * lamp] = quint8(colour.red());
    record.lampRgb[3 * lamp + 1] = quint8(colour.green());
    record.lampRgb[3 * lamp + 2] = quint8(colour.blue());
}

SceneRecord scene(int riseTime, int staticTime, bool last = false)
{
    SceneRecord record = {};
    record.riseTime = riseTime;
    record.staticTime = staticTime;
    record.endMarker = last ? 1 : 0;
    return record;
}

void store(QByteArray &table, int offset, const SceneRecord &record)
{
    Shows::setRecordAt(table, offset, record);
}

void storeScrambled(const sim::Driver &driver, quint32 address, QByteArray table)
{
    encodeTransfer(table.data(), int(table.size()));
    driver.writeExternalFlash(address, table);
}

// The table's records turned by `places`: the first comes `places` later.
QByteArray turned(const QByteArray &table, int places)
{
    const int cut = int(table.size()) - places % Shows::SceneCount * Shows::RecordSize;
    return table.mid(cut) + table.left(cut);
}

} // namespace

QByteArray demoPrograms()
{
    QByteArray programs(Shows::ProgramTableSize, '\0');

    // Program 1: a rainbow that walks along the twelve lamps.
    for (int step = 0; step < 12; ++step) {
        SceneRecord record = scene(50, 400, step == 11);
        for (int lamp = 0; lamp < Shows::LampsPerScene; ++lamp)
            setLamp(record, lamp, QColor::fromHsv(((lamp + step) % 12) * 30, 255, 255));
        store(programs, Shows::programRecordOffset(0, step), record);
    }

    // Program 2: all lamps fade from red through amber to white and back.
    const QColor fade[] = { QColor(255, 0, 0), QColor(255, 128, 0), QColor(255, 255, 255), QColor(255, 128, 0) };
    for (int step = 0; step < 4; ++step) {
        SceneRecord record = scene(100, 1500, step == 3);
        for (int lamp = 0; lamp < Shows::LampsPerScene; ++lamp)
            setLamp(record, lamp, fade[step]);
        store(programs, Shows::programRecordOffset(1, step), record);
    }

    // Program 3: odd and even lamps swap blue and green.
    for (int step = 0; step < 2; ++step) {
        SceneRecord record = scene(0, 800, step == 1);
        for (int lamp = 0; lamp < Shows::LampsPerScene; ++lamp)
            setLamp(record, lamp, (lamp + step) % 2 ? QColor(0, 0, 255) : QColor(0, 200, 40));
        store(programs, Shows::programRecordOffset(2, step), record);
    }
    return programs;
}

QByteArray demoScenes()
{
    QByteArray scenes(Shows::SceneTableSize, '\0');
    const QColor colours[Shows::SceneCount] = {
        QColor(255, 255, 255), QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
        QColor(255, 160, 40), QColor(160, 0, 255), QColor(0, 220, 220), QColor(255, 60, 120),
    };
    for (int n = 0; n < Shows::SceneCount; ++n) {
        SceneRecord record = scene(20, 5000);
        for (int lamp = 0; lamp < Shows::LampsPerScene; ++lamp)
            setLamp(record, lamp, colours[n]);
        store(scenes, Shows::sceneRecordOffset(n), record);
    }
    // A warm wash that dims along the row.
    SceneRecord wash = scene(60, 10000);
    for (int lamp = 0; lamp < Shows::LampsPerScene; ++lamp)
        setLamp(wash, lamp, QColor(255, 140, 40).darker(100 + lamp * 15));
    store(scenes, Shows::sceneRecordOffset(Shows::SceneCount - 1), wash);
    return scenes;
}

void seedDemoDriver()
{
    // Each driver's scenes begin elsewhere, so that a Get shows whose they are.
    for (int index = 0; index < sim::driverCount(); ++index) {
        storeScrambled(sim::driver(index), Shows::SceneTableAddress, turned(demoScenes(), index));
        storeScrambled(sim::driver(index), Shows::ProgramTableAddress, demoPrograms());
    }
}
