#include "simulateddrivers.h"

#include "common/releasesigning.h"
#include "common/testfiles.h"
#include "simulator/simdriver.h"
#include "upgrade/upgradefile.h"

#include <QDir>

namespace {

constexpr int WritePageRequest = 3;
constexpr int FirstApplicationPage = 16;

} // namespace

QByteArray simulatedSerial(int index)
{
    return QByteArray::number(240611027 + index);
}

void setUpSimulatedDrivers(int count)
{
    for (int i = sim::driverCount(); i < count; ++i)
        sim::addDriver(simulatedSerial(i));
    for (int i = 0; i < count; ++i)
        sim::driver(i).setReenumeration(2, 600000);
}

QString signedRelease(const QString &folder, const QByteArray &hex)
{
    const QString hexFile = QDir(folder).filePath("sample.hex");
    writeBytes(hexFile, hex);
    const QString upgFile = QDir(folder).filePath("sample.upg");
    if (!writeUpgradeFile(upgFile, buildUpgradeImage(hexFile).image)
        || !releasesigning::sign(upgFile, "Vn274 firmware 2.1"))
        return QString();
    return upgFile;
}

PageFortyHold::PageFortyHold(int drivers)
    : drivers(drivers), pages(size_t(drivers + 1))
{
    sim::Hooks hooks;
    hooks.transfer = [this](int device, int request) {
        if (request == WritePageRequest && device < this->drivers
            && ++pages[size_t(device)] == 40 - FirstApplicationPage + 1) {
            arrived.release();
            released.acquire();
        }
    };
    sim::setHooks(hooks);
}

PageFortyHold::~PageFortyHold()
{
    sim::setHooks(sim::Hooks());
}

bool PageFortyHold::waitUntilHeld()
{
    return arrived.tryAcquire(drivers, 30000);
}

void PageFortyHold::release()
{
    released.release(drivers);
}
