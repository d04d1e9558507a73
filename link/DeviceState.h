#pragma once
// What the file system says of a serial device's name, looked at without opening it: enough
// to explain a failed open, and to tell the device that was lost from a stranger that took
// its place.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrova {

struct DeviceState {
    bool exists = false;  // the name leads to something
    bool folder = false;
    bool characterDevice = false;
    bool accessible = true;       // readable and writable by us
    bool pseudoTerminal = false;  // the far end of a pseudo-terminal
    bool link = false;            // the name itself is a symbolic link
    bool network = false;         // a host and port to connect to, no file: always reopened
    std::uint64_t linkInode = 0;
    std::int64_t linkChanged = 0;  // the link's status change time, in nanoseconds
    std::string linkTarget;
};

// The real thing, on POSIX calls (lstat, stat, access, readlink).
DeviceState InspectDevice(const std::string& path);

// A name that is itself a pseudo-terminal (/dev/pts/N): once that terminal is gone, the
// system hands the number to whoever asks next.
bool IsRawPseudoTerminal(const std::string& path, const DeviceState& now);

// May the name be opened again, after it was lost in the state `atLoss`? A real serial device
// comes back under its own name; a pseudo-terminal only through a link made anew since.
bool MayReopen(const std::string& path, const DeviceState& atLoss, const DeviceState& now);

// Why a device cannot be a serial line, before anything is opened: nothing there, a folder,
// a plain file. Nothing when it is worth trying.
std::optional<std::string> RefuseBeforeOpening(const DeviceState& s);

// Why an open failed, in a few words an operator can act on. `busy` when the system said
// another program holds the device.
std::string OpenFailureReason(const DeviceState& s, bool busy, const std::string& systemText);

}  // namespace kestrova
