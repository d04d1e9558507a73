#include "settings/frmPortSelect.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include "widgets/Look.h"
#include "widgets/WindowHelpers.h"

namespace kestrova {

namespace {

// 15 twips to a device-independent pixel.
int px(int twips) {
    return (twips + 7) / 15;
}

QPixmap okPicture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 70, 0), 2));
    p.setBrush(QColor(255, 140, 0));
    p.drawEllipse(QRectF(3, 3, size - 6, size - 6));
    QPen tick(Qt::white, size / 9.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(tick);
    QPainterPath path;
    path.moveTo(size * 0.28, size * 0.52);
    path.lineTo(size * 0.44, size * 0.68);
    path.lineTo(size * 0.73, size * 0.34);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    return pm;
}

QPixmap cancelPicture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size / 8.0;
    p.setPen(QPen(QColor(220, 0, 0), w));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(3 + w / 2, 3 + w / 2, size - 6 - w, size - 6 - w);
    p.drawEllipse(ring);
    // The bar runs from top left to bottom right, inside the ring.
    const double r = ring.width() / 2 * 0.72;
    const QPointF c = ring.center();
    p.drawLine(QPointF(c.x() - r, c.y() - r), QPointF(c.x() + r, c.y() + r));
    return pm;
}

const QColor kGreyText(128, 128, 128);

// The frame and the device line are a light face by day: at night they go dark.
QString frameStyle(Palette palette) {
    return QStringLiteral(
               "QGroupBox { background: %1; color: %2; border: 1px solid %2; margin-top: 8px; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 6px; }")
        .arg(shade(palette, Qt::white, true).name(), shade(palette, kGreyText, true).name());
}

QString deviceStyle(Palette palette) {
    return QStringLiteral("color: %1; background: %2;")
        .arg(shade(palette, kGreyText, true).name(), shade(palette, Qt::white, true).name());
}

}  // namespace

frmPortSelect::frmPortSelect(SerialPorts& ports, Store& store, SerialLine& comm,
                             const PortDevices& devices, QWidget* parent)
    : QDialog(parent), ports_(ports), store_(store), Comm1_(comm), devices_(devices) {
    setWindowTitle(QStringLiteral(" Select Serial Port"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(px(2775), px(2175));

    fraComPort_ = new QGroupBox(QStringLiteral("HNT Serial Port"), this);
    fraComPort_->setGeometry(px(500), px(120), px(1740), px(960));
    fraComPort_->setStyleSheet(frameStyle(palette_));
    QFont f(QStringLiteral("Verdana"));
    f.setPointSizeF(8.25);
    fraComPort_->setFont(f);

    cboComPort_ = new QComboBox(fraComPort_);
    cboComPort_->setGeometry(px(120), px(300), px(1500), px(315));
    device_ = new QLabel(fraComPort_);
    device_->setGeometry(px(120), px(660), px(1500), px(240));
    device_->setStyleSheet(deviceStyle(palette_));
    connect(cboComPort_, &QComboBox::currentIndexChanged, this, [this] { showDevice(); });

    const int button = px(855);
    cmdOK_ = new QToolButton(this);
    cmdOK_->setGeometry(px(120), px(1150), button, button);
    cmdOK_->setIcon(okPicture(button));
    cmdOK_->setIconSize(QSize(button, button));
    cmdOK_->setAutoRaise(true);
    cmdOK_->setToolTip(QStringLiteral("Set serial port and return to main screen."));
    connect(cmdOK_, &QToolButton::clicked, this, [this] { cmdOK_Click(); });

    cmdCancel_ = new QToolButton(this);
    cmdCancel_->setGeometry(px(1800), px(1200), button, button);
    cmdCancel_->setIcon(cancelPicture(button));
    cmdCancel_->setIconSize(QSize(button, button));
    cmdCancel_->setAutoRaise(true);
    cmdCancel_->setToolTip(QStringLiteral("Return to main screen without changing serial port."));
    connect(cmdCancel_, &QToolButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmPortSelect::GetSerialPort() {
    std::vector<std::int16_t> PortList;
    std::int16_t PortCount = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ports_.FindPorts(PortList, PortCount);
    QApplication::restoreOverrideCursor();
    if (PortCount < 1) {
        if (!isVisible()) {
            close();
        }
        return;
    }
    const std::int16_t current = Comm1_.portNumber();
    // The list is never cleared: another run while open lists every port again, the fresh
    // entries first.
    int selection = 0;
    for (int i = 0; i < PortCount; ++i) {
        const std::int16_t port = PortList[static_cast<std::size_t>(i)];
        cboComPort_->insertItem(i, QString::fromStdString(EntryOfPort(port)));
        cboComPort_->setItemData(i, QString::fromStdString(devices_.deviceFor(port)),
                                 Qt::ToolTipRole);
        if (port == current) {
            selection = i;
        }
    }
    cboComPort_->setCurrentIndex(selection);
    showDevice();
    show();
    SetAlwaysOnTop(this, true);
}

void frmPortSelect::showDevice() {
    // A long path keeps its start and its end; the whole of it is the tooltip.
    const QString path = cboComPort_->currentData(Qt::ToolTipRole).toString();
    device_->setText(
        device_->fontMetrics().elidedText(path, Qt::ElideMiddle, device_->contentsRect().width()));
    device_->setToolTip(path);
}

void frmPortSelect::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        cmdOK_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmPortSelect::applyPalette(Palette palette) {
    palette_ = palette;
    setPalette(QPalette());
    applyLook(this, palette);
    // Inside a frame with a style sheet the list keeps the palette it was polished with.
    cboComPort_->setPalette(palette == Palette::Night ? this->palette() : QPalette());
    fraComPort_->setStyleSheet(frameStyle(palette));
    device_->setStyleSheet(deviceStyle(palette));
    const int button = cmdOK_->iconSize().width();
    // Turned over as a light face: the tick stays apart from its disc.
    cmdOK_->setIcon(shade(palette, okPicture(button), true));
    cmdCancel_->setIcon(shade(palette, cancelPicture(button), true));
    showDevice();
}

void frmPortSelect::cmdOK_Click() {
    const std::string entry = cboComPort_->currentText().toStdString();
    const auto port = PortOfEntry(entry);
    if (!port || cboComPort_->currentIndex() < 0) {
        store_.ReportError(1);
        close();
        return;
    }
    ports_.SerialPort(*port);
    if (store_.WriteIniValue(kSettingsFile, "RxCOMport", std::to_string(*port)) ==
        WriteResult::Failed) {
        store_.ReportError(1);
    }
    close();
}

void frmPortSelect::cmdCancel_Click() {
    close();
}

}  // namespace kestrova
