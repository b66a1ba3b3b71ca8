#include "HTileLoader.h"

#include "HTileStore.h"

#include <algorithm>

namespace {

// Tiles held for the render thread: a few frames' uploads, a few megabytes.
constexpr size_t heldAtMost = 16;

} // namespace

HTileLoader::HTileLoader(std::shared_ptr<HTileStore> tiles)
    : store(std::move(tiles)), thread([this] { run(); })
{
}

HTileLoader::~HTileLoader()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    thread.join();
}

void HTileLoader::want(std::vector<HTileKey> tiles)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        wanted = std::move(tiles);
        ++changes;
        // What is held but no longer wanted is still uploaded: it was read for this view or the one
        // just before it.
    }
    wake.notify_all();
}

std::vector<HTileLoader::Tile> HTileLoader::take(int max)
{
    std::vector<Tile> taken;
    std::function<void()> callback;
    {
        std::lock_guard<std::mutex> lock(mutex);
        while (!ready.empty() && int(taken.size()) < max) {
            taken.push_back(std::move(ready.front()));
            ready.pop_front();
        }
        changes += taken.empty() ? 0 : 1;
        // What is left asks for another frame: the loader may have nothing more to read.
        if (!ready.empty()) {
            callback = readyCallback;
        }
    }
    if (!taken.empty()) {
        wake.notify_all();
    }
    if (callback) {
        callback();
    }
    return taken;
}

void HTileLoader::storeChanged()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++changes;
    }
    wake.notify_all();
}

void HTileLoader::setReady(std::function<void()> callback)
{
    std::lock_guard<std::mutex> lock(mutex);
    readyCallback = std::move(callback);
}

void HTileLoader::run()
{
    std::unique_lock<std::mutex> lock(mutex);
    while (!stopping) {
        // The first wanted tile that the store has and that is not read already; one not there yet
        // waits for the decoder.
        auto next = std::find_if(wanted.begin(), wanted.end(), [this](const HTileKey& key) {
            return store->has(key.level, key.column, key.row) &&
                   std::none_of(ready.begin(), ready.end(),
                                [&key](const Tile& tile) { return tile.key == key; });
        });
        if (next == wanted.end() || ready.size() >= heldAtMost) {
            const quint64 seen = changes;
            wake.wait(lock, [&] { return stopping || changes != seen; });
            continue;
        }
        const HTileKey key = *next;
        wanted.erase(next);
        lock.unlock();
        QByteArray pixels = store->read(key.level, key.column, key.row);
        lock.lock();
        if (!pixels.isEmpty()) {
            ready.push_back(Tile{key, std::move(pixels)});
            if (readyCallback) {
                auto callback = readyCallback;
                lock.unlock();
                callback();
                lock.lock();
            }
        }
    }
}
