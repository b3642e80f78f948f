// Faults injected into the file steps of the platform layer, removed again when the test ends.
#pragma once

#include <string>
#include <utility>

#include "platform/FileIo.h"

namespace zavota::testing {

class FileStepHookGuard {
public:
    explicit FileStepHookGuard(platform::FileStepHook hook) { platform::SetFileStepHook(std::move(hook)); }
    ~FileStepHookGuard() { platform::SetFileStepHook({}); }
    FileStepHookGuard(const FileStepHookGuard&) = delete;
    FileStepHookGuard& operator=(const FileStepHookGuard&) = delete;
};

// Fails every `step` with `error` while it lives.
inline platform::FileStepHook FailStep(platform::FileStep step, int error) {
    return [step, error](platform::FileStep s, const std::string&) { return s == step ? error : 0; };
}

}  // namespace zavota::testing
