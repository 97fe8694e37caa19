#include "ui/TSteppedRunForm.h"

#include "params/FieldParsers.h"
#include "ui/OutputWindows.h"
#include "ui/RepaintPacer.h"
#include "ui/TInitProgressForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>

#include <exception>
#include <utility>

namespace quorrel {

TSteppedRunForm::TSteppedRunForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs,
                                 TInitProgressForm& progress, std::string invalidCycleMessage)
    : app_(app), dialogs_(dialogs), outputs_(outputs), progress_(progress),
      invalidCycleMessage_(std::move(invalidCycleMessage))
{
}

QHBoxLayout* TSteppedRunForm::DisplayCycleLine()
{
    auto* cycleLine = new QHBoxLayout;
    cycleLine->addWidget(new QLabel(QStringLiteral("Display landscape every"), this));
    DisplayCycle = NumberField(false);
    DisplayCycle->setMaxLength(8);
    cycleLine->addWidget(DisplayCycle);
    cycleLine->addWidget(new QLabel(QStringLiteral("generations"), this));
    cycleLine->addStretch();
    return cycleLine;
}

void TSteppedRunForm::ConnectRunControls()
{
    connect(StartBtn, &QPushButton::clicked, this, &TSteppedRunForm::StartBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TSteppedRunForm::StopBtnClick);
    connect(ContinueBtn, &QPushButton::clicked, this, &TSteppedRunForm::ContinueBtnClick);
    connect(ResetBtn, &QPushButton::clicked, this, &TSteppedRunForm::ResetBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TSteppedRunForm::CloseBtnClick);
    connect(DisplayCycle, &QLineEdit::textChanged, this, &TSteppedRunForm::DisplayCycleChange);
}

void TSteppedRunForm::showEvent(QShowEvent* event)
{
    // A window restored from the task bar keeps its state.
    if (!event->spontaneous())
        FormShow();
    TModelForm::showEvent(event);
}

void TSteppedRunForm::FormShow()
{
    ShowIdle();
    ShowRunDefaults();
}

void TSteppedRunForm::ShowRunDefaults()
{
    SetDisplayCycle(app_.Options.DisplayCycle);
    // Putting the options' cycle into the field validates it like any other change of text.
    DisplayCycle->setText(QString::number(RunControl::DisplayCycle()));
    TotalGen->setText(QString::number(app_.Params.GParamRec.Maxgen));
    CurGen->setText(QStringLiteral("0"));
}

void TSteppedRunForm::DisplayCycleChange()
{
    const IntField field = ParseIntField(DisplayCycle->text().toStdString());
    if (field.Status == FieldStatus::Value && field.Value >= 1 && field.Value <= app_.Params.GParamRec.Maxgen) {
        SetDisplayCycle(field.Value);
        return;
    }
    dialogs_.Message(MessageKind::Information, invalidCycleMessage_, MessageButtons::Ok);
    ShowCycle();
}

void TSteppedRunForm::ShowCycle()
{
    const QSignalBlocker block(DisplayCycle);
    DisplayCycle->setText(QString::number(RunControl::DisplayCycle()));
}

void TSteppedRunForm::StartBtnClick()
{
    if (!StartBtn->isEnabled())
        return;
    // The run may go faster than the screen: its windows repaint at the screen's rate.
    const RepaintPacer pacer;
    try {
        RunModel();
    } catch (const std::exception& e) {
        // The driver reports what happens inside a run; this catches what escapes it.
        dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
        ShowIdle();
    }
    RunEnded();
}

void TSteppedRunForm::StopBtnClick()
{
    SetState(RunState::Stopped);
    ShowStopped();
}

void TSteppedRunForm::ContinueBtnClick()
{
    SetState(RunState::Continued);
    ShowRunning();
}

void TSteppedRunForm::ResetBtnClick() { SetState(RunState::Reset); }

void TSteppedRunForm::CloseBtnClick()
{
    SetState(RunState::Closing);
    close();
}

void TSteppedRunForm::closeEvent(QCloseEvent* event)
{
    SetState(RunState::Closing);
    event->accept();
    BringHomeToFront();
}

void TSteppedRunForm::ShowIdle()
{
    StartBtn->setEnabled(true);
    CloseBtn->setEnabled(true);
    DisplayCycle->setEnabled(true);
    EnableIdleControls(true);
    StopBtn->setEnabled(false);
    ContinueBtn->setEnabled(false);
    ResetBtn->setEnabled(false);
}

void TSteppedRunForm::ShowRunning()
{
    StopBtn->setEnabled(true);
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
    DisplayCycle->setEnabled(false);
    EnableIdleControls(false);
    ContinueBtn->setEnabled(false);
    ResetBtn->setEnabled(false);
}

void TSteppedRunForm::ShowStopped()
{
    ContinueBtn->setEnabled(true);
    ResetBtn->setEnabled(true);
    DisplayCycle->setEnabled(true);
    StopBtn->setEnabled(false);
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
}

void TSteppedRunForm::Breathe() { QCoreApplication::processEvents(); }

void TSteppedRunForm::WaitWhileStopped() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

void TSteppedRunForm::RunStarted()
{
    ShowRunning();
    CurGen->setText(QStringLiteral("0"));
}

void TSteppedRunForm::HideOutputWindows(const OutputWindowSet& leftAlone) { outputs_.Hide(leftAlone); }

void TSteppedRunForm::RunFinished(RunEnd how)
{
    ShowIdle();
    if (State() != RunState::Closing && how != RunEnd::Closed && how != RunEnd::Terminated)
        BringToFront();
}

InitProgress& TSteppedRunForm::Initialising() { return progress_; }

} // namespace quorrel
