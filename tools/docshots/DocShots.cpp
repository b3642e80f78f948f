// Takes a picture of each window of the program, with example figures, into a folder:
// zavota-docshots FOLDER. Works on a throw-away program folder and hive; writes no settings.
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "ui/calculator/Baseunit.h"
#include "ui/calculator/Mainunit.h"
#include "ui/options/Marginunit.h"
#include "ui/common/QtMessagePresenter.h"
#include "ui/common/Translations.h"
#include "ui/options/Yobineunit.h"

namespace {

QString folder;
int failures = 0;

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Lets the memo pad's save notice run out.
void Wait(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Save(QWidget* window, const char* name) {
    Settle();
    const QString path = folder + QLatin1Char('/') + QString::fromUtf8(name);
    if (window->grab().save(path)) {
        std::printf("%s\n", path.toLocal8Bit().constData());
    } else {
        std::fprintf(stderr, "could not write %s\n", path.toLocal8Bit().constData());
        ++failures;
    }
}

void Fill(QWidget* w, const char* name, const char* text) {
    if (auto* e = w->findChild<QLineEdit*>(QString::fromUtf8(name))) e->setText(QString::fromUtf8(text));
}

void Press(QWidget* w, const char* name) {
    if (auto* b = w->findChild<QAbstractButton*>(QString::fromUtf8(name))) b->click();
    Settle();
}

// When the next modal dialog appears: picture it (unless `name` is null), then `finish` closes it
// (fills a field, presses a button).
void ArmDialog(const char* name, const std::function<void(QWidget*)>& finish) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, name, finish] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        if (name != nullptr) Save(modal, name);
        finish(modal);
    });
    timer->start();
}

// `open` opens a modal dialog, answered as ArmDialog says.
void AnswerDialog(const char* name, const std::function<void(QWidget*)>& finish, const std::function<void()>& open) {
    ArmDialog(name, finish);
    open();
    Settle();
}

// The next modal dialog is prepared, pictured and closed; `open` is what opens it.
void PictureDialog(const char* name, const std::function<void(QWidget*)>& prepare, const std::function<void()>& open) {
    AnswerDialog(
        nullptr,
        [name, prepare](QWidget* modal) {
            if (prepare) prepare(modal);
            Save(modal, name);
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            else modal->close();
        },
        open);
}

void NamePage(QWidget* dialog, const char* name) {
    Fill(dialog, "edtName", name);
    Press(dialog, "btnOk");
}

