#pragma once
// A bearing typed in by hand, as another team gives it on the radio: where it was taken, the
// true bearing and a note. OK hands it on; a value that is no number keeps the dialog open.

#include <QDialog>
#include <functional>
#include <string>

#include "core/Readings.h"

class QLabel;
class QLineEdit;

namespace kestrova::map {

class BearingDialog : public QDialog {
  public:
    // `add` takes the bearing and says whether it was taken.
    using Add = std::function<bool(const GeoPosition& at, double bearing, const std::string& note)>;
    BearingDialog(const GeoPosition& start, Add add, QWidget* parent = nullptr);

    QLineEdit* latitude() const { return latitude_; }
    QLineEdit* longitude() const { return longitude_; }
    QLineEdit* bearing() const { return bearing_; }
    QLineEdit* note() const { return note_; }
    QString problem() const;

    void accept() override;

  private:
    QLineEdit* field(const QString& label, const QString& text, const QString& tip);

    Add add_;
    QLineEdit* latitude_;
    QLineEdit* longitude_;
    QLineEdit* bearing_;
    QLineEdit* note_;
    QLabel* problem_;
};

}  // namespace kestrova::map
