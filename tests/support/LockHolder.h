// Another process that holds a lock file, as another copy of the program saving would.
#pragma once

#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zavota::testing {

// Holds the lock file from another process until the object goes.
class LockHolder {
public:
    explicit LockHolder(const std::string& lockPath) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(release[1]);
            const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0644);
            char c = 1;
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], &c, 1) != 1) ::_exit(1);
            // Until the parent closes its end.
            ::_exit(::read(release[0], &c, 1) < 0 ? 1 : 0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char c = 0;
        pollfd p{ready[0], POLLIN, 0};
        held_ = ::poll(&p, 1, 5000) == 1 && ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
    }
    ~LockHolder() {
        if (release_ >= 0) ::close(release_);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    }
    bool Held() const { return held_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool held_ = false;
};

}  // namespace zavota::testing
