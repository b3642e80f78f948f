// The catalogue's boxes shown with QMessageBox: icon, title, buttons and default button as
// the catalogue composes them.
#pragma once

#include "core/MessageCatalogue.h"

namespace zavota::ui {

class QtMessagePresenter : public MessagePresenter {
public:
    void Show(const MessageBoxContent& box) override;
    MessageAnswer Ask(const MessageBoxContent& box) override;
};

}  // namespace zavota::ui