// The memo pad with two per-stock pages, a free-form page and its dialogs.
void PictureMemoPad(zavota::ui::TBaseForm& base) {
    base.State().Post(zavota::ui::ShowMemoPad);
    Settle();
    QWidget* memo = base.State().memoPad;
    auto* grid = memo->findChild<QTableWidget*>(QStringLiteral("grdMemo"));
    auto* tabs = memo->findChild<QTabWidget*>(QStringLiteral("tabMemo"));
    struct Row {
        const char* date;
        const char* price;
        const char* shares;
    };
    auto fill = [&](std::initializer_list<Row> rows) {
        int r = 0;
        for (const Row& row : rows) {
            grid->item(r, 0)->setText(QString::fromUtf8(row.date));
            grid->item(r, 1)->setText(QString::fromUtf8(row.price));
            grid->item(r, 2)->setText(QString::fromUtf8(row.shares));
            ++r;
        }
        Press(memo, "btnAllSelect");
    };
    fill({{"2024/03/04", "980", "1,000"}, {"2024/05/20", "1,050", "500"}, {"2024/08/07", "910", "1,500"}});
    AnswerDialog("memo-name.png", [](QWidget* d) { NamePage(d, "北海電機"); }, [&] { Press(memo, "btnSave"); });
    // "新規" on a page with rows asks first whether to copy it: no, a fresh page.
    AnswerDialog(
        nullptr,
        [](QWidget* box) {
            ArmDialog(nullptr, [](QWidget* d) { NamePage(d, "南洋商事"); });
            if (auto* b = qobject_cast<QMessageBox*>(box)) b->button(QMessageBox::No)->click();
        },
        [&] { Press(memo, "btnNew"); });
    fill({{"2024/02/01", "2,340", "300"}, {"2024/09/13", "2,105", "200"}});
    Press(memo, "btnPrev");
    Wait(1100);
    Save(memo, "memo-stock.png");
    tabs->setCurrentIndex(1);
    Save(memo, "memo-summary.png");
    tabs->setCurrentIndex(2);
    if (auto* text = memo->findChild<QPlainTextEdit*>(QStringLiteral("redtMemo")))
        text->setPlainText(QString::fromUtf8("決算発表：11月8日\n・北海電機　1,000円で半分利確\n・配当落ち日を確認する"));
    AnswerDialog(nullptr, [](QWidget* d) { NamePage(d, "売買計画"); }, [&] { Press(memo, "btnSave"); });
    Wait(1100);
    Save(memo, "memo-free.png");
    tabs->setCurrentIndex(3);
    if (auto* page = memo->findChild<QWidget*>(QStringLiteral("pnlMemo04"))) {
        if (auto* cells = page->findChild<QTableWidget*>(QStringLiteral("grdCalc"))) {
            const char* texts[] = {"1,250", "1,180", "1,302.5", "998"};
            for (int r = 0; r < 4; ++r) cells->item(r, 0)->setText(QString::fromUtf8(texts[r]));
        }
        page->findChild<QComboBox*>(QStringLiteral("cmbS4"))->setCurrentIndex(1);
        Press(page, "btnCalc01");
        Fill(page, "edtCalc_A", "1,234,567");
        Fill(page, "edtCalc_B", "-250,000");
        Press(page, "btnCalc02");
        Press(page, "btnCalc_R13");
        Fill(page, "edtCalc_M2", "12.5");
    }
    Save(memo, "memo-calc.png");
    tabs->setCurrentIndex(0);
    PictureDialog("memo-order.png", nullptr, [&] { Press(memo, "btnChange"); });
    memo->close();
    Settle();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zavota-docshots FOLDER\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir home;
    setenv("ZAVOTA_HOME", QDir(home.path()).filePath("home/").toLocal8Bit().constData(), 1);
    setenv("ZAVOTA_REGISTRY", QDir(home.path()).filePath("Vekkar.reg").toLocal8Bit().constData(), 1);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zavota"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zavota.png")));
    QApplication::setQuitOnLastWindowClosed(false);
    zavota::ui::InstallJapaneseTranslations(app);
    folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    zavota::ui::QtMessagePresenter presenter;
    zavota::ui::TBaseForm base(std::getenv("ZAVOTA_REGISTRY"), "zavota", &presenter);
    base.Start();
    Settle();
    zavota::ui::TMainForm& main = base.MainForm();

    Fill(&main, "edtYen_K", "1000");
    Fill(&main, "edtNum_K", "1000");
    Fill(&main, "edtR1_K", "1100");
    Press(&main, "btnGo_K");
    Save(&main, "main-buy.png");

    main.findChild<QTabWidget*>(QStringLiteral("pgcCalcInput"))->setCurrentIndex(1);
    Fill(&main, "edtYen_U", "1500");
    Fill(&main, "edtNum_U", "2000");
    Fill(&main, "edtK1_U", "100000");
    Press(&main, "btnGo_U");
    Save(&main, "main-sell.png");

    main.findChild<QTabWidget*>(QStringLiteral("pgcCalcInput"))->setCurrentIndex(0);
    Fill(&main, "edtYen_K", "2003");
    Fill(&main, "edtNum_K", "100");
    Fill(&main, "edtR1_K", "2108");
    PictureDialog("adjust.png", nullptr, [&] { Press(&main, "btnGo_K"); });
    // The expenses dialog recalculates the page when it closes: a price on the grid.
    Fill(&main, "edtYen_K", "1000");
    Fill(&main, "edtNum_K", "1000");
    Fill(&main, "edtR1_K", "1100");
    Press(&main, "btnGo_K");

    PictureDialog(
        "keihi.png",
        [](QWidget* d) {
            d->findChild<QTabBar*>(QStringLiteral("tabKeihi"))->setCurrentIndex(1);
            Fill(d, "edtNenriK", "2.8");
            Fill(d, "edtNenri2K", "30");
            Fill(d, "edtKanri", "0");
            Fill(d, "edtMeigi", "50");
            Fill(d, "edtOther", "-200");
            Fill(d, "edtComment", "信用買い・30日");
        },
        [&] { Press(&main, "btnKeihi"); });

    PictureDialog("clipboard.png", nullptr,
                  [&] { main.findChild<QAction*>(QStringLiteral("mnuSelect"))->trigger(); });
    PictureDialog("about.png", nullptr, [&] { main.findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger(); });

    PictureMemoPad(base);

    // The table editors, on an example table of stepped flat fees with limits.
    zavota::ui::AppState& state = base.State();
    zavota::MarginTable& example = state.calc.tables.Slot(1);
    example.Clear();
    example.inUse = true;
    example.Name = "ネット証券・段階制";
    const std::int64_t steps[][3] = {{0, 100'000, 100},        {100'000, 200'000, 180}, {200'000, 500'000, 250},
                                     {500'000, 1'000'000, 487}, {1'000'000, 30'000'000, 0}};
    for (int n = 0; n < 5; ++n) {
        example.bracketsK[n] = {zavota::Yen::FromInt(steps[n][0]), zavota::Yen::FromInt(steps[n][1]),
                                zavota::Yen::FromRaw(n == 4 ? 500 : 0), zavota::Yen::FromInt(steps[n][2]), {}};
    }
    example.bracketsU = example.bracketsK;
    example.ElementsK = example.ElementsU = 5;
    example.LowLimitK = example.LowLimitU = zavota::Yen::FromInt(100);
    example.HighLimitK = example.HighLimitU = zavota::Yen::FromInt(3000);
    PictureDialog("margin-editor.png", nullptr, [&] {
        const zavota::ui::ModalDialogScope modal(state);
        zavota::ui::TfrmMargin editor(state, 1, 2, &main);
        editor.exec();
    });
    PictureDialog("tick-editor.png", nullptr, [&] {
        const zavota::ui::ModalDialogScope modal(state);
        zavota::ui::TfrmYobine editor(state, &main);
        editor.exec();
    });

    // The five options pages, the table list holding the example table.
    auto* tabs = main.findChild<QTabWidget*>(QStringLiteral("pgcCalcInput"));
    tabs->setCurrentIndex(2);
    const char* const optionPages[][2] = {{"btnCalc_Opt", "options-calc.png"},
                                          {"btnMargin_Opt", "options-margin.png"},
                                          {"btnTax_Opt", "options-tax.png"},
                                          {"btnWake_Opt", "options-wake.png"},
                                          {"btnColor_Opt", "options-colour.png"}};
    for (const auto& page : optionPages) {
        Press(&main, page[0]);
        Save(&main, page[1]);
    }
    tabs->setCurrentIndex(0);
    Settle();

    Press(&main, "btnSlim_K");
    QWidget* slim = base.VisibleCalculator();
    if (slim == nullptr || slim == &main) {
        std::fprintf(stderr, "the slim window did not open\n");
        return 1;
    }
    Save(slim, "slim.png");
    return failures == 0 ? 0 : 1;
}
