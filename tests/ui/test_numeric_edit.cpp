#include <QClipboard>

#include "UiTest.h"
#include "ui/NumericEdit.h"

namespace zavota::testing {
namespace {

class NumericEditTest : public UiTest {};

TEST_F(NumericEditTest, KeysOfEachKindAndTheChangeCheck) {
    struct Case {
        FieldKind kind;
        const char* typed;
        const char* expected;
    } cases[] = {
        {FieldKind::WholeNumber, "1,234a", "1234"},
        {FieldKind::WholeNumber, "-5.5", "55"},
        {FieldKind::WholeNumber, "+12", "+12"},
        {FieldKind::Decimal, "12.5%", "12.5"},
        {FieldKind::SignedWholeNumber, "-300", "-300"},
        {FieldKind::SignedWholeNumber, "3.0", "30"},
    };
    for (const Case& c : cases) {
        ui::NumericEdit edit(c.kind, &State().messages);
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(edit.text().toStdString(), c.expected) << c.typed;
    }
    EXPECT_TRUE(Messages().numbers.empty());
}

TEST_F(NumericEditTest, PastedTextIsCheckedNotFiltered) {
    ui::NumericEdit edit(FieldKind::WholeNumber, &State().messages);
    QGuiApplication::clipboard()->setText("1,000,000");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1000000");
    EXPECT_EQ(edit.cursorPosition(), 7);  // the caret stays behind what was pasted

    QGuiApplication::clipboard()->setText("12円");
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(Messages().numbers, std::vector<int>{200});

    // Without a catalogue (a commission typed over) the text is filtered but not checked.
    ui::NumericEdit figure(FieldKind::WholeNumber, nullptr);
    figure.setText("abc");
    EXPECT_EQ(figure.text(), "abc");
    EXPECT_EQ(Messages().numbers.size(), 1u);
}

}  // namespace
}  // namespace zavota::testing
