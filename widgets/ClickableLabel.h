#pragma once

#include <QLabel>

namespace kestrova {

// A label that reports a completed left click, as a button would, and a request for its
// context menu.
class ClickableLabel : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

  signals:
    void clicked();
    void menuRequested(QPoint globalPos);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace kestrova
