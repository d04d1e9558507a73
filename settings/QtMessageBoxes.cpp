#include "settings/QtMessageBoxes.h"

#include <QMessageBox>

#include "widgets/Look.h"

namespace kestrova {

void QtMessageBoxes::show(std::string_view text, std::string_view title, BoxIcon icon) {
    // The texts break their lines with a bare CR, which a label would not show as a break.
    QString body = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QChar('\r'), QChar('\n'));
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())));
    box.setText(body);
    box.setStandardButtons(QMessageBox::Ok);
    switch (icon) {
        case BoxIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case BoxIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case BoxIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
    }
    if (palette_ == Palette::Night) {
        applyLook(&box, palette_);
        // The style's icons are coloured pictures: shaded as everything else.
        box.setIconPixmap(shade(palette_, box.iconPixmap()));
    }
    box.exec();
}

}  // namespace kestrova
