// The page lists of the memo pad and what keeps their files numbered 1 to N: numbering new
// pages, writing index entries, rewriting an index, deleting a page. Shared by the per-stock
// and the free-form tab; the kind picks the index and page file names.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memo/MemoStore.h"

namespace zavota {

using PageList = std::vector<MemoPageEntry>;

// The only entry of an empty list: a page not saved yet, without a name or a file.
inline constexpr std::string_view kPlaceholderPageName = "（新規ページ）";

PageList PlaceholderList();
// True when the list holds no numbered page.
bool HoldsOnlyPlaceholder(const PageList& list);

// What became of a delete journal left by a delete that was cut off (a kill, a failed step).
enum class PendingDelete {
    None,      // there was none
    Finished,  // carried to its end, or found already done, and removed
    Pending,   // still there: a step failed, every page operation is refused until it goes
    SetAside,  // written for another state of the index than the one there is: kept aside, not applied
};

// Carries a delete journal to its end, but only onto the exact index it was written for (or
// removes it when the index already is the one it leads to); any other is set aside. Every page
// operation settles it first and is refused while it stays, so that no journal can outlive a
// failed step and later be replayed onto pages made after it. `aside`: where a set-aside
// journal now is.
PendingDelete SettlePendingDelete(MemoStore& store, MemoPageKind kind, std::string* aside = nullptr);

// The index read into a list, or the placeholder alone when the index cannot be opened or lists
// no page. `pending` tells what became of a delete journal found first.
PageList LoadPageList(MemoStore& store, MemoPageKind kind, PendingDelete* pending = nullptr, std::string* aside = nullptr);

// The number a created page gets: one past the pages there are, so 1 for the first page
// created from the placeholder. Should an index have lost entries, the number also stays past
// every number still listed, so a new page never takes over another page's file.
int NewPageNumber(const PageList& list);

// Writes the page's entry into its index (in place for a known name, appended for a new one).
// With `fontIndex`, the free-form font size is written first.
bool SavePageIndexEntry(MemoStore& store, MemoPageKind kind, const MemoPageEntry& entry,
                        std::optional<int> fontIndex = std::nullopt);

// A whole page save: settles a pending delete, writes the page file (`writePage`), then its
// index entry. When the entry of a page the index did not list yet cannot be written, the new
// file goes again, so that no file is left that no entry lists.
bool SavePageWithEntry(MemoStore& store, MemoPageKind kind, const MemoPageEntry& entry, std::optional<int> fontIndex,
                       const std::function<bool()>& writePage);

// The index afterwards holds one entry per page in list order, put in place as one replace (the
// old index stays whole on failure). With only the placeholder left, the index is removed.
bool RewritePageIndex(MemoStore& store, MemoPageKind kind, const PageList& list);

// Several copies of the program may work on one data folder; each acts on the page list it
// loaded. What a page operation found when it began:
enum class PageListCheck {
    Same,     // the index still is the list this window loaded: the operation ran
    Changed,  // another program changed the index since: nothing was done
    Failed,   // the index (or a pending delete) could not be settled and read: nothing was done
    Busy,     // another program held the mutex for the whole wait: nothing was done
};

// Holds the mutex, checks that the index still lists exactly the numbered pages of `loaded`
// (names, numbers, order) and only then runs `operation`, still under the mutex, so that no
// other copy can change the index between the check and the writes. `done` is what the
// operation returned (false when it did not run).
PageListCheck RunOnLoadedList(MemoStore& store, MemoPageKind kind, const PageList& loaded,
                              const std::function<bool()>& operation, bool* done = nullptr);

struct PageDeletion {
    bool done = false;           // false: nothing changed (placeholder, bad position, busy store, a failed step)
    int position = 0;            // the list position to show now
    bool indexRewritten = false;
    bool journalRemoved = false;  // with indexRewritten: the delete is complete; else it is finished later
};

// Deletes the page at list position `position`: its file goes, the page with the highest
// number takes over the freed number (its file renamed), the entry leaves the list (the
// placeholder replaces the last page) and the index is rewritten.
PageDeletion DeletePage(MemoStore& store, MemoPageKind kind, PageList& list, int position);

}  // namespace zavota
