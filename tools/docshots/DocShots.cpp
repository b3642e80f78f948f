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
#include <QIcon>
#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "memo/MemoStore.h"
#include "platform/Folders.h"
#include "ui/Baseunit.h"
#include "ui/Mainunit.h"
#include "ui/Marginunit.h"
#include "ui/MemoCalcPage.h"
#include "ui/QtMessagePresenter.h"
#include "ui/Translations.h"
#include "ui/Yobineunit.h"

namespace {

QString folder;
int failures = 0;

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
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

// The next modal dialog is prepared, pictured and closed; `open` is what opens it.
void PictureDialog(const char* name, const std::function<void(QWidget*)>& prepare, const std::function<void()>& open) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, name, prepare] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        if (prepare) prepare(modal);
        Save(modal, name);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
    });
    timer->start();
    open();
    Settle();
}

// The memo pad's calculator tab on its own, after an average and a two-number calculation.
void PictureMemoCalcPage(zavota::ui::AppState& state) {
    QDir().mkpath(QString::fromStdString(zavota::platform::DataFolder()));
    zavota::MemoStore store(zavota::platform::DataFolder(), state.store.Mutex());
    zavota::ui::TMemoCalcPage page(state, store);
    page.Load();
    if (auto* grid = page.findChild<QTableWidget*>(QStringLiteral("grdCalc"))) {
        const char* cells[] = {"1,250", "1,180", "1,302.5", "998"};
        for (int r = 0; r < 4; ++r) grid->item(r, 0)->setText(QString::fromUtf8(cells[r]));
    }
    page.findChild<QComboBox*>(QStringLiteral("cmbS4"))->setCurrentIndex(1);
    Press(&page, "btnCalc01");
    Fill(&page, "edtCalc_A", "1,234,567");
    Fill(&page, "edtCalc_B", "-250,000");
    Press(&page, "btnCalc02");
    Press(&page, "btnCalc_R13");
    Fill(&page, "edtCalc_M2", "12.5");
    page.show();
    Save(&page, "memo-calc.png");
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

    PictureMemoCalcPage(base.State());

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

    Press(&main, "btnSlim_K");
    QWidget* slim = base.VisibleCalculator();
    if (slim == nullptr || slim == &main) {
        std::fprintf(stderr, "the slim window did not open\n");
        return 1;
    }
    Save(slim, "slim.png");
    return failures == 0 ? 0 : 1;
}
