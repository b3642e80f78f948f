// Every window as a screen reader reads it: each input, figure box, list, grid, combo box and
// button says what it is, not nothing, not its group's title, not its current value, no two
// boxes of a kind alike, and a button that shows only a symbol says what it does.
#include <map>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include "ui/MainWindowTest.h"
#include "ui/calculator/Aboutunit.h"
#include "ui/calculator/Clipunit.h"
#include "ui/calculator/Keihiunit.h"
#include "ui/calculator/Slimunit.h"
#include "ui/common/ReaderNames.h"
#include "memo/PageList.h"
#include "ui/memo/Memoname.h"
#include "ui/memo/Memoseq.h"
#include "ui/memo/Memounit.h"
#include "ui/options/Marginunit.h"
#include "ui/options/Yobineunit.h"

namespace zavota::testing {
namespace {

QString Read(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a != nullptr ? a->text(t).trimmed() : QString();
}

// The faults of the controls the user can see in `window`, one line each.
std::vector<std::string> Faults(QWidget* window, const std::string& where) {
    std::vector<std::string> faults;
    std::map<QString, QWidget*> boxes;  // by kind and name: two boxes a reader cannot tell apart
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // Headers are read as the column names of their grid.
        if (!w->isVisibleTo(window) || qobject_cast<QHeaderView*>(w)) continue;
        // Parts of another control: a combo box's own edit, a grid's cell editor.
        if (qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
            (w->parentWidget() && qobject_cast<QAbstractItemView*>(w->parentWidget()->parentWidget())))
            continue;
        const bool box = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                         qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
                         qobject_cast<QTabBar*>(w);
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (!box && button == nullptr) continue;
        const QString name = Read(w, QAccessible::Name);
        std::string fault;
        if (name.isEmpty()) fault = "no name";
        for (auto* g = qobject_cast<QGroupBox*>(w->parentWidget()); g != nullptr && fault.empty();
             g = qobject_cast<QGroupBox*>(g->parentWidget()))
            if (name == g->title()) fault = "named after its group";
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && fault.empty() && !combo->currentText().isEmpty() &&
                                                        name == combo->currentText())
            fault = "named by its value";
        static const QRegularExpression symbol(QStringLiteral("^([A-Za-z]\\d?|[^\\p{L}]{1,2})$"));  // "M1", "▲", "％"
        if (button != nullptr && fault.empty() && symbol.match(name).hasMatch() &&
            Read(w, QAccessible::Description).isEmpty())
            fault = "a symbol without a description";
        // A figure and an input may share a name: the reader hears one as read-only.
        auto* line = qobject_cast<QLineEdit*>(w);
        const QString kind = line != nullptr && line->isReadOnly() ? QStringLiteral("figure ") : QString();
        if (auto [seen, fresh] = box ? boxes.emplace(kind + name, w) : std::pair{boxes.end(), true}; !fresh && fault.empty())
            fault = "named like " + seen->second->objectName().toStdString();
        if (!fault.empty())
            faults.push_back(where + ": " + w->objectName().toStdString() + " (" + w->metaObject()->className() +
                             " \"" + name.toStdString() + "\") " + fault);
    }
    return faults;
}

class ReaderNamesTest : public MainWindowTest {
protected:
    // The window shown (a dialog shown, not run: nothing waits for its answer) and walked once
    // per page that `choose` brings up.
    void Walk(QWidget* window, const std::string& where, int pages = 1, const std::function<void(int)>& choose = {}) {
        if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->setWindowModality(Qt::NonModal);
        window->show();
        for (int page = 0; page < pages; ++page) {
            if (choose) choose(page);
            Settle();
            for (const std::string& f : Faults(window, where + " " + std::to_string(page))) faults_ += f + "\n";
        }
    }
    std::string faults_;
};

// A name taken from a label's caption: the access key's "&" goes, "&&" reads as "&", and the
// spaces that line captions up (full-width ones too) are not read out.
TEST(ReaderNames, LabelCaptionsBecomeNames) {
    const struct {
        const char *caption, *name;
    } cases[] = {{"売値(&S)", "売値(S)"}, {"\u3000株数\u3000", "株数"}, {" 手数料 ", "手数料"},
                 {"A&&B", "A&B"},        {"\u3000&P\u3000単価：", "P\u3000単価："}};
    for (const auto& c : cases) {
        QWidget window;
        QLabel label(QString::fromUtf8(c.caption), &window);
        QLineEdit edit(&window);
        QComboBox combo(&window);
        ui::NameByLabel(&label, &edit);
        ui::NameByLabel(&label, &combo);
        EXPECT_EQ(edit.accessibleName().toStdString(), c.name) << c.caption;
        EXPECT_EQ(combo.accessibleName().toStdString(), c.name) << c.caption;
    }
}

