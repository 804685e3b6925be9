#pragma once
// What the serial line asks of the system's driver beyond QSerialPort, one implementation
// per system in SerialDriver.cpp. On Linux: the low-latency mode of USB-serial adapters
// and writing a command line straight to the device. On Windows neither is offered: a
// USB-serial adapter's latency timer is a setting of its driver (Device Manager, the
// port's Properties, Port Settings, Advanced: "Latency Timer", 16 ms by default on common
// chips; 1 to 2 ms roughly halves a page upload), and writes go through QSerialPort.
#include <QSerialPort>
#include <string_view>

namespace q5::qtlink {

// Puts the adapter's driver into low-latency mode. False when the driver has no such
// mode (pseudo-terminals, some adapters, every port on Windows).
bool SetDriverLowLatency(QSerialPort& port);

// Writes as much of data as the driver takes at once, straight to the device (bypassing
// QSerialPort's write buffer, whose notifier would wake the event loop twice more per
// command). Returns how many bytes were written; 0 where this is not done.
std::size_t WriteToDriver(QSerialPort& port, std::string_view data);

}  // namespace q5::qtlink
