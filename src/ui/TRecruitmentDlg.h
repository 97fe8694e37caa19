#pragma once

#include "ui/RecruitmentEditorModel.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace quorrel {

// "Input Recruitment Vector": one recruitment probability per species.
class TRecruitmentDlg : public QDialog {
    Q_OBJECT
public:
    TRecruitmentDlg(ParameterSet& params, Dialogs& dialogs, QWidget* parent = nullptr);

    // Grid := the parameter set.
    void Prepare();

    QTableWidget* RecruitmentGrid;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* ResetBtn;

    void OKBtnClick();
    void ResetBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();

    RecruitmentEditorModel model_;
};

} // namespace quorrel
