#include "shows/lampcolours.h"

#include "shows/showtables.h"
#include "widgets/superrgb.h"

namespace Shows {

void takeLampColours(const QList<SuperRGB *> &lamps, SceneRecord &record)
{
    for (int lamp = 0; lamp < LampsPerScene && lamp < lamps.size(); ++lamp) {
        const QColor colour = lamps.at(lamp)->color();
        record.lampRgb[3 * lamp] = quint8(colour.red());
        record.lampRgb[3 * lamp + 1] = quint8(colour.green());
        record.lampRgb[3 * lamp + 2] = quint8(colour.blue());
    }
}

void showLampColours(const SceneRecord &record, const QList<SuperRGB *> &lamps)
{
    for (int lamp = 0; lamp < LampsPerScene && lamp < lamps.size(); ++lamp) {
        SuperRGB *editor = lamps.at(lamp);
        editor->setRedColor(record.lampRgb[3 * lamp]);
        editor->setGreenColor(record.lampRgb[3 * lamp + 1]);
        editor->setBlueColor(record.lampRgb[3 * lamp + 2]);
    }
}

} // namespace Shows
