// Two programs on one data folder: this process's memo pad and another process (memo_peer)
// that changes the per-stock list after the window loaded it. Every page must end up once,
// under its name, with its own notes.
#include <QComboBox>
#include <QTableWidget>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

#include "memo/PageList.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "ui/UiTest.h"
#include "ui/memo/Memounit.h"

extern char** environ;

namespace zavota::testing {
namespace {

class TwoProgramsTest : public UiTest {
protected:
    ~TwoProgramsTest() override {
        if (memo_) memo_->hide();
    }
    std::string DataPath(const std::string& name) const { return Home().HomePath() + "Data/" + name; }
    void PutPages(const std::vector<std::string>& names) {
        platform::EnsureFolder(DataPath(""));
        std::vector<platform::ProfileEntry> index;
        for (std::size_t n = 1; n <= names.size(); ++n) {
            index.push_back({names[n - 1], "FileNo", std::to_string(n)});
            ASSERT_TRUE(platform::ProfileFile(DataPath("M_" + std::to_string(n) + ".ini"))
                            .WriteBatch({{"コメント", "1", names[n - 1]}}));
        }
        ASSERT_TRUE(platform::ProfileFile(DataPath("M00index.ini")).ReplaceAll(index));
    }
    ui::TfrmMemo* Open() {
        memo_ = std::make_unique<ui::TfrmMemo>(State(), [] { return nullptr; });
        memo_->show();
        Settle();
        return memo_.get();
    }
    // The other program, run to its end.
    int Peer(const char* op, const char* name) {
        const std::string data = DataPath(""), mutexFolder = platform::FolderOf(State().store.HivePath());
        const char* argv[] = {ZAVOTA_MEMO_PEER, data.c_str(), mutexFolder.c_str(), op, name, nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, ZAVOTA_MEMO_PEER, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return -1;
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    QTableWidget* Grid() { return Find<QTableWidget>(memo_.get(), "grdMemo"); }
    void NameNextPage(const char* name) {
        dialogs.Expect("frmMemoName", [name](QWidget* d) {
            Paste(d, "edtName", QString::fromUtf8(name));
            Click(d, "btnOk");
        });
    }
    std::string Comment(int number, int row) {
        return platform::ProfileFile(DataPath("M_" + std::to_string(number) + ".ini"))
            .ReadString("コメント", std::to_string(row), "");
    }
    // The pages as the next start shows them; each must hold its own notes, once.
    std::set<std::string> PagesAtRestart() {
        MemoStore store(DataPath(""), State().store.Mutex());
        std::set<std::string> names;
        int count = 0;
        for (const MemoPageEntry& e : LoadPageList(store, MemoPageKind::PerStock)) {
            EXPECT_EQ(Comment(e.number, 1), e.name) << "page " << e.number;
            EXPECT_TRUE(names.insert(e.name).second) << "listed twice: " << e.name;
            EXPECT_EQ(e.number, ++count) << e.name;
        }
        return names;
    }
    std::unique_ptr<ui::TfrmMemo> memo_;
};

TEST_F(TwoProgramsTest, NoPageIsLostMixedOrDuplicated) {
    struct Case {
        const char* what;
        const char* peerOp;
        const char* peerName;
        std::function<void()> before;  // this window, before the other program acts
        std::function<void()> after;   // this window, on its stale list
        std::set<std::string> pages;
        const char* typed = nullptr;  // the page that must hold "typed" in row 2
    };
    const Case cases[] = {
        {"the other deletes the page being edited", "delete", "B",
         [&] {
             Find<QComboBox>(memo_.get(), "cmbTitle_01")->setCurrentIndex(1);
             Settle();
             Grid()->item(1, 0)->setText(QStringLiteral("typed"));
         },
         // Its edit comes back as a page of its own.
         [&] { Click(memo_.get(), "btnSave"); }, {"A", "B", "C"}, "B"},
        {"both add a page", "new", "D", [] {},
         [&] {
             for (int i = 0; i < 2; ++i) {
                 Messages().answers = {MessageAnswer::No};  // not a copy of the shown page
                 NameNextPage("E");
                 Click(memo_.get(), "btnNew");
                 Settle();
             }
             Grid()->item(0, 0)->setText(QStringLiteral("E"));
             Click(memo_.get(), "btnSave");
         },
         {"A", "B", "C", "D", "E"}},
        {"a reorder from a stale list", "new", "D", [] {}, [&] { Click(memo_.get(), "btnChange"); },
         {"A", "B", "C", "D"}},
        {"both delete a page", "delete", "C", [] {},
         [&] {
             Messages().answers = {MessageAnswer::Ok};
             Click(memo_.get(), "btnDelete");
         },
         {"A", "B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* f : {"M_1.ini", "M_2.ini", "M_3.ini", "M_4.ini", "M_5.ini", "M00index.ini"})
            platform::RemoveFile(DataPath(f));
        PutPages({"A", "B", "C"});
        Open();
        c.before();
        ASSERT_EQ(Peer(c.peerOp, c.peerName), 0);
        Messages().Clear();
        c.after();
        Settle();
        EXPECT_EQ(std::count(Messages().numbers.begin(), Messages().numbers.end(), 298), 1)
            << ::testing::PrintToString(Messages().numbers);
        EXPECT_EQ(std::count(Messages().numbers.begin(), Messages().numbers.end(), 263), 0);
        if (c.typed != nullptr) {
            EXPECT_EQ(Text(memo_.get(), "cmbTitle_01"), c.typed);
        }
        memo_.reset();
        EXPECT_EQ(PagesAtRestart(), c.pages);
        MemoStore store(DataPath(""), State().store.Mutex());
        for (const MemoPageEntry& e : LoadPageList(store, MemoPageKind::PerStock))
            EXPECT_EQ(Comment(e.number, 2), c.typed != nullptr && e.name == c.typed ? "typed" : "") << e.name;
    }
}

}  // namespace
}  // namespace zavota::testing
