// Expense set files: any file reads without harm, and a set read from one writes to a file
// that reads back as the same set.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "platform/Cp932.h"
#include "platform/NamedMutex.h"
#include "settings/KeihiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zavota;
    static platform::NamedMutex mutex("VekkarMutex", fuzz::Scratch());
    const std::string path = fuzz::ScratchFile(KeihiFileName(1), std::string_view(reinterpret_cast<const char*>(data), size));
    const KeihiSet set = ReadKeihiSetFile(path, mutex);
    if (set.Comment.find_first_of("\r\n") != std::string::npos || set.Comment.find('\0') != std::string::npos) return 0;
    platform::RemoveFile(path);
    FUZZ_CHECK(WriteKeihiSet(fuzz::Scratch(), 1, set, mutex));
    // A comment that fits code page 932 comes back with the marks Windows maps into it in their
    // code page forms.
    KeihiSet fitted = set;
    fitted.Comment = platform::WithBestFits(set.Comment);
    const KeihiSet back = ReadKeihiSet(fuzz::Scratch(), 1, mutex);
    FUZZ_CHECK(back == set || back == fitted);
    return 0;
}
