// Commission table files: any file imports without harm, and a table that imports exports to
// a file that imports to the same table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "platform/NamedMutex.h"
#include "platform/ProfileFile.h"
#include "settings/MarginTableFile.h"

namespace {

// A shared table's sell side is its buy side; whatever the file said for it is not used.
zavota::MarginTable Meaning(zavota::MarginTable t) {
    if (t.Same != 0) return t;
    t.ElementsU = t.ElementsK;
    t.MiniAfterU = t.MiniAfterK;
    t.LowLimitU = t.LowLimitK;
    t.HighLimitU = t.HighLimitK;
    t.bracketsU = t.bracketsK;
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zavota;
    static platform::NamedMutex mutex("VekkarMutex", fuzz::Scratch());
    const std::string path = fuzz::ScratchFile("in.ini", std::string_view(reinterpret_cast<const char*>(data), size));
    MarginTable table;
    if (ImportMarginTable(path, table, mutex) != ImportDone) return 0;
    // The name is a profile value: a line break comes back as a space, outer blanks stay.
    if (table.Name.find_first_of("\r\n") != std::string::npos || table.Name.find('\0') != std::string::npos) return 0;
    // The file form rounds the bounds and the addition to whole yen and the rate and discount
    // to four places; what the program wrote must then read back unchanged.
    const auto cycle = [](const MarginTable& t, const std::string& out) {
        platform::RemoveFile(out);
        FUZZ_CHECK(ExportMarginTable(t, out, mutex));
        MarginTable back;
        FUZZ_CHECK(ImportMarginTable(out, back, mutex) == ImportDone);
        return back;
    };
    const MarginTable written = cycle(table, fuzz::Scratch() + "out1.ini");
    FUZZ_CHECK(Meaning(cycle(written, fuzz::Scratch() + "out2.ini")) == Meaning(written));
    return 0;
}
