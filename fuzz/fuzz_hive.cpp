// The hive file: any bytes parse without harm, and what the program writes from them parses
// back, undamaged, to the same hive.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "platform/RegistryHive.h"
#include "platform/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zavota::platform::RegistryHive;
    RegistryHive hive("unused.reg");
    hive.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = hive.Serialise();
    RegistryHive again("unused.reg");
    FUZZ_CHECK(again.Parse(std::string(zavota::platform::kUtf16LeBom) + zavota::platform::Utf16LeFromUtf8(text)));
    FUZZ_CHECK(again.Serialise() == text);
    return 0;
}
