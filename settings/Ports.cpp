#include "settings/Ports.h"

#include "core/Numbers.h"
#include "settings/PortDevices.h"

namespace kestrova {

namespace {
const std::string kTitle = "Kestrova";
const std::string kPortUnavailable =
    "                  ERROR\r\rThe selected serial port is currently\runavailable.  Please "
    "select another port.";
const std::string kNoPorts =
    "                   ERROR\r\rCould not find any available serial ports.";
}  // namespace

void SerialPorts::InitializeSerialComm() {
    // Optional keys: their absence is no error worth a word.
    devices_.load(
        [this](const std::string& key) { return store_.ReadIniValue(kSettingsFile, key, false); });
    if (store_.ended()) {
        return;
    }
    // The receive threshold, text mode and input length are the adapter's own: it reads
    // everything waiting as bytes and tells when input arrives.
    LineOptions options;
    options.handshaking = false;
    options.rts = false;
    options.dtr = false;
    Comm1_.setLineOptions(options);

    if (!store_.ReadIniValue(kSettingsFile, "RxCOMport", true).empty()) {
        const std::string value = store_.ReadIniValue(kSettingsFile, "RxCOMport", true);
        // A number beyond 16 bits cannot name a port: the step is skipped without a word.
        if (auto port = RoundHalfEvenToInt16(LeadingNumber(value))) {
            devices_.pin(*port);
            SerialPort(*port);
        }
    } else if (!store_.ended()) {
        devices_.pin(1);
        SerialPort(1);
        store_.ShowStatus("Err reading Port from ini file");
    }
    if (!store_.ended()) {
        StayAliveTmr_.start();
    }
}

void SerialPorts::SerialPort(std::int16_t NewValue) {
    const std::int16_t OldPort = Comm1_.portNumber();
    const bool WasOpen = Comm1_.isOpen();
    if (NewValue == OldPort && WasOpen) {
        return;
    }
    if (WasOpen) {
        Comm1_.close();
    }
    Comm1_.setPortNumber(NewValue);
    if (Comm1_.open()) {
        return;
    }
    if (onOpenFailure) {
        const std::string device = Comm1_.device();
        onOpenFailure("Port " + std::to_string(NewValue) + (device.empty() ? "" : ", " + device) +
                      ": " + Comm1_.openFailure());
    }
    if (Comm1_.isOpen()) {
        Comm1_.close();
    }
    Comm1_.setPortNumber(OldPort);
    if (WasOpen) {
        (void)Comm1_.open();
    }
    boxes_.show(kPortUnavailable, kTitle, BoxIcon::Exclamation);
}

void SerialPorts::FindPorts(std::vector<std::int16_t>& PortList, std::int16_t& PortCount) {
    PortList.clear();
    PortCount = 0;
    const std::int16_t OldPort = Comm1_.portNumber();
    const bool WasOpen = Comm1_.isOpen();
    Comm1_.close();
    for (std::int16_t n = kFirstPort; n <= kLastPort; ++n) {
        Comm1_.setPortNumber(n);
        if (const auto answers = probe_.answers(Comm1_.device())) {
            if (*answers) {
                PortList.push_back(n);
                ++PortCount;
            }
            continue;
        }
        if (Comm1_.open()) {
            if (probe_.isRs232(Comm1_.handle())) {
                PortList.push_back(n);
                ++PortCount;
            }
            Comm1_.close();
        }
    }
    Comm1_.setPortNumber(OldPort);
    if (WasOpen) {
        (void)Comm1_.open();
    }
    if (PortCount == 0) {
        boxes_.show(kNoPorts, kTitle, BoxIcon::Exclamation);
    }
}

std::optional<std::int16_t> PortOfEntry(const std::string& entry) {
    if (entry.size() < 3) {
        return std::nullopt;
    }
    return RoundHalfEvenToInt16(LeadingNumber(std::string_view(entry).substr(3)));
}

std::string EntryOfPort(std::int16_t port) {
    return "COM" + std::to_string(port);
}

}  // namespace kestrova
