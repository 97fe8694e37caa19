#include "ui/TVariableOutcomeDlg.h"

#include "ui/OutcomeEditorModel.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorrel {

TVariableOutcomeDlg::TVariableOutcomeDlg(OutcomeEditorModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setWindowTitle(QStringLiteral("Input Variable Outcome"));
    speciesLabel_ = new QLabel(this);
    group_ = new QGroupBox(this);
    FromEdit = new QLineEdit(group_);
    ToEdit = new QLineEdit(group_);
    for (QLineEdit* edit : {FromEdit, ToEdit}) {
        edit->setMaxLength(3);
        edit->setFixedWidth(48);
        edit->setToolTip(QStringLiteral("a number between 0 and 100"));
    }
    auto* form = new QFormLayout(group_);
    form->addRow(QStringLiteral("From"), FromEdit);
    form->addRow(QStringLiteral("To"), ToEdit);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    connect(OKBtn, &QPushButton::clicked, this, &TVariableOutcomeDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(speciesLabel_);
    layout->addWidget(group_);
    layout->addLayout(buttons);
}

void TVariableOutcomeDlg::Prepare(int s, bool win)
{
    species_ = s;
    win_ = win;
    speciesLabel_->setText(QStringLiteral("Variable Outcome for Species: %1").arg(s));
    group_->setTitle(win ? QStringLiteral("Probability of Winning") : QStringLiteral("Probability of Losing"));
    const VariableOutcomeRange& r = model_.Ranges()[s];
    FromEdit->setText(QString::number(win ? r.WinLow : r.LossLow));
    ToEdit->setText(QString::number(win ? r.WinHigh : r.LossHigh));
}

void TVariableOutcomeDlg::OKBtnClick()
{
    const std::string from = FromEdit->text().toStdString();
    const std::string to = ToEdit->text().toStdString();
    if (win_ ? model_.EnterWinRange(species_, from, to) : model_.EnterLossRange(species_, from, to))
        accept();
}

} // namespace quorrel
