#include "ui/TGRateEntryDlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorrel {

TGRateEntryDlg::TGRateEntryDlg(GRateVectorModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setWindowTitle(QStringLiteral("Input Growth Rate"));
    speciesLabel_ = new QLabel(this);
    auto* fixedGroup = new QGroupBox(QStringLiteral("Fixed Growth Rate"), this);
    auto* rangeGroup = new QGroupBox(QStringLiteral("Variable Growth Rate"), this);
    FixedEdit = new QLineEdit(fixedGroup);
    FromEdit = new QLineEdit(rangeGroup);
    ToEdit = new QLineEdit(rangeGroup);
    for (QLineEdit* edit : {FixedEdit, FromEdit, ToEdit}) {
        edit->setMaxLength(3);
        edit->setFixedWidth(48);
        edit->setToolTip(QStringLiteral("a number between 0 and 100"));
    }
    (new QHBoxLayout(fixedGroup))->addWidget(FixedEdit);
    auto* range = new QFormLayout(rangeGroup);
    range->addRow(QStringLiteral("From"), FromEdit);
    range->addRow(QStringLiteral("To"), ToEdit);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    connect(OKBtn, &QPushButton::clicked, this, &TGRateEntryDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    auto* groups = new QHBoxLayout;
    groups->addWidget(fixedGroup);
    groups->addWidget(rangeGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(speciesLabel_);
    layout->addLayout(groups);
    layout->addLayout(buttons);
}

void TGRateEntryDlg::Prepare(int s)
{
    species_ = s;
    speciesLabel_->setText(QStringLiteral("Growth Rate for Species %1").arg(s));
    const GRateVectorModel::Boxes boxes = model_.BoxesOf(s);
    FixedEdit->setText(QString::fromStdString(boxes.fixed));
    FromEdit->setText(QString::fromStdString(boxes.from));
    ToEdit->setText(QString::fromStdString(boxes.to));
}

void TGRateEntryDlg::OKBtnClick()
{
    if (model_.Enter(species_, {FixedEdit->text().toStdString(), FromEdit->text().toStdString(),
                                ToEdit->text().toStdString()}))
        accept();
}

} // namespace quorrel
