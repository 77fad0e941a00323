// Full screen: the window covers the whole monitor nearest to it, without menu bar or scroll
// bars; each comes back while the pointer rests at its edge.
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>

#include "app/main_window.h"
#include "app/page_view.h"

namespace Yomibon {
namespace {

QScreen* NearestScreen(const QRect& window) {
    QPoint centre = window.center();
    if (QScreen* screen = QGuiApplication::screenAt(centre)) return screen;
    QScreen* nearest = QGuiApplication::primaryScreen();
    long long best = -1;
    for (QScreen* screen : QGuiApplication::screens()) {
        QRect r = screen->geometry();
        long long dx = std::max({r.left() - centre.x(), 0, centre.x() - r.right()});
        long long dy = std::max({r.top() - centre.y(), 0, centre.y() - r.bottom()});
        if (best < 0 || dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = screen;
        }
    }
    return nearest;
}

}  // namespace

void CYbMainWindow::enterFullScreen() {
    savedMaximized_ = isMaximized();
    savedGeometry_ = savedMaximized_ ? normalGeometry() : geometry();
    QScreen* screen = NearestScreen(frameGeometry());
    setChecked(kFullScreenId, true);
    menuBar()->hide();
    hEdge_ = vEdge_ = 0;
    if (screen) {
        if (QWindow* handle = windowHandle()) handle->setScreen(screen);
        // Covers the monitor even where no window manager acts on the full-screen state.
        setGeometry(screen->geometry());
    }
    showFullScreen();
    updateScrollBars();
    view_->update();
    activateWindow();
    view_->setFocus();
}

void CYbMainWindow::leaveFullScreen() {
    showFullScreenMenu(false);
    hEdge_ = vEdge_ = 0;
    menuBar()->show();
    showNormal();
    if (savedGeometry_.isValid()) setGeometry(savedGeometry_);
    if (savedMaximized_) showMaximized();
    setChecked(kFullScreenId, false);
    updateScrollBars();
    view_->update();
    activateWindow();
    view_->setFocus();
}

void CYbMainWindow::showFullScreenMenu(bool show) {
    if (!show) {
        if (fullScreenMenu_) fullScreenMenu_->hide();
        return;
    }
    if (!fullScreenMenu_) {
        // A second bar over the same menus: it lies over the page, so that showing it
        // neither resizes the canvas nor moves the text under it.
        fullScreenMenu_ = new QMenuBar(this);
        fullScreenMenu_->setNativeMenuBar(false);
        fullScreenMenu_->addActions(menuBar()->actions());
    }
    if (fullScreenMenu_->isVisible()) return;
    fullScreenMenu_->setGeometry(0, 0, width(), fullScreenMenu_->sizeHint().height());
    fullScreenMenu_->raise();
    fullScreenMenu_->show();
}

void CYbMainWindow::revealInFullScreen(int x, int y) {
    if (!isFullScreen()) return;
    QPoint at = view_->mapTo(this, QPoint(x, y));
    bool menu = at.y() < menuBar()->sizeHint().height();
    showFullScreenMenu(menu);
    int hEdge = 0, vEdge = 0;
    if (!menu) {
        int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        if (showH_ && at.y() >= height() - bar) hEdge = bar;
        if (showV_ && at.x() >= width() - bar) vEdge = bar;
    }
    if (hEdge == hEdge_ && vEdge == vEdge_) return;
    hEdge_ = hEdge;
    vEdge_ = vEdge;
    updateScrollBars();
}

}  // namespace Yomibon
