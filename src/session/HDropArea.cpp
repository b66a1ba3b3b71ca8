#include "HDropArea.h"

#include "SessionLogging.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

HDropArea::HDropArea(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(QQuickItem::ItemAcceptsDrops);
}

void HDropArea::setFilePathList(const QList<QUrl>& urls)
{
    if (&urls != &filePaths) {
        filePaths = urls;
    }
    emit filePathListChanged();
}

void HDropArea::dragEnterEvent(QDragEnterEvent* event)
{
    // Any drag shows the drop cursor; what cannot be opened is sorted out on the drop.
    event->accept();
}

void HDropArea::dropEvent(QDropEvent* event)
{
    event->accept();
    const QMimeData* data = event->mimeData();
    if (!data || !data->hasUrls()) {
        return;
    }
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty()) {
        return;
    }
    qCDebug(lcSession) << "Dropped" << urls;
    filePaths = urls;
    emit filePathListChanged();
}
