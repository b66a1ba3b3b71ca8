#pragma once

#include <QSGTextureProvider>

#include <memory>

class QQuickWindow;

// Hands one texture that it owns to whoever samples it on the render thread (the panorama view):
// a video item's frames, or the frames of another process. Created and deleted on the render
// thread; scheduleDeletion() sends it there from the GUI thread.
class HFrameTextureProvider : public QSGTextureProvider
{
    Q_OBJECT

public:
    explicit HFrameTextureProvider(std::unique_ptr<QSGTexture> texture);
    ~HFrameTextureProvider() override;

    QSGTexture* texture() const override { return frameTexture.get(); }

    // Deletes the provider on the window's render thread before its next frame, or now when
    // there is no window to render with (its context went with it).
    static void scheduleDeletion(QQuickWindow* window, HFrameTextureProvider* provider);

private:
    std::unique_ptr<QSGTexture> frameTexture;
};
