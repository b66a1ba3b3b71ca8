#include "SharedMemoryManager.h"

#include "RenderLogging.h"
#include "SharedMemoryThread.h"

#include <QOpenGLContext>
#include <QOpenGLPixelTransferOptions>
#include <QOpenGLTexture>

namespace L = SharedMemoryLayout;

namespace {

constexpr unsigned long watchInterval = 100; // milliseconds

struct RowLayout
{
    int alignment = 1;
    int rowLength = 0; // pixels; 0 for the frame's width
};

// The unpack alignment and row length with which OpenGL steps exactly bytesPerLine from one row to
// the next; none when the padding cannot be expressed (the rows then go up one by one).
bool findRowLayout(int width, int bytesPerLine, bool rowLengthSupported, RowLayout* layout)
{
    const int packed = width * L::bytesPerPixel;
    for (int alignment : {1, 2, 4, 8}) {
        if (bytesPerLine % alignment == 0 && bytesPerLine - packed < alignment) {
            *layout = {alignment, 0};
            return true;
        }
    }
    if (!rowLengthSupported) {
        return false;
    }
    for (int alignment : {1, 2, 4, 8}) {
        if (bytesPerLine % alignment == 0 && bytesPerLine % L::bytesPerPixel < alignment) {
            *layout = {alignment, bytesPerLine / L::bytesPerPixel};
            return true;
        }
    }
    return false;
}

bool rowLengthSupported(const QOpenGLContext* context)
{
    return !context->isOpenGLES() || context->format().majorVersion() >= 3 ||
           context->hasExtension(QByteArrayLiteral("GL_EXT_unpack_subimage"));
}

} // namespace

SharedMemoryManager::SharedMemoryManager(const QString& segmentName, QObject* parent)
    : QObject(parent), input(segmentName)
{
    // A child: it goes with the manager, after the destructor has waited for it.
    thread = new SharedMemoryThread(this);
    thread->start(QThread::InheritPriority);
}

SharedMemoryManager::~SharedMemoryManager()
{
    thread->requestInterruption();
    thread->wait();
    // QThread's own join is invisible to ThreadSanitizer, which Qt is not built with; this
    // acquire pairs with the thread's last store and orders its work before the segment's closing.
    const bool watchEnded = watchFinished.load(std::memory_order_acquire);
    Q_ASSERT(watchEnded);
    Q_UNUSED(watchEnded);
    if (texture) {
        qCWarning(lcRender) << "The shared-memory frame texture was not released before its manager";
    }
}

void SharedMemoryManager::watch(QThread* watchThread)
{
    while (!watchThread->isInterruptionRequested()) {
        input.watch();
        QThread::msleep(watchInterval);
    }
    watchFinished.store(true, std::memory_order_release);
}

int SharedMemoryManager::textureId()
{
    input.take([this](const SharedMemoryInput::Frame& frame) { upload(frame); });
    return texture ? int(texture->textureId()) : 0;
}

QSize SharedMemoryManager::textureSize() const
{
    return texture ? QSize(texture->width(), texture->height()) : QSize();
}

void SharedMemoryManager::upload(const SharedMemoryInput::Frame& frame)
{
    const uchar* pixels = frame.pixels;
    const int width = frame.width;
    const int height = frame.height;
    const int bytesPerLine = frame.bytesPerLine;
    if (!texture || texture->width() != width || texture->height() != height) {
        if (texture) {
            qCInfo(lcRender) << "Shared-memory frames change size from" << texture->width() << "x"
                             << texture->height() << "to" << width << "x" << height;
        }
        texture = std::make_unique<QOpenGLTexture>(QOpenGLTexture::Target2D);
        texture->setFormat(QOpenGLTexture::RGB8_UNorm);
        texture->setSize(width, height);
        texture->setMipLevels(1);
        texture->setMinificationFilter(QOpenGLTexture::Linear);
        texture->setMagnificationFilter(QOpenGLTexture::Linear);
        // Frames of any size must sample on OpenGL ES 2.0 too, which repeats only powers of two.
        texture->setWrapMode(QOpenGLTexture::ClampToEdge);
        texture->allocateStorage(QOpenGLTexture::RGB, QOpenGLTexture::UInt8);
        if (!texture->isStorageAllocated()) {
            qCWarning(lcRender) << "No texture for shared-memory frames of" << width << "x" << height;
            texture.reset();
            return;
        }
    }

    // Straight from the mapping, without a copy; the options are restored after the upload.
    RowLayout layout;
    QOpenGLPixelTransferOptions options;
    if (findRowLayout(width, bytesPerLine, rowLengthSupported(QOpenGLContext::currentContext()), &layout)) {
        options.setAlignment(layout.alignment);
        options.setRowLength(layout.rowLength);
        texture->setData(0, 0, 0, width, height, 1, 0, QOpenGLTexture::RGB, QOpenGLTexture::UInt8, pixels,
                         &options);
        return;
    }
    options.setAlignment(1);
    for (int row = 0; row < height; ++row) {
        texture->setData(0, row, 0, width, 1, 1, 0, QOpenGLTexture::RGB, QOpenGLTexture::UInt8,
                         pixels + qint64(row) * bytesPerLine, &options);
    }
}

void SharedMemoryManager::releaseTexture()
{
    texture.reset();
}

std::unique_ptr<QOpenGLTexture> SharedMemoryManager::takeTexture()
{
    return std::move(texture);
}
