#include "ui/TModelForm.h"

#include "ui/RunProgressField.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorrel {

TModelForm::TModelForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
{
}

QLabel* TModelForm::Heading(const QString& text)
{
    auto* heading = new QLabel(text, this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    heading->setFont(bold);
    return heading;
}

namespace {

template <class Field>
Field* ShapedNumberField(Field* field, bool readOnly)
{
    field->setReadOnly(readOnly);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 14);
    if (readOnly)
        field->setFocusPolicy(Qt::NoFocus);
    return field;
}

} // namespace

QLineEdit* TModelForm::NumberField(bool readOnly) { return ShapedNumberField(new QLineEdit(this), readOnly); }

RunProgressField* TModelForm::ProgressField() { return ShapedNumberField(new RunProgressField(this), true); }

bool TModelForm::RunInProgress() const { return isVisible() && RunActive(); }

bool TModelForm::RunActive() const { return StartBtn != nullptr && !StartBtn->isEnabled(); }

void TModelForm::RunEnded()
{
    if (runEnded_)
        runEnded_();
}

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
