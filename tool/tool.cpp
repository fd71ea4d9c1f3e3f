#include "tool/tool.h"

#include "app/version.h"
#include "tool/commands.h"
#include "tool/console.h"
#include "upgrade/releasesignature.h"
#include "usb/transferscrambling.h"

namespace {

using namespace tool;

struct Command
{
    const char *name;
    const char *usage;     // its arguments
    const char *summary;   // one line in the list of commands
    const char *details;   // the rest of its --help
    int (*run)(const QStringList &args, Console &console);
    bool usesDriver;       // listed among the driver's commands
    bool choosesDriver;    // talks to one driver, chosen by --serial
};

const Command commands[] = {
    { "hex2bin", "FILE.hex FIRST LAST OUT.bin [--fill BYTE]",
      "a window of addresses of a HEX file as a raw image",
      "Writes the bytes of an Intel HEX file for the addresses FIRST to LAST, both\n"
      "included, as a raw image of LAST - FIRST + 1 bytes. Addresses the file does\n"
      "not define are filled with BYTE: 0xFF, erased flash, unless given. Addresses\n"
      "and BYTE are decimal, or hexadecimal after 0x (0x08004000); the window spans\n"
      "at most 16 MiB. A HEX error is reported by its code and name, and nothing is\n"
      "written.\n"
      "Every file the tool writes replaces an existing file only once the whole new\n"
      "one is written, keeping its permissions; a device or FIFO (/dev/stdout) is\n"
      "written into. An output that is the input is refused.\n",
      hex2bin, false, false },
    { "mkupg", "FILE.hex OUT.upg",
      "an upgrade file from the firmware build's HEX file",
      "Makes the upgrade file that \"CreateUpg\" of the service panel makes from the\n"
      "same HEX file, byte for byte: the application (0x08004000-0x0801FFFF) and\n"
      "the external flash data (0x08020000-0x08033FFF), each ending in its checksum\n"
      "word, scrambled. A HEX error is reported as \"HexToBin error: CODE)\" with the\n"
      "code's name, and no file is written; so is a HEX file without its end-of-file\n"
      "record (it may be cut short) or with nothing for the application (the\n"
      "bootloader's, given by mistake).\n",
      mkupg, false, false },
    { "upginfo", "FILE.upg [--json]",
      "header, version, size and checksums of an upgrade file",
      "Shows an upgrade file's header, version and image size, the checksum words\n"
      "of the application and of the external flash data as stored and as computed,\n"
      "and the release signature's verdict (FILE.upg.minisig, by a release key\n"
      "this tool pins) with its trusted comment. Exit status 0 for a file the\n"
      "upgrade accepts, 2 for one it refuses.\n"
      "--json: the same as one JSON object on one line (numbers as numbers, null for\n"
      "what the file does not reach; \"path\", \"verdict\": \"ok\" or why the upgrade\n"
      "refuses the file); errors still go to standard error.\n",
      upginfo, false, false },
    { "mkboot", "FILE.hex YYMMDDNNN OUT.bin [--reissue] | "
                "FILE.hex --serial-from YYMMDDNNN --count N --out-dir DIR [--reissue] | "
                "FILE.hex --next N --out-dir DIR [--date YYMMDD]",
      "bootloader images stamped with serial numbers",
      "Makes the bootloader image that \"CreateBootBin\" of the service panel makes,\n"
      "byte for byte: 16384 bytes for 0x08000000-0x08003FFF, gaps 0xFF, the serial\n"
      "number's nine digits at 0x08003FF0. A serial number is YYMMDDNNN: month\n"
      "01-12, day 01-31, number 001-999.\n"
      "The second form makes N images with consecutive numbers from the one given,\n"
      "named Vn274Bootloader_<serial>.bin in DIR (made when missing), and prints\n"
      "their paths. A batch that would run past number 999 is refused before\n"
      "anything is written. A HEX error writes nothing, and neither does a HEX file\n"
      "with nothing for 0x08000000-0x08003FFF (the application's, given by mistake).\n"
      "The third form takes the next N production numbers of the day (today unless\n"
      "--date) that no station has taken, from the production record, and makes\n"
      "their images as the second form does. More than the day has left is refused.\n"
      "Every serial number made is recorded as issued, with the station and the\n"
      "image file; one issued before is refused (exit status 2, the clashes listed)\n"
      "unless --reissue, which records it as a reissue. An image that could not be\n"
      "written is not recorded as issued. The folder is checked before any number is\n"
      "taken. Ctrl+C (SIGINT, SIGTERM) lets the image being written finish, records\n"
      "the images written as issued and the other numbers void, and ends with exit\n"
      "status 130.\n"
      "--no-record: make the images without the production record (not with --next).\n",
      mkboot, false, false },
    { "show2json", "FILE.pgm|FILE.scn [OUT.json]",
      "a programs or scenes file as JSON text",
      "Writes a programs file (.pgm) or a scenes file (.scn), told by its header, as\n"
      "JSON to OUT.json or, without it, to standard output. Each step or scene is one\n"
      "line, its keys always in the same order, so that a change of one lamp is a\n"
      "change of one line:\n"
      "  {\"format\": \"vn274-programs\", \"version\": 1, \"programs\": [{\"steps\": [20 steps]}, ...8]}\n"
      "  {\"format\": \"vn274-scenes\", \"version\": 1, \"scenes\": [8 scenes]}\n"
      "  {\"xfade\": 50, \"scene_time_ms\": 400, \"end_marker\": 0,\n"
      "   \"lamps\": [\"#FF0000\", ...12], \"reserved\": \"000000\"}\n"
      "end_marker is the record's byte (the window shows anything but 0 as 1) and\n"
      "reserved the three bytes no field names, so json2show gives the same file\n"
      "back, byte for byte.\n",
      show2json, false, false },
    { "json2show", "FILE.json OUT.pgm|OUT.scn",
      "programs or scenes from JSON text into their file",
      "Makes the programs or scenes file that the JSON of show2json stands for (its\n"
      "\"format\" tells which). Every key, type, count and value is checked; the\n"
      "first that is wrong is named by its place, counted from 0\n"
      "(programs[2].steps[5].lamps[3] is lamp 4 of step 6 of program 3), broken\n"
      "JSON by its line and column, and nothing is written (exit status 2). Files\n"
      "over 1 MiB are refused unread.\n",
      json2show, false, false },
    { "serials", "[--date YYMMDD] [--json|--csv] [--db URL]",
      "the serial numbers the production record issued",
      "Lists the serial numbers in the production record, of one production day\n"
      "with --date: date, status (issued, or reserved by a batch that did not\n"
      "finish), station (host name), time (UTC), image file and reissues.\n"
      "--json: one JSON object {\"serials\": [...]} on one line; --csv: a header line\n"
      "and one line each.\n",
      serials, false, false },
    { "history", "[--serial S] [--since DATE] [--json|--csv] [--db URL]",
      "the firmware changes in the production record, newest first",
      "Lists the firmware changes of every vn274-tool upgrade in the production\n"
      "record, newest first: start and end (UTC), the driver's serial number,\n"
      "station, outcome (success, or the line that ended the change), the upgrade\n"
      "file's name and SHA-256 and the scrambling key's fingerprint, and the key id\n"
      "and trusted comment of its signature.\n"
      "--serial S: one driver's changes; --since DATE: those started on or after\n"
      "DATE: a day (2024-12-08) or an ISO 8601 time with its offset\n"
      "(2024-12-08T19:32:00+05:00, 2024-12-08T19:32Z; UTC without one).\n"
      "--json: one JSON object {\"history\": [...]} on one line; --csv: a header line\n"
      "and one line each.\n",
      history, false, false },
    { "init-record", "[--db URL]",
      "make the production record, or check that it can be written",
      "Makes the production record's tables where they are missing, and checks that\n"
      "this user may write the record: what mkboot and upgrade need. The record's\n"
      "owner runs it once before stations whose role may not create tables use it;\n"
      "a station runs it to check its role's rights. Prints the record's URL (never\n"
      "its password).\n",
      initRecord, false, false },
    { "list", "[--json]",
      "the Vn274 drivers connected: bus, device, mode, serial number",
      "Lists every Vn274 on USB that identifies itself (request 255), one line each:\n"
      "bus, device number, mode (application or bootloader, told by its serial\n"
      "string) and serial string. A device with the Vn274's USB ids that cannot be\n"
      "opened is reported on standard error (it may be a driver missing from the\n"
      "list), with exit status 1; so is an empty list.\n"
      "--json: the same as one JSON object on one line, {\"drivers\": [{\"bus\": 2,\n"
      "\"device\": 3, \"mode\": \"application\", \"serial\": \"240611027\"}]}.\n",
      list, true, false },
    { "upgrade", "FILE.upg [--serial S] [--db URL]",
      "change the driver's firmware",
      "Changes the driver's firmware from an upgrade file, as \"Firmware Change\" of\n"
      "the window does: the release signature (FILE.upg.minisig, by a release key\n"
      "this tool pins) and the file are checked before the driver is touched, and\n"
      "the signature's trusted comment is printed; a driver running its application\n"
      "is restarted into its bootloader; the application is written and verified\n"
      "page by page, then the external flash data, and only then is the new\n"
      "application started. The steps are printed as they come, the flash writes as\n"
      "progress bars on a terminal and as percentages otherwise.\n"
      "Then it waits up to 10 s for the driver to come back in application mode\n"
      "under its serial number. Exit status 0 only when the new firmware was\n"
      "verified, started and came back; 1 when it did not come back; 2 for a\n"
      "release whose signature is refused.\n"
      "Every change that reaches a driver adds a row to the production record's\n"
      "firmware history (vn274-tool history), successful or not.\n"
      "Ctrl+C (SIGINT, SIGTERM) during the change lets it finish, for a driver stopped\n"
      "halfway is left in its bootloader; a second one stops it at its next step,\n"
      "recorded as \"interrupted\". Either way the exit status is 130.\n",
      upgrade, true, true },
    { "info", "[--serial S] [--json]",
      "the driver's mode, serial string, bootloader texts and status word",
      "Shows the driver's mode (application or bootloader, told by its serial\n"
      "string), the serial string, the bootloader's two version texts at 0x08003FD0\n"
      "and the status word, the fingerprint of the scrambling key this tool was\n"
      "built with and its release keys' ids (as --version shows them).\n"
      "--json: the same as one JSON object on one line, the status word as a number\n"
      "and as the list of its set bits, null for what could not be read,\n"
      "\"connected\": false when no driver could be used; errors still go to standard\n"
      "error.\n",
      info, true, true },
    { "get-programs", "OUT.pgm|OUT.json [--serial S]",
      "the driver's programs into a programs file",
      "Reads the eight programs from the driver into a programs file, the file\n"
      "\"Save Programs To File\" of the window writes; as JSON (see show2json) when\n"
      "the name ends in .json.\n",
      getPrograms, true, true },
    { "set-programs", "IN.pgm|IN.json [--serial S]",
      "a programs file into the driver",
      "Writes the programs of a programs file to the driver and reads them back to\n"
      "check them. A file whose name ends in .json, or that begins with \"{\", is\n"
      "read as JSON (see json2show), checked in full before the driver is touched.\n",
      setPrograms, true, true },
    { "get-scenes", "OUT.scn|OUT.json [--serial S]",
      "the driver's scenes into a scenes file",
      "Reads the eight scenes from the driver into a scenes file, the file \"Save\n"
      "Scenes To File\" of the window writes; as JSON (see show2json) when the name\n"
      "ends in .json.\n",
      getScenes, true, true },
    { "set-scenes", "IN.scn|IN.json [--serial S]",
      "a scenes file into the driver",
      "Writes the scenes of a scenes file to the driver and reads them back to check\n"
      "them. A file whose name ends in .json, or that begins with \"{\", is read as\n"
      "JSON (see json2show), checked in full before the driver is touched.\n",
      setScenes, true, true },
};

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands)
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

