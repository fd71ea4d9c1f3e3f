#ifndef SIM_FAULTS_H
#define SIM_FAULTS_H

#include "simulator/simdriver.h"

#include <QByteArray>
#include <QList>

namespace sim::model {

// The faults planted in one simulated device (the control interface's
// failTransfers, shortenTransfers, corruptReads, refuse... and setLatency).
// Each rule counts down as the bus consults it.
class Faults
{
public:
    // How a hit transfer goes wrong.
    struct Hit
    {
        enum Kind { None, Fail, Shorten, Unplug } kind = None;
        int value = 0;          // errno for Fail, length for Shorten
    };

    void failTransfers(int request, int times, int skip, int errnoValue);
    void shortenTransfers(int request, int length, int times, int skip);
    void unplugAtTransfer(int request, int skip);
    void corruptReads(Memory memory, quint32 address, int times);
    void refuseOpen(int errnoValue, int times);
    void refuseSetConfiguration(int times, int errnoValue);
    void refuseClaimInterface(int times);
    void setLatency(int milliseconds) { latencyMs = milliseconds; }
    void clear();

    // The fault for this control transfer. Every rule that matches the
    // request counts it; the first one added that hits it decides.
    Hit transfer(int request);
    // Inverts the bytes of a read that a corruption covers.
    void corrupt(Memory memory, quint32 address, QByteArray &data);
    // The errno of a refused usb_open, set_configuration or claim; 0 to let it pass.
    int openRefusal();
    int configurationRefusal();
    int claimRefusal();
    int latency() const { return latencyMs; }

private:
    struct Rule
    {
        Hit hit;
        int request;
        int skip;
        int times;
    };
    struct Corruption
    {
        Memory memory;
        quint32 address;
        int times;
    };
    struct Refusal
    {
        int errnoValue = 0;
        int times = 0;
        int take();
    };

    QList<Rule> rules;
    QList<Corruption> corruptions;
    Refusal open;
    Refusal configuration;
    Refusal claim;
    int latencyMs = 0;
};

} // namespace sim::model

#endif // SIM_FAULTS_H
