#include "tool/firmwarechanges.h"

#include "tool/interruption.h"
#include "tool/record.h"

#include <QJsonObject>
#include <QSocketNotifier>

#include <cstdint>
#include <unistd.h>

namespace tool {

int refuseRelease(const CheckedRelease &release, Console &console)
{
    const QString &fileName = release.fileName;
    if (!release.signature.accepted())
        return console.fail(ExitBadInput, QStringLiteral("%1: %2").arg(fileName, release.signature.message));
    // A build without release keys writes any file: never without a word.
    if (release.signature.verdict == SignatureVerdict::NotChecked)
        warn(console, release.signature.message);
    const UpgradeFileResult checked = release.content.result;
    if (checked != UpgradeFileResult::Ok)
        return console.fail(ExitBadInput, QStringLiteral("%1: %2, the upgrade refuses this file")
                                                  .arg(fileName, QLatin1String(upgradeFileResultName(checked))));
    return ExitSuccess;
}

int setRelease(ConcurrentUpgrade &upgrade, const QString &fileName, Console &console)
{
    upgrade.setRelease(fileName);
    return refuseRelease(upgrade.release(), console);
}

StopRequests::StopRequests(ConcurrentUpgrade &upgrade) : upgrade(upgrade)
{
    const int descriptor = InterruptGuard::requestsFd();
    if (descriptor < 0)
        return;
    notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, descriptor] {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t read = ::read(descriptor, &count, sizeof count);
        // Two signals may have come before the loop looked: each is a request.
        while (forwarded < qMin(InterruptGuard::requests(), 2)) {
            ++forwarded;
            this->upgrade.requestStop();
            emit requested(forwarded);
        }
    });
}

namespace {

// A step in words, for a machine, and its percentage's label as the change of
// one driver shows it.
struct StepText
{
    UpgradeStep step;
    const char *words;
    const char *name;
    const char *percentLabel;
};

const StepText stepTexts[] = {
    { UpgradeStep::Connecting, "connecting", "connecting", "" },
    { UpgradeStep::RestartingIntoBootloader, "restarting into its bootloader", "restarting_into_bootloader", "" },
    { UpgradeStep::WritingApplication, "writing the application", "writing_application", "Flash" },
    { UpgradeStep::WritingExternalFlash, "writing the external flash", "writing_external_flash",
      "External flash write" },
    { UpgradeStep::VerifyingExternalFlash, "verifying the external flash", "verifying_external_flash",
      "External flash verify" },
    { UpgradeStep::StartingApplication, "starting the new application", "starting_application", "" },
};

const StepText &stepText(UpgradeStep step)
{
    for (const StepText &text : stepTexts)
        if (text.step == step)
            return text;
    return stepTexts[0];
}

} // namespace

QString stepWords(UpgradeStep step)
{
    return QLatin1String(stepText(step).words);
}

QString stepName(UpgradeStep step)
{
    return QLatin1String(stepText(step).name);
}

QString percentLabel(UpgradeStep step)
{
    return QLatin1String(stepText(step).percentLabel);
}

QString resultLine(const DriverResult &result)
{
    switch (result.ending) {
    case ChangeEnding::Succeeded:
        return QStringLiteral("the new application runs");
    case ChangeEnding::Interrupted:
        return QStringLiteral("stopped after \"%1\" (%2)%3")
                .arg(result.outcome.simplified(), stepWords(result.step),
                     result.inBootloader ? QStringLiteral("; in its bootloader, ready for another attempt") : QString());
    case ChangeEnding::Failed:
        break;
    }
    return QStringLiteral("%1 (%2)").arg(FirmwareHistoryRow::outcome(result.ending, result.outcome),
                                         stepWords(result.step));
}

QJsonObject resultJson(const DriverResult &result)
{
    const bool interrupted = result.ending == ChangeEnding::Interrupted;
    return { { "serial", QString::fromLatin1(result.serial) },
             { "succeeded", result.ending == ChangeEnding::Succeeded },
             { "outcome", FirmwareHistoryRow::outcome(result.ending, result.outcome) },
             { "step", stepName(result.step) },
             { "seconds", double(result.milliseconds) / 1000.0 },
             // looked at only for a change stopped halfway
             { "in_bootloader", interrupted ? QJsonValue(result.inBootloader) : QJsonValue(QJsonValue::Null) },
             { "recorded", result.recorded } };
}

bool reportRecordProblems(const QList<DriverResult> &results, bool recordNamed, bool neverIssuedSaid,
                          Console &console)
{
    bool failed = false;
    QStringList neverIssued;
    QString warning;
    for (const DriverResult &result : results) {
        const QString serial = QString::fromLatin1(result.serial);
        if (!result.recordWarning.isEmpty()) {
            neverIssued << serial;
            warning = result.recordWarning;
        }
        if (result.recorded || result.recordProblem.isEmpty())
            continue;
        const QString problem = QStringLiteral("%1: %2").arg(
                serial, FirmwareHistoryRow::notRecorded(FirmwareHistoryRow::outcome(result.ending, result.outcome),
                                                        result.recordProblem));
        if (recordNamed) {
            console.fail(ExitFailure, problem);
            failed = true;
        } else {
            warn(console, problem);
        }
    }
    if (neverIssuedSaid || neverIssued.isEmpty())
        return failed;
    warn(console, neverIssued.size() == 1
                          ? warning
                          : QStringLiteral("the record never issued the serial numbers %1; their firmware changes "
                                           "are recorded all the same")
                                    .arg(neverIssued.join(QStringLiteral(", "))));
    return failed;
}

} // namespace tool