TEST_F(ReaderNamesTest, EveryWindowNamesEveryControl) {
    State().option().TwoFlag = 1;  // the second table lists shown too
    Open();
    auto* tabs = Find<QTabWidget>(W(), "pgcCalcInput");
    Walk(W(), "main", 2, [tabs](int page) { tabs->setCurrentIndex(page); });
    tabs->setCurrentIndex(2);
    const char* selectors[] = {"btnCalc_Opt", "btnMargin_Opt", "btnTax_Opt", "btnWake_Opt", "btnColor_Opt"};
    Walk(W(), "options", 5, [&](int page) { Click(W(), selectors[page]); });
    tabs->setCurrentIndex(0);

    ui::TSlimForm slim(State(), *adjust_);
    slim.Run();
    Walk(&slim, "slim");
    ui::TfrmKeihi keihi(State());
    Walk(&keihi, "expenses", 5, [&](int tab) { Find<QTabBar>(&keihi, "tabKeihi")->setCurrentIndex(tab); });
    Walk(adjust_.get(), "adjustment");
    ui::TfrmClip clip(State());
    Walk(&clip, "clipboard");
    dialogs.Expect("frmAbout", [this](QWidget* about) {
        for (const std::string& f : Faults(about, "about")) faults_ += f + "\n";
        about->close();
    });
    ui::RunAboutDialog(State(), W());
    ui::TfrmMargin margin(State(), 0, 2);
    Walk(&margin, "commission editor");
    ui::TfrmYobine yobine(State());
    Walk(&yobine, "tick-size editor");
    ui::TfrmMemo memo(State(), [] { return nullptr; });
    Walk(&memo, "memo", 4, [&](int tab) { memo.findChild<QTabWidget*>()->setCurrentIndex(tab); });
    const PageList pages = PlaceholderList();
    ui::TfrmMemoName name(State(), pages, MemoPageKind::PerStock, QString());
    Walk(&name, "page name");
    ui::TfrmMemoSeq order(pages);
    Walk(&order, "page order");
    EXPECT_EQ(faults_, "");
}

// What a reader hears from a combo box and a tab strip: the label as the name, the current
// choice as the value and the text, the list as the first child; the current tab selected.
TEST_F(ReaderNamesTest, CombosGiveTheirChoiceAndStripsKeepTheirName) {
    Open();
    ui::TSlimForm slim(State(), *adjust_);
    slim.Run();
    ui::TfrmMemo memo(State(), [] { return nullptr; });
    const struct {
        QWidget* window;
        const char* combo;
        const char* name;
    } cases[] = {{W(), "cmbTax_K", "現物／信用"},     {W(), "cmbTable_U", "手数料テーブル"}, {W(), "cmbTable2_K", "売り"},
                 {&slim, "cmbTax_K", "現物／信用"},   {&slim, "cmbTable_K", "手数料テーブル"},
                 {&memo, "cmbS4", "小数第何位まで求めるか"}, {&memo, "cmbTitle_01", "ページ"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.combo);
        auto* combo = Find<QComboBox>(c.window, c.combo);
        if (combo->count() < 2) combo->addItems({QStringLiteral("甲"), QStringLiteral("乙")});
        for (int index : {1, 0}) {
            combo->setCurrentIndex(index);
            QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(combo);
            ASSERT_NE(reader, nullptr);
            EXPECT_EQ(reader->role(), QAccessible::ComboBox);
            EXPECT_EQ(reader->text(QAccessible::Name), QString::fromUtf8(c.name));
            EXPECT_EQ(reader->text(QAccessible::Value), combo->itemText(index));
            ASSERT_NE(reader->textInterface(), nullptr);
            EXPECT_EQ(reader->textInterface()->text(0, -1), combo->itemText(index));
            QAccessibleInterface* list = reader->child(0);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->role(), QAccessible::List);
            EXPECT_EQ(list->childCount(), combo->count());
            EXPECT_NE(reader->actionInterface(), nullptr);
        }
    }

    auto* strip = Find<QTabWidget>(W(), "pgcCalcInput")->tabBar();
    for (int tab : {1, 0}) {
        strip->setCurrentIndex(tab);
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(strip);
        EXPECT_EQ(reader->role(), QAccessible::PageTabList);
        EXPECT_EQ(reader->text(QAccessible::Name), QStringLiteral("計算ページの切替"));
        for (int i = 0; i < strip->count(); ++i) {
            QAccessibleInterface* t = reader->child(i);
            EXPECT_EQ(t->text(QAccessible::Name), strip->tabText(i));
            EXPECT_EQ(t->state().selected, i == tab) << i;
            EXPECT_EQ(reader->indexOfChild(t), i);
        }
    }
}

}  // namespace
}  // namespace zavota::testing
