#include "map/MapWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/LocalTime.h"
#include "fix/Export.h"
#include "map/BearingDialog.h"
#include "map/Coordinates.h"
#include "map/Describe.h"
#include "widgets/Look.h"

namespace kestrova::map {

namespace {

const fix::LineOfBearing* findLine(const fix::LineStore& store, std::uint64_t id,
                                   std::size_t* index = nullptr) {
    const auto& lines = store.lines();
    const auto it = std::find_if(lines.begin(), lines.end(),
                                 [id](const fix::LineOfBearing& l) { return l.id == id; });
    if (it == lines.end()) {
        return nullptr;
    }
    if (index != nullptr) {
        *index = static_cast<std::size_t>(it - lines.begin());
    }
    return &*it;
}

}  // namespace

MapWindow::MapWindow(fix::LineStore& store, std::function<Stamp()> now, QWidget* parent)
    : QWidget(parent, Qt::Window),
      store_(store),
      now_(std::move(now)),
      map_(new MapView(
          store, [this] { return now_().steadyMs; }, this)),
      live_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Kestrova map"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildButtons());
    column->addWidget(map_, 1);
    column->addWidget(buildFooter());
    map_->onPointer = [this](const std::optional<GeoPosition>& at) { showPointer(at); };
    map_->onLineClicked = [this](std::uint64_t id) { showLine(id); };
    map_->onProblem = [this](const std::string& problem) { say("Map tiles: " + problem); };
    connect(live_, &QTimer::timeout, this, [this] {
        map_->refresh();
        showLine(map_->selected());
    });
    live_->setInterval(kLiveMs);
    resize(800, 600);
    showPointer(std::nullopt);
}

MapWindow::~MapWindow() = default;

void MapWindow::showEvent(QShowEvent* event) {
    live_->start();
    map_->refresh();
    QWidget::showEvent(event);
}

void MapWindow::hideEvent(QHideEvent* event) {
    live_->stop();
    QWidget::hideEvent(event);
}

QPushButton* MapWindow::button(const QString& text, const QString& tip, std::function<void()> act) {
    auto* b = new QPushButton(text, this);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);  // keys go to the map
    connect(b, &QPushButton::clicked, this, std::move(act));
    return b;
}

QWidget* MapWindow::buildButtons() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->addWidget(button(QStringLiteral("Vehicle"),
                          QStringLiteral("Centre on the vehicle and follow it (V)"),
                          [this] { map_->centreOnVehicle(); }));
    row->addWidget(button(QStringLiteral("Fix"), QStringLiteral("Centre on the fix (F)"), [this] {
        if (!map_->centreOnFix()) {
            say("No fix to centre on.");
        }
    }));
    row->addWidget(button(QStringLiteral("Add bearing..."),
                          QStringLiteral("A bearing from elsewhere joins the fix"),
                          [this] { askBearing(); }));
    row->addWidget(button(QStringLiteral("Clear"),
                          QStringLiteral("Forget every line and start a new fix"),
                          [this] { clearLines(); }));
    row->addStretch(1);
    row->addWidget(button(QStringLiteral("Export..."),
                          QStringLiteral("The lines, the track and the fix as GeoJSON, KML or GPX"),
                          [this] { askExport(); }));
    row->addWidget(button(QStringLiteral("Save picture..."), QStringLiteral("The map as a PNG"),
                          [this] { askPicture(); }));
    return bar;
}

QWidget* MapWindow::buildFooter() {
    auto* footer = new QWidget(this);
    auto* column = new QVBoxLayout(footer);
    linePanel_ = new QWidget(footer);
    auto* lineRow = new QHBoxLayout(linePanel_);
    lineRow->setContentsMargins(0, 0, 0, 0);
    line_ = new QLabel(linePanel_);
    line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    leaveOut_ = button(QString(), QString(), [this] { toggleLeftOut(); });
    lineRow->addWidget(line_, 1);
    lineRow->addWidget(leaveOut_);
    lineRow->addWidget(
        button(QStringLiteral("Close"), QStringLiteral("Pick no line"), [this] { showLine(0); }));
    linePanel_->hide();
    auto* bottom = new QHBoxLayout();
    pointer_ = new QLabel(footer);
    status_ = new QLabel(footer);
    status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    status_->setWordWrap(true);
    bottom->addWidget(pointer_);
    bottom->addWidget(status_, 1);
    column->addWidget(linePanel_);
    column->addLayout(bottom);
    return footer;
}

