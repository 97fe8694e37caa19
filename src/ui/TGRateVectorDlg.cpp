#include "ui/TGRateVectorDlg.h"

#include "ui/GridCells.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorrel {

TGRateVectorDlg::TGRateVectorDlg(ParameterSet& params, Rng& rng, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), model_(params, rng, dialogs)
{
    setWindowTitle(QStringLiteral("Input Growth Rate Vector"));
    entry_ = new TGRateEntryDlg(model_, this);
    GRateGrid = NewStringGrid(this);
    GRateGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GRateGrid->setMinimumSize(190, 240);
    GRateLabel = new QLabel(this);
    GRateLabel->setToolTip(QStringLiteral("Indicates whether GRates are rerandomised on each run"));
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    RandomBtn = new QPushButton(QStringLiteral("Random"), this);
    ResetBtn = new QPushButton(QStringLiteral("Reset"), this);
    connect(GRateGrid, &QTableWidget::cellClicked, this, &TGRateVectorDlg::GRateGridSelectCell);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(RandomBtn, &QPushButton::clicked, this, [this] {
        if (model_.Random())
            Prepare();
    });
    connect(ResetBtn, &QPushButton::clicked, this, [this] {
        if (model_.Reset())
            Prepare();
    });
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {OKBtn, RandomBtn, ResetBtn})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GRateGrid, 1);
    layout->addWidget(GRateLabel);
    layout->addLayout(buttons);
    Prepare();
}

void TGRateVectorDlg::Prepare()
{
    const int n = model_.Species();
    GRateGrid->setRowCount(n + 1);
    GRateGrid->setColumnCount(2);
    GRateGrid->setColumnWidth(0, 80);
    GRateGrid->setColumnWidth(1, 90);
    SetCell(*GRateGrid, 0, 0, QStringLiteral("Species No."));
    SetCell(*GRateGrid, 0, 1, QStringLiteral("Growth Rate"));
    for (int s = 1; s <= n; ++s) {
        SetCell(*GRateGrid, s, 0, QString::number(s), CellAccess::Selectable);
        SetCell(*GRateGrid, s, 1, QString::fromStdString(model_.RowText(s)), CellAccess::Selectable);
    }
    GRateLabel->setText(QString::fromStdString(model_.Label()));
}

void TGRateVectorDlg::GRateGridSelectCell(int row, int)
{
    if (row < 1 || row > model_.Species())
        return;
    entry_->Prepare(row);
    model_.SelectRow();
    Prepare();
    entry_->exec();
    Prepare();
}

} // namespace quorrel
