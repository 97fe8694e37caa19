#include "ui/TMonteCarloForm.h"

#include "runs/MonteCarloResultFile.h"
#include "runs/MonteCarloSeries.h"
#include "ui/ClickableLineEdit.h"
#include "ui/OutputWindows.h"
#include "ui/RepaintPacer.h"
#include "ui/TInitProgressForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace quorrel {

TMonteCarloForm::TMonteCarloForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs,
                                 TInitProgressForm& progress, bool variableOutcome)
    : app_(app), dialogs_(dialogs), outputs_(outputs), progress_(progress)
{
    series_ = std::make_unique<MonteCarloSeries>(app, variableOutcome ? OutcomeKind::Variable : OutcomeKind::Fixed);

    setWindowTitle(QStringLiteral("Monte Carlo"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addWidget(Heading(variableOutcome ? QStringLiteral("Single landscape, Variable outcome")
                                              : QStringLiteral("Single landscape, Fixed outcome")),
                      0, Qt::AlignHCenter);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Repeat for"), this), 0, 0);
    auto* repeatLine = new QHBoxLayout;
    RepeatTimes = NumberField(false);
    RepeatTimes->setMaxLength(6);
    const QString repeatHint = QStringLiteral("A number between 2 and 1000");
    RepeatTimes->setToolTip(repeatHint);
    RepeatTimes->setStatusTip(repeatHint);
    repeatLine->addWidget(RepeatTimes);
    repeatLine->addWidget(new QLabel(QStringLiteral("times"), this));
    repeatLine->addStretch();
    fields->addLayout(repeatLine, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Write result to"), this), 1, 0);
    ResultFile = new ClickableLineEdit(this);
    ResultFile->setMinimumWidth(ResultFile->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 44);
    if (variableOutcome) {
        const QString fileHint = QStringLiteral("Click to select a file");
        ResultFile->setToolTip(fileHint);
        ResultFile->setStatusTip(fileHint);
    }
    fields->addWidget(ResultFile, 1, 1);
    layout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    StartBtn = new QPushButton(QStringLiteral("Start"), this);
    StopBtn = new QPushButton(QStringLiteral("Stop"), this);
    CloseBtn = new QPushButton(QStringLiteral("Close"), this);
    buttons->addStretch();
    buttons->addWidget(StartBtn);
    buttons->addWidget(StopBtn);
    buttons->addWidget(CloseBtn);
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* progressLine = new QHBoxLayout;
    progressLine->addWidget(new QLabel(QStringLiteral("Currently at"), this));
    CurrentRun = NumberField(true);
    progressLine->addWidget(CurrentRun);
    progressLine->addWidget(new QLabel(QStringLiteral("of"), this));
    TotalRun = NumberField(true);
    progressLine->addWidget(TotalRun);
    progressLine->addWidget(new QLabel(QStringLiteral("runs"), this));
    progressLine->addStretch();
    layout->addLayout(progressLine);

    connect(StartBtn, &QPushButton::clicked, this, &TMonteCarloForm::StartBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TMonteCarloForm::StopBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TMonteCarloForm::CloseBtnClick);
    connect(ResultFile, &ClickableLineEdit::clicked, this, &TMonteCarloForm::ResultFileClick);

    ShowIdle();
    setFixedSize(sizeHint());
}

TMonteCarloForm::~TMonteCarloForm() = default;

void TMonteCarloForm::ResultFileClick()
{
    const std::optional<std::string> chosen =
        dialogs_.ChooseFile(ResultFileDialog(ResultFile->text().trimmed().toStdString(), app_.StartDir()));
    if (chosen)
        ResultFile->setText(QString::fromStdString(*chosen).trimmed());
}

void TMonteCarloForm::StartBtnClick()
{
    if (!StartBtn->isEnabled())
        return;
    // The run may go faster than the screen: its windows repaint at the screen's rate.
    const RepaintPacer pacer;
    try {
        series_->Start(*this, *this, RepeatTimes->text().toStdString(), ResultFile->text().trimmed().toStdString());
    } catch (const std::exception& e) {
        // The driver reports what happens inside a series; this catches what escapes it.
        dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
        ShowIdle();
    }
    RunEnded();
}

void TMonteCarloForm::StopBtnClick() { SetState(RunState::Stopped); }

void TMonteCarloForm::CloseBtnClick()
{
    SetState(RunState::Closing);
    close();
}

void TMonteCarloForm::closeEvent(QCloseEvent* event)
{
    SetState(RunState::Closing);
    event->accept();
    BringHomeToFront();
}

void TMonteCarloForm::ShowIdle()
{
    StartBtn->setEnabled(true);
    CloseBtn->setEnabled(true);
    RepeatTimes->setEnabled(true);
    ResultFile->setEnabled(true);
    StopBtn->setEnabled(false);
}

void TMonteCarloForm::ShowRunning()
{
    StopBtn->setEnabled(true);
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
    RepeatTimes->setEnabled(false);
    ResultFile->setEnabled(false);
}

void TMonteCarloForm::Breathe() { QCoreApplication::processEvents(); }

void TMonteCarloForm::RunStarted() { ShowRunning(); }

void TMonteCarloForm::HideOutputWindows(const OutputWindowSet& leftAlone) { outputs_.Hide(leftAlone); }

void TMonteCarloForm::ShowProgress(const RunProgress& progress)
{
    // The fields change once a run, not every generation.
    const QString run = QString::number(progress.Run);
    if (CurrentRun->text() != run)
        CurrentRun->setText(run);
    const QString runs = QString::number(progress.TotalRuns);
    if (TotalRun->text() != runs)
        TotalRun->setText(runs);
}

void TMonteCarloForm::RunFinished(RunEnd how)
{
    ShowIdle();
    if (State() != RunState::Closing && how != RunEnd::Closed && how != RunEnd::Terminated)
        BringToFront();
}

InitProgress& TMonteCarloForm::Initialising() { return progress_; }

} // namespace quorrel
