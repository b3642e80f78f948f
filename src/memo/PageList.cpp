#include "memo/PageList.h"

#include <algorithm>

#include "core/NumberText.h"
#include "platform/NamedMutex.h"
#include "platform/ProfileText.h"

namespace zavota {

PageList PlaceholderList() { return PageList{MemoPageEntry{std::string(kPlaceholderPageName), 0}}; }

bool HoldsOnlyPlaceholder(const PageList& list) {
    return std::none_of(list.begin(), list.end(), [](const MemoPageEntry& e) { return e.number > 0; });
}

namespace {

// False when the index exists but cannot be read; a missing index is an empty list.
bool ReadIndex(MemoStore& store, MemoPageKind kind, PageList& list) {
    list.clear();
    if (!store.open(MemoIndexFileName(kind), MemoFileKind::Ini, true)) return false;
    const bool ok = store.readPageIndex(list);
    store.close();
    if (!ok) list.clear();
    return ok;
}

PageList ReadIndex(MemoStore& store, MemoPageKind kind) {
    PageList list;
    ReadIndex(store, kind, list);
    return list;
}

// The same pages, numbers and order, names compared as the index compares them (which also
// drops their outer blanks).
bool SameIndex(const PageList& a, const PageList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const MemoPageEntry& x, const MemoPageEntry& y) {
        return x.number == y.number && platform::profile::SameName(TrimAscii(x.name), TrimAscii(y.name));
    });
}

// The numbered pages of a list: what its index holds.
PageList Numbered(const PageList& list) {
    PageList pages;
    for (const MemoPageEntry& e : list)
        if (e.number > 0) pages.push_back(e);
    return pages;
}

PendingDelete SetJournalAside(MemoStore& store, MemoPageKind kind, std::string* aside) {
    const std::string path = store.setAsideDeleteJournal(kind);
    if (aside != nullptr) *aside = path;
    return path.empty() ? PendingDelete::Pending : PendingDelete::SetAside;
}

// A journal the user was told did not take effect must not take effect later.
void DiscardJournal(MemoStore& store, MemoPageKind kind) {
    if (!store.removeDeleteJournal(kind)) store.setAsideDeleteJournal(kind);
}

}  // namespace

PendingDelete SettlePendingDelete(MemoStore& store, MemoPageKind kind, std::string* aside) {
    // Read and acted on in one hold of the mutex; a held lock leaves it for later.
    platform::MutexGuard hold(store.mutex());
    if (store.refusedAsBusy(hold)) return PendingDelete::Pending;
    const std::optional<MemoDeleteJournal> journal = store.readDeleteJournal(kind);
    if (!journal) return PendingDelete::None;
    if (journal->to < 1 || !journal->recorded) return SetJournalAside(store, kind, aside);
    PageList index;
    if (!ReadIndex(store, kind, index)) return PendingDelete::Pending;
    // The index already rewritten: the files were moved before it was.
    if (SameIndex(index, journal->after))
        return store.removeDeleteJournal(kind) ? PendingDelete::Finished : PendingDelete::Pending;
    if (!SameIndex(index, journal->before)) return SetJournalAside(store, kind, aside);
    // Files first, then the index; until both worked the journal stays for the next try.
    if (!store.moveDeletedPageFiles(kind, *journal) || !store.replaceIndex(kind, journal->after) ||
        !store.removeDeleteJournal(kind))
        return PendingDelete::Pending;
    return PendingDelete::Finished;
}

PageList LoadPageList(MemoStore& store, MemoPageKind kind, PendingDelete* pending, std::string* aside) {
    const PendingDelete settled = SettlePendingDelete(store, kind, aside);
    if (pending != nullptr) *pending = settled;
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

bool SavePageWithEntry(MemoStore& store, MemoPageKind kind, const MemoPageEntry& entry, std::optional<int> fontIndex,
                       const std::function<bool()>& writePage) {
    if (entry.number < 1 || entry.number > kMaxMemoPageNumber) return false;
    if (SettlePendingDelete(store, kind) == PendingDelete::Pending) return false;
    const auto listed = [&] {
        PageList index;
        return !ReadIndex(store, kind, index) ||
               std::any_of(index.begin(), index.end(), [&](const MemoPageEntry& e) { return e.number == entry.number; });
    };
    // The page file before its index entry: a new page killed between the two is a file no
    // index lists, which the next new page sets aside, never an entry without its content.
    if (!writePage()) return false;
    if (SavePageIndexEntry(store, kind, entry, fontIndex)) return true;
    // Only a file that no entry lists even now (the entry may be in place after a failed
    // folder sync) is taken back.
    if (!listed()) store.removeFile(MemoPageFileName(kind, entry.number));
    return false;
}

bool RewritePageIndex(MemoStore& store, MemoPageKind kind, const PageList& list) {
    if (SettlePendingDelete(store, kind) == PendingDelete::Pending) return false;
    return store.replaceIndex(kind, list);
}

PageListCheck RunOnLoadedList(MemoStore& store, MemoPageKind kind, const PageList& loaded,
                              const std::function<bool()>& operation, bool* done) {
    if (done != nullptr) *done = false;
    platform::MutexGuard hold(store.mutex());
    if (store.refusedAsBusy(hold)) return PageListCheck::Busy;
    if (SettlePendingDelete(store, kind) == PendingDelete::Pending) return PageListCheck::Failed;
    PageList index;
    if (!ReadIndex(store, kind, index)) return PageListCheck::Failed;
    if (!SameIndex(index, Numbered(loaded))) return PageListCheck::Changed;
    const bool ok = operation();
    if (done != nullptr) *done = ok;
    return PageListCheck::Same;
}

PageDeletion DeletePage(MemoStore& store, MemoPageKind kind, PageList& list, int position) {
    PageDeletion result;
    result.position = position;
    if (store.isOpen() || position < 0 || position >= static_cast<int>(list.size()) ||
        list[position].number <= 0)
        return result;

    if (SettlePendingDelete(store, kind) == PendingDelete::Pending) return result;
    PageList before;
    if (!ReadIndex(store, kind, before)) return result;

    const int deleted = list[position].number;
    PageList after = list;
    auto highest = std::max_element(after.begin(), after.end(),
                                    [](const MemoPageEntry& a, const MemoPageEntry& b) { return a.number < b.number; });
    const int top = highest->number;
    highest->number = deleted;
    after.erase(after.begin() + position);

    // Journal, files, index: a kill at any step leaves what the next page operation or start
    // finishes (SettlePendingDelete). A file step that fails changes nothing, and its journal
    // goes with it, since the delete was reported as not done.
    const MemoDeleteJournal journal{list[position].name,
                                    deleted,
                                    top,
                                    deleted < top && store.fileExists(MemoPageFileName(kind, top)),
                                    true,
                                    before,
                                    Numbered(after)};
    if (!store.writeDeleteJournal(kind, journal) || !store.moveDeletedPageFiles(kind, journal)) {
        DiscardJournal(store, kind);
        return result;
    }
    if (after.empty()) {
        list = PlaceholderList();
        result.position = 0;
    } else {
        list = std::move(after);
        result.position = std::min(position, static_cast<int>(list.size()) - 1);
    }
    result.done = true;
    result.indexRewritten = store.replaceIndex(kind, list);
    if (result.indexRewritten) result.journalRemoved = store.removeDeleteJournal(kind);
    return result;
}

}  // namespace zavota
