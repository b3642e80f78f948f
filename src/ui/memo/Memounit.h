// The memo pad ("Zavota　メモパッド"): a non-modal window created once at start-up, with the
// per-stock pages, their summary, the free-form pages and the simple calculator. Closing only
// hides it; every opening reloads the pages from the data folder.
#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "memo/MemoStore.h"
#include "memo/PageList.h"
#include "ui/common/AppState.h"

class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;

namespace zavota::ui {

class MemoPageView;
class TMemoStockPage;
class TMemoSummaryPage;
class TMemoFreePage;
class TMemoCalcPage;

class TfrmMemo : public QDialog {
    Q_OBJECT
public:
    // `calculator` finds the calculator window on screen, which receives the hand-over.
    TfrmMemo(AppState& state, std::function<QWidget*()> calculator, QWidget* parent = nullptr);
    ~TfrmMemo() override;

    // Paints the window in the current colours (the options pages call it after a change).
    void ApplyColours();

    MemoStore& Store() { return *store_; }

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One page list with its combo box and label, and the page view that shows its pages.
    struct PageTab {
        MemoPageView* view = nullptr;
        PageList list;
        int last = 0;  // the list position on screen
    };

    enum Mode { StockMode = 1, SummaryMode = 2, FreeMode = 3, CalcMode = 4 };

    void FormShow();
    void OfferStrandedPages();
    bool FormCloseQuery();
    void FormClose();
    // The page list of a tab as the index holds it, telling of a delete journal set aside.
    PageList LoadListOf(MemoPageKind kind);
    void LoadStockPages();
    void LoadFreePages();
    void TabChanged(int index);

    PageTab* ShownTab();
    bool Shown(const PageTab& tab) const;  // the shown entry has a page number
    void FillList(PageTab& tab);
    void ShowPosition(PageTab& tab, int position);
    bool LoadShown(PageTab& tab);  // clears the page when the file cannot be read
    bool SaveShown(PageTab& tab);
    // Before another page replaces the shown one: a failed save is reported (263) and the page
    // stays, so typed text is never dropped unsaved.
    bool SaveBeforeLeaving(PageTab& tab);
    // Saves the page only while the index is the list this window shows (else reloads).
    bool SavePage(PageTab& tab, const MemoPageEntry& entry);
    bool SaveUnchecked(PageTab& tab, const MemoPageEntry& entry);
    // Runs a page operation of the tab while the index still is the list the window loaded;
    // when another program changed it, reloads the list instead, keeping what the window
    // shows (ReloadChangedList). True when the operation ran and worked.
    bool RunOnList(PageTab& tab, const std::function<bool()>& operation);
    // Reads the list again, saves the shown page (`name`) under its page or as a new one, and
    // says so in one message (298, or 263 when that save failed).
    void ReloadChangedList(PageTab& tab, const std::string& name);
    // Message 263 for a failed save. A `quiet` save (a tab change) reports only a data folder
    // that cannot be written, once per opening; every other failed save always.
    void AddTabKeys();
    // True when the failure was another program's lock (message 300): worth trying again.
    bool ReportSaveFailure(bool quiet);
    // What a failure report names: the file and the reason, or the data folder.
    std::string FailureDetail() const;
    // The notice when a save put a page or an index in UTF-8 for the first time.
    void NoticeUtf8Fallback();
    std::optional<QString> AskName(const PageTab& tab);
    // Leaving the memo pad with the tab's page: false refuses the close.
    // How leaving a tab at the close went: a failed save was reported and lets the close go on.
    enum class Left { Done, SaveFailed, Refused };
    Left LeaveTab(PageTab& tab, int confirmation);
    void UpdateButtons();

    void cmbTitle_01Change(PageTab& tab, int index);
    void btnNewClick();
    void btnRenameClick();
    void btnChangeClick();
    void btnDeleteClick();
    void btnSaveClick();
    void btnPrevClick();
    void btnNextClick();
    void popReloadClick(PageTab& tab);
    void popClearClick(PageTab& tab);
    void timCaptionTimer();

    AppState& state_;
    std::function<QWidget*()> calculator_;  // the visible calculator window, if any
    std::unique_ptr<MemoStore> store_;
    int mode_ = StockMode;
    QString pendingName_;
    bool freeLoaded_ = false;
    bool folderReported_ = false;
    bool strandedOffered_ = false;        // pages left by an older build, offered once a run
    bool missingFolderReported_ = false;  // a data folder that cannot be made, said once a run
    bool listReloaded_ = false;  // the last page operation met another program's change and said so

    PageTab stock_;
    PageTab free_;
    QTabWidget* tabMemo_;
    TMemoStockPage* stockPage_;
    TMemoSummaryPage* summaryPage_;
    TMemoFreePage* freePage_;
    QWidget* calcTab_;
    TMemoCalcPage* calcPage_;
    QPushButton* btnNew_;
    QPushButton* btnRename_;
    QPushButton* btnChange_;
    QPushButton* btnDelete_;
    QPushButton* btnSave_;
    QPushButton* btnPrev_;
    QPushButton* btnNext_;
    QTimer* timCaption_;
};

}  // namespace zavota::ui
