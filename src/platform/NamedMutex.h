// A cross-process named mutex: an flock() on a lock file named after the mutex. The kernel
// releases it when its holder dies; within one process it is recursive, shared by every
// NamedMutex object on the same lock file, and it serialises threads.
#pragma once
#include <string>

namespace zavota::platform {

namespace detail {
struct LockFileEntry;  // the process-wide state of one lock file
}

class NamedMutex {
public:
    // The lock file is folder + name + ".lock"; the folder is created when the mutex is first
    // taken.
    NamedMutex(std::string name, std::string folder);
    ~NamedMutex();  // releases whatever this object still holds
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Waits without a time limit. False when the lock file can be neither opened nor created:
    // the caller then works unlocked (its writes will usually fail as well). Every Lock, true or
    // false, is balanced by one Unlock.
    bool Lock();
    void Unlock();

    const std::string& LockPath() const { return lockPath_; }
    int Depth() const { return depth_; }  // this object's Lock calls not yet unlocked

private:
    std::string folder_;
    std::string lockPath_;
    int depth_ = 0;
    detail::LockFileEntry* entry_ = nullptr;  // while depth_ > 0
};

// Holds the mutex for a scope, so that every way out releases it.
class MutexGuard {
public:
    explicit MutexGuard(NamedMutex& mutex) : mutex_(mutex) { locked_ = mutex_.Lock(); }
    ~MutexGuard() { mutex_.Unlock(); }
    MutexGuard(const MutexGuard&) = delete;
    MutexGuard& operator=(const MutexGuard&) = delete;
    bool Locked() const { return locked_; }

private:
    NamedMutex& mutex_;
    bool locked_ = false;
};

}  // namespace zavota::platform
