#pragma once

#include "ui/OutcomeEditorModel.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quorrel {

class TOutcomeEntryDlg;
class TStandoffDlg;
class TVariableOutcomeDlg;

// "Input Outcome Matrix": the outcome grid, the variable-outcome grid and the mode label
// over a working copy; OK commits it, Cancel discards it.
class TOutcomeDlg : public QDialog {
    Q_OBJECT
public:
    TOutcomeDlg(ParameterSet& params, Rng& rng, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TOutcomeDlg() override;

    // Working copy := the live tables; grids redrawn. Call before showing.
    void Prepare();

    OutcomeEditorModel& Model() { return model_; }

    QTableWidget* OutcomeGrid;
    QTableWidget* VariableGrid;
    QLabel* ModeLabel;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* RandomBtn;
    QPushButton* NoReversalBtn;
    QPushButton* HierarchicalBtn;
    QPushButton* ResetFixedBtn;
    QPushButton* ResetVariableBtn;
    QPushButton* ResetBtn;

    TStandoffDlg& Standoff() { return *standoff_; }
    TOutcomeEntryDlg& Entry() { return *entry_; }
    TVariableOutcomeDlg& Range() { return *range_; }

    void OutcomeGridSelectCell(int row, int column);
    void VariableGridSelectCell(int row, int column);
    void OKBtnClick();
    void GeneratorClick(OutcomeEditorModel::Generator kind);

private:
    void Redraw();

    OutcomeEditorModel model_;
    TStandoffDlg* standoff_;
    TOutcomeEntryDlg* entry_;
    TVariableOutcomeDlg* range_;
};

} // namespace quorrel
