#include "SharedMemoryThread.h"

#include "SharedMemoryManager.h"

SharedMemoryThread::SharedMemoryThread(SharedMemoryManager* sharedMemoryManager)
    : QThread(sharedMemoryManager), manager(sharedMemoryManager)
{
    // Names the system thread too, which is how it shows in a debugger or /proc.
    setObjectName(QStringLiteral("gyre-shm-attach"));
}

void SharedMemoryThread::run()
{
    manager->attach(this);
}
