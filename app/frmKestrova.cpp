#include "app/frmKestrova.h"

#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QtMath>
#include <cmath>

#include "app/FramePacer.h"
#include "app/WindowElements.h"
#include "widgets/LineElement.h"
#include "widgets/Look.h"
#include "widgets/NeedleGauge.h"
#include "widgets/StatusLineWidget.h"

namespace kestrova {

frmKestrova::frmKestrova(QWidget* parent)
    : QWidget(parent), twipsPerPixel_(twipsPerPixelY()), look_(*this, elements_, twipsPerPixel_) {
    build();
}

frmKestrova::~frmKestrova() = default;

void frmKestrova::build() {
    setWindowTitle(QStringLiteral("HNT-7700 Remote Display"));
    setAutoFillBackground(true);
    look_.setColour(this, QPalette::Window, Qt::black);
    const auto configure = [this] {
        if (onConfigClicked) {
            onConfigClicked();
        }
    };
    const auto container = [this](El c) { return c == kWindow ? this : elements_[idx(c)]; };
    for (const ElementPlace& e : kLayout) {
        elements_[idx(e.el)] = CreateElement(e, container(e.container), look_, configure);
    }
    for (const LinePlace& l : kLines) {
        elements_[idx(l.el)] = CreateLine(l, container(l.container));
    }
    for (std::size_t i = 0; i < kElementCount; ++i) {
        elements_[i]->setObjectName(QString::fromLatin1(elementName(static_cast<El>(i))));
    }
    arrangeElements();
    for (const LinePlace& l : kLines) {
        look_.setDesignLine(l);
    }
    look_.restyle(Palette::Day, 1.0);
    for (const ElementText& t : kDesignTexts) {
        setText(t.el, t.text);
    }
    for (const ElementText& t : kTips) {
        elements_[idx(t.el)]->setToolTip(QString::fromLatin1(t.text));
    }
    elements_[idx(El::FrameDFOff)]->hide();
    elements_[idx(El::BatteryMeter)]->hide();
    history_ = std::make_unique<DialHistory>(*gauge(), look_);
    // Needle moves, meters and texts are painted together, at the needle's frame rate.
    NeedleGauge* g = gauge();
    g->setFramePaced(false);
    new FramePacer(this, NeedleGauge::kFrameMs, [g] { g->paintMoves(); });
    built_ = true;
}

void frmKestrova::arrangeElements() {
    // The gauge's square overlaps the banners at its corners: keep it beneath everything.
    elements_[idx(El::anggBrgDisplay)]->lower();
    // The sign is shorter than its panel: the panel is black below it, not the dial.
    elements_[idx(El::FrameDFOff)]->setAutoFillBackground(true);
    look_.setColour(elements_[idx(El::FrameDFOff)], QPalette::Window, Qt::black);
    // The GPS labels lie on their background picture; let its tooltip through.
    for (El e : kGpsLabels) {
        elements_[idx(e)]->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    look_.setColour(elements_[idx(El::LabelVersion)], QPalette::WindowText, toQColor(kGrey));
}

void frmKestrova::applyPalette(Palette palette) {
    if (palette != look_.palette()) {
        look_.restyle(palette, look_.scale());
        gauge()->overlayChanged();
    }
}

void frmKestrova::setScale(double factor) {
    if (factor > 0 && factor != look_.scale()) {
        look_.restyle(look_.palette(), factor);
    }
}

QWidget* frmKestrova::element(El e) const {
    return idx(e) < elements_.size() ? elements_[idx(e)] : nullptr;
}

NeedleGauge* frmKestrova::gauge() const {
    return static_cast<NeedleGauge*>(elements_[idx(El::anggBrgDisplay)]);
}

StatusLineWidget* frmKestrova::statusLine() const {
    return static_cast<StatusLineWidget*>(elements_[idx(El::StatusDisp)]);
}

void frmKestrova::setText(El e, std::string_view latin1) {
    QWidget* w = element(e);
    const QString s = QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(s);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        button->setText(s);
    } else if (auto* status = qobject_cast<StatusLineWidget*>(w); status && built_) {
        status->setMessage(s);
    } else if (auto* label = qobject_cast<QLabel*>(w); label && !IsPicture(e)) {
        label->setText(s);
    }
}

std::string frmKestrova::text(El e) const {
    QWidget* w = element(e);
    QString s;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        s = edit->text();
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        s = button->text();
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        s = label->text();
    }
    return s.toLatin1().toStdString();
}

void frmKestrova::setTextColour(El e, Rgb colour) {
    QWidget* w = element(e);
    if (!w) {
        return;
    }
    if (dynamic_cast<LineElement*>(w)) {
        look_.setLineColour(e, toQColor(colour));
    } else if (qobject_cast<QLineEdit*>(w)) {
        look_.setColour(w, QPalette::Text, toQColor(colour));
    } else if (qobject_cast<QPushButton*>(w)) {
        look_.setColour(w, QPalette::ButtonText, toQColor(colour));
    } else {
        look_.setColour(w, QPalette::WindowText, toQColor(colour));
    }
}

void frmKestrova::setVisible(El e, bool visible) {
    if (QWidget* w = element(e)) {
        w->setVisible(visible);
    }
}

bool frmKestrova::loadPicture(El e, const std::string& path) {
    QImage image;
    if (!IsPicture(e) || path.empty() || !image.load(QFile::decodeName(path.c_str()))) {
        return false;
    }
    look_.setPicture(e, image);
    return true;
}

void frmKestrova::setLine(El e, int x1, int y1, int x2, int y2, Rgb colour) {
    if (!dynamic_cast<LineElement*>(element(e))) {
        return;
    }
    // The logic works in twips of the current screen pixel; convert back with the same size.
    const double p = twipsPerPixelY();
    auto toPx = [p](int t) { return std::round(t / p); };
    look_.setLine(e, QPointF(toPx(x1), toPx(y1)), QPointF(toPx(x2), toPx(y2)), toQColor(colour));
}

void frmKestrova::setNeedleValue(double degrees) {
    gauge()->setNeedleValue(degrees);
}

void frmKestrova::setNeedleColour(Rgb colour) {
    look_.setNeedleColour(toQColor(colour));
}

void frmKestrova::setNeedleStrength(double fraction) {
    gauge()->setStrength(fraction);
}

double frmKestrova::twipsPerPixelY() const {
    // Logical dpi: Qt's device pixel ratio takes care of dense screens.
    const int dpi = logicalDpiY();
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int frmKestrova::leftTwips() const {
    return static_cast<int>(std::lround(pos().x() * twipsPerPixel_));
}

int frmKestrova::topTwips() const {
    return static_cast<int>(std::lround(pos().y() * twipsPerPixel_));
}

void frmKestrova::setLeftTwips(int twips) {
    move(static_cast<int>(std::lround(twips / twipsPerPixel_)), pos().y());
}

void frmKestrova::setTopTwips(int twips) {
    move(pos().x(), static_cast<int>(std::lround(twips / twipsPerPixel_)));
}

}  // namespace kestrova