QString overview()
{
    QString text = QStringLiteral("usage: vn274-tool COMMAND [ARGUMENTS]    (vn274-tool COMMAND --help for more)\n"
                                  "\n"
                                  "The Vn274 LED driver's firmware and shows from the command line.\n");
    for (bool driver : { false, true }) {
        text += driver ? QStringLiteral("\nThe driver on USB:\n") : QStringLiteral("\nFiles:\n");
        for (const Command &command : commands)
            if (command.usesDriver == driver)
                text += QStringLiteral("  %1 %2\n").arg(QLatin1String(command.name), -13).arg(QLatin1String(command.summary));
    }
    return text + QStringLiteral(
            "\n"
            "Exit status: 0 success, 1 the driver failed, is missing or may not be opened,\n"
            "or a check failed, 2 bad usage or an input or output file that cannot be used,\n"
            "or several drivers connected and none chosen with --serial, 130 interrupted\n"
            "(SIGINT, SIGTERM).\n"
            "vn274-tool --version: the version, the fingerprint of the scrambling key\n"
            "table built in and the release keys' ids.\n"
            "The USB link's debug output: QT_LOGGING_RULES=\"default.debug=true\".\n");
}

// How the driver commands choose their driver, after each one's own help.
const char driverChoiceHelp[] =
    "--serial S: the driver whose serial number is S, as vn274-tool list shows it;\n"
    "S or S followed by b (the bootloader's form) selects it, in either mode and\n"
    "through every restart. Without --serial the one driver connected is used;\n"
    "with several connected, or two with the serial number S, the command refuses\n"
    "(exit status 2) and lists them.\n";

