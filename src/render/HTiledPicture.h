#pragma once

#include "HPhotoTiling.h"
#include "HTileLayout.h"

#include <QQuickItem>
#include <QUrl>

#include <memory>

class HFrameTextureProvider;
class HTileBuilder;
class HTileLoader;
class HTileStore;

// A JPEG panorama too large for one texture, shown from the tiles of its pyramid. Setting the source
// reads the file's size, opens its tiles in the cache and, when they are not all there, decodes the
// picture into them in the background; the panorama samples the item's texture provider, whose
// tiles arrive as the view asks for them. Its implicit size is the picture's, as an Image's is.
class HTiledPicture : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(HPhotoTiling* tiling READ tiling WRITE setTiling NOTIFY tilingChanged)
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(Status status READ status NOTIFY statusChanged)
    Q_PROPERTY(QString errorString READ errorString NOTIFY statusChanged)
    Q_PROPERTY(QSize pictureSize READ pictureSize NOTIFY statusChanged)

public:
    // As an Image's.
    enum Status
    {
        Null,
        Ready,
        Loading,
        Error
    };
    Q_ENUM(Status)

    explicit HTiledPicture(QQuickItem* parent = nullptr);
    ~HTiledPicture() override;

    HPhotoTiling* tiling() const { return photoTiling; }
    void setTiling(HPhotoTiling* value);
    QUrl source() const { return sourceUrl; }
    void setSource(const QUrl& value);
    Status status() const { return currentStatus; }
    QString errorString() const { return error; }
    QSize pictureSize() const { return layout.picture(); }

    bool isTextureProvider() const override { return true; }
    QSGTextureProvider* textureProvider() const override;

signals:
    void tilingChanged();
    void sourceChanged();
    void statusChanged();
    // New tiles are ready for the view.
    void frameAvailable();

public slots:
    // Render thread, called by the scene graph when its context goes.
    void invalidateSceneGraph();

private slots:
    void buildFinished(const QString& failure);

protected:
    void releaseResources() override;

private:
    void load();
    void unload();
    void tilesArrived();
    void setStatus(Status value, const QString& failure = QString());

    HPhotoTiling* photoTiling = nullptr;
    QUrl sourceUrl;
    Status currentStatus = Null;
    QString error;
    HTileLayout layout;
    std::shared_ptr<HTileStore> store;
    std::shared_ptr<HTileLoader> loader;
    std::unique_ptr<HTileBuilder> builder;
    mutable HFrameTextureProvider* provider = nullptr;
    // Counts the photos loaded: a loader of the photo before, still held by its texture, is not heard.
    int generation = 0;
};
