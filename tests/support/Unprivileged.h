// Tests about write permissions must bind also when the tests run as root (as they do in CI),
// where a read-only folder stops nothing.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zavota::testing {

// Runs `body` where permissions bind: directly for an ordinary user; as root, in a child
// process that first hands `folder` (recursively) to the user "nobody" and then becomes it.
// Failures inside the child fail the test.
inline void WherePermissionsBind(const std::string& folder, const std::function<void()>& body) {
    if (geteuid() != 0) {
        body();
        return;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        std::error_code ec;
        if (lchown(folder.c_str(), kNobody, kNobody) != 0) std::_Exit(3);
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (lchown(it->path().c_str(), kNobody, kNobody) != 0) std::_Exit(3);
        // The folders above it must be passable, as a user's own home would be.
        for (auto p = std::filesystem::path(folder).parent_path(); p.has_relative_path(); p = p.parent_path())
            std::filesystem::permissions(p, std::filesystem::perms::others_exec, std::filesystem::perm_options::add, ec);
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) std::_Exit(4);
        body();
        std::fflush(nullptr);
        std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "the unprivileged part ended abnormally";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged part failed (3: hand-over, 4: dropping root)";
}

}  // namespace zavota::testing
