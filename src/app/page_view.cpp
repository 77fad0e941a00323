#include "app/page_view.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "app/main_window.h"
#include "app/startup_timing.h"
#include "app/virtual_key.h"
#include "render/page_canvas.h"

namespace Yomibon {
namespace {

KeyBind KeyOf(uint32_t code, Qt::KeyboardModifiers mods) {
    return {code, bool(mods & Qt::ShiftModifier), bool(mods & Qt::ControlModifier),
            bool(mods & Qt::AltModifier)};
}

}  // namespace

CYbPageView::CYbPageView(CYbMainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // The right button's release decides about the menu, as a binding may take it.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void CYbPageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    CYbPageCanvas& canvas = window_.canvas();
    const CYbBitmap* source = &canvas.bitmap();
    if (canvas.mapper().selShown || canvas.flipping()) {
        // The selection is inverted, or the turning leaf composed, into a copy; the canvas
        // itself keeps the plain spread.
        selectionCopy_.create(source->width(), source->height());
        canvas.paintCanvas(selectionCopy_, {0, 0, source->width(), source->height()});
        source = &selectionCopy_;
    }
    if (source->empty()) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    // The canvas pixels are B,G,R,X rows: the layout of Format_RGB32, shown without a copy.
    QImage image(reinterpret_cast<const uchar*>(source->bits()), source->width(), source->height(),
                 source->stride(), QImage::Format_RGB32);
    painter.drawImage(event->rect(), image, event->rect());
    CYbStartupTiming::Instance().spreadPainted();
}

void CYbPageView::resizeEvent(QResizeEvent*) {
    window_.canvas().resize(width(), height());
    window_.gotoPage(window_.currentPage());
}

void CYbPageView::keyPressEvent(QKeyEvent* event) {
    uint32_t code = VirtualKeyFromQtKey(event->key(), event->modifiers() & Qt::KeypadModifier);
    if (code == 0) code = event->nativeVirtualKey() <= 0xFF ? event->nativeVirtualKey() : 0;
    if (code) window_.keyDown(KeyOf(code, event->modifiers()));
    event->accept();
}

void CYbPageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    QPoint p = event->position().toPoint();
    window_.leftDown(p.x(), p.y(), event->modifiers() & Qt::ShiftModifier);
}

void CYbPageView::mouseReleaseEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        window_.leftUp(p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        window_.rightUp(KeyOf(VK_RBUTTON, event->modifiers()));
    } else if (event->button() == Qt::MiddleButton) {
        window_.middleUp(KeyOf(VK_MBUTTON, event->modifiers()));
    }
}

void CYbPageView::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click never turns a page; it only takes the focus.
    setFocus(Qt::MouseFocusReason);
    window_.forgetPress();
    event->accept();
}

void CYbPageView::mouseMoveEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    window_.pointerMove(p.x(), p.y(), event->buttons() & Qt::LeftButton);
}

void CYbPageView::wheelEvent(QWheelEvent* event) {
    window_.wheel(event->angleDelta().y());
    event->accept();
}

}  // namespace Yomibon
