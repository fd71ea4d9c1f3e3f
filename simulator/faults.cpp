#include "simulator/faults.h"

#include <cerrno>

namespace sim::model {

void Faults::failTransfers(int request, int times, int skip, int errnoValue)
{
    rules.append(Rule{Hit{Hit::Fail, errnoValue}, request, skip, times});
}

void Faults::shortenTransfers(int request, int length, int times, int skip)
{
    rules.append(Rule{Hit{Hit::Shorten, length}, request, skip, times});
}

void Faults::unplugAtTransfer(int request, int skip)
{
    rules.append(Rule{Hit{Hit::Unplug, ENODEV}, request, skip, 1});
}

void Faults::corruptReads(Memory memory, quint32 address, int times)
{
    corruptions.append(Corruption{memory, address, times});
}

void Faults::refuseOpen(int errnoValue, int times)
{
    open = Refusal{errnoValue, times};
}

void Faults::refuseSetConfiguration(int times, int errnoValue)
{
    configuration = Refusal{errnoValue, times};
}

void Faults::refuseClaimInterface(int times)
{
    claim = Refusal{EBUSY, times};
}

void Faults::clear()
{
    *this = Faults();
}

Faults::Hit Faults::transfer(int request)
{
    Hit hit;
    for (Rule &rule : rules) {
        if (rule.request != AnyRequest && rule.request != request)
            continue;
        if (rule.skip > 0) {
            --rule.skip;
            continue;
        }
        if (rule.times == 0)
            continue;
        if (rule.times > 0)
            --rule.times;
        if (hit.kind == Hit::None)
            hit = rule.hit;
    }
    return hit;
}

void Faults::corrupt(Memory memory, quint32 address, QByteArray &data)
{
    for (Corruption &c : corruptions) {
        if (c.memory != memory || c.times == 0 || c.address < address || c.address - address >= quint32(data.size()))
            continue;
        data[int(c.address - address)] = char(~data.at(int(c.address - address)));
        if (c.times > 0)
            --c.times;
    }
}

int Faults::Refusal::take()
{
    if (times == 0)
        return 0;
    if (times > 0)
        --times;
    return errnoValue;
}

int Faults::openRefusal()
{
    return open.take();
}

int Faults::configurationRefusal()
{
    return configuration.take();
}

int Faults::claimRefusal()
{
    return claim.take();
}

} // namespace sim::model
