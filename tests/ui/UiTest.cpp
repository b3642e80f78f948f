#include "UiTest.h"

#include <QAbstractButton>

namespace zavota::testing {

void DialogAnswerer::Click(QString dialog, QString button) {
    Expect(std::move(dialog), [button](QWidget* w) {
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->text() == button && b->isVisible()) {
                b->click();
                return;
            }
        ADD_FAILURE() << "no button " << button.toStdString() << " in " << w->objectName().toStdString();
        w->close();
    });
}

void DialogAnswerer::Poll() {
    if (acting_) return;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    acting_ = true;
    if (!queue_.empty() && queue_.front().dialog == modal->objectName()) {
        Entry e = std::move(queue_.front());
        queue_.pop_front();
        e.act(modal);
    } else {
        unexpected.push_back(modal->objectName().toStdString());
        ADD_FAILURE() << "unexpected modal dialog " << modal->objectName().toStdString();
        modal->close();
    }
    acting_ = false;
}

UiTest::UiTest() { Restart(); }

UiTest::~UiTest() {
    EXPECT_FALSE(dialogs.Pending()) << "an expected dialog never appeared";
    Settle();
}

void UiTest::Restart() {
    state_ = std::make_unique<ui::AppState>(home_.HivePath());
    presenter_ = RecordingPresenter(&state_->messages);
    state_->messages.SetPresenter(&presenter_);
    state_->store.LoadAll();
}

void UiTest::Type(QWidget* root, const char* name, const QString& text) {
    QWidget* w = Find(root, name);
    if (w == nullptr) return;
    QTest::keyClicks(w, text);
}

void UiTest::Paste(QWidget* root, const char* name, const QString& text) {
    if (auto* e = Find<QLineEdit>(root, name)) e->setText(text);
}

void UiTest::Click(QWidget* root, const char* name) {
    if (auto* b = Find<QAbstractButton>(root, name)) b->click();
}

void UiTest::Select(QWidget* root, const char* combo, int index) {
    if (auto* c = Find<QComboBox>(root, combo)) c->setCurrentIndex(index);
}

QString UiTest::Text(QWidget* root, const char* name) {
    QWidget* w = Find(root, name);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (w != nullptr) return w->property("text").toString();
    return {};
}

void UiTest::Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace zavota::testing
