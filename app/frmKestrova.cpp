#include "app/frmKestrova.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "app/FramePacer.h"
#include "display/Bearing.h"
#include "display/Gps.h"
#include "widgets/Look.h"
#include "widgets/NeedleGauge.h"
#include "widgets/Pictures.h"

namespace kestrova {

namespace {

using K = ElementKind;

constexpr std::array<ElementPlace, 29> kLayout{{
    {El::FrameGainLocal, kWindow, K::Panel, 30, 0, 975, 495},
    {El::Banner_Video_Gain, El::FrameGainLocal, K::Label, 0, 0, 975, 225},
    {El::Banner_Local_Remote, El::FrameGainLocal, K::Label, 0, 240, 980, 225},
    {El::anggBrgDisplay, kWindow, K::Gauge, 360, 120, 3180, 3180},
    {El::FrameDOA, kWindow, K::Panel, 3120, 120, 855, 735},
    {El::ImageBackgroundDOA, El::FrameDOA, K::Picture, 0, 0, 810, 435},
    {El::DOA, El::FrameDOA, K::Label, 140, 80, 560, 225},
    {El::Banner_RelBear, El::FrameDOA, K::Label, 150, 430, 450, 225},
    {El::FrameMeters, kWindow, K::Panel, 3960, 0, 855, 2475},
    {El::ImageBackgroundMeters, El::FrameMeters, K::Picture, 0, 0, 870, 2460},
    {El::FrameDFOff, kWindow, K::Panel, 1560, 2400, 735, 375},
    {El::Banner_DF_Off, El::FrameDFOff, K::Picture, 0, 0, 735, 240},
    {El::FrameMode, kWindow, K::Panel, 3375, 2460, 1335, 495},
    {El::Banner_Op_Mode, El::FrameMode, K::Label, 0, 0, 1335, 225},
    {El::Banner_IF_BW, El::FrameMode, K::Label, 0, 240, 1335, 225},
    {El::FrameAnt, kWindow, K::Panel, 2880, 2955, 1830, 495},
    {El::Banner_Ant_Mod, El::FrameAnt, K::Label, 10, 0, 1815, 195},
    {El::Banner_Ant_Band, El::FrameAnt, K::Label, 10, 210, 1815, 195},
    {El::Banner_AntOrientation, kWindow, K::Picture, 15, 2925, 450, 405},
    {El::BatteryMeter, kWindow, K::Picture, 630, 3165, 420, 180},
    {El::ImageGPSBackground, kWindow, K::Picture, 4920, 360, 2370, 1815},
    {El::Banner_GPS_Sexa_Lat, kWindow, K::Label, 5400, 840, 1800, 225},
    {El::Banner_GPS_Sexa_Lon, kWindow, K::Label, 5265, 1080, 1800, 225},
    {El::Banner_GPS_Decimal_Lat, kWindow, K::Label, 5400, 1560, 1800, 225},
    {El::Banner_GPS_Decimal_Lon, kWindow, K::Label, 5265, 1800, 1800, 225},
    // Overlaps the top of the GPS picture and stays in front of it.
    {El::Textbox2, kWindow, K::TextBox, 4920, 120, 975, 285},
    {El::butConfig, kWindow, K::Button, 5040, 2280, 2175, 495},
    {El::LabelVersion, kWindow, K::Label, 5040, 2880, 2175, 180},
    {El::StatusDisp, kWindow, K::Label, 5040, 3120, 2175, 255},
}};

constexpr std::array<LinePlace, 3> kLines{{
    {El::SMeter, El::FrameMeters, kSMeterX, kMeterBaseline, kSMeterX, 1500, 3, kYellow},
    {El::TMeter, El::FrameMeters, kTMeterX, 1180, kTMeterX, 1100, 3, kYellow},
    {El::LineDivision, kWindow, 4845, 3240, 4845, 120, 2, kGrey},
}};

constexpr int kClientWidthTwips = 7350;
constexpr int kClientHeightTwips = 3390;

std::size_t idx(El e) {
    return static_cast<std::size_t>(e);
}

struct DesignText {
    El el;
    const char* text;  // Latin-1
};

// What the labels say before the logic first writes to them.
constexpr std::array<DesignText, 16> kDesignTexts{{
    {El::Banner_Video_Gain, "---A"},
    {El::Banner_Local_Remote, "---A"},
    {El::Banner_Op_Mode, "---A"},
    {El::Banner_IF_BW, "---A"},
    {El::DOA, kBlankDOA},
    {El::Banner_RelBear, "REL"},
    {El::Banner_Ant_Mod, "ANT UNKNOWN"},
    {El::Banner_Ant_Band, ""},
    {kGpsLabels[0], kGpsBlank[0]},
    {kGpsLabels[1], kGpsBlank[1]},
    {kGpsLabels[2], kGpsBlank[2]},
    {kGpsLabels[3], kGpsBlank[3]},
    {El::butConfig, "Configure"},
    {El::LabelVersion, "Kestrova Release"},
    {El::StatusDisp, "Status Ok!"},
    {El::Textbox2, ""},
}};

struct Tip {
    El el;
    const char* text;
};

constexpr std::array<Tip, 8> kTips{{
    {El::butConfig, "Config Kestrova's Serial Port"},
    {El::StatusDisp, "Click to clear previous Status Info."},
    {El::DOA, "Numeric bearing display (000-359.)."},
    {El::Banner_RelBear, "Relative (no compass offsets) / Absolute bearings. "},
    {El::Banner_AntOrientation, "Standard/Inverted (upside-down) antenna mount."},
    {El::ImageBackgroundMeters, "S-meter/Tune-meter."},
    {El::ImageGPSBackground, "GPS Derived Current Location."},
    {El::anggBrgDisplay, "Polar bearing display."},
}};

const char* const kStatusTip = "Click to clear previous Status Info.";
const QColor kNightButtonFace(48, 8, 0);

bool isPicture(El e) {
    return std::any_of(kLayout.begin(), kLayout.end(),
                       [e](const ElementPlace& p) { return p.el == e && p.kind == K::Picture; });
}

QFont displayFont(double points, bool bold, Palette palette) {
    QFont f(pictures::displayFontFamily());
    f.setPointSizeF(points);
    f.setBold(bold);
    if (palette == Palette::Night) {
        f.setStyleStrategy(QFont::NoSubpixelAntialias);  // no coloured fringes
    }
    return f;
}

void colourRole(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(role, c);
    w->setPalette(pal);
}

// The fixed pictures, each drawn for a device pixel ratio.
struct BuiltInPicture {
    El el;
    QPixmap (*draw)(qreal dpr);
};
constexpr std::array<BuiltInPicture, 5> kPictures{{
    {El::ImageBackgroundDOA, &pictures::bearingBackground},
    {El::ImageBackgroundMeters, &pictures::meterScales},
    {El::Banner_DF_Off, &pictures::dfOffSign},
    {El::BatteryMeter, &pictures::lowBatteryIcon},
    {El::ImageGPSBackground, &pictures::gpsBackground},
}};

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

// --- frmKestrova ------------------------------------------------------------------------------

frmKestrova::frmKestrova(QWidget* parent) : QWidget(parent) {
    twipsPerPixel_ = twipsPerPixelY();
    build();
}

frmKestrova::~frmKestrova() = default;

std::span<const ElementPlace> frmKestrova::layout() {
    return kLayout;
}

std::span<const LinePlace> frmKestrova::lines() {
    return kLines;
}

int frmKestrova::px(double twips) const {
    return static_cast<int>(std::lround(twips / twipsPerPixel_ * scale_));
}

int frmKestrova::screenPx(double twips) const {
    return static_cast<int>(std::lround(twips / twipsPerPixel_));
}

int frmKestrova::twips(int px) const {
    return static_cast<int>(std::lround(px * twipsPerPixel_));
}

void frmKestrova::setColour(QWidget* w, QPalette::ColorRole role, const QColor& day,
                            std::optional<bool> lightFace) {
    auto same = [w, role](const RoleColour& c) { return c.widget == w && c.role == role; };
    auto it = std::find_if(colours_.begin(), colours_.end(), same);
    if (it == colours_.end()) {
        it = colours_.insert(it, {w, role, day, lightFace.value_or(false)});
    }
    it->day = day;
    it->lightFace = lightFace.value_or(it->lightFace);
    colourRole(w, role, shade(palette_, day, it->lightFace));
}

void frmKestrova::build() {
    setWindowTitle(QStringLiteral("HNT-7700 Remote Display"));
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, Qt::black);

