#include "map/MapView.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>

#include "map/Describe.h"

namespace kestrova::map {

namespace {
constexpr int kClickSlop = 4;          // pixels a press may move and still be a click
constexpr double kPickPixels = 6;      // a click this near a line picks it
constexpr double kKeepInMiddle = 0.3;  // the vehicle is brought back when this near an edge
constexpr int kMoreSoonMs = 30;        // next frame when tiles or lines are still to come
constexpr double kPanStep = 0.25;      // of the view, per arrow key
}  // namespace

MapView::MapView(fix::LineStore& store, std::function<std::int64_t()> nowMs, QWidget* parent)
    : QWidget(parent), store_(store), nowMs_(std::move(nowMs)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    view_.setZoom(kStartZoom);
}

MapView::~MapView() = default;

void MapView::setTiles(std::unique_ptr<TileSource> source) {
    tiles_ = source ? std::make_unique<TileLayer>(std::move(source)) : nullptr;
    if (tiles_) {
        tiles_->setPalette(look_.palette);
    }
    viewChanged();
}

void MapView::setLook(const MapLook& look) {
    look_ = look;
    if (tiles_) {
        tiles_->setPalette(look.palette);
    }
    viewChanged();
}

void MapView::setView(const View& view) {
    view_ = view;
    placed_ = true;
    following_ = false;
    viewChanged();
}

void MapView::viewChanged() {
    backgroundDone_ = false;
    update();
}

bool MapView::centreOnVehicle() {
    following_ = true;
    if (store_.track().empty()) {
        return false;
    }
    view_.centreOn(store_.track().back().position);
    placed_ = true;
    viewChanged();
    return true;
}

bool MapView::centreOnFix() {
    const fix::FixResult& f = store_.fix();
    if (!f.ok() || !OnMap(f.position)) {
        return false;
    }
    following_ = false;
    placed_ = true;
    view_.centreOn(f.position);
    viewChanged();
    return true;
}

void MapView::select(std::uint64_t id) {
    if (id != selected_) {
        selected_ = id;
        update();
    }
}

void MapView::placeFirst() {
    if (placed_) {
        return;
    }
    if (!store_.track().empty()) {
        centreOnVehicle();
    } else if (!store_.lines().empty() && OnMap(store_.lines().back().station)) {
        view_.centreOn(store_.lines().back().station);
        placed_ = true;
        viewChanged();
    }
}

void MapView::follow() {
    if (!following_ || store_.track().empty()) {
        return;
    }
    const GeoPosition& at = store_.track().back().position;
    if (!OnMap(at)) {
        return;
    }
    WorldPoint w = ToWorld(at);
    w.x = view_.nearest(w.x);
    const ScreenPoint s = view_.toScreen(w);
    const double mx = view_.width() * kKeepInMiddle, my = view_.height() * kKeepInMiddle;
    if (s.x < mx || s.x > view_.width() - mx || s.y < my || s.y > view_.height() - my) {
        centreOnVehicle();
    }
}

void MapView::refresh() {
    const std::int64_t now = nowMs_();
    store_.expire(now);
    placeFirst();
    follow();
    // However many lines there are, drawing them takes no more than a share of the time.
    const bool due = sincePaint_.isValid() && sincePaint_.elapsed() >= paintCostMs_ * kCostShare;
    if (due && (store_.revision() != drawnRevision_ || now - drawnAtMs_ >= kFadeStepMs)) {
        update();
    }
}

bool MapView::composeBackground(int tileReads) {
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(view_.width(), view_.height()) * dpr).toSize();
    if (background_.size() != pixels) {
        background_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    }
    background_.setDevicePixelRatio(dpr);
    QPainter p(&background_);
    gridMetres_ = PaintGrid(p, view_, look_);
    bool complete = true;
    if (tiles_) {
        complete = tiles_->paint(p, view_, tileReads);
        if (const std::string problem = tiles_->takeProblem(); !problem.empty() && onProblem) {
            onProblem(problem);
        }
    }
    return complete;
}

