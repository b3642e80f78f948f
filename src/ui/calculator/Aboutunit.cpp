#include "ui/calculator/Aboutunit.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "Version.h"
#include "ui/common/WindowPlacement.h"

namespace zavota::ui {

namespace {

class TfrmAbout : public QDialog {
public:
    explicit TfrmAbout(QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("frmAbout"));
        setWindowTitle(QStringLiteral("Zavotaについて"));
        setWindowFlags(FixedDialogFlags());
        setModal(true);

        auto* icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("imgIcon"));
        const QIcon programIcon = QApplication::windowIcon();
        if (!programIcon.isNull()) icon->setPixmap(programIcon.pixmap(48, 48));
        icon->setVisible(!programIcon.isNull());

        auto* name = new QLabel(QStringLiteral("Zavota"), this);
        name->setObjectName(QStringLiteral("lblName"));
        QFont nameFont = name->font();
        nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
        nameFont.setBold(true);
        name->setFont(nameFont);
        auto* version = new QLabel(QStringLiteral("Version ") + QString::fromUtf8(kVersion), this);
        version->setObjectName(QStringLiteral("lblVersion"));
        // The commit, so that a bug report can tell two builds of one version apart.
        auto* build = new QLabel(QStringLiteral("Build: ") + QString::fromUtf8(kBuildId), this);
        build->setObjectName(QStringLiteral("lblBuild"));
        build->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* line = new QLabel(QStringLiteral("株式売買の手数料・損益計算ソフト"), this);
        line->setObjectName(QStringLiteral("lblComment"));

        auto* close = new QPushButton(QStringLiteral("閉じる"), this);
        close->setObjectName(QStringLiteral("btnClose"));
        close->setDefault(true);
        connect(close, &QPushButton::clicked, this, &QDialog::accept);

        auto* texts = new QVBoxLayout;
        texts->setSpacing(4);
        texts->addWidget(name);
        texts->addWidget(version);
        texts->addWidget(build);
        texts->addSpacing(6);
        texts->addWidget(line);
        auto* top = new QHBoxLayout;
        top->setSpacing(16);
        top->addWidget(icon, 0, Qt::AlignTop);
        top->addLayout(texts);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(close);
        buttons->addStretch();
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(24, 20, 24, 14);
        layout->setSpacing(16);
        layout->addLayout(top);
        layout->addLayout(buttons);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }

protected:
    void showEvent(QShowEvent* event) override {
        // Centred on the screen, not on the calculator window.
        QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        QDialog::showEvent(event);
    }
};

}  // namespace

void RunAboutDialog(AppState& state, QWidget* parent) {
    ModalDialogScope modal(state);
    TfrmAbout dialog(parent);
    dialog.exec();
}

}  // namespace zavota::ui
