// Failures at every file step of the page operations, each followed by a new page and a
// restart, and the rules of the delete journal.
#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "MemoFixture.h"
#include "memo/MemoPages.h"
#include "memo/PageList.h"
#include "platform/ProfileFile.h"
#include "support/FileFaults.h"

namespace zavota::testing {
namespace {

constexpr MemoPageKind M = MemoPageKind::PerStock;

class DeleteJournalTest : public MemoStoreTest {
protected:
    // Per-stock pages whose first comment is their name.
    bool Save(const MemoPageEntry& e) {
        StockGrid grid{};
        grid[0].comment = e.name;
        return SaveStockPage(store, e, grid);
    }
    PageList MakePages(const PageList& pages) {
        for (const MemoPageEntry& e : pages) EXPECT_TRUE(Save(e));
        return pages;
    }
    std::string Content(int number) {
        StockGrid grid{};
        return LoadStockPage(store, number, grid) ? grid[0].comment : "<none>";
    }
    // What the next start shows: every page holds its own notes, numbers 1 to N, no journal.
    std::set<std::string> Restart() {
        const PageList list = LoadPageList(store, M);
        std::set<std::string> names;
        std::set<int> numbers;
        for (const MemoPageEntry& e : list) {
            if (e.number == 0) continue;
            EXPECT_EQ(Content(e.number), e.name) << e.number;
            EXPECT_TRUE(names.insert(e.name).second) << "twice: " << e.name;
            numbers.insert(e.number);
        }
        if (!numbers.empty()) {
            EXPECT_EQ(*numbers.begin(), 1);
            EXPECT_EQ(*numbers.rbegin(), static_cast<int>(numbers.size()));
        }
        EXPECT_FALSE(Exists("M_" + std::to_string(numbers.size() + 1) + ".ini")) << "a file no entry lists";
        EXPECT_FALSE(Exists("M00index.ini.delete"));
        return names;
    }
};

// An operation as the window runs it: false when it reported a failure. `list` is what the
// window shows afterwards.
using Operation = std::function<bool(MemoStore&, PageList&)>;

TEST_F(DeleteJournalTest, AFailureAtAnyStepIsReportedAndANewPageAfterItLosesNothing) {
    struct Case {
        const char* what;
        Operation run;
        std::set<std::string> before, after;  // the names, with the new page E
    };
    const auto remove = [](int position) {
        return [position](MemoStore& s, PageList& list) {
            const PageDeletion d = DeletePage(s, M, list, position);
            return d.done && d.indexRewritten && d.journalRemoved;
        };
    };
    const Case cases[] = {
        {"delete middle", remove(1), {"A", "B", "C", "E"}, {"A", "C", "E"}},
        {"delete first", remove(0), {"A", "B", "C", "E"}, {"B", "C", "E"}},
        {"delete last", remove(2), {"A", "B", "C", "E"}, {"A", "B", "E"}},
        {"new page",
         [this](MemoStore& s, PageList& list) {
             // The window reloads the list after a new page whose save failed.
             const bool saved = Save({"D", 4});
             list = saved ? PageList{{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}} : LoadPageList(s, M);
             return saved;
         },
         {"A", "B", "C", "E"}, {"A", "B", "C", "D", "E"}},
        {"reorder",
         [](MemoStore& s, PageList& list) {
             list = {{"C", 3}, {"A", 1}, {"B", 2}};
             return RewritePageIndex(s, M, list);
         },
         {"A", "B", "C", "E"}, {"A", "B", "C", "E"}},
    };
    for (const Case& c : cases) {
        for (int failAt = 1;; ++failAt) {
            SCOPED_TRACE(::testing::Message() << c.what << ", step " << failAt);
            for (const char* f : {"M_1.ini", "M_2.ini", "M_3.ini", "M_4.ini", "M_5.ini", "M00index.ini"})
                platform::RemoveFile(Path(f));
            PageList list = MakePages({{"A", 1}, {"B", 2}, {"C", 3}});
            int steps = 0;
            bool ok = false;
            {
                FileStepHookGuard fault([&](platform::FileStep, const std::string&) { return ++steps == failAt ? EIO : 0; });
                ok = c.run(store, list);
            }
            const bool failed = steps >= failAt;
            // A new page as the window makes it: a file in the way of its number is set aside.
            const int number = NewPageNumber(list);
            EXPECT_TRUE(store.setAsideOrphan(M, number));
            EXPECT_TRUE(Save({"E", number}));
            const std::set<std::string> names = Restart();
            // Success only where the operation took effect; a failure may leave either state
            // (a failed folder sync comes after its rename).
            if (!failed || ok) {
                EXPECT_EQ(names, c.after);
            } else {
                EXPECT_TRUE(names == c.before || names == c.after) << ::testing::PrintToString(names);
            }
            if (!failed) break;
        }
    }
}


TEST_F(DeleteJournalTest, AJournalIsAppliedOnlyToTheIndexItWasWrittenFor) {
    // B (2 of 3) deleted: C's file takes number 2.
    const MemoDeleteJournal journal{"B", 2, 3, true, true, {{"A", 1}, {"B", 2}, {"C", 3}}, {{"A", 1}, {"C", 2}}};
    const PageList old{{"A", 1}, {"B", 2}, {"C", 3}};
    const PageList done{{"A", 1}, {"C", 2}};
    struct Case {
        const char* what;
        std::function<void()> prepare;  // the state the journal is found in
        std::function<int(platform::FileStep, const std::string&)> fault;
        PendingDelete settled;
        PageList shown;
    };
    const auto failRename = [](const char* name) {
        return [name](platform::FileStep step, const std::string& path) {
            return step == platform::FileStep::Rename && path.ends_with(name) ? EIO : 0;
        };
    };
    const Case cases[] = {
        {"cut off before the files", [] {}, nullptr, PendingDelete::Finished, done},
        {"cut off after the files", [&] { ASSERT_TRUE(store.renameFile("M_3.ini", "M_2.ini")); }, nullptr,
         PendingDelete::Finished, done},
        {"cut off after the index",
         [&] {
             ASSERT_TRUE(store.renameFile("M_3.ini", "M_2.ini"));
             ASSERT_TRUE(store.replaceIndex(M, done));
         },
         nullptr, PendingDelete::Finished, done},
        // The journal stays until both steps worked, and the old list is shown meanwhile.
        {"file move fails", [] {}, failRename("M_2.ini"), PendingDelete::Pending, old},
        {"index rewrite fails", [] {}, failRename("M00index.ini"), PendingDelete::Pending, old},
        {"a page added since",
         [&] {
             // As a copy of the program that knows no journal would add it.
             ASSERT_TRUE(store.renameFile("M00index.ini.delete", "hidden"));
             ASSERT_TRUE(Save({"D", 4}));
             ASSERT_TRUE(store.renameFile("hidden", "M00index.ini.delete"));
         },
         nullptr, PendingDelete::SetAside,
         {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}}},
        {"reordered since",
         [&] { ASSERT_TRUE(store.replaceIndex(M, {{"C", 3}, {"A", 1}, {"B", 2}})); }, nullptr,
         PendingDelete::SetAside, {{"C", 3}, {"A", 1}, {"B", 2}}},
        {"written by an earlier version",
         [&] {
             ASSERT_TRUE(platform::ReplaceFileAtomically(Path("M00index.ini.delete"),
                                                        "[Delete]\r\nName=B\r\nTo=2\r\nFrom=3\r\nMove=1\r\n"));
         },
         nullptr, PendingDelete::SetAside, old},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* f : {"M_1.ini", "M_2.ini", "M_3.ini", "M_4.ini", "M_5.ini", "M00index.ini"})
            platform::RemoveFile(Path(f));
        MakePages(old);
        ASSERT_TRUE(store.writeDeleteJournal(M, journal));
        c.prepare();
        PendingDelete settled = PendingDelete::None;
        std::string aside;
        PageList shown;
        {
            FileStepHookGuard fault(c.fault ? platform::FileStepHook(c.fault) : platform::FileStepHook());
            shown = LoadPageList(store, M, &settled, &aside);
        }
        EXPECT_EQ(settled, c.settled);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(Exists("M00index.ini.delete"), c.settled == PendingDelete::Pending);
        EXPECT_EQ(!aside.empty() && platform::FileExists(aside), c.settled == PendingDelete::SetAside);
        // A pending journal is finished by the next page operation; none is left after that.
        EXPECT_TRUE(Save({"E", static_cast<int>(Restart().size()) + 1}));
        Restart();
        if (!aside.empty()) platform::RemoveFile(aside);
    }
}

}  // namespace
}  // namespace zavota::testing
