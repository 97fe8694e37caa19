#pragma once

#include "ui/MortalityEditorModel.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorrel {

// "Input Mortality Vector": one mortality per species and the size of mortality.
class TMortalityDlg : public QDialog {
    Q_OBJECT
public:
    TMortalityDlg(ParameterSet& params, Dialogs& dialogs, QWidget* parent = nullptr);

    // Grid and size box := the parameter set.
    void Prepare();

    QTableWidget* MortalityGrid;
    QLineEdit* SizeEdit;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* ResetBtn;

    void OKBtnClick();
    void ResetBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();

    MortalityEditorModel model_;
};

} // namespace quorrel
