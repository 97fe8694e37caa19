#include "ui/TRunModeForm.h"

#include "ui/OutputWindows.h"
#include "ui/TModelForm.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorrel {

namespace {

QGroupBox* Group(QWidget* parent, const QString& title, QRadioButton*& first, const QString& firstText,
                 QRadioButton*& second, const QString& secondText)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    first = new QRadioButton(firstText, group);
    second = new QRadioButton(secondText, group);
    first->setChecked(true);
    layout->addWidget(first);
    layout->addWidget(second);
    return group;
}

} // namespace

TRunModeForm::TRunModeForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, const ModelWindows& windows)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      app_(app), dialogs_(dialogs), outputs_(outputs), windows_(windows)
{
    setWindowTitle(QStringLiteral("Run Control"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    LandscapeGroup = Group(this, QStringLiteral("Landscape"), SingleLandscape, QStringLiteral("Single Landscape"),
                           MultipleLandscapes, QStringLiteral("Multiple Landscapes"));
    OutcomeGroup = Group(this, QStringLiteral("Outcome"), FixedOutcome, QStringLiteral("Fixed Outcome"),
                         VariableOutcome, QStringLiteral("Variable Outcome"));
    RunGroup = Group(this, QStringLiteral("Run"), SingleRun, QStringLiteral("Single Run"), MonteCarlo,
                     QStringLiteral("Monte Carlo"));
    groups->addWidget(LandscapeGroup);
    groups->addWidget(OutcomeGroup);
    groups->addWidget(RunGroup);
    layout->addLayout(groups);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &TRunModeForm::OKBtnClick);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    for (QRadioButton* b : {SingleLandscape, MultipleLandscapes})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                LandscapeGroupClick();
        });
    for (QRadioButton* b : {FixedOutcome, VariableOutcome, SingleRun, MonteCarlo})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                UpdateAvailability();
        });
    UpdateAvailability();
    setFixedSize(sizeHint());
}

int TRunModeForm::ModeIndex(bool multiple, bool variable, bool monteCarlo)
{
    if (multiple)
        return variable ? 5 : 4;
    return (variable ? 2 : 0) + (monteCarlo ? 1 : 0);
}

void TRunModeForm::LandscapeGroupClick()
{
    // An array of landscapes has no Monte Carlo series: the Run group is locked to a single run.
    if (MultipleLandscapes->isChecked()) {
        SingleRun->setChecked(true);
        RunGroup->setEnabled(false);
    } else {
        RunGroup->setEnabled(true);
    }
    UpdateAvailability();
}

void TRunModeForm::UpdateAvailability()
{
    // A choice is offered when, with the other two choices as they stand, it names a mode
    // that has a window; the choices made stay selectable.
    const bool multiple = MultipleLandscapes->isChecked();
    const bool variable = VariableOutcome->isChecked();
    const bool mc = MonteCarlo->isChecked();
    auto has = [this](bool m, bool v, bool c) { return windows_[ModeIndex(m, v, c && !m)] != nullptr; };
    auto offer = [](QRadioButton* button, bool available) { button->setEnabled(button->isChecked() || available); };
    offer(SingleLandscape, has(false, variable, mc));
    offer(MultipleLandscapes, has(true, variable, mc));
    offer(FixedOutcome, has(multiple, false, mc));
    offer(VariableOutcome, has(multiple, true, mc));
    offer(SingleRun, has(multiple, variable, false));
    offer(MonteCarlo, has(multiple, variable, true));
}

void TRunModeForm::OKBtnClick()
{
    const bool multiple = MultipleLandscapes->isChecked();
    const bool variable = VariableOutcome->isChecked();
    const bool mc = MonteCarlo->isChecked();

    app_.ReloadSeed();
    if (!variable && app_.Params.HasVariablePair()) {
        dialogs_.Message(MessageKind::Error, "Some interactions in the outcome matrix are set to variable.",
                         MessageButtons::Ok);
        return;
    }
    if (multiple && mc) {
        dialogs_.Message(MessageKind::Information, "This function has not been implemented.", MessageButtons::Ok);
        return;
    }
    TModelForm* window = windows_[ModeIndex(multiple, variable, mc)];
    if (window == nullptr)
        return;
    window->BringToFront();
    outputs_.Hide(HideIdleOutputWindows({.Multiple = multiple,
                                                 .Outcome = variable ? OutcomeKind::Variable : OutcomeKind::Fixed,
                                                 .MonteCarlo = mc},
                                                app_.Options));
    accept();
}

} // namespace quorrel
