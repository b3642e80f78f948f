#include "platform/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zavota::platform {

namespace {

// Closes a descriptor on every way out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    int release() {
        int f = fd_;
        fd_ = -1;
        return f;
    }

private:
    int fd_;
};

FileStepHook& Hook() {
    static FileStepHook hook;
    return hook;
}

// False (with errno set) when the test seam fails this step.
bool StepAllowed(FileStep step, const std::string& path) {
    if (!Hook()) return true;
    const int error = Hook()(step, path);
    if (error == 0) return true;
    errno = error;
    return false;
}

thread_local FileFailure lastFailure;

// Keeps what failed for the window that reports it; errno stays as the step left it.
bool Failed(const std::string& path) {
    const int error = errno;
    lastFailure = {path, error};
    errno = error;
    return false;
}

// Leftover temporary files older than this are from saves that were killed. File times come
// from the kernel's coarse clock, which lags the precise one by up to a tick.
const struct timespec kProcessStart = [] {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}();

bool WriteAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const int injected = Hook() ? Hook()(FileStep::Write, path) : 0;
        if (injected > 0) {
            errno = injected;
            return false;
        }
        // Pieces, so that a test can stop between them.
        ssize_t n = injected == kWroteNothing ? 0 : ::write(fd, bytes.data(), std::min<std::size_t>(bytes.size(), 1u << 16));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        // Nothing written and no error: the device takes no more, and retrying would spin.
        if (n == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A rename is only durable once the folder entry itself is on disk. Filesystems that cannot
// sync a folder (EINVAL) have nothing more to do.
bool SyncFolder(const std::string& folder) {
    if (!StepAllowed(FileStep::SyncFolder, folder)) return false;
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.ok()) return false;
    return ::fsync(dir.get()) == 0 || errno == EINVAL;
}

// A save's temporary file: hidden, beside the file it replaces, and marked as the program's
// own, so that it can never be mistaken for a file of the user's: ".<name>.zavota-XXXXXX".
constexpr std::string_view kTempMark = ".zavota-";
constexpr std::size_t kTempRandom = 6;  // the characters mkstemp fills in

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string TempPattern(const std::string& path) {
    return FolderOf(path) + "." + BaseName(path) + std::string(kTempMark) + std::string(kTempRandom, 'X');
}

// A temporary file of a save of `base` (and of no other file).
bool IsTempOf(std::string_view name, std::string_view base) {
    const std::size_t prefix = 1 + base.size() + kTempMark.size();
    if (name.size() != prefix + kTempRandom || name[0] != '.' || name.substr(1, base.size()) != base ||
        name.substr(1 + base.size(), kTempMark.size()) != kTempMark)
        return false;
    for (char c : name.substr(prefix))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

bool OlderThanProcess(const struct timespec& t) {
    return t.tv_sec < kProcessStart.tv_sec || (t.tv_sec == kProcessStart.tv_sec && t.tv_nsec < kProcessStart.tv_nsec);
}

// Removes what killed saves of this one file left behind. Another instance's save in progress
// is newer than this process, so it is never touched.
void RemoveStaleTemps(const std::string& path) {
    DIR* dir = ::opendir(FolderOf(path).c_str());
    if (dir == nullptr) return;
    const std::string base = BaseName(path);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTempOf(entry->d_name, base)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            OlderThanProcess(st.st_mtim))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Enough for any chain of links a user makes; more is a loop.
constexpr int kMaxLinkHops = 40;

}  // namespace

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return "./";
    return path.substr(0, slash + 1);
}

namespace {

FileContent ReadOnce(const std::string& path, std::size_t limit) {
    FileContent result;
    // A FIFO or a device in the file's place would block the open or the first read for ever
    // (a FIFO until a writer comes): nothing but a regular file is opened, and the open itself
    // does not wait.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;  // the reason a report gives
        result.status = ReadStatus::Failed;
        return result;
    }
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.ok()) {
        result.status = errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) errno = EISDIR;
        result.status = ReadStatus::Failed;
        return result;
    }
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.status = ReadStatus::Failed;
            return result;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        // The file grew while it was read.
        if (bytes.size() > limit) {
            result.status = ReadStatus::TooLarge;
            return result;
        }
    }
    result.status = ReadStatus::Ok;
    result.bytes = std::move(bytes);
    return result;
}

}  // namespace

FileContent ReadFileBytes(const std::string& path, std::size_t limit) {
    FileContent result = ReadOnce(path, limit);
    if (result.status == ReadStatus::Failed) Failed(path);
    return result;
}

FileStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {static_cast<long long>(st.st_dev), static_cast<long long>(st.st_ino), static_cast<long long>(st.st_size),
            static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec};
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    // The permission bits bind root too, as the read-only attribute binds an administrator.
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

void SetFileStepHook(FileStepHook hook) { Hook() = std::move(hook); }

std::string SaveTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0) return current;
        target.resize(static_cast<std::size_t>(n));
        // A relative target is relative to the folder of the link.
        current = target.front() == '/' ? target : FolderOf(current) + target;
    }
    errno = ELOOP;
    return {};
}

bool IsSpecialFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