// Where the commands that keep the production record find it.
const char recordHelp[] =
    "--db URL: the production record, a file path or sqlite:PATH (SQLite), or\n"
    "postgresql://[user[:password]@][host][:port]/dbname[?parameter=value&...]\n"
    "with libpq's parameters host (a socket folder), sslmode, sslrootcert,\n"
    "sslcert, sslkey, connect_timeout, application_name and service. Keep the\n"
    "password in a password file (PGPASSFILE, ~/.pgpass) or a service entry: one\n"
    "in the URL works, with a warning. Without --db: VN274_DB, else an SQLite file\n"
    "in the user's data folder. A record that cannot be reached or written stops\n"
    "mkboot and upgrade (exit status 1) before they make or change anything\n"
    "(upgrade goes on, with a warning, without the local file); serials and\n"
    "history only read a record that exists.\n";

QString help(const Command &command)
{
    QString text;
    const QStringList forms = QString::fromLatin1(command.usage).split(QStringLiteral(" | "));
    for (int i = 0; i < forms.size(); ++i)
        text += QStringLiteral("%1vn274-tool %2%3%4\n")
                        .arg(QLatin1String(i == 0 ? "usage: " : "       "), QLatin1String(command.name),
                             QLatin1String(forms.at(i).isEmpty() ? "" : " "), forms.at(i));
    text += QLatin1Char('\n') + QLatin1String(command.details);
    if (command.choosesDriver)
        text += QLatin1String(driverChoiceHelp);
    if (command.run == mkboot || command.run == upgrade || command.run == serials || command.run == history
        || command.run == initRecord)
        text += QLatin1String(recordHelp);
    return text;
}