    // The table's order is the stacking order: later elements lie above earlier ones.
    for (const ElementPlace& e : kLayout) {
        QWidget* w = createElement(e);
        w->setObjectName(QString::fromLatin1(elementName(e.el)));
        elements_[idx(e.el)] = w;
    }
    createLines();
    arrangeElements();
    buildStatusLine();

    restyle();
    for (const DesignText& t : kDesignTexts) {
        setText(t.el, t.text);
    }
    for (const Tip& t : kTips) {
        elements_[idx(t.el)]->setToolTip(QString::fromLatin1(t.text));
    }
    elements_[idx(El::FrameDFOff)]->hide();
    elements_[idx(El::BatteryMeter)]->hide();
    // Needle moves, meters and texts are painted together, at the needle's frame rate.
    NeedleGauge* g = gauge();
    g->setFramePaced(false);
    new FramePacer(this, NeedleGauge::kFrameMs, [g] { g->paintMoves(); });
    built_ = true;
}

QWidget* frmKestrova::container(El c) {
    return c == kWindow ? static_cast<QWidget*>(this) : elements_[idx(c)];
}

QWidget* frmKestrova::createElement(const ElementPlace& e) {
    QWidget* parentWidget = container(e.container);
    switch (e.kind) {
        case K::Panel: {
            // Unfilled: the window behind is black, and a panel must not blot out the
            // gauge ring it overlaps.
            return new QWidget(parentWidget);
        }
        case K::Label: {
            auto* label = e.el == El::StatusDisp ? new ClickableLabel(parentWidget)
                                                 : new QLabel(parentWidget);
            label->setTextFormat(Qt::PlainText);  // texts come off the wire
            label->setContentsMargins(0, 0, 0, 0);
            fonts_[idx(e.el)] = {9.75, false};
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            setColour(label, QPalette::WindowText, toQColor(kYellow));
            return label;
        }
        case K::Picture: {
            auto* label = new QLabel(parentWidget);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setAutoFillBackground(true);
            setColour(label, QPalette::Window, Qt::black);
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
            fonts_[idx(e.el)] = {8.25, false};
            box->setFrame(true);
            return box;
        }
        case K::Button:
            fonts_[idx(e.el)] = {8.25, false};
            return createConfigButton(parentWidget);
    }
    return nullptr;
}

QWidget* frmKestrova::createConfigButton(QWidget* parentWidget) {
    auto* button = new QPushButton(parentWidget);
    setColour(button, QPalette::Button, toQColor(kGrey), true);
    setColour(button, QPalette::ButtonText, Qt::black, true);
    button->setAutoFillBackground(true);
    setColour(button, QPalette::Window, Qt::black);
    connect(button, &QPushButton::clicked, this, [this] {
        if (onConfigClicked) {
            onConfigClicked();
        }
    });
    return button;
}

void frmKestrova::createLines() {
    for (const LinePlace& l : kLines) {
        auto* line = new LineElement(l.widthPx, container(l.container));
        line->setObjectName(QString::fromLatin1(elementName(l.el)));
        elements_[idx(l.el)] = line;
        auto at = [this](int x, int y) {
            return QPointF(std::round(x / twipsPerPixel_), std::round(y / twipsPerPixel_));
        };
        lines_[idx(l.el)] = {at(l.x1, l.y1), at(l.x2, l.y2), toQColor(l.colour), l.widthPx};
    }
}

QLabel* frmKestrova::label(El e) const {
    return static_cast<QLabel*>(elements_[idx(e)]);
}

void frmKestrova::arrangeElements() {
    // The gauge's square overlaps the banners at its corners: keep it beneath everything.
    elements_[idx(El::anggBrgDisplay)]->lower();
    // The sign is shorter than its panel: the panel is black below it, not the dial.
    elements_[idx(El::FrameDFOff)]->setAutoFillBackground(true);
    setColour(elements_[idx(El::FrameDFOff)], QPalette::Window, Qt::black);

    fonts_[idx(El::DOA)] = {11.25, true};
    label(El::DOA)->setAlignment(Qt::AlignCenter);
    label(El::Banner_RelBear)->setAlignment(Qt::AlignCenter);
    for (El e : {El::Banner_Ant_Mod, El::Banner_Ant_Band}) {
        label(e)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    // The GPS labels lie on their background picture; let its tooltip through.
    for (El e : {El::Banner_GPS_Sexa_Lat, El::Banner_GPS_Sexa_Lon, El::Banner_GPS_Decimal_Lat,
                 El::Banner_GPS_Decimal_Lon}) {
        label(e)->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    QLabel* version = label(El::LabelVersion);
    fonts_[idx(El::LabelVersion)] = {8.25, false};
    setColour(version, QPalette::WindowText, toQColor(kGrey));
}

void frmKestrova::buildStatusLine() {
    auto* status = static_cast<ClickableLabel*>(label(El::StatusDisp));
    fonts_[idx(El::StatusDisp)] = {8.25, false};
    status->setAlignment(Qt::AlignCenter);
    status->setAutoFillBackground(true);
    setColour(status, QPalette::Window, Qt::white, true);
    setColour(status, QPalette::WindowText, Qt::black, true);
    connect(status, &ClickableLabel::clicked, this, &frmKestrova::StatusDisp_Click);
    connect(status, &ClickableLabel::menuRequested, this,
            [this](QPoint at) { showStatusMessages(at); });
}

void frmKestrova::restyle() {
    setFixedSize(px(kClientWidthTwips), px(kClientHeightTwips));
    // By day the window inherits the application's palette as it always has.
    setPalette(palette_ == Palette::Night ? shadePalette(palette_, QApplication::palette(this))
                                          : QPalette());
    for (const RoleColour& c : colours_) {
        colourRole(c.widget, c.role, shade(palette_, c.day, c.lightFace));
    }
    if (palette_ == Palette::Night) {
        // The style lightens a button's face towards white at its top edge: from a dark face,
        // as every button at night has, that stays dim red.
        colourRole(elements_[idx(El::butConfig)], QPalette::Button, kNightButtonFace);
    }

    for (const ElementPlace& e : kLayout) {
        QWidget* w = elements_[idx(e.el)];
        w->setGeometry(px(e.left), px(e.top), px(e.width), px(e.height));
        if (const FontPlace& f = fonts_[idx(e.el)]; f.points > 0) {
            w->setFont(displayFont(f.points * scale_, f.bold, palette_));
        }
    }
    for (const LinePlace& l : kLines) {
        placeLine(l.el);
    }

    // Drawn at the scaled ratio, shown at the screen's: as many pixels as the size needs.
    const qreal dpr = devicePixelRatioF();
    for (const BuiltInPicture& p : kPictures) {
        QPixmap pm = p.draw(dpr * scale_);
        pm.setDevicePixelRatio(dpr);
        static_cast<QLabel*>(elements_[idx(p.el)])->setPixmap(shade(palette_, pm));
    }
    for (std::size_t i = 0; i < kElementCount; ++i) {
        if (!loaded_[i].isNull()) {
            static_cast<QLabel*>(elements_[i])->setPixmap(loadedPicture(loaded_[i]));
        }
    }

    NeedleGauge* g = gauge();
    g->showLook(static_cast<int>(palette_));
    g->setNeedleColour(shade(palette_, needleDay_));
    if (messagesList_) {
        messagesList_->setPalette(QPalette());
        applyLook(messagesList_, palette_);
    }
}

QPixmap frmKestrova::loadedPicture(const QImage& file) const {
    if (scale_ == 1.0) {
        return shade(palette_, QPixmap::fromImage(file));
    }
    const qreal dpr = devicePixelRatioF();
    QPixmap pm = QPixmap::fromImage(file.scaled((QSizeF(file.size()) * scale_ * dpr).toSize(),
                                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pm.setDevicePixelRatio(dpr);
    return shade(palette_, pm);
}

void frmKestrova::placeLine(El e) {
    auto* line = dynamic_cast<LineElement*>(element(e));
    if (!line) {
        return;
    }
    const LineState& l = lines_[idx(e)];
    auto at = [this](QPointF p) {
        return QPoint(static_cast<int>(std::lround(p.x() * scale_)),
                      static_cast<int>(std::lround(p.y() * scale_)));
    };
    line->setPenWidth(std::max(1, static_cast<int>(std::lround(l.widthPx * scale_))));
    line->setEnds(at(l.a), at(l.b), shade(palette_, l.day));
}

void frmKestrova::setHistoryLength(int readouts) {
    const bool was = history_.length() > 0;
    history_.setLength(static_cast<std::size_t>(std::max(0, readouts)));
    if (readouts > 0 && !was) {
        gauge()->setOverlayPainter([this](QPainter& p, int side) {
            std::vector<pictures::DialMark> marks;
            for (std::size_t i = 0; i < history_.size(); ++i) {
                marks.push_back({history_.mark(i).degrees, history_.mark(i).strength});
            }
            marks_.paint(p, side, marks, shade(palette_, pictures::kHistoryMark));
        });
    } else if (readouts <= 0 && was) {
        gauge()->setOverlayPainter(nullptr);
    } else if (was) {
        gauge()->overlayChanged();  // fewer marks, or the same fading faster or slower
    }
}

void frmKestrova::bearingShown(const BearingShown& b) {
    if (history_.add(ShownDegrees(b.tenths))) {
        gauge()->overlayChanged();
    }
}

void frmKestrova::bearingsStopped() {
    if (history_.size() > 0) {
        history_.clear();
        gauge()->overlayChanged();
    }
}

void frmKestrova::applyPalette(Palette palette) {
    if (palette != palette_) {
        palette_ = palette;
        restyle();
        gauge()->overlayChanged();
    }
}

void frmKestrova::setScale(double factor) {
    if (factor > 0 && factor != scale_) {
        scale_ = factor;
        restyle();
    }
}

QListWidget* frmKestrova::showStatusMessages(QPoint at) {
    if (!messagesList_) {
        messagesList_ = new QListWidget(this);
        messagesList_->setWindowFlags(Qt::Popup);
        messagesList_->setObjectName(QStringLiteral("StatusMessages"));
        messagesList_->setSelectionMode(QAbstractItemView::NoSelection);
        applyLook(messagesList_, palette_);
    }
    messagesList_->clear();
    for (const std::string& m : messages_.newestFirst()) {
        messagesList_->addItem(QString::fromLatin1(m.data(), static_cast<qsizetype>(m.size())));
    }
    if (messagesList_->count() == 0) {
        messagesList_->addItem(QStringLiteral("No messages yet"));
    }
    messagesList_->setFont(displayFont(8.25 * scale_, false, palette_));
    const int rows = std::min(messagesList_->count(), 12);
    const int width = std::max(px(4500), messagesList_->sizeHintForColumn(0) + px(600));
    messagesList_->resize(
        width, rows * messagesList_->sizeHintForRow(0) + 2 * messagesList_->frameWidth() + 2);
    // Above the pointer, as the status line sits at the bottom of the window, and on screen.
    QPoint topLeft = at - QPoint(0, messagesList_->height());
    if (const QScreen* s = screen()) {
        const QRect free = s->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), free.left(),
                                std::max(free.left(), free.right() - messagesList_->width())));
        topLeft.setY(std::clamp(topLeft.y(), free.top(),
                                std::max(free.top(), free.bottom() - messagesList_->height())));
    }
    messagesList_->move(topLeft);
    messagesList_->show();
    return messagesList_;
}

QWidget* frmKestrova::element(El e) const {
    return idx(e) < elements_.size() ? elements_[idx(e)] : nullptr;
}

NeedleGauge* frmKestrova::gauge() const {
    return static_cast<NeedleGauge*>(elements_[idx(El::anggBrgDisplay)]);
}

void frmKestrova::showStatusTip(const QString& text) {
    // The full message, which the line may be too narrow for, above what a click does.
    const QString tip = QString::fromLatin1(kStatusTip);
    elements_[idx(El::StatusDisp)]->setToolTip(text.isEmpty() ? tip : text + "\n" + tip);
}

void frmKestrova::setText(El e, std::string_view latin1) {
    QWidget* w = element(e);
    const QString s = QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(s);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        button->setText(s);
    } else if (auto* label = qobject_cast<QLabel*>(w); label && !isPicture(e)) {
        label->setText(s);
    }
    if (e == El::StatusDisp && built_) {
        messages_.shown(latin1);
        showStatusTip(s);
        // A message too long for the line starts at its left edge, so its time and first
        // words show; the tooltip has the rest.
        auto* status = static_cast<QLabel*>(w);
        const bool fits = status->fontMetrics().horizontalAdvance(s) <= status->width();
        status->setAlignment((fits ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
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
        lines_[idx(e)].day = toQColor(colour);
        placeLine(e);
    } else if (qobject_cast<QLineEdit*>(w)) {
        setColour(w, QPalette::Text, toQColor(colour));
    } else if (qobject_cast<QPushButton*>(w)) {
        setColour(w, QPalette::ButtonText, toQColor(colour));
    } else {
        setColour(w, QPalette::WindowText, toQColor(colour));
    }
}

void frmKestrova::setVisible(El e, bool visible) {
    if (QWidget* w = element(e)) {
        w->setVisible(visible);
    }
}

bool frmKestrova::loadPicture(El e, const std::string& path) {
    auto* label = qobject_cast<QLabel*>(element(e));
    if (!label || !isPicture(e) || path.empty()) {
        return false;
    }
    QImage image;
    if (!image.load(QFile::decodeName(path.c_str()))) {
        return false;
    }
    loaded_[idx(e)] = image;
    label->setPixmap(loadedPicture(image));
    return true;
}

void frmKestrova::setLine(El e, int x1, int y1, int x2, int y2, Rgb colour) {
    if (!dynamic_cast<LineElement*>(element(e))) {
        return;
    }
    // The logic works in twips of the current screen pixel; convert back with the same size.
    const double p = twipsPerPixelY();
    auto toPx = [p](int t) { return std::round(t / p); };
    lines_[idx(e)].a = QPointF(toPx(x1), toPx(y1));
    lines_[idx(e)].b = QPointF(toPx(x2), toPx(y2));
    lines_[idx(e)].day = toQColor(colour);
    placeLine(e);
}

void frmKestrova::setNeedleValue(double degrees) {
    gauge()->setNeedleValue(degrees);
}

void frmKestrova::setNeedleColour(Rgb colour) {
    needleDay_ = toQColor(colour);
    gauge()->setNeedleColour(shade(palette_, needleDay_));
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
    return twips(pos().x());
}

int frmKestrova::topTwips() const {
    return twips(pos().y());
}

void frmKestrova::setLeftTwips(int t) {
    move(screenPx(t), pos().y());
}

void frmKestrova::setTopTwips(int t) {
    move(pos().x(), screenPx(t));
}

int frmKestrova::widthTwips() const {
    return twips(frameGeometry().width());
}

int frmKestrova::heightTwips() const {
    return twips(frameGeometry().height());
}

int frmKestrova::screenWidthTwips() const {
    const QScreen* s = screen();
    return s ? twips(s->geometry().width()) : 0;
}

int frmKestrova::screenHeightTwips() const {
    const QScreen* s = screen();
    return s ? twips(s->geometry().height()) : 0;
}

void frmKestrova::makeInvisible() {
    hide();
}

void frmKestrova::StatusDisp_Click() {
    setText(El::StatusDisp, "");
}

}  // namespace kestrova
