#include "HTileBuilder.h"

#include "HTileBands.h"
#include "HTileStore.h"
#include "RenderLogging.h"
#include "media/HJpegReader.h"

#include <QElapsedTimer>
#include <QThread>

#include <vector>

HTileBuilder::HTileBuilder(const QString& photo, const HTileLayout& tileLayout,
                           std::shared_ptr<HTileStore> tiles)
    : path(photo), layout(tileLayout), store(std::move(tiles))
{
    // The decoder reduces by 8 at most.
    coarse = std::min(3, layout.levels() - 1);
}

HTileBuilder::~HTileBuilder()
{
    cancelled = true;
    for (const auto& thread : {coarseThread.get(), fineThread.get()}) {
        if (thread) {
            thread->wait();
        }
    }
}

void HTileBuilder::start(std::function<void(const QString&)> done)
{
    doneCallback = std::move(done);
    running = coarse > 0 ? 2 : 1;
    coarseThread.reset(
        QThread::create([this] { finished(build(1 << coarse, coarse, layout.levels() - 1)); }));
    coarseThread->start();
    if (coarse > 0) {
        fineThread.reset(QThread::create([this] { finished(build(1, 0, coarse - 1)); }));
        fineThread->start(QThread::IdlePriority);
    }
}

QString HTileBuilder::build(int reduction, int firstLevel, int lastLevel)
{
    QElapsedTimer clock;
    clock.start();
    HJpegReader reader;
    if (!reader.open(path, reduction)) {
        return reader.error();
    }
    if (reader.outputSize() != layout.levelSize(firstLevel)) {
        return QStringLiteral("the decoder gave %1x%2 pixels for level %3")
            .arg(reader.outputSize().width())
            .arg(reader.outputSize().height())
            .arg(firstLevel);
    }
    if (reader.progressive() && reduction == 1) {
        qCInfo(lcRender) << "Progressive JPEG: its decoder holds the whole picture's coefficients";
    }
    HTileBands bands(layout, firstLevel, lastLevel, store.get());
    constexpr int batch = 16;
    const size_t rowBytes = size_t(reader.outputSize().width()) * 3;
    std::vector<unsigned char> rows(rowBytes * batch);
    while (!cancelled) {
        const int read = reader.readRows(rows.data(), batch);
        if (read == 0) {
            break;
        }
        for (int i = 0; i < read; ++i) {
            bands.pushRow(rows.data() + rowBytes * size_t(i));
        }
    }
    if (cancelled) {
        return QStringLiteral("cancelled");
    }
    if (!reader.error().isEmpty()) {
        return reader.error();
    }
    if (bands.rows() != reader.outputSize().height()) {
        return QStringLiteral("the picture ends after %1 of %2 rows")
            .arg(bands.rows())
            .arg(reader.outputSize().height());
    }
    bands.finish();
    qCInfo(lcRender).nospace() << "Tiles of levels " << firstLevel << " to " << lastLevel << " made in "
                               << clock.elapsed() << " ms";
    return QString();
}

void HTileBuilder::finished(const QString& error)
{
    if (!error.isEmpty() && !errorTaken.exchange(true)) {
        firstError = error;
    }
    if (running.fetch_sub(1) == 1) {
        if (firstError.isEmpty()) {
            store->markComplete();
        }
        if (doneCallback) {
            doneCallback(firstError);
        }
    }
}
