#ifndef SHOWTRANSFER_H
#define SHOWTRANSFER_H

#include <QByteArray>

class USBRQ518;

// Moving the show tables to and from the driver's external flash. The driver
// keeps each table scrambled; every transfer is framed by StatusAcquire and
// StatusRelease, so the driver's player leaves the flash alone meanwhile.
namespace Shows {

enum class TransferResult {
    Done,
    AcquireFailed,   // the driver did not answer; nothing was transferred or released
    ReadFailed,      // the table is unchanged; the driver was released
    WriteFailed,     // the driver was released
};

// Reads table.size() bytes from the address, descrambles them and replaces the
// table with them; on failure the table is unchanged.
TransferResult readTableFromDriver(USBRQ518 &device, quint32 address, QByteArray &table);
// Scrambles a copy of the table and writes it to the address.
TransferResult writeTableToDriver(USBRQ518 &device, quint32 address, const QByteArray &table);

TransferResult readProgramsFromDriver(USBRQ518 &device, QByteArray &programs);
TransferResult writeProgramsToDriver(USBRQ518 &device, const QByteArray &programs);
TransferResult readScenesFromDriver(USBRQ518 &device, QByteArray &scenes);
TransferResult writeScenesToDriver(USBRQ518 &device, const QByteArray &scenes);

} // namespace Shows

#endif // SHOWTRANSFER_H
