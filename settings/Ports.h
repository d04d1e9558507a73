#pragma once
// Opening the serial port named in the settings, switching ports, and finding usable ones.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/SerialLine.h"
#include "core/Timer.h"
#include "settings/MessageBoxes.h"
#include "settings/PortDevices.h"
#include "settings/SerialProbe.h"
#include "settings/Store.h"

namespace kestrova {

class SerialPorts {
  public:
    SerialPorts(SerialLine& comm, Store& store, MessageBoxes& boxes, PortProbe& probe,
                PortDevices& devices, Timer& stayAlive)
        : Comm1_(comm),
          store_(store),
          boxes_(boxes),
          probe_(probe),
          devices_(devices),
          StayAliveTmr_(stayAlive) {}

    // Reads which device each port number names, configures the line, opens the port named
    // by RxCOMport (on the run's device, when one was given) and starts the stay-alive.
    void InitializeSerialComm();
    // Makes NewValue the open port, or keeps the old one and tells the operator.
    void SerialPort(std::int16_t NewValue);
    // Probes ports 1..16 (the port in use is closed meanwhile and restored afterwards).
    void FindPorts(std::vector<std::int16_t>& PortList, std::int16_t& PortCount);

    // Told, before the port-unavailable box, which device failed and why, e.g.
    // "Port 5, /dev/ttyUSB0: no such device".
    std::function<void(const std::string&)> onOpenFailure;

  private:
    SerialLine& Comm1_;
    Store& store_;
    MessageBoxes& boxes_;
    PortProbe& probe_;
    PortDevices& devices_;
    Timer& StayAliveTmr_;
};

// The port number of a list entry such as "COM3": the number after its first three characters.
std::optional<std::int16_t> PortOfEntry(const std::string& entry);
std::string EntryOfPort(std::int16_t port);

}  // namespace kestrova
