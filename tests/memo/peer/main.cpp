// A second copy of the program working on the same data folder, as a separate process: it
// loads the per-stock list and deletes or adds one page the way the memo pad does.
//   memo_peer DATA_FOLDER MUTEX_FOLDER delete|new NAME
// Exit status 0 when the operation was done.
#include <algorithm>
#include <string>

#include "memo/MemoPages.h"
#include "memo/PageList.h"
#include "platform/NamedMutex.h"
#include "platform/ProfileText.h"

int main(int argc, char** argv) {
    using namespace zavota;
    if (argc != 5) return 2;
    platform::NamedMutex mutex("VekkarMutex", argv[2]);
    MemoStore store(argv[1], mutex);
    const std::string op = argv[3];
    const std::string name = argv[4];
    constexpr MemoPageKind kind = MemoPageKind::PerStock;
    PageList list = LoadPageList(store, kind);
    bool done = false;
    if (op == "delete") {
        const auto at = std::find_if(list.begin(), list.end(),
                                     [&](const MemoPageEntry& e) { return platform::profile::SameName(e.name, name); });
        if (at == list.end()) return 1;
        const int position = static_cast<int>(at - list.begin());
        RunOnLoadedList(store, kind, list, [&] { return DeletePage(store, kind, list, position).done; }, &done);
    } else if (op == "new") {
        StockGrid grid{};
        grid[0].comment = name;
        const MemoPageEntry entry{name, NewPageNumber(list)};
        RunOnLoadedList(
            store, kind, list,
            [&] { return store.setAsideOrphan(kind, entry.number) && SaveStockPage(store, entry, grid); }, &done);
    }
    return done ? 0 : 1;
}
