#include "app/KestrovaApp.h"

#include <QCoreApplication>
#include <QMenu>
#include <QShortcut>
#include <QSysInfo>
#include <QTimer>
#include <QToolTip>
#include <cstdio>

#include "core/Numbers.h"
#include "widgets/Look.h"
#include "widgets/StatusLineWidget.h"
#include "widgets/WindowHelpers.h"

namespace kestrova {

KestrovaApp::KestrovaApp(const AppSetup& setup)
    : serial_([this](std::int16_t port) { return devices_.deviceFor(port); }),
      line_([this](std::int16_t port) { return devices_.deviceFor(port); }, serial_, network_),
      recordWriteOut_([this] { tools_.writeOut(); }),
      tools_(line_, recordWriteOut_, [this](std::string_view m) { store_.ShowStatus(m); }),
      st_(window_, tools_.line()),
      decoders_(st_),
      Timer4_(2, [this] { poll_.Timer4_Timer(); }),
      PollWake_([this] { ticks_.wakeUp(); }),
      Timer1_(2000, [this] { supervision_.Timer1_Timer(); }),
      GPSTimeOut_(5000, [this] { supervision_.GPSTimeOut_Timer(); }),
      StayAliveTmr_(500, [this] { supervision_.StayAliveTmr_Timer(); }),
      RecoveryTmr_(500, [this] { recovery_.retryTick(); }),
      supervision_(st_, decoders_, Timer1_, GPSTimeOut_),
      dispatch_(st_, decoders_, GPSTimeOut_),
      poll_(st_, dispatch_, supervision_),
      ticks_(poll_, PollWake_, monotonic_),
      // PollTimer=1 in the settings polls every 2 ms, as the program once did.
      pollTimer_(Timer4_, ticks_,
                 [this] {
                     return LeadingNumber(store_.ReadIniValue(kSettingsFile, "PollTimer", false)) ==
                            1;
                 }),
      boxes_(&window_),
      store_(setup.settingsFolder, window_, boxes_, SystemClocks().local, *this, files_,
             [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); }),
      ports_(line_, store_, boxes_, probe_, devices_, StayAliveTmr_),
      recovery_(
          line_, RecoveryTmr_, [this](std::string_view m) { tell(m); },
          [](const std::string& name) {
              DeviceState network;
              network.exists = network.network = true;
              return IsNetworkName(name) ? network : InspectDevice(name);
          }) {
    st_.dataFolder = setup.dataFolder;
    st_.readings.add(tools_.bearingLog());
    st_.readings.add(window_.history());
    viewOptions_ = setup.view;
    outputs_ = setup.outputs;
    settingsFolder_ = setup.settingsFolder;
    shareAddress_ = setup.share;
    mapOptions_ = setup.map;
    devices_.setRunDevice(setup.portDevice);
    // What changes the receive buffer between ticks lets the ticks that passed see it first.
    line_.onDataWaiting = [this] { ticks_.dataWaiting(); };
    line_.onComm = [this] {
        ticks_.catchUp();
        poll_.Comm1_OnComm();
        ticks_.plan();
    };
    line_.onLost = [this] {
        ticks_.catchUp();
        poll_.portLost();
        recovery_.lost();
        ticks_.plan();
    };
    ports_.onOpenFailure = [this](const std::string& why) { openFailed(why); };
    wireNetwork();
    window_.onConfigClicked = [this] { butConfig_Click(); };
}

KestrovaApp::~KestrovaApp() {
    pollTimer_.stop();
    StayAliveTmr_.stop();
    tools_.end();
    RecoveryTmr_.stop();
    delete dialog_.data();
    line_.close();
}

bool KestrovaApp::start() {
    // Before the start-up sequence, so a report of a bad value does not hide one of its own.
    viewOptions_ = ReadViewOptions(store_, viewOptions_);
    applyViewOptions();
    tools_.begin(ResolveOperatorOptions(
        outputs_,
        [this](const std::string& key) { return store_.ReadIniValue(kSettingsFile, key, false); },
        settingsFolder_));
    StartUp s{st_, store_, ports_, *this, pollTimer_};
    startingUp_ = true;
    const bool started = Form_Load(s);
    startingUp_ = false;
    if (!started) {
        return false;
    }
    checkPortDevices();
    if (!shareAddress_.empty()) {
        startSharing(shareAddress_);
    }
    window_.show();
    beginMap();
    return true;
}

void KestrovaApp::beginMap() {
    const auto read = [this](const std::string& key) {
        return store_.ReadIniValue(kSettingsFile, key, false);
    };
    const auto report = [this](std::string_view m) { store_.ShowStatus(m); };
    lines_ = std::make_unique<fix::LineStore>(
        fix::ReadStoreSettings([&](const std::string& key) { return read(key + "="); }, report));
    // The lines of bearing follow what the readout and the position labels show, ahead of
    // the bearing log, which writes the true bearing they made.
    st_.readings.addFirst(*lines_);
    tools_.bearingLog().setTrueBearing([this] { return lines_->lastTrueBearing(); });
    map::SessionHooks hooks{read,
                            [this](const std::string& key, const std::string& value) {
                                return store_.WriteIniValue(kSettingsFile, key, value) ==
                                       WriteResult::Written;
                            },
                            report};
    map_ = std::make_unique<map::MapSession>(
        *lines_,
        [this] {
            return Stamp{steady_.nowMs(), SystemLocalClock().now()};
        },
        &window_, std::move(hooks));
    auto* key = new QShortcut(QKeySequence(Qt::Key_M), &window_);
    QObject::connect(key, &QShortcut::activated, [this] { map_->open(); });
    window_.statusLine()->onMenu = [this](QPoint at) { statusMenu(at); };
    map_->begin(map::ResolveMapOptions(mapOptions_, read, settingsFolder_),
                {viewOptions_.colours(), viewOptions_.factor()});
}

