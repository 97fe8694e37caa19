#pragma once

#include "engine/Dialogs.h"
#include "params/GeneralParameterCheck.h"
#include "params/ParameterSet.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorrel {

class ClickableLineEdit;

// "Input General Parameters": edits every field of GParamRec. OK checks the fields in order
// and replaces GParamRec in one assignment only when all pass; Cancel changes nothing.
class TGParamDlg : public QDialog {
    Q_OBJECT
public:
    TGParamDlg(ParameterSet& params, Dialogs& dialogs, QWidget* parent = nullptr);

    // Fills the controls afresh from GParamRec; called before each opening.
    void FormShow();
    void OKBtnClick();
    void CoverFileClick();

    // The controls' texts as the check reads them.
    GeneralParameterTexts Texts() const;

    QLineEdit* Maxspec;
    QLineEdit* MaxX;
    QLineEdit* MaxY;
    QLineEdit* PIX;
    QLineEdit* Maxgen;
    QLineEdit* RandSeed;
    QComboBox* Init;
    QComboBox* Cover;
    QLineEdit* TotalCover;
    QComboBox* Border;
    QLineEdit* OverGRate;
    QLineEdit* DisturbProb;
    QLineEdit* PatchSize;
    QComboBox* PatchType;
    QLineEdit* Influx;
    QComboBox* RecruitType;
    QLineEdit* MutationGR;
    QLineEdit* MutAmtGR;
    QLineEdit* MutationOTC;
    QLineEdit* MutAmtOTC;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    ClickableLineEdit* CoverFile;
    QCheckBox* MeanField;

private:
    ParameterSet& params_;
    Dialogs& dialogs_;
};

} // namespace quorrel
