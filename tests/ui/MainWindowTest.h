// Fixture for the main window: the window shown with the fixture's state, and a few readers.
#pragma once

#include <memory>

#include <QImage>

#include "UiTest.h"
#include "ui/calculator/Adjustunit.h"
#include "ui/calculator/Mainunit.h"
#include "ui/calculator/ResultView.h"

namespace zavota::testing {

class MainWindowTest : public UiTest {
protected:
    void Open() {
        adjust_ = std::make_unique<ui::TfrmAdjust>();
        main_ = std::make_unique<ui::TMainForm>(State(), *adjust_);
        main_->Run();
        Settle();
        Messages().Clear();
    }
    ~MainWindowTest() override {
        if (main_ && main_->isVisible()) main_->close();
    }
    ui::TMainForm* W() { return main_.get(); }

    // A trade typed on a page and calculated.
    void Calculate(const char* price, const char* shares, const char* question = nullptr, const char* value = nullptr,
                   bool buyPage = true) {
        Paste(W(), buyPage ? "edtYen_K" : "edtYen_U", QString::fromUtf8(price));
        Paste(W(), buyPage ? "edtNum_K" : "edtNum_U", QString::fromUtf8(shares));
        if (question != nullptr) Paste(W(), question, QString::fromUtf8(value));
        Click(W(), buyPage ? "btnGo_K" : "btnGo_U");
        Settle();
    }
    // The colour a figure box is painted with, read from the picture of the box.
    QColor Background(const char* box) {
        QLineEdit* e = Find<QLineEdit>(W(), box);
        return e->grab().toImage().pixelColor(1, 1);
    }
    QColor ColourOf(Colour c) const {
        const std::uint32_t v = const_cast<MainWindowTest*>(this)->State().display()[c];
        return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
    }

    std::unique_ptr<ui::TfrmAdjust> adjust_;
    std::unique_ptr<ui::TMainForm> main_;
};

}  // namespace zavota::testing
