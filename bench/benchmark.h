#ifndef BENCHMARK_H
#define BENCHMARK_H

#include <QString>

#include <functional>

// Helpers shared by the measurements of vn274-bench.
namespace bench {

// Prints one figure as "name: value unit".
void report(const char *name, double value, const char *unit);

// The shortest wall-clock time, in seconds, that one call of work took, over
// repeated calls lasting at least minSeconds together and at least minRuns
// calls. The shortest run is the one least disturbed by the rest of the machine.
double bestSeconds(const std::function<void()> &work, double minSeconds = 0.3, int minRuns = 5);

// A path for a scratch file in a directory that lives as long as the program.
QString scratchPath(const QString &name);

} // namespace bench

// The measurements. Each prints its own figures; main() lists them.
void measureScrambling();            // encode_vs_memcpy, decode_vs_memcpy
void measureHexToBin();              // hex2bin_mb_per_s
void measureUpgradeFileCreation();   // mkupg_ms
void measureUpgrade();               // upgrade_cpu_ms, upgrade_transfers
void measureToolHexToBin();          // hex2bin_process_*: vn274-tool, objcopy, srec_cat
void measureToolBootloaderBatch();   // mkboot_999_ms, mkboot_hex_read_ms, mkboot_999_files_only_ms
void measureStartup();               // startup_window_ms, startup_bare_window_ms, startup_ratio, and in CPU time
void measureEditing();               // undo_ms, redo_ms, step_move_ms (median and worst, wall and CPU)

#endif // BENCHMARK_H
