#include "app/WindowElements.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QtMath>
#include <cmath>

#include "widgets/LineElement.h"
#include "widgets/Look.h"
#include "widgets/NeedleGauge.h"
#include "widgets/StatusLineWidget.h"

namespace kestrova {

namespace {

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

QWidget* createLabel(const ElementPlace& e, QWidget* parentWidget, WindowLook& look) {
    QLabel* label = nullptr;
    if (e.kind == K::StatusLine) {
        auto* status = new StatusLineWidget(parentWidget);
        status->setAutoFillBackground(true);
        look.setColour(status, QPalette::Window, Qt::white, true);
        look.setColour(status, QPalette::WindowText, Qt::black, true);
        label = status;
    } else {
        label = new QLabel(parentWidget);
        look.setColour(label, QPalette::WindowText, toQColor(kYellow));
    }
    label->setTextFormat(Qt::PlainText);  // texts come off the wire
    label->setContentsMargins(0, 0, 0, 0);
    label->setAlignment(alignment(e.align));
    return label;
}

QWidget* createConfigButton(QWidget* parentWidget, WindowLook& look,
                            const std::function<void()>& onConfig) {
    auto* button = new QPushButton(parentWidget);
    look.setColour(button, QPalette::Button, toQColor(kGrey), true);
    look.setColour(button, QPalette::ButtonText, Qt::black, true);
    button->setAutoFillBackground(true);
    look.setColour(button, QPalette::Window, Qt::black);
    QObject::connect(button, &QPushButton::clicked, button, onConfig);
    return button;
}

}  // namespace

bool IsPicture(El e) {
    return std::any_of(kLayout.begin(), kLayout.end(),
                       [e](const ElementPlace& p) { return p.el == e && p.kind == K::Picture; });
}

QWidget* CreateElement(const ElementPlace& e, QWidget* parentWidget, WindowLook& look,
                       const std::function<void()>& onConfig) {
    switch (e.kind) {
        case K::Panel:
            // Unfilled: the window behind is black, and a panel must not blot out the gauge
            // ring it overlaps.
            return new QWidget(parentWidget);
        case K::Label:
        case K::StatusLine:
            return createLabel(e, parentWidget, look);
        case K::Picture: {
            auto* label = new QLabel(parentWidget);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setAutoFillBackground(true);
            look.setColour(label, QPalette::Window, Qt::black);
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
            return createConfigButton(parentWidget, look, onConfig);
    }
    return nullptr;
}

QWidget* CreateLine(const LinePlace& l, QWidget* parentWidget) {
    return new LineElement(l.widthPx, parentWidget);
}

}  // namespace kestrova
