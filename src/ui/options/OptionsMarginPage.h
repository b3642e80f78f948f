// Options page "手数料": the list of commission tables with its operations (order, delete,
// new, copy, change through the editor) and the export and import of table files.
#pragma once

#include "ui/options/OptionsPages.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace zavota::ui {

class OptionsMarginPage : public OptionsPage {
    Q_OBJECT
public:
    OptionsMarginPage(AppState& state, OptionsHost& host, QWidget* parent = nullptr);
    void ShowPage() override;
    bool Commit(bool forGood) override;

    int EditingPosition() const { return position_; }

private:
    int Count() const;
    void FillList();
    void UpdateButtons();
    void Move(int offset);
    void Delete();
    void New(bool copy);
    void Change();
    void OpenEditor();
    void TablesWritten();
    void Export();
    void Import();
    void RememberFolder(const QString& file);

    AppState& state_;
    OptionsHost& host_;
    QListWidget* list_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QLabel* max_ = nullptr;
    QPushButton* copyNew_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* out_ = nullptr;
    QPushButton* in_ = nullptr;
    int position_ = 0;     // the table being edited or last moved
    int mode_ = 0;         // 1 a new table, 2 an existing one
    bool changed_ = false; // the set was changed since the page was shown
};

}  // namespace zavota::ui
