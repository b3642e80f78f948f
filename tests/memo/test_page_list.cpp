#include "memo/PageList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "memo/MemoFixture.h"
#include "platform/ProfileFile.h"

namespace zavota {
namespace {

using testing::FileBytes;
using testing::MemoStoreTest;

TEST(PageListTest, NewPageNumber) {
    struct Case {
        PageList list;
        int expected;
    };
    const Case cases[] = {
        {PlaceholderList(), 1},
        {{{"A", 1}}, 2},
        {{{"C", 3}, {"A", 1}, {"B", 2}}, 4},
        // An index that lost entries: the new page must not take page 3's file.
        {{{"C", 3}}, 4},
    };
    for (const Case& c : cases) EXPECT_EQ(NewPageNumber(c.list), c.expected);
}

class PageListFiles : public MemoStoreTest {
protected:
    // Pages with their files (content = name) and their index, in list order.
    PageList MakePages(MemoPageKind kind, const PageList& pages) {
        for (const MemoPageEntry& e : pages) {
            EXPECT_TRUE(platform::ReplaceFileAtomically(Path(MemoPageFileName(kind, e.number)), e.name));
        }
        EXPECT_TRUE(RewritePageIndex(store, kind, pages));
        return pages;
    }
    std::string PageContent(MemoPageKind kind, int number) { return FileBytes(Path(MemoPageFileName(kind, number))); }
};

TEST_F(PageListFiles, DeletePageRenumbersFromTheTop) {
    struct Case {
        const char* what;
        PageList before;
        int position;
        PageList after;
        int shown;
    };
    const Case cases[] = {
        {"middle", {{"A", 1}, {"B", 2}, {"C", 3}}, 1, {{"A", 1}, {"C", 2}}, 1},
        {"highest renames nothing", {{"A", 1}, {"B", 2}, {"C", 3}}, 2, {{"A", 1}, {"B", 2}}, 1},
        {"first", {{"A", 1}, {"B", 2}, {"C", 3}}, 0, {{"B", 2}, {"C", 1}}, 0},
        {"reordered", {{"C", 3}, {"A", 1}, {"B", 2}}, 1, {{"C", 1}, {"B", 2}}, 1},
        {"only page", {{"A", 1}}, 0, PlaceholderList(), 0},
    };
    for (const MemoPageKind kind : {MemoPageKind::PerStock, MemoPageKind::FreeForm}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.what << (kind == MemoPageKind::PerStock ? " M" : " N"));
            PageList list = MakePages(kind, c.before);
            const PageDeletion result = DeletePage(store, kind, list, c.position);
            EXPECT_TRUE(result.done);
            EXPECT_TRUE(result.indexRewritten);
            EXPECT_EQ(list, c.after);
            EXPECT_EQ(result.position, c.shown);

            // Each page's file holds its own content under its new number, and nothing more.
            for (const MemoPageEntry& e : c.after) {
                if (e.number > 0) {
                    EXPECT_EQ(PageContent(kind, e.number), e.name);
                }
            }
            const int pages = HoldsOnlyPlaceholder(c.after) ? 0 : static_cast<int>(c.after.size());
            EXPECT_FALSE(Exists(MemoPageFileName(kind, pages + 1)));
            EXPECT_TRUE(Exists(MemoIndexFileName(kind)));  // empty once the last page is gone
            EXPECT_EQ(LoadPageList(store, kind), c.after);
            for (int n = 1; n <= pages; ++n) platform::RemoveFile(Path(MemoPageFileName(kind, n)));
        }
    }
}

TEST_F(PageListFiles, DeleteKeepsANumberWhoseFileCouldNotMove) {
    // A page whose file does not exist yet (named but never saved) simply takes the number.
    PageList list = MakePages(MemoPageKind::PerStock, {{"A", 1}});
    list.push_back({"B", 2});
    ASSERT_TRUE(DeletePage(store, MemoPageKind::PerStock, list, 0).done);
    EXPECT_EQ(list, (PageList{{"B", 1}}));

    // A file that cannot move stops the delete before anything changed, so the numbers stay
    // 1 to N: here the target name is taken by a folder.
    list = MakePages(MemoPageKind::PerStock, {{"B", 1}, {"C", 2}, {"D", 3}});
    ASSERT_TRUE(platform::RemoveFile(Path("M_2.ini")));
    ASSERT_EQ(::mkdir(Path("M_2.ini").c_str(), 0755), 0);
    EXPECT_FALSE(DeletePage(store, MemoPageKind::PerStock, list, 1).done);
    EXPECT_EQ(list, (PageList{{"B", 1}, {"C", 2}, {"D", 3}}));
    EXPECT_EQ(PageContent(MemoPageKind::PerStock, 3), "D");
    EXPECT_EQ(LoadPageList(store, MemoPageKind::PerStock), list);
}

