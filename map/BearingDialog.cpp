#include "map/BearingDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <optional>

namespace kestrova::map {

namespace {
// A number written with a point, whatever the locale; nothing for anything else.
std::optional<double> number(const QLineEdit* edit) {
    bool ok = false;
    const double value = QLocale::c().toDouble(edit->text().trimmed(), &ok);
    return ok ? std::optional(value) : std::nullopt;
}
}  // namespace

BearingDialog::BearingDialog(const GeoPosition& start, Add add, QWidget* parent)
    : QDialog(parent), add_(std::move(add)) {
    setWindowTitle(QStringLiteral("Add a bearing"));
    auto* form = new QFormLayout(this);
    setLayout(form);
    latitude_ = field(QStringLiteral("Latitude"), QString::number(start.latitude, 'f', 6),
                      QStringLiteral("Degrees, south negative: -33.868"));
    longitude_ = field(QStringLiteral("Longitude"), QString::number(start.longitude, 'f', 6),
                       QStringLiteral("Degrees, west negative: -4.53"));
    bearing_ = field(QStringLiteral("Bearing"), QString(),
                     QStringLiteral("Degrees true, clockwise from north: 0 to 360"));
    note_ = field(QStringLiteral("Note"), QString(),
                  QStringLiteral("Who gave it, or anything else to keep with it"));
    problem_ = new QLabel(this);
    form->addRow(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &BearingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BearingDialog::reject);
    bearing_->setFocus();
}

QLineEdit* BearingDialog::field(const QString& label, const QString& text, const QString& tip) {
    auto* edit = new QLineEdit(text, this);
    edit->setToolTip(tip);
    edit->setPlaceholderText(tip);
    static_cast<QFormLayout*>(layout())->addRow(label, edit);
    return edit;
}

QString BearingDialog::problem() const {
    return problem_->text();
}

void BearingDialog::accept() {
    const auto lat = number(latitude_), lon = number(longitude_), brg = number(bearing_);
    if (!lat || !lon || !brg) {
        problem_->setText(QStringLiteral("Latitude, longitude and bearing must be numbers."));
        return;
    }
    if (!add_({*lat, *lon}, *brg, note_->text().toStdString())) {
        problem_->setText(
            QStringLiteral("Not taken: latitude -90 to 90 and longitude -180 to "
                           "180, not 0, 0 (what a GPS without a fix sends)."));
        return;
    }
    QDialog::accept();
}

}  // namespace kestrova::map
