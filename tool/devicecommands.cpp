// The subcommands that talk to the driver.
#include "tool/commands.h"

#include "production/upgraderecorder.h"
#include "shows/showtables.h"
#include "shows/showtransfer.h"
#include "tool/drivers.h"
#include "tool/firmwarechanges.h"
#include "tool/interruption.h"
#include "tool/showfileio.h"
#include "tool/progressdisplay.h"
#include "tool/record.h"
#include "upgrade/releasesignature.h"
#include "upgrade/upgradeprocedure.h"
#include "upgrade/upgradesteps.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"

#include <QJsonArray>
#include <QJsonObject>

#include <optional>

namespace tool {

namespace {

// The mode as info shows it to a person.
QString modeName(const QByteArray &serial)
{
    if (upgradesteps::driverMode(serial) == upgradesteps::DriverMode::Neither)
        return QStringLiteral("unknown (the serial string is neither 9 characters nor 10 ending in b)");
    return modeWord(serial);
}

// The pinned release keys' ids.
QJsonArray releaseKeyIds()
{
    QJsonArray ids;
    for (const ReleaseKey &key : pinnedReleaseKeys())
        ids.append(keyIdText(key.keyId));
    return ids;
}

// --- What info tells -----------------------------------------------------------

// What info reads from a connected driver; each read may fail on its own.
struct DriverFacts
{
    bool connected = false;   // a driver could be used at all
    QByteArray serial;
    std::optional<QStringList> bootloaderTexts;   // the two version texts
    std::optional<quint32> statusWord;

    void print(Console &console) const
    {
        console.print(QStringLiteral("mode: ") + modeName(serial));
        console.print(QStringLiteral("serial: ") + QString::fromLatin1(serial));
        if (bootloaderTexts) {
            console.print(QStringLiteral("bootloader text 1: ") + bootloaderTexts->at(0));
            console.print(QStringLiteral("bootloader text 2: ") + bootloaderTexts->at(1));
        }
        if (statusWord)
            console.print(QStringLiteral("status word: ") + hex32(*statusWord));
        console.print(QStringLiteral("scrambling key: ") + transferKeyFingerprint());
        console.print(releaseKeyDescription());
    }

