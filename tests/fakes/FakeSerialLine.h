#pragma once
// A serial line the test feeds by hand and whose output it reads back.

#include <map>
#include <string>

#include "core/SerialLine.h"

namespace kestrova::testing {

class FakeSerialLine : public SerialLine {
  public:
    void setPortNumber(std::int16_t port) override { port_ = port; }
    std::int16_t portNumber() const override { return port_; }
    std::string device() const override {
        return port_ >= 1 && port_ <= 16 ? "/dev/fake" + std::to_string(port_) : std::string();
    }
    bool open() override {
        if (open_ || !available.count(port_) || !available.at(port_)) {
            return false;
        }
        open_ = true;
        ++opens;
        return true;
    }
    std::string openFailure() const override { return failure; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    int handle() const override { return open_ ? 100 + port_ : -1; }
    void setLineOptions(const LineOptions& o) override {
        options = o;
        optionsSet = true;
    }
    bool readInput(std::string& into) override {
        if (!open_) {
            return false;
        }
        into += incoming;
        incoming.clear();
        return true;
    }
    bool writeOutput(std::string_view text) override {
        if (!open_) {
            return false;
        }
        written.append(text);
        if (onWrite) {
            onWrite(text);
        }
        return true;
    }

    // Test side
    // Input arrives on the line, and the line says so.
    void arrive(std::string_view bytes) {
        incoming.append(bytes);
        if (open_ && onDataWaiting) {
            onDataWaiting();
        }
    }
    void raiseEvent() {
        if (onComm) {
            onComm();
        }
    }
    // The device vanishes under the open port, as an adapter pulled out would.
    void loseDevice() {
        open_ = false;
        available[port_] = false;
        if (onLost) {
            onLost();
        }
    }
    std::string takeWritten() {
        std::string w;
        w.swap(written);
        return w;
    }

    std::function<void(std::string_view)> onWrite;
    std::map<std::int16_t, bool> available{{1, true}};
    std::string incoming;
    std::string written;
    std::string failure = "no such device";
    LineOptions options;
    bool optionsSet = false;
    int opens = 0;

  private:
    std::int16_t port_ = 1;
    bool open_ = false;
};

}  // namespace kestrova::testing
