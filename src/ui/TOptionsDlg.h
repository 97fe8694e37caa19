#pragma once

#include "engine/Dialogs.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"
#include "ui/OptionFileChooser.h"
#include "ui/OptionsEditor.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quorrel {

class ClickableLineEdit;

// "Output Options": edits a working copy of the output options, one page per group of
// outputs. Every control writes the working copy at once; "&OK" commits it after its
// warnings, "&Cancel" discards it, "&Default" replaces it by the defaults.
class TOptionsDlg : public QDialog {
    Q_OBJECT
public:
    TOptionsDlg(OptionStruct& options, const ParameterSet& params, Dialogs& dialogs, QWidget* parent = nullptr);

    // Copies the live options into the working copy and fills the controls; before each opening.
    void FormShow();
    void OKBtnClick();
    void DefaultBtnClick();
    // A number box's text has been entered.
    void NumberChange(OptionNumber field);
    // A file-name box has been clicked.
    void FileNameClick(OptionFile file);
    void ClearAllSpeciesClick();
    void SetAllSpeciesClick();

    const OptionStruct& Working() const { return editor_.Working; }

    QLineEdit* NumberBox(OptionNumber field) const { return numbers_.at(field); }
    ClickableLineEdit* FileNameBox(OptionFile file) const { return files_.at(file); }
    QCheckBox* CheckBox(bool OptionStruct::*field) const;
    // The sample picture beside a show box, or null.
    QLabel* Sample(bool OptionStruct::*field) const;

    QTabWidget* Pages;
    QButtonGroup* WriteLandTypes;
    QButtonGroup* WriteIntTypes;
    QLineEdit* GCCycle;
    std::array<QCheckBox*, 41> SpeciesBoxes{};
    QPushButton* ClearAllBtn;
    QPushButton* SetAllBtn;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* DefaultBtn;

private:
    QWidget* LandscapePage();
    QWidget* StatisticsPage();
    QWidget* TimePlotPage();
    QWidget* OutcomePage();
    QWidget* GCGraphPage();
    QWidget* SlidingWindowsPage();

    QCheckBox* Check(QWidget* parent, const char* caption, bool OptionStruct::*field, bool withSample = false);
    QLineEdit* Number(QWidget* parent, OptionNumber field, int maxLength = 10);
    ClickableLineEdit* FileName(QWidget* parent, OptionFile file);
    QWidget* FileTypes(QWidget* parent, int32_t OptionStruct::*field, QButtonGroup*& group);

    void Fill();
    void FillNumbers();
    void UpdateEnabling();

    OptionStruct& live_;
    const ParameterSet& params_;
    Dialogs& dialogs_;
    OptionsEditor editor_;
    bool filling_ = false;

    std::map<OptionNumber, QLineEdit*> numbers_;
    std::map<OptionFile, ClickableLineEdit*> files_;
    struct CheckControl {
        bool OptionStruct::*field;
        QCheckBox* box;
        QLabel* sample;
    };
    std::vector<CheckControl> checks_;
    std::vector<QWidget*> finalTypeButtons_;
    std::vector<QWidget*> multipleControls_;
    std::vector<QWidget*> slidingControls_;
};

} // namespace quorrel
