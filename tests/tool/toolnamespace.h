#ifndef TOOLNAMESPACE_H
#define TOOLNAMESPACE_H

#include <QStringList>

// What tst_tool reaches in the namespace tool, here, where it cannot meet
// tst_tool's helper of the same name.

// The parser's options that a command may take more than once.
void verifyRepeatableOptions();

// The station in this process watches for nothing: udev's events of the
// machine's own devices are not the simulated buses'.
void watchNoDriversPluggedIn();

// Replays a station's events on its record of the drivers it has seen
// (tool::StationDrivers): "arrive S BUS/DEVICE", "start S", "end S
// BUS/DEVICE..." (its change succeeded, its link having taken the devices
// named). Returns what each arrival was: "new", "own restart" or "plugged in
// again".
QStringList stationArrivals(const QStringList &events);

#endif // TOOLNAMESPACE_H
