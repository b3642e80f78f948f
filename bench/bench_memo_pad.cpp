// A press of "保存" in the memo pad on a full per-stock page: the grid read from the window, the
// index entry and the page file each put on disk as one replace, the save notice started.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "bench_folder.h"
#include "memo/MemoPages.h"
#include "ui/memo/Memounit.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "zavota_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    return app;
}

// The store-level save a press makes: index entry, then the 81 values of the page.
void BM_MemoSaveStockPage(benchmark::State& state) {
    zavota_bench::BenchFolder folder;
    zavota::platform::NamedMutex mutex("VekkarMutex", folder.Path());
    zavota::MemoStore store(folder.Path(), mutex);
    zavota::StockGrid grid;
    for (int r = 0; r < zavota::kMemoRows; ++r)
        grid[r] = {"2024/01/" + std::to_string(r + 1), std::to_string(1000 + r * 13), "1," + std::to_string(100 + r) + "00",
                   true};
    for (auto _ : state) {
        if (!zavota::SaveStockPage(store, {"トヨタ自動車", 1}, grid)) state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MemoSaveStockPage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemoPadSavePress(benchmark::State& state) {
    App();
    zavota_bench::BenchFolder folder;
    setenv("ZAVOTA_HOME", folder.Path().c_str(), 1);
    setenv("ZAVOTA_REGISTRY", (folder.Path() + "Vekkar.reg").c_str(), 1);
    zavota::ui::AppState appState(folder.Path() + "Vekkar.reg");
    zavota::ui::TfrmMemo memo(appState, [] { return nullptr; });
    memo.show();
    QApplication::processEvents();
    // A named page with every cell filled and every row ticked.
    zavota::StockGrid empty{};
    if (!zavota::SaveStockPage(memo.Store(), {"トヨタ自動車", 1}, empty)) state.SkipWithError("setup");
    memo.hide();
    memo.show();
    auto* grid = memo.findChild<QTableWidget*>(QStringLiteral("grdMemo"));
    for (int r = 0; r < zavota::kMemoRows; ++r) {
        grid->item(r, 0)->setText(QStringLiteral("2024/01/%1").arg(r + 1));
        grid->item(r, 1)->setText(QString::number(1000 + r * 13));
        grid->item(r, 2)->setText(QStringLiteral("1,%1").arg(100 + r * 10));
        memo.findChild<QCheckBox*>(QStringLiteral("chkS%1").arg(r + 1))->setChecked(true);
    }
    auto* save = memo.findChild<QPushButton*>(QStringLiteral("btnSave"));
    auto* notice = memo.findChild<QTimer*>(QStringLiteral("timCaption"));
    for (auto _ : state) {
        save->click();
        state.PauseTiming();
        if (!notice->isActive()) state.SkipWithError("save failed");
        notice->stop();
        save->setEnabled(true);
        state.ResumeTiming();
    }
    memo.hide();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MemoPadSavePress)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
