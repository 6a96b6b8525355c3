#pragma once

#include <QStringList>

#include <functional>

// Lists the paths of the serial ports present, in the order in which each was first
// seen during this run: the ports present at the first listing come first, a port
// attached later comes after all of them. So "the first port beyond those present at
// start-up" is the newly attached one, whatever the device names.
//
// The ports are the system's (QSerialPortInfo) plus every existing path matched by the
// colon-separated glob patterns of the environment variable PEDAL_EXTRA_PORTS (read at
// each listing), so that a pedal simulated on a pseudo-terminal counts as a port:
//     PEDAL_EXTRA_PORTS=/dev/pts/[0-9]*
class PortLister
{
public:
    using SystemListing = std::function<QStringList()>;

    // `system` lists the system's port paths; empty means QSerialPortInfo.
    explicit PortLister(SystemListing system = nullptr);

    // The paths present now, ordered by first sighting.
    QStringList paths();

    // The paths that PEDAL_EXTRA_PORTS matches now (sorted per pattern).
    static QStringList extraPorts();
    static QStringList systemPorts();

private:
    SystemListing m_system;
    QStringList m_seen; // every path seen in this run, in order of first sighting
};
