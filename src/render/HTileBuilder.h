#pragma once

#include "HTileLayout.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class HTileStore;
class QThread;

// Decodes a JPEG panorama into the tiles of its pyramid, on two threads of its own: one reads the
// picture reduced by up to 8 in the decoder and makes the coarse levels (the whole picture, small,
// within a fraction of the full decoding time), the other reads it whole and makes the fine levels
// at idle priority, so that it never slows the coarse levels or the window down.
// Deleting the builder stops both and waits for them.
class HTileBuilder
{
public:
    HTileBuilder(const QString& path, const HTileLayout& layout, std::shared_ptr<HTileStore> store);
    ~HTileBuilder();

    // Called once, on a builder thread, when both are done: an empty text when every tile is
    // written, else why not.
    void start(std::function<void(const QString& error)> done);
    // The first level made from the reduced picture.
    int coarseLevel() const { return coarse; }

private:
    QString build(int reduction, int firstLevel, int lastLevel);
    void finished(const QString& error);

    QString path;
    HTileLayout layout;
    std::shared_ptr<HTileStore> store;
    int coarse = 0;
    std::atomic<bool> cancelled{false};
    std::atomic<int> running{0};
    std::function<void(const QString&)> doneCallback;
    QString firstError;
    std::atomic<bool> errorTaken{false};
    std::unique_ptr<QThread> coarseThread;
    std::unique_ptr<QThread> fineThread;
};
