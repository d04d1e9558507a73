// The port line opens whichever kind of line its port's device names, and only that line
// speaks for the port.
#include <gtest/gtest.h>

#include <map>

#include "net/PortLine.h"
#include "tests/fakes/FakeSerialLine.h"

namespace kestrova::testing {
namespace {

struct FakeNetwork : EndpointLine {
    void setEndpoint(const Endpoint& e) override { endpoint = e; }
    void setPortNumber(std::int16_t /*port*/) override {}
    std::int16_t portNumber() const override { return 0; }
    std::string device() const override { return {}; }
    bool open() override { return open_ = true; }
    std::string openFailure() const override { return "refused"; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    int handle() const override { return -1; }
    void setLineOptions(const LineOptions& /*options*/) override {}
    bool readInput(std::string& into) override { return into += "net", open_; }
    bool writeOutput(std::string_view /*text*/) override { return open_; }
    Endpoint endpoint;
    bool open_ = false;
};

TEST(PortLine, OpensWhatThePortNamesAndHearsOnlyThatLine) {
    const std::map<std::int16_t, std::string> devices{
        {1, "/dev/fake1"}, {2, "rfc2217://mast:2217"}, {3, "tcp://mast"}};
    FakeSerialLine serial;
    FakeNetwork network;
    PortLine line([&](std::int16_t p) { return devices.at(p); }, serial, network);
    std::string events, read;
    line.onDataWaiting = [&] { events += "data "; };
    line.onLost = [&] { events += "lost "; };
    line.onComm = [&] { events += "comm "; };
    line.onConnected = [&] { events += "up "; };
    line.onReceived = [&](std::string_view b) { events += "read " + std::string(b) + " "; };

    line.setPortNumber(2);
    ASSERT_TRUE(line.open());
    EXPECT_EQ(network.endpoint, (Endpoint{Scheme::Rfc2217, "mast", 2217}));
    EXPECT_EQ(*line.endpoint(), network.endpoint);
    serial.available[2] = true;
    ASSERT_TRUE(serial.open());  // a stray serial line is not the port's now
    serial.arrive("x");
    serial.raiseEvent();
    serial.close();
    network.onConnected();
    network.onDataWaiting();
    EXPECT_TRUE(line.readInput(read));
    EXPECT_EQ(events, "up data read net ");

    line.close();
    line.setPortNumber(3);
    EXPECT_FALSE(line.open());
    EXPECT_EQ(line.openFailure(), "no port (HOST:PORT)");
    EXPECT_FALSE(network.isOpen() || serial.isOpen() || line.readInput(read));

    line.setPortNumber(1);
    ASSERT_TRUE(line.open());
    EXPECT_FALSE(line.endpoint());
    network.onLost();
    network.onConnected();
    serial.raiseEvent();
    serial.loseDevice();
    EXPECT_EQ(events, "up data read net comm lost ");
}

}  // namespace
}  // namespace kestrova::testing
