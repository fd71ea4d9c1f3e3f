#ifndef BENCHMARK_H
#define BENCHMARK_H

#include <QString>
#include <QStringList>

#include <functional>

// Helpers shared by the measurements of vn274-bench.
namespace bench {

// Prints one figure as "name: value unit".
void report(const char *name, double value, const char *unit);

// The shortest wall-clock time, in seconds, that one call of work took, over
// repeated calls lasting at least minSeconds together and at least minRuns
// calls. The shortest run is the one least disturbed by the rest of the machine.
double bestSeconds(const std::function<void()> &work, double minSeconds = 0.3, int minRuns = 5);

// Runs the program with its output streams on /dev/null; its exit status, or
// -1 when it could not be run.
int runProcess(const QString &program, const QStringList &args);

// Signs the file with minisign and the project's test key, which the bench
// pins: FILE.minisig beside it, a legacy signature ("Ed") when asked.
bool signRelease(const QString &file, bool legacy = false);

// A path for a scratch file in a directory that lives as long as the program.
QString scratchPath(const QString &name);

// The benchmark firmware as an upgrade file, signed: its path among the
// scratch files. Stops the program when it cannot be made.
QString signedSampleRelease();

} // namespace bench

// The measurements. Each prints its own figures; main() lists them.
void measureScrambling();            // encode_vs_memcpy, decode_vs_memcpy
void measureHexToBin();              // hex2bin_mb_per_s
void measureUpgradeFileCreation();   // mkupg_ms
void measureUpgrade();               // upgrade_cpu_ms, upgrade_transfers
void measureConcurrentUpgrade();     // upgrade_1_ms, upgrade_all_8_ms, upgrade_all_8_ratio
void measureToolHexToBin();          // hex2bin_process_*: vn274-tool, objcopy, srec_cat
void measureToolBootloaderBatch();   // mkboot_999_ms, mkboot_next_999_ms, mkboot_hex_read_ms, mkboot_999_files_only_ms
void measureReleaseVerification();   // verify_upg_ms, verify_upg_legacy_ms, minisign_verify_process_ms
void measureStartup();               // startup_window_ms, startup_bare_window_ms, startup_ratio, and in CPU time
void measureEditing();               // undo_ms, redo_ms, step_move_ms (median and worst, wall and CPU)
void measureDialogEventLoop();       // alldrivers_8_tick_gap_ms: the window's loop while its dialog changes 8 drivers

#endif // BENCHMARK_H
