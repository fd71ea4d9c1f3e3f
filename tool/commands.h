#ifndef TOOL_COMMANDS_H
#define TOOL_COMMANDS_H

#include "tool/console.h"

class DriverWatcher;

// The subcommands of vn274-tool. Each takes its arguments after its name,
// without --help (answered before it runs), and returns its exit status.
namespace tool {

// Files: filecommands.cpp
int hex2bin(const QStringList &args, Console &console);
int mkupg(const QStringList &args, Console &console);
int upginfo(const QStringList &args, Console &console);
int mkboot(const QStringList &args, Console &console);
int show2json(const QStringList &args, Console &console);
int json2show(const QStringList &args, Console &console);
// For tests: called after each image of a batch is written, before the
// record confirms the batch; null: nothing.
void setImageWrittenHook(void (*hook)(int written));

// The production record: recordcommands.cpp
int serials(const QStringList &args, Console &console);
int history(const QStringList &args, Console &console);
int initRecord(const QStringList &args, Console &console);

// The driver: devicecommands.cpp, and list in drivers.cpp
int list(const QStringList &args, Console &console);
int upgrade(const QStringList &args, Console &console);
// upgrade --all (upgradeall.cpp), and the station (station.cpp).
int upgradeAll(const QString &fileName, const Arguments &args, Console &console);
int station(const QStringList &args, Console &console);
// For vn274-tool-sim, whose simulated buses udev does not see: how the
// station begins to watch for drivers plugged in. Null: udev's monitor.
void setDriverWatchStart(bool (*start)(DriverWatcher &watcher));
int info(const QStringList &args, Console &console);
int getPrograms(const QStringList &args, Console &console);
int setPrograms(const QStringList &args, Console &console);
int getScenes(const QStringList &args, Console &console);
int setScenes(const QStringList &args, Console &console);

} // namespace tool

#endif // TOOL_COMMANDS_H
