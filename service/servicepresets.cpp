#include "service/servicepresets.h"

ServicePresets &servicePresets()
{
    static ServicePresets presets;
    return presets;
}

QString hexPresetText(quint32 value)
{
    return QLatin1String("0x") + QString::number(value, 16);
}
