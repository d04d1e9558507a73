#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

#include "link/DeviceState.h"
#include "tests/fakes/Pty.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

// The names an operator may give: what the system says of each, looked at without opening.
TEST(DeviceState, InspectsNamesWithoutOpeningThem) {
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    const fs::path dir = fs::temp_directory_path() / ("kestrova-dev-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "plain") << "x";
    fs::create_symlink(pty.path, dir / "link");
    fs::create_symlink(dir / "gone", dir / "dangling");

    const DeviceState terminal = InspectDevice(pty.path);
    EXPECT_TRUE(terminal.exists && terminal.characterDevice && terminal.pseudoTerminal &&
                terminal.accessible);
    EXPECT_FALSE(terminal.link);
    EXPECT_TRUE(IsRawPseudoTerminal(pty.path, terminal));

    const DeviceState link = InspectDevice((dir / "link").string());
    EXPECT_TRUE(link.link && link.pseudoTerminal);
    EXPECT_EQ(link.linkTarget, pty.path);
    EXPECT_FALSE(IsRawPseudoTerminal((dir / "link").string(), link));

    EXPECT_EQ(RefuseBeforeOpening(InspectDevice(dir.string())), "a folder, not a serial device");
    EXPECT_EQ(RefuseBeforeOpening(InspectDevice((dir / "plain").string())), "not a serial device");
    EXPECT_EQ(RefuseBeforeOpening(InspectDevice((dir / "missing").string())), "no such device");
    const DeviceState dangling = InspectDevice((dir / "dangling").string());
    EXPECT_TRUE(dangling.link);
    EXPECT_EQ(RefuseBeforeOpening(dangling), "no such device");
    EXPECT_EQ(RefuseBeforeOpening(terminal), std::nullopt);
    fs::remove_all(dir);
}

DeviceState device(bool pty, bool link = false, std::uint64_t inode = 1,
                   std::string target = "/dev/pts/4") {
    DeviceState s;
    s.exists = s.characterDevice = true;
    s.pseudoTerminal = pty;
    s.link = link;
    s.linkInode = link ? inode : 0;
    s.linkTarget = link ? std::move(target) : "";
    return s;
}

TEST(DeviceState, WhatMayBeReopenedAfterALoss) {
    const DeviceState gone{};
    const std::tuple<const char*, std::string, DeviceState, DeviceState, bool> cases[] = {
        // what, the configured name, the device at the loss and now, whether it is reopened
        {"serial device back", "/dev/ttyUSB0", gone, device(false), true},
        {"serial device still away", "/dev/ttyUSB0", device(false), gone, false},
        {"by-id link to a serial device", "/dev/serial/by-id/usb-x", device(false, true),
         device(false, true), true},
        {"raw terminal number reused", "/dev/pts/4", device(true), device(true), false},
        {"raw terminal number, by another spelling", "/dev//pts/../pts/4", gone, gone, false},
        {"link to a terminal, unchanged", "/tmp/pty", device(true, true), device(true, true),
         false},
        {"link made anew", "/tmp/pty", device(true, true, 1), device(true, true, 2), true},
        {"link pointed elsewhere", "/tmp/pty", device(true, true, 1, "/dev/pts/4"),
         device(true, true, 1, "/dev/pts/9"), true},
        {"link gone at the loss, back now", "/tmp/pty", gone, device(true, true), true},
    };
    for (const auto& [what, path, atLoss, now, reopen] : cases) {
        EXPECT_EQ(MayReopen(path, atLoss, now), reopen) << what;
    }
}

TEST(DeviceState, ReasonsAnOperatorCanActOn) {
    DeviceState locked = device(false);
    locked.accessible = false;
    DeviceState folder = device(false);
    folder.characterDevice = false;
    folder.folder = true;
    EXPECT_EQ(OpenFailureReason(DeviceState{}, false, "x"), "no such device");
    EXPECT_EQ(OpenFailureReason(folder, false, "x"), "a folder, not a serial device");
    EXPECT_EQ(OpenFailureReason(locked, true, "x").rfind("permission denied (join the dialout", 0),
              0u);
    EXPECT_EQ(OpenFailureReason(device(false), true, "x"), "busy, in use by another program");
    EXPECT_EQ(OpenFailureReason(device(false), false, "input/output error"), "input/output error");
}

}  // namespace
}  // namespace kestrova::testing
