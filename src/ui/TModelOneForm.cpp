#include "ui/TModelOneForm.h"

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

namespace quorrel {

TModelOneForm::TModelOneForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress)
    : app_(app), dialogs_(dialogs), outputs_(outputs), progress_(progress), run_(app)
{
    setWindowTitle(QStringLiteral("Single Run"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);

    layout->addWidget(Heading(QStringLiteral("Single landscape, Fixed outcome")), 0, Qt::AlignHCenter);

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

    connect(StartBtn, &QPushButton::clicked, this, &TModelOneForm::StartBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TModelOneForm::StopBtnClick);
    connect(ContinueBtn, &QPushButton::clicked, this, &TModelOneForm::ContinueBtnClick);
    connect(ResetBtn, &QPushButton::clicked, this, &TModelOneForm::ResetBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TModelOneForm::CloseBtnClick);
    connect(DisplayCycle, &QLineEdit::textChanged, this, &TModelOneForm::DisplayCycleChange);

    ShowIdle();
    setFixedSize(sizeHint());
}

void TModelOneForm::showEvent(QShowEvent* event)
{
    // A window restored from the task bar keeps its state.
    if (!event->spontaneous())
        FormShow();
    TModelForm::showEvent(event);
}

void TModelOneForm::FormShow()
{
    ShowIdle();
    SetDisplayCycle(app_.Options.DisplayCycle);
    // Putting the options' cycle into the field validates it like any other change of text.
    DisplayCycle->setText(QString::number(RunHost::DisplayCycle()));
    TotalGen->setText(QString::number(app_.Params.GParamRec.Maxgen));
    CurGen->setText(QStringLiteral("0"));
}

void TModelOneForm::DisplayCycleChange()
{
    const IntField field = ParseIntField(DisplayCycle->text().toStdString());
    if (field.Status == FieldStatus::Value && field.Value >= 1 && field.Value <= app_.Params.GParamRec.Maxgen) {
        SetDisplayCycle(field.Value);
        return;
    }
    dialogs_.Message(MessageKind::Information,
                     "You have not specified a valid display cycle.\rIt will remain unchanged.", MessageButtons::Ok);
    ShowCycle();
}

void TModelOneForm::ShowCycle()
{
    const QSignalBlocker block(DisplayCycle);
    DisplayCycle->setText(QString::number(RunHost::DisplayCycle()));
}

void TModelOneForm::StartBtnClick()
{
    if (!StartBtn->isEnabled())
        return;
    try {
        run_.Start(*this);
    } catch (const std::exception& e) {
        // The driver reports what happens inside a run; this catches what escapes it.
        dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
        ShowIdle();
    }
    RunEnded();
}

void TModelOneForm::StopBtnClick()
{
    SetState(RunState::Stopped);
    ShowStopped();
}

void TModelOneForm::ContinueBtnClick()
{
    SetState(RunState::Continued);
    ShowRunning();
}

void TModelOneForm::ResetBtnClick() { SetState(RunState::Reset); }

void TModelOneForm::CloseBtnClick()
{
    SetState(RunState::Closing);
    close();
}

void TModelOneForm::closeEvent(QCloseEvent* event)
{
    SetState(RunState::Closing);
    event->accept();
    BringHomeToFront();
}

void TModelOneForm::ShowIdle()
{
    StartBtn->setEnabled(true);
    CloseBtn->setEnabled(true);
    DisplayCycle->setEnabled(true);
    StopBtn->setEnabled(false);
    ContinueBtn->setEnabled(false);
    ResetBtn->setEnabled(false);
}

void TModelOneForm::ShowRunning()
{
    StopBtn->setEnabled(true);
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
    DisplayCycle->setEnabled(false);
    ContinueBtn->setEnabled(false);
    ResetBtn->setEnabled(false);
}

void TModelOneForm::ShowStopped()
{
    ContinueBtn->setEnabled(true);
    ResetBtn->setEnabled(true);
    DisplayCycle->setEnabled(true);
    StopBtn->setEnabled(false);
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
}

void TModelOneForm::Breathe() { QCoreApplication::processEvents(); }

void TModelOneForm::WaitWhileStopped() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

void TModelOneForm::RunStarted()
{
    ShowRunning();
    CurGen->setText(QStringLiteral("0"));
}

void TModelOneForm::HideOutputWindows(const OutputWindowSet& leftAlone) { outputs_.Hide(leftAlone); }

void TModelOneForm::ShowProgress(const RunProgress& progress)
{
    CurGen->setText(QString::number(progress.Generation));
    // Unchanged text is not set again: every setText repaints the field.
    const QString total = QString::number(progress.TotalGenerations);
    if (TotalGen->text() != total)
        TotalGen->setText(total);
}

void TModelOneForm::RunFinished(RunEnd how)
{
    ShowIdle();
    if (State() != RunState::Closing && how != RunEnd::Closed && how != RunEnd::Terminated)
        BringToFront();
}

InitProgress& TModelOneForm::Initialising() { return progress_; }

LandscapeSink* TModelOneForm::LandscapeWindow() { return &outputs_.Landscape; }

StatisticsSink* TModelOneForm::StatisticsWindow() { return &outputs_.Statistics; }

} // namespace quorrel
