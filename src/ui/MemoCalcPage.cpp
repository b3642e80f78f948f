#include "ui/MemoCalcPage.h"

#include "memo/MemoStore.h"
#include "ui/AppState.h"

namespace zavota::ui {

TMemoCalcPage::TMemoCalcPage(AppState& state, MemoStore& store, QWidget* parent)
    : QWidget(parent), state_(state), store_(store) {}

TMemoCalcPage::~TMemoCalcPage() = default;

void TMemoCalcPage::Load() {}

bool TMemoCalcPage::Save() { return true; }

void TMemoCalcPage::FocusGrid() {}

}  // namespace zavota::ui
