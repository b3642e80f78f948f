// The memo store's readers: an index, a page, the calculator file and a free-form page, each
// from any bytes, without harm.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "memo/MemoStore.h"
#include "platform/NamedMutex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zavota;
    static platform::NamedMutex mutex("VekkarMutex", fuzz::Scratch());
    const auto parts = fuzz::Parts(data, size, 4);
    fuzz::ScratchFile("M00index.ini", parts[0]);
    fuzz::ScratchFile("M_1.ini", parts[1]);
    fuzz::ScratchFile("Calc.ini", parts[2]);
    fuzz::ScratchFile("N_1.txt", parts[3]);
    MemoStore store(fuzz::Scratch(), mutex);

    std::vector<MemoPageEntry> pages;
    if (store.open("M00index.ini", MemoFileKind::Ini, true)) {
        store.readPageIndex(pages);
        int font = 0;
        store.readFontSize(font);
        store.close();
    }
    if (store.open("M_1.ini", MemoFileKind::Ini, true)) {
        std::vector<std::string> column;
        for (int kind = -1; kind <= 2; ++kind) store.readColumn(kind, 100, column);
        store.close();
    }
    store.pageTotals(1);
    if (store.open("Calc.ini", MemoFileKind::Ini, true)) {
        std::vector<std::string> items;
        store.readCalculator(items);
        store.close();
    }
    if (store.open("N_1.txt", MemoFileKind::Text, true)) {
        if (MemoTextStream* text = store.textStream()) text->Lines();
        store.close();
    }
    return 0;
}
