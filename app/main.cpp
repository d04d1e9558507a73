#include <pwd.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QMessageBox>
#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/CloseSignals.h"
#include "app/CommandLine.h"
#include "app/Folders.h"
#include "app/KestrovaApp.h"

namespace {

// With KESTROVA_STARTUP_TIMING set, prints the wall-clock time of the window's first paint,
// so a script can measure the time from launch to a shown window.
class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "kestrova: first paint at %lld.%09ld\n",
                         static_cast<long long>(now.tv_sec), now.tv_nsec);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

// SIGTERM, SIGINT and SIGHUP close the window, as the operator would: the program ends as
// after any close, its outputs written out and closed and the port closed. Every event loop
// ends, a message box's during start-up too; `requested` then tells start-up not to go on.
class CloseOnSignals {
  public:
    explicit CloseOnSignals(kestrova::KestrovaApp& app) : fd_(kestrova::WatchCloseSignals()) {
        if (fd_ < 0) {
            return;
        }
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, &app] {
            notifier_->setEnabled(false);
            std::fprintf(stderr, "kestrova: %s, closing\n",
                         strsignal(kestrova::TakeCloseSignal(fd_)));
            requested = true;
            app.window().close();
            QCoreApplication::exit(0);
        });
    }
    bool requested = false;

  private:
    int fd_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// What the command line asks to print, or what is wrong with it: the exit status, or -1 when
// the program is to run.
int answerCommandLine(const kestrova::ParsedCommandLine& parsed) {
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "kestrova: %s\nTry 'kestrova --help'.\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(kestrova::UsageText().c_str(), stdout);
        return 0;
    }
    if (parsed.options.version) {
        std::fputs(kestrova::VersionText().c_str(), stdout);
        return 0;
    }
    return -1;
}

std::filesystem::path programFolder(const char* argv0) {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::absolute(argv0, ec) : exe).parent_path();
}

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder() {
    std::string home = env("HOME");
    if (home.empty()) {
        if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
            home = pw->pw_dir;
        }
    }
    return home;
}

// The program on the folders chosen, until it ends; its exit status.
int run(QApplication& app, const kestrova::Folders& folders, const kestrova::CommandLine& options) {
    if (folders.failure != kestrova::FolderFailure::None) {
        QMessageBox::critical(
            nullptr, "Kestrova",
            QString::fromStdString("Kestrova cannot keep its settings: " + folders.message + "."));
        return 1;
    }
    kestrova::KestrovaApp kestrova({folders.settings.string(), folders.data.string(), options.port,
                                    options.view, options.outputs, options.share, options.map});
    FirstPaint firstPaint;
    if (qEnvironmentVariableIsSet("KESTROVA_STARTUP_TIMING")) {
        kestrova.window().installEventFilter(&firstPaint);
    }
    CloseOnSignals closeOnSignals(kestrova);
    if (!kestrova.start()) {
        return 1;
    }
    return closeOnSignals.requested ? 0 : app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    const kestrova::ParsedCommandLine parsed =
        kestrova::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    const kestrova::CommandLine& options = parsed.options;
    if (const int status = answerCommandLine(parsed); status >= 0) {
        return status;
    }
    kestrova::PosixFileOps files;
    const kestrova::Folders folders = kestrova::ChooseFolders(
        {programFolder(argv[0]), options.settings, env("XDG_CONFIG_HOME"), homeFolder()}, files);
    if (!folders.message.empty()) {
        std::fprintf(stderr, "kestrova: %s\n", folders.message.c_str());
    }
    if (folders.failure == kestrova::FolderFailure::BadOption) {
        return 2;
    }

    // Qt sees only the program's name: its own options must not change the window.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QGuiApplication::setDesktopFileName("kestrova");
    QApplication::setWindowIcon(QIcon::fromTheme("kestrova"));
    return run(app, folders, options);
}
