// Drag and drop: a dropped file, link or text is opened like the command line's path.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMetaObject>

#include "app/command_table.h"
#include "app/drop_reader.h"
#include "app/main_window.h"
#include "platform/paths.h"

namespace Yomibon {

void CYbMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void CYbMainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (isEnabled() && OffersDrop(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CYbMainWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (!isEnabled() || !OffersDrop(data)) return event->ignore();
    DroppedItem item = ReadDrop(*data);
    if (item.kind == DroppedItem::PATH) {
        pendingPath_ = NormalizePath(item.value);
        openPendingPathLater();
    } else if (item.kind == DroppedItem::TEXT) {
        // After the drop has returned to its source, as with a path.
        QMetaObject::invokeMethod(
            this, [this, text = std::move(item.value)] { openText(text); }, Qt::QueuedConnection);
    } else {
        redraw();
        return event->ignore();
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CYbMainWindow::openPendingPathLater() {
    QMetaObject::invokeMethod(
        this, [this] { menuCommand(ID_OpenPendingPath); }, Qt::QueuedConnection);
}

}  // namespace Yomibon
