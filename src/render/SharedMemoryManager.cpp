#include "SharedMemoryManager.h"

#include "SharedMemoryFrame.h"

#include "RenderLogging.h"
#include "SharedMemoryThread.h"

#include <QOpenGLContext>
#include <QOpenGLPixelTransferOptions>
#include <QOpenGLTexture>

#include <cstring>

namespace L = SharedMemoryLayout;

namespace {

constexpr unsigned long attachInterval = 100; // milliseconds

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
    : QObject(parent), segment(segmentName)
{
    // A child: it goes with the manager, after the destructor has waited for it.
    thread = new SharedMemoryThread(this);
    thread->start(QThread::InheritPriority);
}

SharedMemoryManager::~SharedMemoryManager()
{
    // Without a producer the thread would wait for as long as the program runs.
    thread->requestInterruption();
    thread->wait();
    // QThread's own join is invisible to ThreadSanitizer, which Qt is not built with; this
    // acquire pairs with the thread's last store and orders its work before the segment's closing.
    const bool attachEnded = attachFinished.load(std::memory_order_acquire);
    Q_ASSERT(attachEnded);
    Q_UNUSED(attachEnded);
    if (texture) {
        qCWarning(lcRender) << "The shared-memory frame texture was not released before its manager";
    }
    if (segment.isOpen()) {
        L::write<quint32>(segment.data(), L::consumerClosedOffset, 1);
        segment.close();
        qCInfo(lcRender) << "Detached from shared-memory segment" << segment.name();
    }
}

void SharedMemoryManager::attach(QThread* attachThread)
{
    while (!attachThread->isInterruptionRequested()) {
        if (segment.isOpen() || tryAttach()) {
            qCInfo(lcRender) << "Attached to shared-memory segment" << segment.name() << "of"
                             << segment.size() << "bytes";
            ready.store(true, std::memory_order_release);
            break;
        }
        QThread::msleep(attachInterval);
    }
    attachFinished.store(true, std::memory_order_release);
}

bool SharedMemoryManager::tryAttach()
{
    if (!segment.open()) {
        return false; // no producer yet
    }
    if (segment.size() < L::headerSize) {
        reportOnce(QStringLiteral("segment %1 has %2 bytes, fewer than its header needs")
                       .arg(segment.name())
                       .arg(segment.size()));
        segment.close();
        return false;
    }
    // The text with its terminating NUL: a longer text differs in that byte.
    if (std::memcmp(segment.data() + L::versionOffset, L::versionText, sizeof(L::versionText)) != 0) {
        reportOnce(QStringLiteral("segment %1 is not of version %2")
                       .arg(segment.name(), QLatin1String(L::versionText)));
        L::write<quint32>(segment.data(), L::consumerClosedOffset, 1);
        segment.close();
        return false;
    }
    lastFault.clear();
    return true;
}

int SharedMemoryManager::textureId()
{
    const int name = texture ? int(texture->textureId()) : 0;
    if (!ready.load(std::memory_order_acquire)) {
        return name;
    }
    uchar* const base = segment.data();
    const qint64 size = segment.size(); // at least the header: checked when attaching

    // Read once: the producer may change the header while we look.
    QString fault;
    const int slotCount = SharedMemoryFrame::slotCount(base, size, &fault);
    if (slotCount == 0) {
        // Nothing in the table can be trusted: read and clear nothing.
        reportOnce(fault);
        return name;
    }
    if (slotIndex.load() >= slotCount) {
        slotIndex = 0; // the producer made its ring smaller
    }
    const int consumed = slotIndex.load();
    const qint64 descriptor = L::slotDescriptor(consumed);
    if (L::read<quint16>(base, descriptor + L::frameReadyOffset) == 0) {
        return name;
    }
    // Pairs with the producer's release before it marks the slot ready.
    std::atomic_thread_fence(std::memory_order_acquire);

    const SharedMemoryFrame frame = SharedMemoryFrame::inSlot(base, size, consumed);
    slotIndex = (consumed + 1) % slotCount;
    if (!frame.fault.isEmpty()) {
        reportOnce(QStringLiteral("slot %1 %2; skipped").arg(consumed).arg(frame.fault));
        clearFrameReady(descriptor);
        return name;
    }
    upload(base + frame.pixels, frame.width, frame.height, frame.bytesPerLine);
    clearFrameReady(descriptor);
    return texture ? int(texture->textureId()) : 0;
}

bool SharedMemoryManager::frameWaiting() const
{
    if (!ready.load(std::memory_order_acquire)) {
        return false;
    }
    const uchar* base = segment.data();
    QString fault;
    const int slotCount = SharedMemoryFrame::slotCount(base, segment.size(), &fault);
    const int slot = slotIndex.load();
    if (slotCount == 0) {
        return false;
    }
    // A ring that shrank is read from its first slot on.
    const int next = slot < slotCount ? slot : 0;
    return L::read<quint16>(base, L::slotDescriptor(next) + L::frameReadyOffset) != 0;
}

QSize SharedMemoryManager::textureSize() const
{
    return texture ? QSize(texture->width(), texture->height()) : QSize();
}

void SharedMemoryManager::upload(const uchar* pixels, int width, int height, int bytesPerLine)
{
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

void SharedMemoryManager::clearFrameReady(qint64 descriptor)
{
    // The producer may reuse the slot once it reads 0: the upload is done with the pixels by then.
    std::atomic_thread_fence(std::memory_order_release);
    L::write<quint16>(segment.data(), descriptor + L::frameReadyOffset, 0);
}

void SharedMemoryManager::releaseTexture()
{
    texture.reset();
}

std::unique_ptr<QOpenGLTexture> SharedMemoryManager::takeTexture()
{
    return std::move(texture);
}

void SharedMemoryManager::reportOnce(const QString& fault)
{
    if (fault != lastFault) {
        lastFault = fault;
        qCWarning(lcRender).noquote() << "Shared-memory frames:" << fault;
    }
}