TEST_F(PageListFiles, DeleteRefusals) {
    PageList list = PlaceholderList();
    EXPECT_FALSE(DeletePage(store, MemoPageKind::PerStock, list, 0).done);
    list = MakePages(MemoPageKind::PerStock, {{"A", 1}, {"B", 2}});
    EXPECT_FALSE(DeletePage(store, MemoPageKind::PerStock, list, 2).done);
    EXPECT_FALSE(DeletePage(store, MemoPageKind::PerStock, list, -1).done);
    ASSERT_TRUE(store.open("Calc.ini", MemoFileKind::Ini, true));
    EXPECT_FALSE(DeletePage(store, MemoPageKind::PerStock, list, 0).done);
    store.close();
    EXPECT_EQ(list, (PageList{{"A", 1}, {"B", 2}}));
    EXPECT_TRUE(Exists("M_1.ini"));
}

TEST_F(PageListFiles, RewriteFollowsListOrderAndKeepsTheFontSize) {
    // Reorder, rename and delete each rewrite the whole index; the free-form font size stays.
    struct Case {
        const char* what;
        std::function<void(PageList&)> change;
        std::vector<std::string> sections;
    };
    const MemoPageKind N = MemoPageKind::FreeForm;
    const Case cases[] = {
        {"reorder", [&](PageList& l) { ASSERT_TRUE(RewritePageIndex(store, N, l = {{"C", 3}, {"A", 1}, {"B", 2}})); },
         {"FONT", "C", "A", "B"}},
        {"rename",
         [&](PageList& l) {
             l[1].name = "Z";
             ASSERT_TRUE(RewritePageIndex(store, N, l));
         },
         {"FONT", "A", "Z", "C"}},
        {"delete", [&](PageList& l) { ASSERT_TRUE(DeletePage(store, N, l, 0).indexRewritten); }, {"FONT", "B", "C"}},
        {"delete all",
         [&](PageList& l) {
             for (int n = 0; n < 3; ++n) ASSERT_TRUE(DeletePage(store, N, l, 0).indexRewritten);
         },
         {"FONT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PageList list = MakePages(N, {{"A", 1}, {"B", 2}, {"C", 3}});
        ASSERT_TRUE(SavePageIndexEntry(store, N, {"A", 1}, 3));
        c.change(list);
        platform::ProfileFile index(Path("N00index.ini"));
        EXPECT_EQ(index.Sections(), c.sections);
        EXPECT_EQ(index.ReadString("FONT", "SIZE", ""), "3");
        EXPECT_EQ(LoadPageList(store, N), list);
    }
    // The per-stock index has no font size to keep.
    ASSERT_TRUE(SavePageIndexEntry(store, MemoPageKind::PerStock, {"A", 1}));
    ASSERT_TRUE(RewritePageIndex(store, MemoPageKind::PerStock, {{"A", 1}}));
    EXPECT_EQ(platform::ProfileFile(Path("M00index.ini")).Sections(), (std::vector<std::string>{"A"}));
}

TEST_F(PageListFiles, SavingAnIndexEntry) {
    EXPECT_EQ(LoadPageList(store, MemoPageKind::PerStock), PlaceholderList());
    EXPECT_FALSE(Exists("M00index.ini"));  // loading does not create the index

    ASSERT_TRUE(SavePageIndexEntry(store, MemoPageKind::PerStock, {"A", 1}));
    ASSERT_TRUE(SavePageIndexEntry(store, MemoPageKind::PerStock, {"B", 2}));
    ASSERT_TRUE(SavePageIndexEntry(store, MemoPageKind::PerStock, {"A", 1}));
    EXPECT_EQ(LoadPageList(store, MemoPageKind::PerStock), (PageList{{"A", 1}, {"B", 2}}));

    // Numbers the index would drop are not saved as if they stuck.
    EXPECT_FALSE(SavePageIndexEntry(store, MemoPageKind::PerStock, {"Z", 0}));
    EXPECT_FALSE(SavePageIndexEntry(store, MemoPageKind::PerStock, {"Z", -1}));
    EXPECT_EQ(LoadPageList(store, MemoPageKind::PerStock), (PageList{{"A", 1}, {"B", 2}}));

    // Only a font section: no page.
    testing::MemoStoreTest::PutFile("N00index.ini", "[FONT]\r\nSIZE=2\r\n");
    EXPECT_EQ(LoadPageList(store, MemoPageKind::FreeForm), PlaceholderList());
}

TEST_F(PageListFiles, RewriteRefusedWhenTheOldIndexCannotGo) {
    testing::WherePermissionsBind(tmp.Path(), [&] {
        const PageList pages = MakePages(MemoPageKind::PerStock, {{"A", 1}, {"B", 2}});
        const std::string before = FileBytes(Path("M00index.ini"));
        ASSERT_EQ(::chmod(data.c_str(), 0555), 0);
        EXPECT_FALSE(RewritePageIndex(store, MemoPageKind::PerStock, {{"B", 2}, {"A", 1}}));
        EXPECT_EQ(FileBytes(Path("M00index.ini")), before);
        EXPECT_FALSE(SavePageIndexEntry(store, MemoPageKind::PerStock, {"C", 3}));
    });
}

}  // namespace
}  // namespace zavota