void MapWindow::setTiles(const std::string& path) {
    OpenedTiles opened = OpenTiles(path);
    map_->setTiles(std::move(opened.source));
    if (!opened.problem.empty()) {
        const std::string message = "Map tiles " + opened.problem + "; the grid is drawn.";
        say(message);
        if (report) {
            report(message);
        }
    }
}

void MapWindow::setLook(const MapLook& look) {
    look_ = look;
    applyLook(this, look.palette);
    QFont f = font();
    f.setPixelSize(static_cast<int>(std::lround(12 * look.scale)));
    setFont(f);
    map_->setLook(look);
}

void MapWindow::say(const std::string& message) {
    const std::string time = FormatLocalTime(now_().local).substr(11, 8);
    status_->setText(QString::fromStdString(time + "> " + message));
}

QString MapWindow::status() const {
    return status_->text();
}

QString MapWindow::pointerText() const {
    return pointer_->text();
}

QString MapWindow::lineText() const {
    return linePanel_->isHidden() ? QString() : line_->text();
}

void MapWindow::showPointer(const std::optional<GeoPosition>& at) {
    if (!at) {
        pointer_->setText(QStringLiteral("\n"));
        return;
    }
    const PositionTexts t = PositionText(at->latitude, at->longitude);
    pointer_->setText(QString::fromLatin1((t.sexagesimal + "\n" + t.decimalMinutes).c_str()));
}

void MapWindow::showLine(std::uint64_t id) {
    std::size_t index = 0;
    const fix::LineOfBearing* line = findLine(store_, id, &index);
    map_->select(line != nullptr ? id : 0);
    linePanel_->setVisible(line != nullptr);
    if (line == nullptr) {
        return;
    }
    const auto& verdicts = store_.fix().bearings;
    line_->setText(QString::fromStdString(
        LineSummary(*line, index < verdicts.size() ? &verdicts[index] : nullptr)));
    leaveOut_->setText(line->excluded ? QStringLiteral("Put back") : QStringLiteral("Leave out"));
}

void MapWindow::toggleLeftOut() {
    if (const fix::LineOfBearing* line = findLine(store_, map_->selected())) {
        store_.setExcluded(line->id, !line->excluded);
        map_->refresh();
        showLine(line->id);
    }
}

void MapWindow::clearLines() {
    store_.clear();
    showLine(0);
    map_->refresh();
    say("Lines cleared: a new fix begins.");
}

bool MapWindow::addBearing(const GeoPosition& at, double bearing, const std::string& note) {
    const std::uint64_t id = store_.addManual(at, bearing, note, now_());
    if (id != 0) {
        map_->refresh();
        say("Bearing added by hand.");
    }
    return id != 0;
}

bool MapWindow::exportTo(const QString& path) {
    fix::ExportData all;
    all.lines.assign(store_.lines().begin(), store_.lines().end());
    all.fix = store_.fix();
    all.verdicts = all.fix.bearings;
    for (const PositionShown& p : store_.track()) {
        all.track.push_back(p.position);
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    std::string text;
    if (suffix == QLatin1String("kml")) {
        text = fix::ToKml(all);
    } else if (suffix == QLatin1String("gpx")) {
        text = fix::ToGpx(all);
    } else {
        text = fix::ToGeoJson(all);
    }
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size()) &&
                         file.commit();
    say(written ? "Exported to " + path.toStdString()
                : "Cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
    return written;
}

bool MapWindow::savePicture(const QString& path) {
    const bool saved = map_->picture().save(path, "PNG");
    say(saved ? "Map saved as " + path.toStdString() : "Cannot write " + path.toStdString());
    return saved;
}

void MapWindow::askExport() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export the lines, the track and the fix"), QString(),
        QStringLiteral("GeoJSON (*.geojson);;KML (*.kml);;GPX (*.gpx)"));
    if (!path.isEmpty()) {
        exportTo(path);
    }
}

void MapWindow::askPicture() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the map"),
                                                      QString(), QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty()) {
        savePicture(path);
    }
}

void MapWindow::askBearing() {
    const GeoPosition start =
        store_.track().empty() ? ToGeo(map_->view().centre()) : store_.track().back().position;
    auto* dialog = new BearingDialog(
        start,
        [this](const GeoPosition& at, double bearing, const std::string& note) {
            return addBearing(at, bearing, note);
        },
        this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    applyLook(dialog, look_.palette);
    dialog->open();
}

}  // namespace kestrova::map
