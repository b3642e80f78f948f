// What the memo pad's page operations need from a page tab, the per-stock grid or the
// free-form text, so that "新規", "保存", "削除" and the rest are written once for both.
#pragma once

#include <QString>

#include "memo/PageList.h"
#include "settings/SettingsData.h"

class QComboBox;
class QLabel;
class QWidget;

namespace zavota::ui {

class MemoPageView {
public:
    virtual ~MemoPageView() = default;
    virtual MemoPageKind Kind() const = 0;
    virtual QComboBox* TitleList() const = 0;    // cmbTitle_01 / cmbTitle_03
    virtual QLabel* PositionLabel() const = 0;   // lblPage_01 / lblPage_03
    // Any text typed into the page.
    virtual bool HasContent() const = 0;
    virtual void ClearPage() = 0;
    // False when the page file cannot be read; the page is unchanged then.
    virtual bool LoadPage(int number) = 0;
    virtual bool SavePage(const MemoPageEntry& entry) = 0;
    virtual void FocusPage() = 0;
};

inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }
inline QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// The page list "cmbTitle_" + tab and its position label "lblPage_" + tab.
void MakePageTitle(QWidget* parent, const char* tab, QComboBox*& list, QLabel*& position);

// The memo pad's panels take MemoPanel; result texts ResultChar.
void PaintMemoPanel(QWidget* panel, const DisplaySettings& colours);
void PaintResultText(QWidget* widget, const DisplaySettings& colours);

}  // namespace zavota::ui