void KestrovaApp::statusMenu(QPoint at) {
    auto* menu = new QMenu(&window_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    applyLook(menu, viewOptions_.colours());
    menu->addAction(QStringLiteral("Map"), QKeySequence(Qt::Key_M), [this] { map_->open(); });
    menu->addAction(QStringLiteral("Last messages"),
                    [this, at] { window_.statusLine()->showMessages(at); });
    menu->popup(at);
}

void KestrovaApp::openFailed(const std::string& why) {
    std::string text = why;
    // A device that is not there yet at start-up (an adapter not plugged in, a link not up)
    // is waited for, as after a loss; a network address written wrongly never comes.
    const bool miswritten = IsNetworkName(line_.device()) && !line_.endpoint();
    if (startingUp_ && !miswritten && recovery_.awaitDevice()) {
        text += "; retrying";
    }
    text += ".";
    store_.ShowStatus(text);
    std::fprintf(stderr, "kestrova: %s\n", text.c_str());
}

void KestrovaApp::tell(std::string_view message) {
    store_.ShowStatus(message);
    std::fprintf(stderr, "kestrova: %.*s\n", static_cast<int>(message.size()), message.data());
}

void KestrovaApp::wireNetwork() {
    line_.onConnected = [this] {
        recovery_.connected();
        if (line_.endpoint() && line_.endpoint()->scheme == Scheme::Kestrova) {
            tell("watching " + HostPort(*line_.endpoint()));
        }
    };
    line_.onNotice = [this](std::string_view notice) {
        tell(line_.device() + ": " + std::string(notice));
    };
    line_.onReceived = [this](std::string_view bytes) {
        if (share_) {
            share_->publish(bytes);
        }
    };
    window_.statusLine()->note = [this] {
        if (!share_) {
            return QString();
        }
        const int n = share_->watchers();
        return QString::fromStdString("Sharing on " + shareAddress_ + ": " + std::to_string(n) +
                                      (n == 1 ? " watcher" : " watchers"));
    };
}

void KestrovaApp::startSharing(const std::string& address) {
    // The command line has checked the address.
    const ParsedEndpoint parsed = ParseShareAddress(address);
    if (!parsed.endpoint) {
        return;
    }
    share_ =
        std::make_unique<QtShareServer>("share of " + QSysInfo::machineHostName().toStdString());
    shareAddress_ = HostPort(*parsed.endpoint);
    if (const std::string why = share_->listen(*parsed.endpoint); !why.empty()) {
        share_.reset();
        tell("Cannot share on " + shareAddress_ + ": " + why + ".");
        return;
    }
    share_->onNotice = [this](std::string_view m) { tell(m); };
}

void KestrovaApp::checkPortDevices() {
    for (std::int16_t p = kFirstPort; p <= kLastPort; ++p) {
        const std::string device = devices_.deviceFor(p);
        if (!IsNetworkName(device)) {
            continue;
        }
        if (const ParsedEndpoint e = ParseEndpoint(device); !e.endpoint) {
            tell(PortDeviceKey(p) + "=" + device + ": " + e.error + "; port " + std::to_string(p) +
                 " opens nothing.");
        }
    }
}

std::optional<bool> NetworkPortProbe::answers(const std::string& device) {
    if (!IsNetworkName(device)) {
        return std::nullopt;
    }
    constexpr int kProbeTimeoutMs = 1000;
    const ParsedEndpoint e = ParseEndpoint(device);
    return e.endpoint && ProbeEndpoint(*e.endpoint, kProbeTimeoutMs).empty();
}

void KestrovaApp::butConfig_Click() {
    // The dialog lives from its first opening until OK or Cancel closes it.
    if (!dialog_) {
        dialog_ = new frmPortSelect(ports_, store_, line_, devices_, &window_);
        dialog_->setWindowFlag(Qt::Dialog);
        dialog_->applyPalette(viewOptions_.colours());
    }
    dialog_->GetSerialPort();
}

void KestrovaApp::applyViewOptions() {
    const Palette palette = viewOptions_.colours();
    window_.history().setLength(viewOptions_.historyLength());
    window_.setScale(viewOptions_.factor());
    window_.applyPalette(palette);
    boxes_.applyPalette(palette);
    if (palette == Palette::Night) {
        QToolTip::setPalette(shadePalette(palette, QToolTip::palette()));
    }
}

void KestrovaApp::SetAlwaysOnTop(bool onTop) {
    kestrova::SetAlwaysOnTop(&window_, onTop);
}

void KestrovaApp::hide() {
    window_.hide();
}

void KestrovaApp::setTop(int twips) {
    window_.setTopTwips(twips);
}

void KestrovaApp::setLeft(int twips) {
    window_.setLeftTwips(twips);
}

}  // namespace kestrova
