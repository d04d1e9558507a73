#pragma once
// The status line: the latest message, stamped by whoever reports it; its tooltip is the
// whole message, however long; a right click lists the last hundred; a left click (pressed
// and released on it) clears it.

#include <QLabel>
#include <QString>
#include <deque>
#include <functional>

#include "core/Display.h"

class QListWidget;

namespace kestrova {

class StatusLineWidget : public QLabel {
    Q_OBJECT

  public:
    static constexpr std::size_t kKept = 100;

    explicit StatusLineWidget(QWidget* parent);

    // Shows a message (the empty text of a click is none to keep).
    void setMessage(const QString& text);
    // Newest first, each as it was shown.
    const std::deque<QString>& newestFirst() const { return messages_; }
    // The list of them, at `at` (global), above it where there is room.
    QListWidget* showMessages(QPoint at);
    // The look of the list: the window's palette, its font size and its pixels to a twip.
    void setLook(Palette palette, double fontPoints, double pixelsPerTwip);

    // A line above the messages in that list, such as how many watch the line; none when "".
    std::function<QString()> note;
    // Opens a context menu at `at` (global) in place of the list, when set.
    std::function<void(QPoint at)> onMenu;

  public slots:
    // A click clears the line.
    void StatusDisp_Click() { setMessage({}); }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void placeList(QPoint at);

    bool pressed_ = false;
    std::deque<QString> messages_;
    QListWidget* list_ = nullptr;
    Palette palette_ = Palette::Day;
    double fontPoints_ = 8.25;
    double pixelsPerTwip_ = 1.0 / 15;
};

}  // namespace kestrova
