#pragma once

#include "params/ParameterSet.h"

#include <QDialog>

#include <map>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorrel {

// "General Parameters": a read-only view of GParamRec with the dialog's captions and number
// forms. Nothing in it changes the parameter set.
class TGParamViewForm : public QDialog {
    Q_OBJECT
public:
    explicit TGParamViewForm(const ParameterSet& params, QWidget* parent = nullptr);

    // Shows GParamRec as it is now.
    void Refresh();

    // The shown text of a field, by the parameter file's key ("MaxX", "RecruitType", ...).
    QString Value(const std::string& key) const;

    QCheckBox* MeanField;
    QPushButton* CloseBtn;

private:
    const ParameterSet& params_;
    std::map<std::string, QLineEdit*> values_;
};

} // namespace quorrel
