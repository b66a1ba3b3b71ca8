#include "HTiledPicture.h"

#include "HFrameTextureProvider.h"
#include "HPhotoTiling.h"
#include "HTileBuilder.h"
#include "HTileLoader.h"
#include "HTileStore.h"
#include "HTiledTexture.h"
#include "RenderLogging.h"
#include "media/HJpegReader.h"

#include <QCoreApplication>
#include <QPointer>
#include <QQuickWindow>

HTiledPicture::HTiledPicture(QQuickItem* parent) : QQuickItem(parent)
{
}

HTiledPicture::~HTiledPicture()
{
    unload();
    HFrameTextureProvider::scheduleDeletion(window(), provider);
    provider = nullptr;
}

void HTiledPicture::setTiling(HPhotoTiling* value)
{
    if (value != photoTiling) {
        photoTiling = value;
        emit tilingChanged();
        load();
    }
}

void HTiledPicture::setSource(const QUrl& value)
{
    if (value != sourceUrl) {
        sourceUrl = value;
        emit sourceChanged();
        load();
    }
}

void HTiledPicture::unload()
{
    // The builder's and the loader's threads end here, before anything they call back goes.
    builder.reset();
    loader.reset();
    store.reset();
    layout = HTileLayout();
    // The texture of the photo before goes with its provider; the next sync makes a new one.
    HFrameTextureProvider::scheduleDeletion(window(), provider);
    provider = nullptr;
}

void HTiledPicture::load()
{
    unload();
    setImplicitSize(0, 0);
    if (sourceUrl.isEmpty() || !photoTiling) {
        setStatus(Null);
        return;
    }
    const QString path = sourceUrl.toLocalFile();
    const HTileLayout tiles(HJpegReader::pictureSize(path));
    if (!tiles.isValid()) {
        setStatus(Error, tr("Cannot read the picture's size from %1").arg(path));
        return;
    }
    layout = tiles;
    store = std::make_shared<HTileStore>(photoTiling->cacheDirectory(), path, layout);
    QString failure;
    if (!store->open(&failure)) {
        layout = HTileLayout();
        store.reset();
        setStatus(Error, tr("Cannot keep the picture's tiles: %1").arg(failure));
        return;
    }
    HTileStore::trim(photoTiling->cacheDirectory(), photoTiling->cacheLimit(), store->directory());
    loader = std::make_shared<HTileLoader>(store);
    // The loader lives on with the texture that holds it, on the render thread, after this item
    // may be gone: it reaches the item only through a guard read on the GUI thread.
    ++generation;
    loader->setReady([item = QPointer<HTiledPicture>(this), photo = generation] {
        QMetaObject::invokeMethod(
            qApp,
            [item, photo] {
                if (item && item->generation == photo) {
                    item->tilesArrived();
                }
            },
            Qt::QueuedConnection);
    });
    store->setWritten([loader = loader.get()] { loader->storeChanged(); });
    setImplicitSize(layout.picture().width(), layout.picture().height());
    setStatus(Loading);
    if (store->isComplete()) {
        qCInfo(lcRender).noquote() << "Tiles of" << path << "from the cache";
    } else {
        builder = std::make_unique<HTileBuilder>(path, layout, store);
        builder->start([this](const QString& failed) {
            QMetaObject::invokeMethod(this, "buildFinished", Qt::QueuedConnection, Q_ARG(QString, failed));
        });
    }
    update();
    emit frameAvailable();
}

QSGTextureProvider* HTiledPicture::textureProvider() const
{
    if (!provider && loader) {
        provider = new HFrameTextureProvider(
            std::make_unique<HTiledTexture>(layout, loader, photoTiling ? photoTiling->textureBudget() : 0));
    }
    return provider;
}

void HTiledPicture::invalidateSceneGraph()
{
    delete provider;
    provider = nullptr;
}

void HTiledPicture::releaseResources()
{
    HFrameTextureProvider::scheduleDeletion(window(), provider);
    provider = nullptr;
    QQuickItem::releaseResources();
}

void HTiledPicture::tilesArrived()
{
    if (currentStatus == Loading) {
        setStatus(Ready);
    }
    emit frameAvailable();
}

void HTiledPicture::buildFinished(const QString& failure)
{
    if (failure.isEmpty() || failure == QLatin1String("cancelled")) {
        return;
    }
    qCWarning(lcRender).noquote() << "Cannot decode" << sourceUrl.toString() << "into tiles:" << failure;
    // Tiles already made stay on show; a picture that gave none is an error.
    if (currentStatus != Ready) {
        setStatus(Error, failure);
    }
}

void HTiledPicture::setStatus(Status value, const QString& failure)
{
    if (value != currentStatus || failure != error) {
        currentStatus = value;
        error = failure;
        emit statusChanged();
    }
}
