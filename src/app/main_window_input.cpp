// Keys, wheel and mouse: everything goes through the key map or the page-turn rules.
#include <QApplication>
#include <QCursor>
#include <QToolTip>

#include "app/main_window.h"
#include "app/page_move.h"
#include "app/page_view.h"
#include "render/page_canvas.h"
#include "settings/key_bind.h"
#include "settings/txt_param.h"

namespace Yomibon {

void CYbMainWindow::buildKeyMap() {
    KeyBindTable table;
    if (!LoadKeyBindings(keyFile_, table)) DefaultKeyBindings(table);
    keyMap_.clear();
    for (const auto& [key, name] : table)
        keyMap_[key] = FindCommand(name);
    showMenuKeys();
}

bool CYbMainWindow::keyDown(const KeyBind& key) {
    // In full screen Esc is how a reader expects to leave it; only outside it does the key
    // do what it is bound to (by default, quitting).
    constexpr uint32_t kEscape = 0x1B;
    if (isFullScreen() && key == KeyBind{kEscape, false, false, false}) {
        leaveFullScreen();
        return true;
    }
    auto it = keyMap_.find(key);
    if (it == keyMap_.end()) return false;
    runCommand(it->second);
    return true;
}

bool CYbMainWindow::leftButtonBound() const {
    return keyMap_.count(KeyBind{VK_LBUTTON, false, false, false}) > 0;
}

void CYbMainWindow::wheel(int delta) {
    int direction = WheelDirection(delta);
    if (direction > 0) runCommand(CMD_PrevPage);
    if (direction < 0) runCommand(CMD_NextPage);
}

void CYbMainWindow::leftDown(int x, int y, bool shift) {
    if (!selectionMode_) {
        pressX_ = x;
        pressY_ = y;
        clearSelection();
        redraw();
        return;
    }
    CYbTxtMapper& mapper = canvas_->mapper();
    TextPoint point;
    PageMapEntry entry;
    if (!mapper.HitTest(x, y, point, entry) && !mapper.NearestCharacter(x, y, point, entry)) return;
    if (!(shift && mapper.selShown)) mapper.selStart = point;
    mapper.selEnd = point;
    mapper.selShown = true;
    selecting_ = true;
    redraw();
}

void CYbMainWindow::leftUp(int x, int y) {
    if (selectionMode_) {
        selecting_ = false;
        return;
    }
    for (const CanvasLink& link : canvas_->links()) {
        if (link.rect.contains(x, y) && !link.target.empty()) {
            // A copy: opening replaces the canvas's links.
            std::u16string target = link.target;
            forgetPress();
            QToolTip::hideText();
            openWithHistory(target, false);
            param_.SetText(u"LastFile", target);
            return;
        }
    }
    if (pressX_ >= 0 && !leftButtonBound())
        runCommand(pressX_ < view_->width() / 2 ? CMD_NextPage : CMD_PrevPage);
    forgetPress();
}

void CYbMainWindow::pointerMove(int x, int y, bool leftHeld) {
    revealInFullScreen(x, y);
    if (selectionMode_) {
        CYbTxtMapper& mapper = canvas_->mapper();
        TextPoint point;
        PageMapEntry entry;
        bool onText = mapper.HitTest(x, y, point, entry);
        // The text cursor over the whole page shows the mode, which also takes the clicks
        // that would otherwise turn pages.
        view_->setCursor(Qt::IBeamCursor);
        if (selecting_ && leftHeld && (onText || mapper.NearestCharacter(x, y, point, entry)) &&
            point != mapper.selEnd) {
            mapper.selEnd = point;
            redraw();
        }
        return;
    }
    int found = -1;
    std::u16string target;
    for (const CanvasLink& link : canvas_->links())
        if (link.rect.contains(x, y)) {
            found = link.id;
            target = link.target;
            break;
        }
    if (found != link_) {
        link_ = found;
        canvas_->setHoveredLink(found);
        redraw();
        QToolTip::hideText();
        if (found >= 0)
            QToolTip::showText(view_->mapToGlobal(QPoint(x + 16, y + 16)), ToQString(target),
                               view_);
    }
    view_->setCursor(found >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CYbMainWindow::rightUp(const KeyBind& key) {
    if (!keyDown(key)) showContextMenu(QCursor::pos());
}

void CYbMainWindow::middleUp(const KeyBind& key) {
    keyDown(key);
}

}  // namespace Yomibon

namespace Yomibon {

void CYbMainWindow::updatePointer() {
    if (selectionMode_)
        view_->setCursor(Qt::IBeamCursor);
    else
        view_->unsetCursor();
}

void CYbMainWindow::notify(const std::u16string& text) {
    lastNotice_ = text;
    // A passing note over the top of the page: it neither takes the focus nor waits.
    const QPoint at = view_->mapToGlobal(QPoint(view_->width() / 2, view_->height() / 8));
    QToolTip::showText(at, ToQString(text), view_, QRect(), 2500);
}

}  // namespace Yomibon
