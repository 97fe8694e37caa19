#pragma once

#include "ui/GRateVectorModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorrel {

// "Input Growth Rate": one species' fixed rate or variable range.
class TGRateEntryDlg : public QDialog {
    Q_OBJECT
public:
    TGRateEntryDlg(GRateVectorModel& model, QWidget* parent);

    void Prepare(int s);

    QLineEdit* FixedEdit;
    QLineEdit* FromEdit;
    QLineEdit* ToEdit;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();

private:
    GRateVectorModel& model_;
    int species_ = 1;
    QLabel* speciesLabel_;
};

} // namespace quorrel
