#include "HSharedMemorySegment.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// POSIX names are one component with a leading slash.
QByteArray posixName(const QString& name)
{
    return QFile::encodeName(name.startsWith(QLatin1Char('/')) ? name : QLatin1Char('/') + name);
}

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

HSharedMemorySegment::HSharedMemorySegment(const QString& name) : segmentName(name)
{
}

HSharedMemorySegment::~HSharedMemorySegment()
{
    close();
}

bool HSharedMemorySegment::open()
{
    close();
    const int opened = ::shm_open(posixName(segmentName).constData(), O_RDWR | O_CLOEXEC, 0);
    if (opened < 0) {
        error = systemError("shm_open");
        return false;
    }
    struct stat status = {};
    bool mapped = false;
    if (::fstat(opened, &status) == 0) {
        mapped = map(opened, status.st_size);
    } else {
        error = systemError("fstat");
    }
    if (!mapped) {
        ::close(opened);
        return false;
    }
    keep(opened);
    return true;
}

bool HSharedMemorySegment::create(qint64 size)
{
    close();
    const QByteArray name = posixName(segmentName);
    ::shm_unlink(name.constData());
    const int made = ::shm_open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (made < 0) {
        error = systemError("shm_open");
        return false;
    }
    bool mapped = false;
    if (::ftruncate(made, off_t(size)) == 0) {
        mapped = map(made, size);
    } else {
        error = systemError("ftruncate");
    }
    if (!mapped) {
        ::close(made);
        ::shm_unlink(name.constData());
        return false;
    }
    keep(made);
    created = true;
    return true;
}

void HSharedMemorySegment::keep(int opened)
{
    descriptor = opened;
    struct stat status = {};
    ::fstat(descriptor, &status);
    device = quint64(status.st_dev);
    inode = quint64(status.st_ino);
}

qint64 HSharedMemorySegment::currentSize() const
{
    struct stat status = {};
    return descriptor >= 0 && ::fstat(descriptor, &status) == 0 ? qint64(status.st_size) : -1;
}

bool HSharedMemorySegment::isStillNamed() const
{
    const int named = ::shm_open(posixName(segmentName).constData(), O_RDONLY | O_CLOEXEC, 0);
    if (named < 0) {
        return false;
    }
    struct stat status = {};
    const bool same =
        ::fstat(named, &status) == 0 && quint64(status.st_dev) == device && quint64(status.st_ino) == inode;
    ::close(named);
    return same;
}

bool HSharedMemorySegment::map(int opened, qint64 size)
{
    if (size <= 0) {
        error = QStringLiteral("the segment is empty");
        return false;
    }
    const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    const size_t pages = (size_t(size) + page - 1) / page * page;
    // Behind the segment's pages lies one page nobody may touch, so a read past the segment's end
    // faults at once instead of reading whatever happens to be mapped next.
    void* reserved =
        ::mmap(nullptr, pages + page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (reserved == MAP_FAILED) {
        error = systemError("mmap");
        return false;
    }
    void* mapped = ::mmap(reserved, size_t(size), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED, opened, 0);
    if (mapped == MAP_FAILED) {
        error = systemError("mmap");
        ::munmap(reserved, pages + page);
        return false;
    }
    reservation = reserved;
    reservationSize = pages + page;
    view = static_cast<uchar*>(mapped);
    viewSize = size;
    guard.guard(view, pages);
    // The rest of the last page reads as zeros; AddressSanitizer builds see it as out of bounds.
    ASAN_POISON_MEMORY_REGION(view + size, pages - size_t(size));
    return true;
}

void HSharedMemorySegment::close()
{
    if (!view) {
        return;
    }
    guard.release();
    ASAN_UNPOISON_MEMORY_REGION(reservation, reservationSize);
    ::munmap(reservation, reservationSize);
    ::close(descriptor);
    descriptor = -1;
    if (created) {
        ::shm_unlink(posixName(segmentName).constData());
    }
    view = nullptr;
    viewSize = 0;
    reservation = nullptr;
    reservationSize = 0;
    created = false;
}

bool HSharedMemorySegment::remove(const QString& name)
{
    return ::shm_unlink(posixName(name).constData()) == 0;
}
