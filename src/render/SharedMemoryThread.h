#pragma once

#include <QThread>

class SharedMemoryManager;

// Waits in the background until the producer's segment exists and the manager has attached to
// it, then ends. It stops early when asked to (requestInterruption), between its waits.
class SharedMemoryThread : public QThread
{
    Q_OBJECT

public:
    // The manager is also the thread's parent.
    explicit SharedMemoryThread(SharedMemoryManager* manager);

protected:
    void run() override;

private:
    SharedMemoryManager* manager;
};
