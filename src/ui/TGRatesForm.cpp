#include "ui/TGRatesForm.h"

#include "ui/EditorTexts.h"
#include "ui/GridCells.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorrel {

using CellRef = GrowthRateEditorModel::CellRef;
using Column = GrowthRateEditorModel::Column;

TGRatesForm::TGRatesForm(ParameterSet& params, Rng& rng, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), model_(params, rng, dialogs)
{
    setWindowTitle(QStringLiteral("Growth Rates"));
    SpeciesGrid = NewStringGrid(this);
    SpeciesGrid->setFixedWidth(64 + 4);
    SpeciesGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RangeGrid = NewStringGrid(this);
    RangeGrid->setFixedWidth(2 * 64 + 4);
    RangeGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AgainstGrid = NewStringGrid(this);
    AgainstGrid->setMinimumSize(300, 240);
    // The rate-against grid's scroll bar moves all three grids.
    for (QTableWidget* grid : {SpeciesGrid, RangeGrid})
        connect(AgainstGrid->verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(),
                &QScrollBar::setValue);
    for (QTableWidget* grid : {RangeGrid, AgainstGrid}) {
        connect(grid, &QTableWidget::itemChanged, this, [this, grid](QTableWidgetItem* item) { ItemChanged(grid, item); });
        connect(grid, &QTableWidget::currentCellChanged, this,
                [this, grid](int row, int column) { CurrentCellChanged(grid, row, column); });
    }

    GRateLabel = new QLabel(this);
    GRateLabel->setToolTip(QStringLiteral("Indicates whether GRates are rerandomised on each run"));
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    RandomBtn = new QPushButton(QStringLiteral("Random"), this);
    RandomBtn->setToolTip(QStringLiteral("Set all to random variable rates."));
    ResetBtn = new QPushButton(QStringLiteral("Reset"), this);
    ResetBtn->setToolTip(QStringLiteral("Set all to the maximum fixed rate."));
    connect(OKBtn, &QPushButton::clicked, this, &TGRatesForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(RandomBtn, &QPushButton::clicked, this, [this] {
        if (model_.Random())
            Fill();
    });
    connect(ResetBtn, &QPushButton::clicked, this, [this] {
        if (model_.Reset())
            Fill();
    });

    auto* rangeColumn = new QVBoxLayout;
    rangeColumn->addWidget(new QLabel(QStringLiteral("Variable range"), this));
    rangeColumn->addWidget(RangeGrid, 1);
    auto* rangeNote = new QLabel(QStringLiteral("Fixed rate if High is blank"), this);
    rangeNote->setWordWrap(true);
    rangeNote->setFixedWidth(RangeGrid->width());
    rangeColumn->addWidget(rangeNote);
    auto* againstColumn = new QVBoxLayout;
    againstColumn->addWidget(new QLabel(QStringLiteral("Rate against given species"), this));
    againstColumn->addWidget(AgainstGrid, 1);
    againstColumn->addWidget(new QLabel(QStringLiteral("Defaults to Low if blank.   N/A if variable."), this));
    auto* speciesColumn = new QVBoxLayout;
    speciesColumn->addWidget(new QLabel(QString(), this));
    speciesColumn->addWidget(SpeciesGrid, 1);
    speciesColumn->addWidget(new QLabel(QString(), this));
    auto* grids = new QHBoxLayout;
    grids->setSpacing(2);
    grids->addLayout(speciesColumn);
    grids->addLayout(rangeColumn);
    grids->addLayout(againstColumn, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(GRateLabel, 1);
    for (QPushButton* b : {RandomBtn, ResetBtn, OKBtn, CancelBtn})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addLayout(buttons);
}

void TGRatesForm::Prepare(bool viewer)
{
    viewer_ = viewer;
    model_.Load();
    OKBtn->setEnabled(!viewer);
    RandomBtn->setEnabled(!viewer);
    ResetBtn->setEnabled(!viewer);
    Fill();
}

void TGRatesForm::Fill()
{
    filling_ = true;
    const int n = model_.Species();
    const CellAccess edit = viewer_ ? CellAccess::Fixed : CellAccess::Editable;
    for (QTableWidget* grid : {SpeciesGrid, RangeGrid, AgainstGrid}) {
        QSignalBlocker block(grid);
        grid->setRowCount(n + 1);
    }
    SpeciesGrid->setColumnCount(1);
    RangeGrid->setColumnCount(2);
    AgainstGrid->setColumnCount(n);
    SetCell(*SpeciesGrid, 0, 0, QStringLiteral("Species"));
    SetCell(*RangeGrid, 0, 0, QStringLiteral("Low"));
    SetCell(*RangeGrid, 0, 1, QStringLiteral("High"));
    for (int i = 1; i <= n; ++i) {
        SetCell(*SpeciesGrid, i, 0, QString::fromStdString(Format3d(i)));
        SetCell(*RangeGrid, i, 0, QString::fromStdString(model_.Low(i)), edit);
        SetCell(*RangeGrid, i, 1, QString::fromStdString(model_.High(i)), edit);
        SetCell(*AgainstGrid, 0, i - 1, QString::fromStdString(Format3d(i)));
        for (int j = 1; j <= n; ++j)
            SetCell(*AgainstGrid, i, j - 1, QString::fromStdString(model_.Against(i, j)), CellAccess::Fixed);
        SetAgainstAccess(i);
    }
    FitGridToColumns(*AgainstGrid);
    GRateLabel->setText(QString::fromStdString(model_.Label()));
    current_.reset();
    filling_ = false;
}

void TGRatesForm::SetAgainstAccess(int i)
{
    const bool wasFilling = filling_;
    filling_ = true;
    for (int j = 1; j <= model_.Species(); ++j) {
        const bool open = !viewer_ && model_.CanSelectAgainst(i, j);
        SetCell(*AgainstGrid, i, j - 1, CellText(*AgainstGrid, i, j - 1), open ? CellAccess::Editable : CellAccess::Fixed);
    }
    filling_ = wasFilling;
}

std::optional<CellRef> TGRatesForm::CellOf(const QTableWidget* grid, int row, int column) const
{
    const int n = model_.Species();
    if (row < 1 || row > n || column < 0)
        return std::nullopt;
    if (grid == RangeGrid && column <= 1)
        return CellRef{column == 0 ? Column::Low : Column::High, row, 0};
    if (grid == AgainstGrid && column < n && column + 1 != row)
        return CellRef{Column::Against, row, column + 1};
    return std::nullopt;
}

QTableWidgetItem* TGRatesForm::ItemOf(const CellRef& cell) const
{
    switch (cell.column) {
    case Column::Low:
        return RangeGrid->item(cell.i, 0);
    case Column::High:
        return RangeGrid->item(cell.i, 1);
    case Column::Against:
        break;
    }
    return AgainstGrid->item(cell.i, cell.j - 1);
}

void TGRatesForm::ItemChanged(QTableWidget* grid, QTableWidgetItem* item)
{
    if (filling_)
        return;
    const auto cell = CellOf(grid, item->row(), item->column());
    if (!cell)
        return;
    model_.Cell(*cell) = item->text().toStdString();
    if (cell->column == Column::High)
        SetAgainstAccess(cell->i);
}

void TGRatesForm::Select(const CellRef& cell)
{
    QTableWidgetItem* item = ItemOf(cell);
    QTableWidget* grid = item->tableWidget();
    QSignalBlocker block(grid);
    grid->setCurrentItem(item);
    grid->scrollToItem(item);
}

void TGRatesForm::CurrentCellChanged(QTableWidget* grid, int row, int column)
{
    if (filling_ || viewer_)
        return;
    const std::optional<CellRef> left = current_;
    current_ = CellOf(grid, row, column);
    const bool same = left && current_ && left->column == current_->column && left->i == current_->i
        && left->j == current_->j;
    // The view hands the typed text over before it reports the new cell.
    if (left && !same)
        CheckLeftCell(*left);
}

void TGRatesForm::CheckLeftCell(const CellRef& left)
{
    const bool ok = model_.CheckCell(left, true);
    GRateLabel->setText(QString::fromStdString(model_.Label()));
    if (!ok) {
        current_ = left;
        Select(left);
    }
}

void TGRatesForm::OKBtnClick()
{
    if (viewer_)
        return;
    CellRef failed;
    if (!model_.Commit(&failed)) {
        Select(failed);
        return;
    }
    accept();
}

} // namespace quorrel
