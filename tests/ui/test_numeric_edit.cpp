#include "UiTest.h"
#include "ui/NumericEdit.h"

namespace zavota::testing {
namespace {
class NumericEditTest : public UiTest {};
TEST_F(NumericEditTest, Placeholder) {
    ui::NumericEdit e(FieldKind::WholeNumber, &State().messages);
    QTest::keyClicks(&e, "1,234a");
    EXPECT_EQ(e.text(), "1234");
}
}  // namespace
}  // namespace zavota::testing
