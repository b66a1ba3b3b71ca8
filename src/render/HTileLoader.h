#pragma once

#include "HTileKey.h"

#include <QByteArray>
#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class HTileStore;

// Reads the tiles the view wants from the store, on a thread of its own, in the order asked for
// (nearest to the view's centre first), and holds a few of them for the render thread to upload.
// A tile not in the store yet is read as soon as the decoder has written it.
class HTileLoader
{
public:
    struct Tile
    {
        HTileKey key;
        QByteArray pixels;
    };

    explicit HTileLoader(std::shared_ptr<HTileStore> store);
    ~HTileLoader();

    // Replaces what was wanted before.
    void want(std::vector<HTileKey> tiles);
    // Render thread: tiles read since the last call, at most max.
    std::vector<Tile> take(int max);
    // The store has new tiles.
    void storeChanged();
    // Called on the loader's thread when tiles are ready to take.
    void setReady(std::function<void()> callback);

private:
    void run();

    std::shared_ptr<HTileStore> store;
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<HTileKey> wanted;
    std::deque<Tile> ready;
    std::function<void()> readyCallback;
    // Counts what can change the next tile to read: a new list, new tiles, room freed.
    quint64 changes = 0;
    bool stopping = false;
    std::thread thread;
};
