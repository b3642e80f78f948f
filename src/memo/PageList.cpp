#include "memo/PageList.h"

#include <algorithm>

#include "platform/ProfileText.h"

namespace zavota {

PageList PlaceholderList() { return PageList{MemoPageEntry{std::string(kPlaceholderPageName), 0}}; }

bool HoldsOnlyPlaceholder(const PageList& list) {
    return std::none_of(list.begin(), list.end(), [](const MemoPageEntry& e) { return e.number > 0; });
}

namespace {

PageList ReadIndex(MemoStore& store, MemoPageKind kind) {
    PageList list;
    if (store.open(MemoIndexFileName(kind), MemoFileKind::Ini, true)) {
        if (!store.readPageIndex(list)) list.clear();
        store.close();
    }
    return list;
}

// A delete cut off by a kill is carried to its end: files first, then the index, if the index
// still lists the deleted page. Until that works the journal stays for the next try.
void FinishCutOffDelete(MemoStore& store, MemoPageKind kind) {
    const std::optional<MemoDeleteJournal> journal = store.readDeleteJournal(kind);
    if (!journal) return;
    if (journal->to < 1) {
        store.removeDeleteJournal(kind);
        return;
    }
    if (!store.moveDeletedPageFiles(kind, *journal)) return;
    PageList list = ReadIndex(store, kind);
    const auto deleted = std::find_if(list.begin(), list.end(), [&](const MemoPageEntry& e) {
        return e.number == journal->to && platform::profile::SameName(e.name, journal->name);
    });
    if (deleted != list.end()) {
        list.erase(deleted);
        for (MemoPageEntry& e : list)
            if (e.number == journal->from) e.number = journal->to;
        if (!store.replaceIndex(kind, list)) return;
    }
    store.removeDeleteJournal(kind);
}

}  // namespace

PageList LoadPageList(MemoStore& store, MemoPageKind kind) {
    FinishCutOffDelete(store, kind);
    PageList list = ReadIndex(store, kind);
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

    // Journal, files, index: a kill at any step leaves what the next reading of the index
    // finishes (FinishCutOffDelete). A file step that fails changes nothing.
    const MemoDeleteJournal journal{list[position].name, deleted, top,
                                    deleted < top && store.fileExists(MemoPageFileName(kind, top))};
    if (!store.writeDeleteJournal(kind, journal)) return result;
    if (!store.moveDeletedPageFiles(kind, journal)) {
        store.removeDeleteJournal(kind);
        return result;
    }
    highest->number = deleted;

    if (list.size() == 1) {
        list = PlaceholderList();
        result.position = 0;
    } else {
        list.erase(list.begin() + position);
        result.position = std::min(position, static_cast<int>(list.size()) - 1);
    }
    result.done = true;
    result.indexRewritten = RewritePageIndex(store, kind, list);
    if (result.indexRewritten) store.removeDeleteJournal(kind);
    return result;
}

}  // namespace zavota
