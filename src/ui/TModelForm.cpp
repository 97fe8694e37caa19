#include "ui/TModelForm.h"

#include <QPushButton>

namespace quorrel {

TModelForm::TModelForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
{
}

bool TModelForm::RunInProgress() const { return isVisible() && StartBtn != nullptr && !StartBtn->isEnabled(); }

void TModelForm::BringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TModelForm::BringHomeToFront()
{
    if (home_ == nullptr || !home_->isVisible())
        return;
    home_->raise();
    home_->activateWindow();
}

} // namespace quorrel
