// The window tests' fixture: an isolated program folder and hive, an AppState with a message
// recorder in place of message boxes, helpers that drive widgets by their object names, and
// a dialog answerer: a modal dialog nobody expected fails the test instead of hanging it.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "ui/common/AppState.h"

namespace zavota::testing {

// Answers the catalogue's boxes: records every notice and confirmation, answers
// confirmations from a queue (OK when it is empty); `whileShown` runs as if the box were on
// screen (a real one takes the focus).
class RecordingPresenter : public MessagePresenter {
public:
    explicit RecordingPresenter(const MessageCatalogue* catalogue) : catalogue_(catalogue) {}
    void Show(const MessageBoxContent& box) override {
        numbers.push_back(catalogue_->CurrentNumber());
        texts.push_back(box.text);
        if (whileShown) whileShown();
    }
    MessageAnswer Ask(const MessageBoxContent& box) override {
        numbers.push_back(catalogue_->CurrentNumber());
        texts.push_back(box.text);
        if (whileShown) whileShown();
        if (answers.empty()) return MessageAnswer::Ok;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Clear() { numbers.clear(); texts.clear(); }

    std::vector<int> numbers;
    std::vector<std::string> texts;
    std::deque<MessageAnswer> answers;
    std::function<void()> whileShown;

private:
    const MessageCatalogue* catalogue_;
};

// Clicks a button of the next modal dialogs, in the order queued.
class DialogAnswerer {
public:
    DialogAnswerer() {
        timer_.setInterval(15);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    // When a modal dialog named `dialog` appears, run `act` on it (fill fields, click a button).
    void Expect(QString dialog, std::function<void(QWidget*)> act) { queue_.push_back({std::move(dialog), std::move(act)}); }
    // The common case: click the button with this caption.
    void Click(QString dialog, QString button);
    bool Pending() const { return !queue_.empty(); }
    std::vector<std::string> unexpected;

private:
    struct Entry {
        QString dialog;
        std::function<void(QWidget*)> act;
    };
    void Poll();
    std::deque<Entry> queue_;
    QTimer timer_;
    bool acting_ = false;
};

class UiTest : public ::testing::Test {
protected:
    UiTest();
    ~UiTest() override;

    ui::AppState& State() { return *state_; }
    RecordingPresenter& Messages() { return presenter_; }
    const IsolatedHome& Home() const { return home_; }
    // Re-creates the state from the hive, as a new start of the program would.
    void Restart();

    template <typename T = QWidget>
    static T* Find(QWidget* root, const char* name) {
        T* w = root->findChild<T*>(QString::fromUtf8(name));
        if (w == nullptr && root->objectName() == QString::fromUtf8(name)) w = qobject_cast<T*>(root);
        EXPECT_NE(w, nullptr) << "no widget named " << name;
        return w;
    }
    // Typed key by key, as a user would (the key filter applies).
    static void Type(QWidget* root, const char* name, const QString& text);
    // Replaced whole, as a paste would (no key filter).
    static void Paste(QWidget* root, const char* name, const QString& text);
    static void Click(QWidget* root, const char* name);
    static void Select(QWidget* root, const char* combo, int index);
    static QString Text(QWidget* root, const char* name);
    static void Settle();  // processes pending events, posted messages included

    DialogAnswerer dialogs;

private:
    IsolatedHome home_;
    std::unique_ptr<ui::AppState> state_;
    RecordingPresenter presenter_{nullptr};
};

}  // namespace zavota::testing
