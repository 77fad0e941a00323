// The client area: shows the page canvas's bitmap and hands input to the window.
#pragma once

#include <QWidget>

#include "render/bitmap.h"

namespace Yomibon {

class CYbMainWindow;

class CYbPageView : public QWidget {
    Q_OBJECT

  public:
    explicit CYbPageView(CYbMainWindow& window, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

  private:
    CYbMainWindow& window_;
    CYbBitmap selectionCopy_;
};

}  // namespace Yomibon
