#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quorrel {

class OutcomeEditorModel;

// The small dialog that sets the percentage of pure stand-offs in random networks. Its box
// keeps the last text between showings.
class TStandoffDlg : public QDialog {
    Q_OBJECT
public:
    TStandoffDlg(OutcomeEditorModel& model, QWidget* parent);

    QLineEdit* StandoffEdit;
    QPushButton* OKBtn;

    void OKBtnClick();

private:
    OutcomeEditorModel& model_;
};

} // namespace quorrel