    // The same facts; a read that failed is null, and so is all a driver
    // tells when none could be used ("connected" false). The status word also
    // as the numbers of its set bits, lowest first.
    QJsonObject json() const
    {
        const QJsonArray keys = releaseKeyIds();
        QJsonObject object{ { "connected", connected }, { "mode", QJsonValue::Null }, { "serial", QJsonValue::Null },
                            { "bootloader_texts", QJsonValue::Null }, { "status_word", QJsonValue::Null },
                            { "status_bits", QJsonValue::Null }, { "scrambling_key", transferKeyFingerprint() },
                            { "release_key_ids", keys },
                            // the first key, for scripts written for one
                            { "release_key_id", keys.isEmpty() ? QJsonValue(QJsonValue::Null) : keys.first() } };
        if (connected) {
            object["mode"] = modeWord(serial);
            object["serial"] = QString::fromLatin1(serial);
        }
        if (bootloaderTexts)
            object["bootloader_texts"] = QJsonArray::fromStringList(*bootloaderTexts);
        if (statusWord) {
            object["status_word"] = double(*statusWord);
            QJsonArray bits;
            for (int bit = 0; bit < 32; ++bit)
                if (*statusWord & (quint32(1) << bit))
                    bits.append(bit);
            object["status_bits"] = bits;
        }
        return object;
    }
};

DriverFacts readDriverFacts(USBRQ518 &usb)
{
    DriverFacts facts;
    facts.connected = true;
    facts.serial = usb.getSerial();
    QString first, second;
    if (upgradesteps::readBootloaderVersion(usb, &first, &second))
        facts.bootloaderTexts = QStringList{ first, second };
    quint32 word = 0;
    if (usb.StatusGet(&word) == 0)
        facts.statusWord = word;
    return facts;
}

// --- Programs and scenes -------------------------------------------------------

struct Table
{
    Shows::ShowKind kind;
    const char *name;   // "programs"
    int size;
    Shows::TransferResult (*read)(USBRQ518 &, QByteArray &);
    Shows::TransferResult (*write)(USBRQ518 &, const QByteArray &);
};

const Table programTable = { Shows::ShowKind::Programs, "programs", Shows::ProgramTableSize,
                             Shows::readProgramsFromDriver, Shows::writeProgramsToDriver };
const Table sceneTable = { Shows::ShowKind::Scenes, "scenes", Shows::SceneTableSize,
                           Shows::readScenesFromDriver, Shows::writeScenesToDriver };

QString transferProblem(Shows::TransferResult result, USBRQ518 &usb, const Table &table)
{
    switch (result) {
    case Shows::TransferResult::Done:
        break;
    case Shows::TransferResult::AcquireFailed:
        if (usb.lastConnectionFailure() != UsbDevice::ConnectionFailure::None)
            return connectionProblem(usb);
        return QStringLiteral("the driver did not leave its flash to this program (status bit 0 stayed clear)");
    case Shows::TransferResult::ReadFailed:
        return QStringLiteral("reading the %1 from the driver's external flash failed").arg(QLatin1String(table.name));
    case Shows::TransferResult::WriteFailed:
        return QStringLiteral("writing the %1 to the driver's external flash failed").arg(QLatin1String(table.name));
    }
    return QString();
}

int getTable(const Table &table, const QStringList &args, Console &console)
{
    const std::optional<Arguments> parsed = commandArguments(args, 1, console, { { SerialOption } });
    if (!parsed)
        return ExitBadInput;
    const QString &fileName = parsed->positional.first();

    USBRQ518 usb;
    if (const int refused = chooseDriver(usb, *parsed, console))
        return refused;
    QByteArray content(table.size, '\0');
    const Shows::TransferResult result = table.read(usb, content);
    if (result != Shows::TransferResult::Done)
        return console.fail(ExitFailure, transferProblem(result, usb, table));
    return Shows::isJsonFileName(fileName) ? writeJsonShowFile(table.kind, fileName, content, console)
                                           : writeBinaryShowFile(table.kind, fileName, content, console);
}

int setTable(const Table &table, const QStringList &args, Console &console)
{
    const std::optional<Arguments> parsed = commandArguments(args, 1, console, { { SerialOption } });
    if (!parsed)
        return ExitBadInput;
    const QString &fileName = parsed->positional.first();

    QByteArray content;
    if (const int refused = readShowFile(table.kind, fileName, console, &content))
        return refused;

    USBRQ518 usb;
    if (const int refused = chooseDriver(usb, *parsed, console))
        return refused;
    Shows::TransferResult result = table.write(usb, content);
    if (result != Shows::TransferResult::Done)
        return console.fail(ExitFailure, transferProblem(result, usb, table));
    // The driver gives no word on what it stored: read it back.
    QByteArray stored(table.size, '\0');
    result = table.read(usb, stored);
    if (result != Shows::TransferResult::Done)
        return console.fail(ExitFailure, QStringLiteral("written, but the check failed: %1")
                                                 .arg(transferProblem(result, usb, table)));
    if (stored != content)
        return console.fail(ExitFailure, QStringLiteral("the %1 read back from the driver differ from %2")
                                                 .arg(QLatin1String(table.name), fileName));
    return ExitSuccess;
}

// Adds the change's row; a record named by the user that cannot take it fails
// the command.
int finishRecord(UpgradeRecorder &recorder, ChangeEnding ending, int status, Console &console)
{
    QString problem;
    if (!recorder.finish(ending, &problem))
        return console.fail(ExitFailure, problem);
    return status;
}

} // namespace

int upgrade(const QStringList &args, Console &console)
{
    const QString all = QStringLiteral("all"), json = QStringLiteral("json");
    const std::optional<Arguments> parsed = commandArguments(args, 1, console, { { SerialOption, DatabaseOption },
                                                                                { all, json },
                                                                                { SerialOption } });
    if (!parsed)
        return ExitBadInput;
    const QString &fileName = parsed->positional.first();
    if (parsed->has(all))
        return upgradeAll(fileName, *parsed, console);
    if (parsed->values(SerialOption).size() > 1)
        return console.usageError(QStringLiteral("option --serial given twice: several drivers at once take --all"));
    if (parsed->has(json))
        return console.usageError(QStringLiteral("--json goes with --all"));

    // The release is read and checked once, before any driver is touched; its
    // lines come when the change begins.
    QStringList releaseLines;
    UpgradeProgress checking;
    checking.line = [&releaseLines](const QString &line) { releaseLines << line; };
    const CheckedRelease release = checkRelease(fileName, checking);
    if (const int refused = refuseRelease(release, console))
        return refused;
    // A line that asked for a record changes no firmware it cannot record.
    UpgradeRecorder recorder([&console](const QString &message) { warn(console, message); });
    OpenedRecord record = openRecord(*parsed, console, RecordUse::WriteOrWarn);
    if (record.status != ExitSuccess)
        return record.status;
    recorder.setRecord(std::move(record.database), record.named);
    // As patient as the change's own first connection, so that a driver still
    // coming onto the bus is waited for here too.
    USBRQ518 usb;
    if (const int refused = chooseDriver(usb, *parsed, console))
        return refused;
    if (!connectForFirmwareUpgrade(usb))
        return console.fail(ExitFailure, connectionProblem(usb));
    // Through the restarts of the change only this driver is taken again,
    // never another one that happens to come first on the bus.
    if (usb.selectedSerial().isEmpty())
        usb.selectSerial(usb.getSerial());

    // From here Ctrl+C lets the change finish (a driver stopped halfway is
    // left in its bootloader), unless it is pressed twice; the history row
    // says which, and so does the exit status.
    const QString driver = QString::fromLatin1(USBRQ518::serialNumber(usb.getSerial()));
    const QString prefix = QStringLiteral("vn274-tool upgrade: ");
    const InterruptGuard guard(
            prefix + QStringLiteral("interrupted: the change of the driver %1 will finish, for stopping now would "
                                    "leave it in its bootloader; interrupt again to stop at once").arg(driver),
            prefix + QStringLiteral("interrupted again: the change of the driver %1 stops at its next step, "
                                    "which may leave it in its bootloader").arg(driver));
    FirmwareChangeOutcome outcome;
    {
        ProgressDisplay display(console);
        // The connections end with the display: the device outlives it.
        QObject displayAlive;
        QObject::connect(&usb, &USBRQ518::sendPercentExtFlashWrite, &displayAlive,
                         [&display](int percent) { display.percent(QStringLiteral("External flash write"), percent); });
        QObject::connect(&usb, &USBRQ518::sendPercentExtFlashRead, &displayAlive,
                         [&display](int percent) { display.percent(QStringLiteral("External flash verify"), percent); });
        UpgradeProgress progress;
        progress.line = [&display, &recorder](const QString &line) {
            display.line(line);
            recorder.line(line);
        };
        progress.percent = [&display](int percent) { display.percent(QStringLiteral("Flash"), percent); };
        progress.stopNow = InterruptGuard::stopNow;
        recorder.start(usb.getSerial(), fileName);
        for (const QString &line : std::as_const(releaseLines))
            progress.line(line);
        outcome = changeFirmware(usb, release, progress);
    }
    recorder.signature(outcome.signature.keyId, outcome.signature.trustedComment);
    if (outcome.stopped) {
        const int status = console.fail(ExitInterrupted, QStringLiteral("the change of the driver %1 was stopped after "
                                                                        "\"%2\"; it may be left in its bootloader")
                                                                 .arg(driver, outcome.outcome.simplified()));
        return finishRecord(recorder, ChangeEnding::Interrupted, status, console);
    }
    int status = ExitSuccess;
    if (!outcome.succeeded) {
        QString problem = QStringLiteral("the firmware change failed; the lines above tell where");
        const UsbDevice::ConnectionFailure failure = usb.lastConnectionFailure();
        if (failure != UsbDevice::ConnectionFailure::None && failure != UsbDevice::ConnectionFailure::NotFound)
            problem += QStringLiteral(": ") + connectionProblem(usb);
        status = console.fail(ExitFailure, problem);
    }
    status = finishRecord(recorder, outcome.succeeded ? ChangeEnding::Succeeded : ChangeEnding::Failed, status,
                          console);
    if (InterruptGuard::interrupted())
        return console.fail(ExitInterrupted, QStringLiteral("interrupted; the change of the driver %1 ran to its end "
                                                            "first").arg(driver));
    return status;
}

int info(const QStringList &args, Console &console)
{
    const QString json = QStringLiteral("json");
    const std::optional<Arguments> parsed = commandArguments(args, 0, console, { { SerialOption }, { json } });
    if (!parsed)
        return ExitBadInput;

    USBRQ518 usb;
    if (const int refused = chooseDriver(usb, *parsed, console))
        return refused;
    if (usb.connect() != 0) {
        // A script reading the JSON learns it from the object, as from list's.
        if (parsed->has(json))
            console.printJson(DriverFacts().json());
        return console.fail(ExitFailure, connectionProblem(usb));
    }
    const DriverFacts facts = readDriverFacts(usb);
    if (parsed->has(json))
        console.printJson(facts.json());
    else
        facts.print(console);

    int status = ExitSuccess;
    if (!facts.bootloaderTexts)
        status = console.fail(ExitFailure, QStringLiteral("cannot read the bootloader's version texts"));
    if (!facts.statusWord)
        status = console.fail(ExitFailure, QStringLiteral("cannot read the status word"));
    return status;
}

int getPrograms(const QStringList &args, Console &console)
{
    return getTable(programTable, args, console);
}

int setPrograms(const QStringList &args, Console &console)
{
    return setTable(programTable, args, console);
}

int getScenes(const QStringList &args, Console &console)
{
    return getTable(sceneTable, args, console);
}

int setScenes(const QStringList &args, Console &console)
{
    return setTable(sceneTable, args, console);
}

} // namespace tool
