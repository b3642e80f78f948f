// A cross-process named mutex: an flock() on a lock file named after the mutex. The kernel
// releases it when its holder dies; within one process it is recursive, shared by every
// NamedMutex object on the same lock file, and it serialises threads.
#pragma once
#include <functional>
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

    // Waits without a time limit, or up to the limit SetWaitLimit set. False when the lock file
    // can be neither opened nor created: the caller then works unlocked (its writes will usually
    // fail as well); or when the wait ran out (Busy). Every Lock, true or false, is balanced by
    // one Unlock.
    bool Lock();
    void Unlock();

    // Another process held the lock for the whole wait: what this process does under the
    // outermost Lock must not be written. Until that Lock is unlocked.
    bool Busy() const;
    // Bounds the wait of an outermost Lock; `whileWaiting` runs between tries (a window keeps
    // painting there). Zero: no limit.
    void SetWaitLimit(int milliseconds, std::function<void()> whileWaiting = {});

    const std::string& LockPath() const { return lockPath_; }
    int Depth() const { return depth_; }  // this object's Lock calls not yet unlocked

private:
    std::string folder_;
    std::string lockPath_;
    int depth_ = 0;
    detail::LockFileEntry* entry_ = nullptr;  // while depth_ > 0
    int waitLimit_ = 0;                       // milliseconds; 0 without a limit
    std::function<void()> whileWaiting_;
};

// Holds the mutex for a scope, so that every way out releases it.
class MutexGuard {
public:
    explicit MutexGuard(NamedMutex& mutex) : mutex_(mutex) { locked_ = mutex_.Lock(); }
    ~MutexGuard() { mutex_.Unlock(); }
    MutexGuard(const MutexGuard&) = delete;
    MutexGuard& operator=(const MutexGuard&) = delete;
    bool Locked() const { return locked_; }
    bool Busy() const { return mutex_.Busy(); }

private:
    NamedMutex& mutex_;
    bool locked_ = false;
};

}  // namespace zavota::platform
