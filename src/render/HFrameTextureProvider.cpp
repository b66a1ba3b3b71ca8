#include "HFrameTextureProvider.h"

#include <QQuickWindow>
#include <QRunnable>

namespace {

// Should the window go before the job runs, the job's own deletion still frees the provider.
class DeleteProvider : public QRunnable
{
public:
    explicit DeleteProvider(HFrameTextureProvider* deleted) : provider(deleted) {}
    void run() override { provider.reset(); }

private:
    std::unique_ptr<HFrameTextureProvider> provider;
};

} // namespace

HFrameTextureProvider::HFrameTextureProvider(std::unique_ptr<QSGTexture> texture)
    : frameTexture(std::move(texture))
{
}

HFrameTextureProvider::~HFrameTextureProvider() = default;

void HFrameTextureProvider::scheduleDeletion(QQuickWindow* window, HFrameTextureProvider* provider)
{
    if (!provider) {
        return;
    }
    if (window) {
        window->scheduleRenderJob(new DeleteProvider(provider), QQuickWindow::BeforeSynchronizingStage);
    } else {
        delete provider;
    }
}