bool MapView::draw(QPainter& p, int tileReads, std::size_t shapes) {
    if (!backgroundDone_) {
        backgroundDone_ = composeBackground(tileReads);
    }
    p.drawImage(QPointF(0, 0), background_);
    const fix::FixResult& f = store_.fix();
    if (lengthRevision_ != store_.revision()) {
        lineLength_ = LineLength(store_.lines(), f);
        lengthRevision_ = store_.revision();
    }
    const bool linesDone = shapes_.update(store_.lines(), lineLength_, shapes);
    const Scene scene{store_.lines(),
                      f.bearings,
                      f,
                      store_.track(),
                      shapes_,
                      nowMs_(),
                      store_.settings().maxAgeSeconds,
                      selected_};
    overlay_.paint(p, view_, scene, look_);
    const bool showGrid = !tiles_;
    PaintFurniture(p, view_, look_, showGrid ? gridMetres_ : 0,
                   QString::fromStdString(FixSummary(f)),
                   tiles_ ? tiles_->source().attribution() : QString());
    return backgroundDone_ && linesDone;
}

void MapView::paintEvent(QPaintEvent*) {
    drawnRevision_ = store_.revision();
    drawnAtMs_ = nowMs_();
    QElapsedTimer cost;
    cost.start();
    QPainter p(this);
    if (!draw(p, TileLayer::kReadsPerFrame, kShapesPerFrame)) {
        QTimer::singleShot(kMoreSoonMs, this, [this] { update(); });
    }
    paintCostMs_ = cost.elapsed();
    sincePaint_.start();
}

QImage MapView::picture() {
    QImage out(size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    out.setDevicePixelRatio(devicePixelRatioF());
    backgroundDone_ = false;
    QPainter p(&out);
    draw(p, std::numeric_limits<int>::max(), std::numeric_limits<std::size_t>::max());
    return out;
}

void MapView::resizeEvent(QResizeEvent*) {
    view_.resize(width(), height());
    viewChanged();
}

void MapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressedAt_ = event->position().toPoint();
        dragging_ = false;
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (pressedAt_ && (event->buttons() & Qt::LeftButton)) {
        const QPoint moved = at.toPoint() - *pressedAt_;
        dragging_ = dragging_ || moved.manhattanLength() > kClickSlop;
        if (dragging_) {
            view_.panBy(moved.x(), moved.y());
            pressedAt_ = at.toPoint();
            following_ = false;
            viewChanged();
        }
    }
    if (onPointer) {
        const WorldPoint w = view_.toWorld({at.x(), at.y()});
        onPointer(w.y >= 0 && w.y <= 1 ? std::optional(ToGeo(w)) : std::nullopt);
    }
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressedAt_) {
        return;
    }
    pressedAt_.reset();
    if (dragging_) {
        return;
    }
    const QPointF at = event->position();
    const auto id = Nearest(overlay_.drawnLines(), {at.x(), at.y()}, kPickPixels * look_.scale);
    select(id.value_or(0));
    if (onLineClicked) {
        onLineClicked(id.value_or(0));
    }
}

void MapView::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    view_.zoomAbout({at.x(), at.y()}, event->angleDelta().y() / 120.0);
    following_ = false;
    viewChanged();
}

void MapView::keyPressEvent(QKeyEvent* event) {
    const ScreenPoint middle{view_.width() / 2, view_.height() / 2};
    const double dx = view_.width() * kPanStep, dy = view_.height() * kPanStep;
    switch (event->key()) {
        case Qt::Key_V:
            centreOnVehicle();
            return;
        case Qt::Key_F:
            centreOnFix();
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            view_.zoomAbout(middle, 1);
            break;
        case Qt::Key_Minus:
            view_.zoomAbout(middle, -1);
            break;
        case Qt::Key_Left:
            view_.panBy(dx, 0);
            break;
        case Qt::Key_Right:
            view_.panBy(-dx, 0);
            break;
        case Qt::Key_Up:
            view_.panBy(0, dy);
            break;
        case Qt::Key_Down:
            view_.panBy(0, -dy);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    following_ = false;
    viewChanged();
}

void MapView::leaveEvent(QEvent*) {
    if (onPointer) {
        onPointer(std::nullopt);
    }
}

}  // namespace kestrova::map
