#include "ui/TOutcomeViewForm.h"

#include "ui/GridCells.h"
#include "ui/OutcomeGrids.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorrel {

TOutcomeViewForm::TOutcomeViewForm(const ParameterSet& params)
    : QWidget(nullptr, Qt::Window), params_(params)
{
    setWindowTitle(QStringLiteral("Outcome Matrix"));
    OutcomeGrid = NewStringGrid(this);
    VariableGrid = NewStringGrid(this);
    for (QTableWidget* grid : {OutcomeGrid, VariableGrid}) {
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionMode(QAbstractItemView::NoSelection);
    }
    OutcomeGrid->setMinimumSize(420, 260);
    VariableGrid->setFixedWidth(3 * 64 + 24);
    CloseBtn = new QPushButton(QStringLiteral("Close"), this);
    connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
    auto* grids = new QHBoxLayout;
    grids->addWidget(OutcomeGrid, 1);
    grids->addWidget(VariableGrid);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addWidget(CloseBtn, 0, Qt::AlignRight);
    Refresh();
}

void TOutcomeViewForm::Refresh()
{
    const int n = params_.GParamRec.Maxspec;
    FillOutcomeGrid(*OutcomeGrid, params_.OutcomeMatrix, n, false);
    FillVariableOutcomeGrid(*VariableGrid, params_.VariableOutcomeVector, n, false);
}

} // namespace quorrel
