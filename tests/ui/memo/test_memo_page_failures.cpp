// The memo pad tells of every page operation that did not take effect, and of a delete journal
// it would not apply.
#include <QListWidget>
#include <QTableWidget>

#include <string>
#include <vector>

#include "memo/PageList.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "support/FileFaults.h"
#include "support/LockHolder.h"
#include "ui/UiTest.h"
#include "ui/memo/Memounit.h"

namespace zavota::testing {
namespace {

class MemoPageFailureTest : public UiTest {
protected:
    ~MemoPageFailureTest() override {
        if (memo_) memo_->hide();
    }
    ui::TfrmMemo* Open() {
        memo_ = std::make_unique<ui::TfrmMemo>(State(), [] { return nullptr; });
        memo_->show();
        Settle();
        return memo_.get();
    }
    std::string DataPath(const std::string& name) const { return Home().HomePath() + "Data/" + name; }
    void Put(const std::string& name, const std::vector<platform::ProfileEntry>& values) {
        platform::EnsureFolder(Home().HomePath() + "Data/");
        ASSERT_TRUE(platform::ProfileFile(DataPath(name)).WriteBatch(values));
    }
    void PutPages() {
        // Each page's name is its first comment.
        Put("M00index.ini", {{"1", "FileNo", "1"}, {"2", "FileNo", "2"}, {"3", "FileNo", "3"}});
        for (const char* n : {"1", "2", "3"})
            Put(std::string("M_") + n + ".ini", {{"銘柄（ページ名）", "Name", n}, {"コメント", "1", n}});
    }
    std::unique_ptr<ui::TfrmMemo> memo_;
};

TEST_F(MemoPageFailureTest, AFailedDeleteOrReorderIsSaidAndNothingIsLost) {
    struct Case {
        const char* button;
        platform::FileStep step;
        const char* path;  // the file whose step fails
        std::vector<int> messages;
        const char* shown;  // the position label afterwards
        std::vector<std::string> atRestart;
    };
    const Case cases[] = {
        // The journal, then the file move: nothing changed.
        {"btnDelete", platform::FileStep::Create, "M00index.ini.delete", {6, 263}, "1/3", {"1", "2", "3"}},
        {"btnDelete", platform::FileStep::Rename, "M_1.ini", {6, 263}, "1/3", {"1", "2", "3"}},
        // The index: the files moved, so the delete shows, and the next start finishes it.
        {"btnDelete", platform::FileStep::Rename, "M00index.ini", {6, 263}, "1/2", {"2", "3"}},
        // A failed reorder shows the order the index still has.
        {"btnChange", platform::FileStep::Rename, "M00index.ini", {263}, "1/3", {"1", "2", "3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + c.path);
        PutPages();
        Open();
        Messages().Clear();
        Messages().answers = {MessageAnswer::Ok};
        if (std::string(c.button) == "btnChange")
            dialogs.Expect("frmMemoSeq", [](QWidget* d) {
                Find<QListWidget>(d, "lstPages")->setCurrentRow(2);
                Click(d, "btnUp");
                Click(d, "btnClose");
            });
        {
            FileStepHookGuard fault([&](platform::FileStep step, const std::string& path) {
                return step == c.step && path.ends_with(c.path) ? EIO : 0;
            });
            Click(memo_.get(), c.button);
            Settle();
        }
        EXPECT_EQ(Messages().numbers, c.messages);
        EXPECT_EQ(Text(memo_.get(), "lblPage_01"), c.shown);
        memo_.reset();
        // The next start: every page once, with its own notes.
        MemoStore store(DataPath(""), State().store.Mutex());
        std::vector<std::string> names;
        for (const MemoPageEntry& e : LoadPageList(store, MemoPageKind::PerStock)) {
            names.push_back(e.name);
            EXPECT_EQ(platform::ProfileFile(DataPath("M_" + std::to_string(e.number) + ".ini")).ReadString("コメント", "1", ""),
                      e.name);
        }
        EXPECT_EQ(names, c.atRestart);
        EXPECT_FALSE(platform::FileExists(DataPath("M00index.ini.delete")));
        for (const char* n : {"M_1.ini", "M_2.ini", "M_3.ini", "M00index.ini"}) platform::RemoveFile(DataPath(n));
    }
}

TEST_F(MemoPageFailureTest, AJournalForAnotherListIsSetAsideAndSaid) {
    PutPages();
    // Written for a list that had a page D: not this one.
    Put("M00index.ini.delete", {{"Delete", "Name", "B"}, {"Delete", "To", "2"}, {"Delete", "From", "3"},
                                {"Delete", "Move", "1"}, {"Before", "Count", "1"}, {"Before", "1", "4,D"},
                                {"After", "Count", "0"}});
    Open();
    ASSERT_EQ(Messages().numbers, std::vector<int>{297});
    EXPECT_NE(Messages().texts[0].find("M00index.ini.delete.stale-"), std::string::npos);
    EXPECT_FALSE(platform::FileExists(DataPath("M00index.ini.delete")));
    EXPECT_EQ(Text(memo_.get(), "lblPage_01"), "1/3");
    for (const char* n : {"1", "2", "3"})
        EXPECT_EQ(platform::ProfileFile(DataPath(std::string("M_") + n + ".ini")).ReadString("コメント", "1", ""), n);
}

TEST_F(MemoPageFailureTest, ASaveWhileAnotherProgramKeepsTheLockIsSaidAndTheTextStays) {
    PutPages();
    Open();
    State().store.Mutex().SetWaitLimit(200);
    auto* grid = Find<QTableWidget>(memo_.get(), "grdMemo");
    grid->item(1, 0)->setText(QStringLiteral("typed"));
    const auto row2 = [&] { return platform::ProfileFile(DataPath("M_1.ini")).ReadString("コメント", "2", ""); };
    Messages().Clear();
    {
        LockHolder other(State().store.Mutex().LockPath());
        ASSERT_TRUE(other.Held());
        Click(memo_.get(), "btnSave");
        Settle();
        EXPECT_EQ(Messages().numbers, std::vector<int>{300});
        EXPECT_EQ(row2(), "");
    }
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("typed"));
    Messages().Clear();
    Click(memo_.get(), "btnSave");
    Settle();
    EXPECT_TRUE(Messages().numbers.empty());
    EXPECT_EQ(row2(), "typed");
}

}  // namespace
}  // namespace zavota::testing