// --help or -h anywhere before a "--".
bool asksForHelp(const QStringList &args)
{
    for (const QString &arg : args) {
        if (arg == QLatin1String("--"))
            return false;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return true;
    }
    return false;
}

int unknownCommand(const QString &name, Console &console)
{
    return console.fail(ExitBadInput, QStringLiteral("unknown command %1    (vn274-tool --help lists them)").arg(name));
}

// What the program does before a command runs: the overview, a command's
// help, the version; otherwise the command.
int run(const QStringList &args, const Command *command, Console &console)
{
    if (args.isEmpty()) {
        console.writeError(overview());
        return ExitBadInput;
    }
    const QString &name = args.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        if (args.size() > 2)
            return console.fail(ExitBadInput, QStringLiteral("%1 takes one command at most").arg(name));
        if (args.size() == 1) {
            console.write(overview());
            return ExitSuccess;
        }
        const Command *asked = findCommand(args.at(1));
        if (!asked)
            return unknownCommand(args.at(1), console);
        console.write(help(*asked));
        return ExitSuccess;
    }
    if (name == QLatin1String("--version")) {
        if (args.size() > 1)
            return console.fail(ExitBadInput, QStringLiteral("--version takes no arguments"));
        // A production line checks here that a station runs the build with its
        // firmware's key table.
        console.print(QStringLiteral("vn274-tool %1").arg(QLatin1String(vn274Version)));
        console.print(QStringLiteral("scrambling key: ") + transferKeyFingerprint());
        console.print(releaseKeyDescription());
        return ExitSuccess;
    }

    if (!command)
        return unknownCommand(name, console);
    const QStringList rest = args.mid(1);
    if (asksForHelp(rest)) {
        console.write(help(*command));
        return ExitSuccess;
    }
    return command->run(rest, console);
}

} // namespace

int runTool(const QStringList &args, QTextStream &out, QTextStream &err, bool terminal)
{
    const Command *command = args.isEmpty() ? nullptr : findCommand(args.first());
    Console console(out, err, terminal, command ? args.first() : QString(),
                    command ? QString::fromLatin1(command->usage) : QString());
    return console.finish(run(args, command, console));
}
