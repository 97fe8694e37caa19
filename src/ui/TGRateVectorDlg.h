#pragma once

#include "ui/GRateVectorModel.h"
#include "ui/TGRateEntryDlg.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quorrel {

// "Input Growth Rate Vector": the growth rates as a list; choosing a row opens the entry
// dialog. Every change goes straight into the parameter set.
class TGRateVectorDlg : public QDialog {
    Q_OBJECT
public:
    TGRateVectorDlg(ParameterSet& params, Rng& rng, Dialogs& dialogs, QWidget* parent = nullptr);

    void Prepare();
    TGRateEntryDlg& Entry() { return *entry_; }

    QTableWidget* GRateGrid;
    QLabel* GRateLabel;
    QPushButton* OKBtn;
    QPushButton* RandomBtn;
    QPushButton* ResetBtn;

    void GRateGridSelectCell(int row, int column);

private:
    GRateVectorModel model_;
    TGRateEntryDlg* entry_;
};

} // namespace quorrel
