#include "memo/PageList.h"

#include <algorithm>

namespace zavota {

PageList PlaceholderList() { return PageList{MemoPageEntry{std::string(kPlaceholderPageName), 0}}; }

bool HoldsOnlyPlaceholder(const PageList& list) {
    return std::none_of(list.begin(), list.end(), [](const MemoPageEntry& e) { return e.number > 0; });
}

PageList LoadPageList(MemoStore& store, MemoPageKind kind) {
    PageList list;
    if (store.open(MemoIndexFileName(kind), MemoFileKind::Ini, true)) {
        if (!store.readPageIndex(list)) list.clear();
        store.close();
    }
    return list.empty() ? PlaceholderList() : list;
}

int NewPageNumber(const PageList& list) {
    int pages = 0;
    int highest = 0;
    for (const MemoPageEntry& e : list) {
        if (e.number <= 0) continue;
        ++pages;
        highest = std::max(highest, e.number);
    }
    return std::max(pages, highest) + 1;
}

bool SavePageIndexEntry(MemoStore& store, MemoPageKind kind, const MemoPageEntry& entry,
                        std::optional<int> fontIndex) {
    // An entry the index reader would drop must not pass for saved.
    if (entry.number < 1 || entry.number > kMaxMemoPageNumber) return false;
    if (!store.open(MemoIndexFileName(kind), MemoFileKind::Ini, false)) return false;
    const bool ok = store.writeIndexEntries(entry.name, entry.number, fontIndex);
    return store.close() && ok;
}

bool RewritePageIndex(MemoStore& store, MemoPageKind kind, const PageList& list) {
    return store.replaceIndex(kind, list);
}

PageDeletion DeletePage(MemoStore& store, MemoPageKind kind, PageList& list, int position) {
    PageDeletion result;
    result.position = position;
    if (store.isOpen() || position < 0 || position >= static_cast<int>(list.size()) ||
        list[position].number <= 0)
        return result;

    const int deleted = list[position].number;
    auto highest = std::max_element(list.begin(), list.end(),
                                    [](const MemoPageEntry& a, const MemoPageEntry& b) { return a.number < b.number; });
    const int top = highest->number;

    store.removeFile(MemoPageFileName(kind, deleted));
    if (deleted < top) {
        const std::string from = MemoPageFileName(kind, top);
        // A page whose file could not be moved keeps its number, so it keeps its content; a
        // page never saved has no file to move.
        if (store.renameFile(from, MemoPageFileName(kind, deleted)) || !store.fileExists(from))
            highest->number = deleted;
    }

    if (list.size() == 1) {
        list = PlaceholderList();
        result.position = 0;
    } else {
        list.erase(list.begin() + position);
        result.position = std::min(position, static_cast<int>(list.size()) - 1);
    }
    result.done = true;
    result.indexRewritten = RewritePageIndex(store, kind, list);
    return result;
}

}  // namespace zavota
