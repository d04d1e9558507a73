#pragma once
// The RS-232 test made on an open port.

namespace kestrova {

class PortProbe {
  public:
    virtual ~PortProbe() = default;
    virtual bool isRs232(int handle) = 0;
};

// A port is usable when it is a terminal and, where the driver answers TIOCGSERIAL, reports a
// real UART type. Pseudo-terminals do not answer and count as usable.
class LinuxPortProbe : public PortProbe {
  public:
    bool isRs232(int handle) override;
};

}  // namespace kestrova
