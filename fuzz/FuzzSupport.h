// What the fuzz targets share: a scratch folder for targets that read files, and a way to cut
// one input into several texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "platform/FileIo.h"

namespace zavota::fuzz {

// A folder of this process, in memory where possible (saves fsync).
inline const std::string& Scratch() {
    static const std::string folder = [] {
        const std::string base = platform::FolderExists("/dev/shm") ? "/dev/shm/" : "/tmp/";
        std::string path = base + "zavota-fuzz-" + std::to_string(::getpid()) + "/";
        if (!platform::EnsureFolder(path)) std::abort();
        return path;
    }();
    return folder;
}

// Puts the bytes into a scratch file and returns its path.
inline std::string ScratchFile(const std::string& name, std::string_view bytes) {
    const std::string path = Scratch() + name;
    if (!platform::ReplaceFileAtomically(path, bytes)) std::abort();
    return path;
}

// The input cut at each "\x01\x02" into at least `parts` texts (missing ones empty).
inline std::vector<std::string> Parts(const std::uint8_t* data, std::size_t size, std::size_t parts) {
    std::vector<std::string> out;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (;;) {
        const auto cut = rest.find("\x01\x02");
        out.emplace_back(rest.substr(0, cut));
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 2);
    }
    while (out.size() < parts) out.emplace_back();
    return out;
}

}  // namespace zavota::fuzz

// A property that must hold; a failure stops the run so that the fuzzer keeps the input.
#define FUZZ_CHECK(condition)       \
    do {                            \
        if (!(condition)) std::abort(); \
    } while (false)
