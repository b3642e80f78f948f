#include <QClipboard>

#include "ui/UiTest.h"
#include "ui/common/NumericEdit.h"

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

TEST_F(NumericEditTest, PasteLongerThanTheFieldIsRefusedWholeNeverCut) {
    struct Case {
        FieldKind kind;
        int limit;
        const char* before;
        const char* pasted;
        const char* expected;
        bool refused;
    } cases[] = {
        // The separators go first: what is left fits.
        {FieldKind::WholeNumber, 10, "", "123,456,789", "123456789", false},
        {FieldKind::WholeNumber, 10, "", "1,234,567,890", "1234567890", false},
        {FieldKind::Decimal, 7, "", "1,234.56", "1234.56", false},
        // Still too long: message 200, and the field keeps what it had.
        {FieldKind::WholeNumber, 10, "500", "12,345,678,901", "500", true},
        {FieldKind::Decimal, 7, "2.5", "12,345.678", "2.5", true},
        {FieldKind::SignedWholeNumber, 11, "-3", "-100,000,000,000", "-3", true},
        {FieldKind::WholeNumber, 3, "30", "1000", "30", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        Messages().Clear();
        ui::NumericEdit edit(c.kind, &State().messages, nullptr, c.limit);
        edit.setText(c.before);
        edit.selectAll();
        QGuiApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit.text().toStdString(), c.expected);
        EXPECT_EQ(Messages().numbers, c.refused ? std::vector<int>{200} : std::vector<int>{});
    }

    // Typing into a full field is silently ignored, as before.
    ui::NumericEdit edit(FieldKind::WholeNumber, &State().messages, nullptr, 3);
    Messages().Clear();
    QTest::keyClicks(&edit, "12345");
    EXPECT_EQ(edit.text(), "123");
    EXPECT_TRUE(Messages().numbers.empty());
}

}  // namespace
}  // namespace zavota::testing
