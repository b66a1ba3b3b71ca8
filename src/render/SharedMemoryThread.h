#pragma once

#include <QThread>

class SharedMemoryManager;

// Watches the producer's segment in the background for as long as the manager lives: attaches to it
// when it appears and follows the producer to a new one. It stops when asked to
// (requestInterruption), between its waits.
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
