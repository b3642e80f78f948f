#include "platform/NamedMutex.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/FileIo.h"

namespace zavota::platform {

namespace detail {

// One lock file as this process holds it. The recursive mutex orders the threads; the thread
// that owns it owns depth and fd.
struct LockFileEntry {
    std::recursive_mutex threads;
    int depth = 0;  // Lock calls of the owning thread not yet unlocked, over all objects
    int fd = -1;    // open and flock()ed while depth > 0, unless the file could not be opened
    bool busy = false;  // while depth > 0: the outermost Lock gave up waiting for another process
    // Set in a fork()ed child: the state was copied from the parent and is not this process's.
    std::atomic<bool> abandoned{false};
};

}  // namespace detail

namespace {

using Entry = detail::LockFileEntry;

// A fork()ed child gets a copy of every descriptor, sharing the parent's open file description
// and with it the parent's flock(). Left alone, the child would keep the parent's lock alive
// after the parent closed its copy, and a LOCK_UN in the child (an Unlock of an inherited
// NamedMutex, or its destructor at exit) would release the parent's lock while the parent still
// works under it. The copied recursive mutexes are owned by threads the child does not have, so
// locking one there would wait for ever. So the child closes the inherited descriptors without
// unlocking and gives every entry up for a fresh one; O_CLOEXEC covers exec as well.
struct Table {
    std::mutex mutex;
    std::map<std::string, Entry*> entries;  // by lock file path; entries live for the process
    std::vector<Entry*> abandoned;          // kept reachable; their mutexes may be locked for good
};

Table& TheTable();

void BeforeFork() { TheTable().mutex.lock(); }
void AfterForkInParent() { TheTable().mutex.unlock(); }
void AfterForkInChild() {
    Table& table = TheTable();
    // Only the forking thread exists here, and BeforeFork kept the table from changing.
    for (auto& [path, entry] : table.entries) {
        if (entry->fd >= 0) ::close(entry->fd);
        entry->fd = -1;
        entry->depth = 0;
        entry->busy = false;
        entry->abandoned.store(true);
    }
    table.mutex.unlock();
}

Table& TheTable() {
    // Never destroyed: objects with static storage may still unlock during exit.
    static Table* table = [] {
        auto* t = new Table;
        ::pthread_atfork(BeforeFork, AfterForkInParent, AfterForkInChild);
        return t;
    }();
    return *table;
}

// The entry for a lock file; an entry abandoned by a fork is replaced by a fresh one.
Entry* EntryFor(const std::string& key) {
    Table& table = TheTable();
    std::lock_guard guard(table.mutex);
    Entry*& slot = table.entries[key];
    if (slot != nullptr && slot->abandoned.load()) {
        table.abandoned.push_back(slot);
        slot = nullptr;
    }
    if (slot == nullptr) slot = new Entry;
    return slot;
}

// Two spellings of one folder must share an entry: a second open file description on the same
// file would wait for this very process's own flock() and never return.
std::string TableKey(const std::string& folder, const std::string& lockPath) {
    if (folder.empty()) return lockPath;
    char resolved[PATH_MAX];
    if (::realpath(folder.c_str(), resolved) == nullptr) return lockPath;
    std::string key = resolved;
    if (key.back() != '/') key += '/';
    return key + lockPath.substr(folder.size());
}

// How often a bounded wait tries the lock again.
constexpr auto kRetryEvery = std::chrono::milliseconds(20);

// The locked descriptor, or -1; `busy` when a bounded wait ran out.
int OpenLockFile(const std::string& path, int limitMs, const std::function<void()>& whileWaiting, bool& busy) {
    // Busy while waiting, so that a Lock made from `whileWaiting` refuses to write too.
    busy = true;
    // A link planted in place of the lock file must not make us create or lock a file elsewhere.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    // An existing lock file we may not write to can still be locked.
    if (fd < 0 && errno != ELOOP) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    busy = false;
    if (fd < 0) return -1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    int rc;
    for (;;) {
        rc = ::flock(fd, limitMs > 0 ? LOCK_EX | LOCK_NB : LOCK_EX);
        if (rc == 0) break;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= end) {
            busy = errno == EWOULDBLOCK;
            break;
        }
        busy = true;
        if (whileWaiting) whileWaiting();
        busy = false;
        std::this_thread::sleep_for(kRetryEvery);
    }
    if (rc != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

NamedMutex::NamedMutex(std::string name, std::string folder) : folder_(std::move(folder)) {
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
    lockPath_ = folder_ + name + ".lock";
}

NamedMutex::~NamedMutex() {
    while (depth_ > 0) Unlock();
}

bool NamedMutex::Lock() {
    // Depth inherited through fork() belongs to the parent: this process holds nothing yet.
    if (depth_ > 0 && entry_->abandoned.load()) {
        depth_ = 0;
        entry_ = nullptr;
    }
    Entry* entry = entry_;
    if (depth_ == 0) {
        if (!folder_.empty()) EnsureFolder(folder_);
        entry = EntryFor(TableKey(folder_, lockPath_));
    }
    entry->threads.lock();
    entry_ = entry;
    ++depth_;
    if (entry->depth++ == 0) entry->fd = OpenLockFile(lockPath_, waitLimit_, whileWaiting_, entry->busy);
    return entry->fd >= 0;
}

bool NamedMutex::Busy() const { return depth_ > 0 && entry_ != nullptr && entry_->busy; }

void NamedMutex::SetWaitLimit(int milliseconds, std::function<void()> whileWaiting) {
    waitLimit_ = std::max(milliseconds, 0);
    whileWaiting_ = std::move(whileWaiting);
}

void NamedMutex::Unlock() {
    if (depth_ == 0) return;
    Entry* entry = entry_;
    if (--depth_ == 0) entry_ = nullptr;
    if (entry->abandoned.load()) return;  // copied from the parent by fork(): not ours to release
    if (--entry->depth == 0) entry->busy = false;
    if (entry->depth == 0 && entry->fd >= 0) {
        ::flock(entry->fd, LOCK_UN);
        ::close(entry->fd);
        entry->fd = -1;
    }
    entry->threads.unlock();
}

}  // namespace zavota::platform
