#include "SharedMemoryThread.h"

#include "SharedMemoryManager.h"

SharedMemoryThread::SharedMemoryThread(SharedMemoryManager* sharedMemoryManager)
    : QThread(sharedMemoryManager), manager(sharedMemoryManager)
{
    // Names the system thread too, which is how it shows in a debugger or /proc.
    setObjectName(QStringLiteral("gyre-shm-watch"));
}

void SharedMemoryThread::run()
{
    manager->watch(this);
}
