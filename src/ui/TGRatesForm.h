#pragma once

#include "ui/GrowthRateEditorModel.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace quorrel {

// "Growth Rates": the species column, the Low/High range grid and the grid of rates against
// given species, scrolled together. As an editor it commits on OK; as a viewer nothing can
// be selected and only Cancel works.
class TGRatesForm : public QDialog {
    Q_OBJECT
public:
    TGRatesForm(ParameterSet& params, Rng& rng, Dialogs& dialogs, QWidget* parent = nullptr);

    // Grids := the parameter set, in editing or viewing mode. Call before showing; it fails
    // (AssertionFailure) on a growth rate that is neither fixed nor -1.
    void Prepare(bool viewer);
    bool Viewer() const { return viewer_; }

    GrowthRateEditorModel& Model() { return model_; }

    QTableWidget* SpeciesGrid;
    QTableWidget* RangeGrid;   // column 0 Low, 1 High; row 0 headings
    QTableWidget* AgainstGrid; // column j - 1 for species j; row 0 headings
    QLabel* GRateLabel;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* RandomBtn;
    QPushButton* ResetBtn;

    // The cell of a grid item, or nothing for headings and the diagonal.
    std::optional<GrowthRateEditorModel::CellRef> CellOf(const QTableWidget* grid, int row, int column) const;

    void OKBtnClick();

private:
    void Fill();
    void SetAgainstAccess(int i);
    void ItemChanged(QTableWidget* grid, QTableWidgetItem* item);
    void CurrentCellChanged(QTableWidget* grid, int row, int column);
    void CheckLeftCell(const GrowthRateEditorModel::CellRef& left);
    void Select(const GrowthRateEditorModel::CellRef& cell);
    QTableWidgetItem* ItemOf(const GrowthRateEditorModel::CellRef& cell) const;

    GrowthRateEditorModel model_;
    bool viewer_ = false;
    bool filling_ = false;
    std::optional<GrowthRateEditorModel::CellRef> current_;
};

} // namespace quorrel
