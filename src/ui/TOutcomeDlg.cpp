#include "ui/TOutcomeDlg.h"

#include "ui/GridCells.h"
#include "ui/OutcomeGrids.h"
#include "ui/TOutcomeEntryDlg.h"
#include "ui/TStandoffDlg.h"
#include "ui/TVariableOutcomeDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorrel {

TOutcomeDlg::TOutcomeDlg(ParameterSet& params, Rng& rng, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), model_(params, rng, dialogs)
{
    setWindowTitle(QStringLiteral("Input Outcome Matrix"));
    standoff_ = new TStandoffDlg(model_, this);
    entry_ = new TOutcomeEntryDlg(model_, this);
    range_ = new TVariableOutcomeDlg(model_, this);

    OutcomeGrid = NewStringGrid(this);
    OutcomeGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    OutcomeGrid->setMinimumSize(420, 260);
    VariableGrid = NewStringGrid(this);
    VariableGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VariableGrid->setFixedWidth(3 * 64 + 24);
    ModeLabel = new QLabel(this);
    ModeLabel->setToolTip(QStringLiteral("Indicates whether outcomes are rerandomised on each run"));

    auto button = [this](const char* caption) { return new QPushButton(QString::fromLatin1(caption), this); };
    OKBtn = button("OK");
    CancelBtn = button("Cancel");
    RandomBtn = button("Random");
    RandomBtn->setToolTip(QStringLiteral("Generate random outcomes"));
    NoReversalBtn = button("Random without reversals");
    HierarchicalBtn = button("Random (hierarchical)");
    ResetFixedBtn = button("Reset to All Fixed");
    ResetVariableBtn = button("Reset to All Variable");
    ResetBtn = button("Reset");

    connect(OutcomeGrid, &QTableWidget::cellClicked, this, &TOutcomeDlg::OutcomeGridSelectCell);
    connect(VariableGrid, &QTableWidget::cellClicked, this, &TOutcomeDlg::VariableGridSelectCell);
    connect(OKBtn, &QPushButton::clicked, this, &TOutcomeDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    using G = OutcomeEditorModel::Generator;
    connect(RandomBtn, &QPushButton::clicked, this, [this] { GeneratorClick(G::Uniform); });
    connect(NoReversalBtn, &QPushButton::clicked, this, [this] { GeneratorClick(G::NoReversal); });
    connect(HierarchicalBtn, &QPushButton::clicked, this, [this] { GeneratorClick(G::Hierarchical); });
    connect(ResetFixedBtn, &QPushButton::clicked, this, [this] {
        if (model_.ResetAllFixed())
            Redraw();
    });
    connect(ResetVariableBtn, &QPushButton::clicked, this, [this] {
        if (model_.ResetAllVariable())
            Redraw();
    });
    connect(ResetBtn, &QPushButton::clicked, this, [this] {
        if (model_.ResetVariableRanges())
            Redraw();
    });

    auto* matrix = new QVBoxLayout;
    matrix->addWidget(new QLabel(QStringLiteral("Effect of"), this));
    matrix->addWidget(new QLabel(QStringLiteral("Species"), this));
    matrix->addWidget(new QLabel(QStringLiteral("in Row ..."), this));
    matrix->addWidget(new QLabel(QStringLiteral("... on Species in Column ..."), this));
    matrix->addWidget(OutcomeGrid, 1);
    matrix->addWidget(ModeLabel);
    auto* grids = new QHBoxLayout;
    grids->addLayout(matrix, 1);
    grids->addWidget(VariableGrid);
    auto* buttons = new QGridLayout;
    buttons->addWidget(RandomBtn, 0, 0);
    buttons->addWidget(NoReversalBtn, 0, 1);
    buttons->addWidget(HierarchicalBtn, 0, 2);
    buttons->addWidget(OKBtn, 0, 3);
    buttons->addWidget(ResetFixedBtn, 1, 0);
    buttons->addWidget(ResetVariableBtn, 1, 1);
    buttons->addWidget(ResetBtn, 1, 2);
    buttons->addWidget(CancelBtn, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addLayout(buttons);
    Redraw();
}

TOutcomeDlg::~TOutcomeDlg() = default;

void TOutcomeDlg::Prepare()
{
    model_.Load();
    Redraw();
}

void TOutcomeDlg::Redraw()
{
    FillOutcomeGrid(*OutcomeGrid, model_.Matrix(), model_.Species(), true);
    FillVariableOutcomeGrid(*VariableGrid, model_.Ranges(), model_.Species(), true);
    ModeLabel->setText(QString::fromStdString(model_.ModeLabel()));
}

void TOutcomeDlg::OutcomeGridSelectCell(int row, int column)
{
    if (!model_.CanEdit(row, column))
        return;
    entry_->Prepare(row, column);
    entry_->exec();
    Redraw();
}

void TOutcomeDlg::VariableGridSelectCell(int row, int column)
{
    if (row < 1 || row > model_.Species() || column < 1 || column > 2)
        return;
    range_->Prepare(row, column == 1);
    range_->exec();
    Redraw();
}

void TOutcomeDlg::OKBtnClick()
{
    model_.Commit();
    accept();
}

void TOutcomeDlg::GeneratorClick(OutcomeEditorModel::Generator kind)
{
    if (model_.Generate(kind, [this] {
            Redraw();
            standoff_->exec();
        }))
        Redraw();
}

} // namespace quorrel
