#include "ui/TSingleRunForm.h"

#include "ui/OutputWindows.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace quorrel {

TSingleRunForm::TSingleRunForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress,
                               const QString& heading, std::string invalidCycleMessage)
    : TSteppedRunForm(app, dialogs, outputs, progress, std::move(invalidCycleMessage))
{
    setWindowTitle(QStringLiteral("Single Run"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);

    layout->addWidget(Heading(heading), 0, Qt::AlignHCenter);
    layout->addLayout(DisplayCycleLine());

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
    CurGen = ProgressField();
    genLine->addWidget(CurGen);
    genLine->addWidget(new QLabel(QStringLiteral("of total "), this));
    TotalGen = NumberField(true);
    genLine->addWidget(TotalGen);
    layout->addLayout(genLine);

    ConnectRunControls();
    ShowIdle();
    setFixedSize(sizeHint());
}

void TSingleRunForm::ShowProgress(const RunProgress& progress)
{
    CurGen->setText(QString::number(progress.Generation));
    // Unchanged text is not set again: every setText repaints the field.
    const QString total = QString::number(progress.TotalGenerations);
    if (TotalGen->text() != total)
        TotalGen->setText(total);
}



} // namespace quorrel
