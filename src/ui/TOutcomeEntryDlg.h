#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorrel {

class OutcomeEditorModel;

// "Input Outcome": win, loss and stand-off of one pair of species, -1 in the first box for
// a variable pair.
class TOutcomeEntryDlg : public QDialog {
    Q_OBJECT
public:
    TOutcomeEntryDlg(OutcomeEditorModel& model, QWidget* parent);

    // Fills the texts and boxes for the pair (i, j) from the working entry.
    void Prepare(int i, int j);

    QLineEdit* FirstEdit;
    QLineEdit* SecondEdit;
    QLineEdit* ThirdEdit;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();

private:
    OutcomeEditorModel& model_;
    int i_ = 1;
    int j_ = 2;
    QLabel* pairLabel_;
    QLabel* firstLabel_;
    QLabel* secondLabel_;
    QLabel* thirdLabel_;
};

} // namespace quorrel
