#pragma once
// What the program needs of its one serial line to the processor.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrova {

struct LineOptions {
    bool handshaking = false;
    bool rts = false;
    bool dtr = false;
};

class SerialLine {
  public:
    virtual ~SerialLine() = default;

    virtual void setPortNumber(std::int16_t port) = 0;
    virtual std::int16_t portNumber() const = 0;
    // The device the selected port opens; "" when its number names none.
    virtual std::string device() const = 0;
    // Opens the selected port; false when it is missing, taken or invalid.
    virtual bool open() = 0;
    // Why the last open failed, in a few words an operator can act on.
    virtual std::string openFailure() const = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The operating system's handle of the open port, -1 when closed.
    virtual int handle() const = 0;
    virtual void setLineOptions(const LineOptions& options) = 0;
    // Appends every character received since the last read; false when no port is open.
    virtual bool readInput(std::string& into) = 0;
    // Queues the characters unchanged, NUL included; false when no port is open.
    virtual bool writeOutput(std::string_view text) = 0;

    // Raised on the UI thread for errors of the open port while reading or writing (never for
    // ordinary arrival of data, nor for a failed open).
    std::function<void()> onComm;
    // Raised on the UI thread when input arrives (it is read by the next poll tick).
    std::function<void()> onDataWaiting;
    // Raised when the open port's device went away (an adapter pulled, the far end of a
    // pseudo-terminal closed); the port is closed by then.
    std::function<void()> onLost;
};

}  // namespace kestrova
