#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorrel {

class OutcomeEditorModel;

// "Input Variable Outcome": the win range or the loss range of one species.
class TVariableOutcomeDlg : public QDialog {
    Q_OBJECT
public:
    TVariableOutcomeDlg(OutcomeEditorModel& model, QWidget* parent);

    // Fills the dialog for species s, its win range (win) or loss range.
    void Prepare(int s, bool win);

    QLineEdit* FromEdit;
    QLineEdit* ToEdit;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();

private:
    OutcomeEditorModel& model_;
    int species_ = 1;
    bool win_ = true;
    QLabel* speciesLabel_;
    QGroupBox* group_;
};

} // namespace quorrel
