#include "app/frmKestrova.h"

#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QtMath>
#include <cmath>

#include "app/FramePacer.h"
#include "widgets/LineElement.h"
#include "widgets/Look.h"
#include "widgets/NeedleGauge.h"
#include "widgets/StatusLineWidget.h"

namespace kestrova {

namespace {

bool isPicture(El e) {
    return std::any_of(kLayout.begin(), kLayout.end(),
                       [e](const ElementPlace& p) { return p.el == e && p.kind == K::Picture; });
}

Qt::Alignment alignment(Align a) {
    return a == Align::Centre    ? Qt::AlignCenter
           : a == Align::TopLeft ? Qt::AlignLeft | Qt::AlignTop
                                 : Qt::AlignLeft | Qt::AlignVCenter;
}

// The dial drawn by day and shaded as a whole, so its antialiased edges are shaded too.
void paintNightFace(QPainter& p, int side) {
    const qreal dpr = p.device()->devicePixelRatioF();
    QImage day(qCeil(side * dpr), qCeil(side * dpr), QImage::Format_ARGB32_Premultiplied);
    day.setDevicePixelRatio(dpr);
    day.fill(Qt::black);
    {
        QPainter q(&day);
        pictures::paintGaugeFace(q, side);
    }
    p.drawImage(QPointF(0, 0), shade(Palette::Night, day));
}

}  // namespace

frmKestrova::frmKestrova(QWidget* parent)
    : QWidget(parent), twipsPerPixel_(twipsPerPixelY()), look_(*this, elements_, twipsPerPixel_) {
    build();
}

frmKestrova::~frmKestrova() = default;

void frmKestrova::build() {
    setWindowTitle(QStringLiteral("HNT-7700 Remote Display"));
    setAutoFillBackground(true);
    look_.setColour(this, QPalette::Window, Qt::black);
    for (const ElementPlace& e : kLayout) {
        QWidget* w = createElement(e);
        w->setObjectName(QString::fromLatin1(elementName(e.el)));
        elements_[idx(e.el)] = w;
    }
    createLines();
    arrangeElements();
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

QWidget* frmKestrova::createElement(const ElementPlace& e) {
    QWidget* parentWidget = e.container == kWindow ? this : elements_[idx(e.container)];
    switch (e.kind) {
        case K::Panel:
            // Unfilled: the window behind is black, and a panel must not blot out the gauge
            // ring it overlaps.
            return new QWidget(parentWidget);
        case K::Label:
        case K::StatusLine:
            return createLabel(e, parentWidget);
        case K::Picture: {
            auto* label = new QLabel(parentWidget);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setAutoFillBackground(true);
            look_.setColour(label, QPalette::Window, Qt::black);
            return label;
        }
        case K::Gauge: {
            auto* gauge = new NeedleGauge(parentWidget);
            gauge->setFacePainter(&paintNightFace, static_cast<int>(Palette::Night));
            gauge->setFacePainter(&pictures::paintGaugeFace, static_cast<int>(Palette::Day));
            return gauge;
        }
        case K::TextBox: {
            auto* box = new QLineEdit(parentWidget);
            box->setReadOnly(true);  // diagnostics only
            box->setFrame(true);
            return box;
        }
        case K::Button:
            return createConfigButton(parentWidget);
    }
    return nullptr;
}

QWidget* frmKestrova::createLabel(const ElementPlace& e, QWidget* parentWidget) {
    QLabel* label = nullptr;
    if (e.kind == K::StatusLine) {
        auto* status = new StatusLineWidget(parentWidget);
        status->setAutoFillBackground(true);
        look_.setColour(status, QPalette::Window, Qt::white, true);
        look_.setColour(status, QPalette::WindowText, Qt::black, true);
        label = status;
    } else {
        label = new QLabel(parentWidget);
        look_.setColour(label, QPalette::WindowText, toQColor(kYellow));
    }
    label->setTextFormat(Qt::PlainText);  // texts come off the wire
    label->setContentsMargins(0, 0, 0, 0);
    label->setAlignment(alignment(e.align));
    return label;
}

QWidget* frmKestrova::createConfigButton(QWidget* parentWidget) {
    auto* button = new QPushButton(parentWidget);
    look_.setColour(button, QPalette::Button, toQColor(kGrey), true);
    look_.setColour(button, QPalette::ButtonText, Qt::black, true);
    button->setAutoFillBackground(true);
    look_.setColour(button, QPalette::Window, Qt::black);
    connect(button, &QPushButton::clicked, this, [this] {
        if (onConfigClicked) {
            onConfigClicked();
        }
    });
    return button;
}

void frmKestrova::createLines() {
    for (const LinePlace& l : kLines) {
        QWidget* parentWidget = l.container == kWindow ? this : elements_[idx(l.container)];
        auto* line = new LineElement(l.widthPx, parentWidget);
        line->setObjectName(QString::fromLatin1(elementName(l.el)));
        elements_[idx(l.el)] = line;
        auto at = [this](int x, int y) {
            return QPointF(std::round(x / twipsPerPixel_), std::round(y / twipsPerPixel_));
        };
        look_.setLine(l.el, at(l.x1, l.y1), at(l.x2, l.y2), toQColor(l.colour), l.widthPx);
    }
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
    } else if (auto* label = qobject_cast<QLabel*>(w); label && !isPicture(e)) {
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
    if (!isPicture(e) || path.empty() || !image.load(QFile::decodeName(path.c_str()))) {
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
