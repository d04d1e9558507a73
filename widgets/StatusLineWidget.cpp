#include "widgets/StatusLineWidget.h"

#include <QContextMenuEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "widgets/Look.h"

namespace kestrova {

namespace {
const char* const kTip = "Click to clear previous Status Info.";
constexpr int kListRows = 12;
constexpr int kListWidthTwips = 4500, kListMarginTwips = 600;
}  // namespace

StatusLineWidget::StatusLineWidget(QWidget* parent) : QLabel(parent) {
    setToolTip(QString::fromLatin1(kTip));
    connect(this, &StatusLineWidget::clicked, this, &StatusLineWidget::StatusDisp_Click);
}

void StatusLineWidget::setMessage(const QString& text) {
    setText(text);
    if (!text.isEmpty()) {
        messages_.push_front(text);
        if (messages_.size() > kKept) {
            messages_.pop_back();
        }
    }
    // The full message, which the line may be too narrow for, above what a click does.
    const QString tip = QString::fromLatin1(kTip);
    setToolTip(text.isEmpty() ? tip : text + "\n" + tip);
    // A message too long for the line starts at its left edge, so its time and first words
    // show; the tooltip has the rest.
    const bool fits = fontMetrics().horizontalAdvance(text) <= width();
    setAlignment((fits ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
}

void StatusLineWidget::setLook(Palette palette, double fontPoints, double pixelsPerTwip) {
    palette_ = palette;
    fontPoints_ = fontPoints;
    pixelsPerTwip_ = pixelsPerTwip;
    if (list_) {
        list_->setPalette(QPalette());
        applyLook(list_, palette_);
    }
}

QListWidget* StatusLineWidget::showMessages(QPoint at) {
    if (!list_) {
        list_ = new QListWidget(this);
        list_->setWindowFlags(Qt::Popup);
        list_->setObjectName(QStringLiteral("StatusMessages"));
        list_->setSelectionMode(QAbstractItemView::NoSelection);
        applyLook(list_, palette_);
    }
    list_->clear();
    if (const QString line = note ? note() : QString(); !line.isEmpty()) {
        list_->addItem(line);
    }
    for (const QString& m : messages_) {
        list_->addItem(m);
    }
    if (messages_.empty()) {
        list_->addItem(QStringLiteral("No messages yet"));
    }
    list_->setFont(displayFont(fontPoints_, false, palette_));
    placeList(at);
    list_->show();
    return list_;
}

void StatusLineWidget::placeList(QPoint at) {
    const auto px = [this](int twips) {
        return static_cast<int>(std::lround(twips * pixelsPerTwip_));
    };
    const int rows = std::min(list_->count(), kListRows);
    const int width =
        std::max(px(kListWidthTwips), list_->sizeHintForColumn(0) + px(kListMarginTwips));
    list_->resize(width, rows * list_->sizeHintForRow(0) + 2 * list_->frameWidth() + 2);
    // Above the pointer, as the status line sits at the bottom of the window, and on screen.
    QPoint topLeft = at - QPoint(0, list_->height());
    if (const QScreen* s = screen()) {
        const QRect free = s->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), free.left(),
                                std::max(free.left(), free.right() - list_->width())));
        topLeft.setY(std::clamp(topLeft.y(), free.top(),
                                std::max(free.top(), free.bottom() - list_->height())));
    }
    list_->move(topLeft);
}

void StatusLineWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void StatusLineWidget::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (onMenu) {
        onMenu(event->globalPos());
    } else {
        showMessages(event->globalPos());
    }
}

void StatusLineWidget::mouseReleaseEvent(QMouseEvent* event) {
    // A click is press and release on the label; dragging off cancels it.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

}  // namespace kestrova
