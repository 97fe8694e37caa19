#include "ui/TSingleRunForm.h"

#include "params/FieldParsers.h"
#include "ui/OutputWindows.h"
#include "ui/TInitProgressForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace quorrel {

TSingleRunForm::TSingleRunForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress,
                               const QString& heading, std::string invalidCycleMessage)
    : app_(app), dialogs_(dialogs), outputs_(outputs), progress_(progress),
      invalidCycleMessage_(std::move(invalidCycleMessage))
{
    setWindowTitle(QStringLiteral("Single Run"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);

    layout->addWidget(Heading(heading), 0, Qt::AlignHCenter);

    auto* cycleLine = new QHBoxLayout;
    cycleLine->addWidget(new QLabel(QStringLiteral("Display landscape every"), this));
    DisplayCycle = NumberField(false);
    DisplayCycle->setMaxLength(8);
    cycleLine->addWidget(DisplayCycle);
    cycleLine->addWidget(new QLabel(QStringLiteral("generations"), this));
    cycleLine->addStretch();
    layout->addLayout(cycleLine);

    auto* buttons = new QHBoxLayout;
    auto* mainButtons = new QVBoxLayout;
    StartBtn = new QPushButton(QStringLiteral("Start"), this);
    CloseBtn = new QPushButton(QStringLiteral("Close"), this);
    mainButtons->addWidget(StartBtn);
    mainButtons->addWidget(CloseBtn);
    mainButtons->addStretch();
    buttons->addLayout(mainButtons);
    auto* group = new QGroupBox(this);
    auto* groupLayout = new QVBoxLayout(group);
    StopBtn = new QPushButton(QStringLiteral("Stop"), group);
    ContinueBtn = new QPushButton(QStringLiteral("Continue"), group);
    ResetBtn = new QPushButton(QStringLiteral("Reset"), group);
    groupLayout->addWidget(StopBtn);
    groupLayout->addWidget(ContinueBtn);
    groupLayout->addWidget(ResetBtn);
    buttons->addWidget(group);
    layout->addLayout(buttons);

    auto* genLine = new QHBoxLayout;
    genLine->addWidget(new QLabel(QStringLiteral("Current generation:"), this));
    CurGen = NumberField(true);
    genLine->addWidget(CurGen);
    genLine->addWidget(new QLabel(QStringLiteral("of total "), this));
    TotalGen = NumberField(true);
    genLine->addWidget(TotalGen);
    layout->addLayout(genLine);

    connect(StartBtn, &QPushButton::clicked, this, &TSingleRunForm::StartBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TSingleRunForm::StopBtnClick);
    connect(ContinueBtn, &QPushButton::clicked, this, &TSingleRunForm::ContinueBtnClick);
    connect(ResetBtn, &QPushButton::clicked, this, &TSingleRunForm::ResetBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TSingleRunForm::CloseBtnClick);
    connect(DisplayCycle, &QLineEdit::textChanged, this, &TSingleRunForm::DisplayCycleChange);

    ShowIdle();
    setFixedSize(sizeHint());
}

void TSingleRunForm::showEvent(QShowEvent* event)
{
    // A window restored from the task bar keeps its state.
    if (!event->spontaneous())
        FormShow();
    TModelForm::showEvent(event);
}

void TSingleRunForm::FormShow()
{
    ShowIdle();
    SetDisplayCycle(app_.Options.DisplayCycle);
    // Putting the options' cycle into the field validates it like any other change of text.
    DisplayCycle->setText(QString::number(RunHost::DisplayCycle()));
    TotalGen->setText(QString::number(app_.Params.GParamRec.Maxgen));
    CurGen->setText(QStringLiteral("0"));
}

void TSingleRunForm::DisplayCycleChange()
{
    const IntField field = ParseIntField(DisplayCycle->text().toStdString());
    if (field.Status == FieldStatus::Value && field.Value >= 1 && field.Value <= app_.Params.GParamRec.Maxgen) {
        SetDisplayCycle(field.Value);
        return;
    }
    dialogs_.Message(MessageKind::Information, invalidCycleMessage_, MessageButtons::Ok);
    ShowCycle();
}

void TSingleRunForm::ShowCycle()
{
    const QSignalBlocker block(DisplayCycle);
    DisplayCycle->setText(QString::number(RunHost::DisplayCycle()));
}

void TSingleRunForm::StartBtnClick()
{
    if (!StartBtn->isEnabled())
        return;
    try {
        RunModel();
    } catch (const std::exception& e) {
        // The driver reports what happens inside a run; this catches what escapes it.
        dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
        ShowIdle();
    }
    RunEnded();
}

void TSingleRunForm::StopBtnClick()
{
    SetState(RunState::Stopped);
    ShowStopped();
}

void TSingleRunForm::ContinueBtnClick()
{
    SetState(RunState::Continued);
    ShowRunning();
}

void TSingleRunForm::ResetBtnClick() { SetState(RunState::Reset); }

void TSingleRunForm::CloseBtnClick()
{
    SetState(RunState::Closing);
    close();
}

void TSingleRunForm::closeEvent(QCloseEvent* event)
{
    SetState(RunState::Closing);
    event->accept();
    BringHomeToFront();
}

void TSingleRunForm::ShowIdle()
{
    StartBtn->setEnabled(true);
    CloseBtn->setEnabled(true);
    DisplayCycle->setEnabled(true);
    StopBtn->setEnabled(false);
    ContinueBtn->setEnabled(false);
    ResetBtn->setEnabled(false);
}

void TSingleRunForm::ShowRunning()
{
    StopBtn->setEnabled(true);
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
    DisplayCycle->setEnabled(false);
    ContinueBtn->setEnabled(false);
    ResetBtn->setEnabled(false);
}

void TSingleRunForm::ShowStopped()
{
    ContinueBtn->setEnabled(true);
    ResetBtn->setEnabled(true);
    DisplayCycle->setEnabled(true);
    StopBtn->setEnabled(false);
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
}

void TSingleRunForm::Breathe() { QCoreApplication::processEvents(); }

void TSingleRunForm::WaitWhileStopped() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

void TSingleRunForm::RunStarted()
{
    ShowRunning();
    CurGen->setText(QStringLiteral("0"));
}

void TSingleRunForm::HideOutputWindows(const OutputWindowSet& leftAlone) { outputs_.Hide(leftAlone); }

void TSingleRunForm::ShowProgress(const RunProgress& progress)
{
    CurGen->setText(QString::number(progress.Generation));
    // Unchanged text is not set again: every setText repaints the field.
    const QString total = QString::number(progress.TotalGenerations);
    if (TotalGen->text() != total)
        TotalGen->setText(total);
}

void TSingleRunForm::RunFinished(RunEnd how)
{
    ShowIdle();
    if (State() != RunState::Closing && how != RunEnd::Closed && how != RunEnd::Terminated)
        BringToFront();
}

InitProgress& TSingleRunForm::Initialising() { return progress_; }

LandscapeSink* TSingleRunForm::LandscapeWindow() { return &outputs_.Landscape; }

StatisticsSink* TSingleRunForm::StatisticsWindow() { return &outputs_.Statistics; }

SpaceTimeSink* TSingleRunForm::SpaceTimeWindow() { return &outputs_.SpaceTime; }

FreqTimeSink* TSingleRunForm::FreqTimeWindow() { return &outputs_.FreqTime; }

OutcomeStatisticsSink* TSingleRunForm::OutcomeStatisticsWindow() { return &outputs_.OutcomeStats; }

GrowthCompetitiveSink* TSingleRunForm::GCGraphWindow() { return &outputs_.GCGraph; }

GrowthCompetitiveSink* TSingleRunForm::GCGraphAWindow() { return &outputs_.GCGraphA; }

FreqTimeSink* TSingleRunForm::FreqTimeOutcomeWindow() { return &outputs_.FreqTimeOutcome; }

} // namespace quorrel