namespace {

// ReplaceFileAtomically with the mode a new file gets given (nullopt: 0644 less the umask).
bool ReplaceOnce(const std::string& link, std::string_view bytes, std::optional<mode_t> newMode) {
    // A link is kept and its target replaced, in the target's own folder, so that a settings
    // file kept in a dotfiles folder goes on getting the saves.
    const std::string path = SaveTarget(link);
    if (path.empty()) return false;
    const std::string folder = FolderOf(path);
    if (IsReadOnlyFile(path)) {
        errno = EACCES;
        return false;
    }
    // Someone put a FIFO, socket or device there on purpose: it is neither written through
    // nor replaced.
    if (IsSpecialFile(path)) {
        errno = EINVAL;
        return false;
    }
    RemoveStaleTemps(path);
    std::string temp = TempPattern(path);
    if (!StepAllowed(FileStep::Create, path)) return false;
    Fd fd(::mkstemp(temp.data()));
    if (!fd.ok()) return false;

    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else if (newMode) {
        mode = *newMode;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    bool ok = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), bytes, temp) &&
              StepAllowed(FileStep::Sync, temp) && ::fsync(fd.get()) == 0;
    int error = errno;
    if (!StepAllowed(FileStep::Close, temp) || ::close(fd.release()) != 0) {
        if (ok) error = errno;
        ok = false;
    }
    if (ok && !(StepAllowed(FileStep::Rename, path) && ::rename(temp.c_str(), path.c_str()) == 0)) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    return SyncFolder(folder);
}

// With the mode a new file gets (nullopt: 0644 less the umask); a failure is kept for the report.
bool ReplaceWithMode(const std::string& path, std::string_view bytes, std::optional<mode_t> newMode) {
    return ReplaceOnce(path, bytes, newMode) || Failed(path);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    return ReplaceWithMode(path, bytes, std::nullopt);
}

FileFailure LastFileFailure() { return lastFailure; }

void ClearFileFailure() { lastFailure = {}; }

std::string DescribeFailure(const FileFailure& failure) {
    if (failure.path.empty()) return {};
    if (failure.error == 0) return failure.path;
    return failure.path + ": " + std::strerror(failure.error);
}

std::string StampedName(const std::string& path, const char* why, int n) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path + "." + why + "-" + stamp;
    return n == 1 ? base : base + "-" + std::to_string(n);
}

namespace {

std::string AsideName(const std::string& path, int n) { return StampedName(path, "damaged", n); }

struct stat Identity(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) st.st_ino = 0;
    return st;
}

}  // namespace

std::string CopyAside(const std::string& link) {
    const std::string path = SaveTarget(link);
    if (!FileExists(path)) return {};
    for (int n = 1; n < 1000; ++n) {
        const std::string target = AsideName(path, n);
        // link() refuses an existing target, so an earlier copy is never replaced.
        if (StepAllowed(FileStep::Link, path) && ::link(path.c_str(), target.c_str()) == 0) return target;
        if (errno == EEXIST) continue;
        if (FileExists(target)) continue;
        // The copy is as private as the original: a 0600 settings file gets a 0600 copy.
        const struct stat original = Identity(path);
        FileContent content = ReadFileBytes(path);
        if (content.status != ReadStatus::Ok ||
            !ReplaceWithMode(target, content.bytes, static_cast<mode_t>(original.st_mode & 07777)))
            return {};
        return target;
    }
    return {};
}

std::string KeepAside(const std::string& link) {
    const std::string path = SaveTarget(link);
    if (!FileExists(path)) return {};
    for (int n = 1; n < 1000; ++n) {
        const std::string target = AsideName(path, n);
        // link() refuses an existing target, so an earlier copy is never replaced.
        if (StepAllowed(FileStep::Link, path) && ::link(path.c_str(), target.c_str()) == 0) {
            if (!StepAllowed(FileStep::Unlink, path) || ::unlink(path.c_str()) != 0) {
                ::unlink(target.c_str());
                return {};
            }
            SyncFolder(FolderOf(path));
            return target;
        }
        if (errno == EEXIST) continue;
        // Filesystems without hard links: a rename after checking the name is free.
        if (FileExists(target) || !StepAllowed(FileStep::Rename, path) || ::rename(path.c_str(), target.c_str()) != 0)
            return {};
        SyncFolder(FolderOf(path));
        return target;
    }
    return {};
}

bool ReplaceDamagedFile(const std::string& link, std::string_view bytes) {
    const std::string path = SaveTarget(link);
    if (path.empty()) return Failed(link);
    if (IsReadOnlyFile(path)) {
        errno = EACCES;
        return Failed(path);
    }
    if (!FileExists(path)) return ReplaceFileAtomically(path, bytes);
    const std::string aside = CopyAside(path);
    if (aside.empty()) return Failed(path);
    if (ReplaceFileAtomically(path, bytes)) return true;
    const int error = errno;
    const struct stat now = Identity(path), kept = Identity(aside);
    // Only while the old file is still in place is the copy superfluous.
    if (now.st_ino == kept.st_ino && now.st_dev == kept.st_dev && now.st_size == kept.st_size) RemoveFile(aside);
    errno = error;
    return false;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool EnsureFolder(const std::string& path) {
    if (path.empty()) return false;
    if (FolderExists(path)) return true;
    std::string partial;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (partial.empty() || FolderExists(partial)) continue;
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return Failed(partial);
    }
    if (FolderExists(path)) return true;
    errno = ENOTDIR;
    return Failed(path);
}

bool RemoveFile(const std::string& path) {
    if (!StepAllowed(FileStep::Unlink, path) || ::unlink(path.c_str()) != 0) return errno == ENOENT ? false : Failed(path);
    SyncFolder(FolderOf(path));
    return true;
}

bool RenameFile(const std::string& from, const std::string& to) {
    if (!StepAllowed(FileStep::Rename, to) || ::rename(from.c_str(), to.c_str()) != 0) return Failed(from);
    SyncFolder(FolderOf(to));
    if (FolderOf(from) != FolderOf(to)) SyncFolder(FolderOf(from));
    return true;
}

}  // namespace zavota::platform
