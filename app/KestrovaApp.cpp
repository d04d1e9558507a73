#include "app/KestrovaApp.h"

#include <QCoreApplication>
#include <QTimer>

#include "app/WindowHelpers.h"

namespace kestrova {

KestrovaApp::KestrovaApp(const AppSetup& setup)
    : line_([this](std::int16_t port) { return devices_.deviceFor(port); }),
      st_(window_, line_),
      decoders_(st_),
      Timer4_(2, [this] { poll_.Timer4_Timer(); }),
      Timer1_(2000, [this] { supervision_.Timer1_Timer(); }),
      GPSTimeOut_(5000, [this] { supervision_.GPSTimeOut_Timer(); }),
      StayAliveTmr_(500, [this] { supervision_.StayAliveTmr_Timer(); }),
      RecoveryTmr_(500, [this] { recovery_.retryTick(); }),
      supervision_(st_, decoders_, Timer1_, GPSTimeOut_),
      dispatch_(st_, decoders_, GPSTimeOut_),
      poll_(st_, dispatch_, supervision_),
      boxes_(&window_),
      store_(setup.settingsFolder, window_, boxes_, clock_, *this, files_,
             [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); }),
      ports_(line_, store_, boxes_, probe_, devices_, StayAliveTmr_),
      recovery_(line_, RecoveryTmr_, [this](std::string_view m) { store_.ShowStatus(m); }) {
    st_.dataFolder = setup.dataFolder;
    devices_.setRunDevice(setup.portDevice);
    line_.onComm = [this] { poll_.Comm1_OnComm(); };
    line_.onLost = [this] { recovery_.lost(); };
    window_.onConfigClicked = [this] { butConfig_Click(); };
}

KestrovaApp::~KestrovaApp() {
    Timer4_.stop();
    StayAliveTmr_.stop();
    RecoveryTmr_.stop();
    delete dialog_.data();
    line_.close();
}

bool KestrovaApp::start() {
    StartUp s{st_, store_, ports_, *this, Timer4_};
    if (!Form_Load(s)) {
        return false;
    }
    window_.show();
    return true;
}

void KestrovaApp::butConfig_Click() {
    // The dialog lives from its first opening until OK or Cancel closes it.
    if (!dialog_) {
        dialog_ = new frmPortSelect(ports_, store_, line_, devices_, &window_);
        dialog_->setWindowFlag(Qt::Dialog);
    }
    dialog_->GetSerialPort();
}

void KestrovaApp::SetAlwaysOnTop(bool onTop) {
    kestrova::SetAlwaysOnTop(&window_, onTop);
}

void KestrovaApp::hide() {
    window_.makeInvisible();
}

void KestrovaApp::setTop(int twips) {
    window_.setTopTwips(twips);
}

void KestrovaApp::setLeft(int twips) {
    window_.setLeftTwips(twips);
}

}  // namespace kestrova
