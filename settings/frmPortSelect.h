#pragma once
// The port dialog: lists the usable ports, preselects the one in use, switches and remembers.

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

#include "core/Display.h"
#include "core/SerialLine.h"
#include "settings/PortDevices.h"
#include "settings/Ports.h"
#include "settings/Store.h"

namespace kestrova {

class frmPortSelect : public QDialog {
    Q_OBJECT
  public:
    frmPortSelect(SerialPorts& ports, Store& store, SerialLine& comm, const PortDevices& devices,
                  QWidget* parent = nullptr);

    // Probes the ports, appends them to the list and shows the dialog without making it modal.
    // Finding none closes a dialog not yet shown; one already open stays as it is.
    void GetSerialPort();

    // Day: the dialog's own colours; night: dim red on black.
    void applyPalette(Palette palette);

    void cmdOK_Click();
    void cmdCancel_Click();

    QComboBox* cboComPort() const { return cboComPort_; }
    QToolButton* cmdOK() const { return cmdOK_; }
    QToolButton* cmdCancel() const { return cmdCancel_; }
    QLabel* deviceLabel() const { return device_; }

  protected:
    // Enter (either key) means OK.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showDevice();

    SerialPorts& ports_;
    Store& store_;
    SerialLine& Comm1_;
    const PortDevices& devices_;
    QGroupBox* fraComPort_;
    QComboBox* cboComPort_;
    QLabel* device_;
    QToolButton* cmdOK_;
    QToolButton* cmdCancel_;
    Palette palette_ = Palette::Day;
};

}  // namespace kestrova
