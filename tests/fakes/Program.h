#pragma once
// The whole program in a folder of its own, on real pseudo-terminals and real timers, and the
// helpers that wait for what it does.

#include <stdlib.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/KestrovaApp.h"
#include "tests/fakes/Pty.h"
#include "tests/fakes/Spin.h"

namespace kestrova::testing {

// Closes each modal box as it comes up, for as long as it lives, and counts them.
struct BoxCloser {
    BoxCloser() {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ++closed;
                box->close();
            }
        });
        poll.start(20);
    }
    QTimer poll;
    int closed = 0;
};

// A program folder whose ports 1 and 2 are the given devices and no other port leads
// anywhere, with the mount pictures the build put beside the test programs.
struct ProgramFolder {
    explicit ProgramFolder(const std::string& one, const std::string& two = "",
                           const std::string& extra = "") {
        std::string ini =
            "RxCOMport=1\r\nCenterOnScreen=1\r\nHideConfigButton=0\r\n"
            "AlwaysOnTop=0\r\n" +
            extra + "PortDevice01=" + one + "\r\nPortDevice02=" + two + "\r\n";
        for (int p = 3; p <= 16; ++p) {
            ini += "PortDevice" + std::string(p < 10 ? "0" : "") + std::to_string(p) +
                   "=/nonexistent/kestrova-port\r\n";
        }
        write("Kestrova.ini", ini);
        write("Kestrova.bak", ini);
        const std::filesystem::path bin = QCoreApplication::applicationDirPath().toStdString();
        for (const char* bmp : {"Ant-GND-Win32.bmp", "Ant-AIR-Win32.bmp"}) {
            std::error_code ec;
            std::filesystem::copy_file(bin / bmp, path / bmp, ec);
        }
    }
    ~ProgramFolder() { std::filesystem::remove_all(path); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The program started on this folder; `device` takes the place of the stored port.
    std::unique_ptr<KestrovaApp> start(const std::string& device = "",
                                       const std::string& share = "") const {
        auto app = std::make_unique<KestrovaApp>(
            AppSetup{path.string(), path.string(), device, {}, {}, share, {}});
        EXPECT_TRUE(app->start());
        return app;
    }

    std::filesystem::path path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()));
    }();
};

}  // namespace kestrova::testing
