#pragma once

#include <QSGDynamicTexture>

class SharedMemoryManager;

// The frames of another process as a scene-graph texture: each updateTexture() takes the producer's
// next frame, if it has marked one ready, into the manager's texture. Render thread only.
class HSharedMemoryTexture : public QSGDynamicTexture
{
    Q_OBJECT

public:
    explicit HSharedMemoryTexture(SharedMemoryManager* manager);
    // The texture itself is the manager's, which lets go of it with the scene graph's context.

    int textureId() const override { return name; }
    QSize textureSize() const override;
    bool hasAlphaChannel() const override { return false; }
    bool hasMipmaps() const override { return false; }
    void bind() override;
    bool updateTexture() override;

private:
    SharedMemoryManager* manager;
    int name = 0;
};
