#include "ui/TMortalityDlg.h"

#include "ui/GridCells.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorrel {

TMortalityDlg::TMortalityDlg(ParameterSet& params, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), model_(params, dialogs)
{
    setWindowTitle(QStringLiteral("Input Mortality Vector"));
    MortalityGrid = NewStringGrid(this);
    MortalityGrid->setMinimumSize(190, 240);
    SizeEdit = new QLineEdit(this);
    SizeEdit->setMaxLength(8);
    SizeEdit->setFixedWidth(80);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    ResetBtn = new QPushButton(QStringLiteral("Reset"), this);
    connect(OKBtn, &QPushButton::clicked, this, &TMortalityDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ResetBtn, &QPushButton::clicked, this, &TMortalityDlg::ResetBtnClick);

    auto* size = new QHBoxLayout;
    size->addWidget(new QLabel(QStringLiteral("Size of mortality:"), this));
    size->addWidget(SizeEdit);
    size->addWidget(new QLabel(QStringLiteral("cells"), this));
    size->addStretch();
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {OKBtn, CancelBtn, ResetBtn})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MortalityGrid, 1);
    layout->addLayout(size);
    layout->addLayout(buttons);
    Fill();
}

void TMortalityDlg::Prepare()
{
    model_.Load();
    Fill();
}

void TMortalityDlg::showEvent(QShowEvent* event)
{
    Prepare();
    QDialog::showEvent(event);
}

void TMortalityDlg::Fill()
{
    const int n = model_.Species();
    MortalityGrid->setRowCount(n + 1);
    MortalityGrid->setColumnCount(2);
    MortalityGrid->setColumnWidth(0, 80);
    MortalityGrid->setColumnWidth(1, 90);
    SetCell(*MortalityGrid, 0, 0, QStringLiteral("Species No."));
    SetCell(*MortalityGrid, 0, 1, QStringLiteral("Mortality"));
    for (int s = 1; s <= n; ++s) {
        SetCell(*MortalityGrid, s, 0, QString::number(s));
        SetCell(*MortalityGrid, s, 1, QString::fromStdString(model_.Cell(s)), CellAccess::Editable);
    }
    SizeEdit->setText(QString::fromStdString(model_.Size()));
}

void TMortalityDlg::OKBtnClick()
{
    for (int s = 1; s <= model_.Species(); ++s)
        model_.Cell(s) = CellText(*MortalityGrid, s, 1).toStdString();
    model_.Size() = SizeEdit->text().toStdString();
    if (model_.Commit())
        accept();
}

void TMortalityDlg::ResetBtnClick()
{
    if (model_.Reset())
        Fill();
}

} // namespace quorrel
