#include "ui/TModelArrayForm.h"

#include "runs/LandscapeArrayRun.h"
#include "ui/ClickableLineEdit.h"
#include "ui/OutputWindows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

namespace quorrel {

namespace {

QComboBox* SpreadList(QWidget* parent)
{
    auto* list = new QComboBox(parent);
    for (uint8_t spread : {UniformSpread, ClumpedSpread, GradientSpread})
        list->addItem(QString::fromStdString(ArraySpreadName(spread)));
    return list;
}

QLabel* Note(const QString& text, QWidget* parent)
{
    auto* note = new QLabel(text, parent);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    note->setFont(small);
    return note;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

} // namespace

TModelArrayForm::TModelArrayForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs,
                                 TInitProgressForm& progress, bool variableOutcome)
    : TSteppedRunForm(app, dialogs, outputs, progress,
                      "You did not specify the display cycle properly.\rIt will stay unchanged")
{
    run_ = std::make_unique<LandscapeArrayRun>(app, variableOutcome ? OutcomeKind::Variable : OutcomeKind::Fixed,
                                               outputs.Sinks());

    setWindowTitle(variableOutcome ? QStringLiteral("Single Run") : QStringLiteral("Multiple Landscapes (Single Run)"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addWidget(Heading(variableOutcome ? QStringLiteral("Multiple landscapes, Variable outcome")
                                              : QStringLiteral("Multiple landscapes, Fixed outcome")),
                      0, Qt::AlignHCenter);
    SettingsPanel = BuildSettingsPanel(variableOutcome);
    layout->addWidget(SettingsPanel);

    layout->addLayout(DisplayCycleLine());

    auto* buttons = new QHBoxLayout;
    StartBtn = new QPushButton(QStringLiteral("Start"), this);
    StopBtn = new QPushButton(QStringLiteral("Stop"), this);
    ContinueBtn = new QPushButton(QStringLiteral("Continue"), this);
    ResetBtn = new QPushButton(QStringLiteral("Reset"), this);
    CloseBtn = new QPushButton(QStringLiteral("Close"), this);
    for (QPushButton* b : {StartBtn, StopBtn, ContinueBtn, ResetBtn, CloseBtn})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    auto* progressLines = new QGridLayout;
    progressLines->addWidget(new QLabel(QStringLiteral("Current generation:"), this), 0, 0);
    CurGen = ProgressField();
    progressLines->addWidget(CurGen, 0, 1);
    progressLines->addWidget(new QLabel(QStringLiteral("of total"), this), 0, 2);
    TotalGen = NumberField(true);
    progressLines->addWidget(TotalGen, 0, 3);
    progressLines->addWidget(new QLabel(QStringLiteral("Current: Row No."), this), 1, 0);
    CurRow = ProgressField();
    progressLines->addWidget(CurRow, 1, 1);
    progressLines->addWidget(new QLabel(QStringLiteral("Col No."), this), 1, 2);
    CurCol = ProgressField();
    progressLines->addWidget(CurCol, 1, 3);
    progressLines->setColumnStretch(4, 1);
    layout->addLayout(progressLines);

    ConnectRunControls();
    connect(InitGRFName, &ClickableLineEdit::clicked, this, &TModelArrayForm::InitGRFNameClick);
    if (InitOTCFName != nullptr)
        connect(InitOTCFName, &ClickableLineEdit::clicked, this, &TModelArrayForm::InitOTCFNameClick);

    ShowSettings();
    ShowIdle();
    setFixedSize(sizeHint());
}

TModelArrayForm::~TModelArrayForm() = default;

QGroupBox* TModelArrayForm::BuildSettingsPanel(bool variableOutcome)
{
    auto* panel = new QGroupBox(this);
    auto* grid = new QGridLayout(panel);
    grid->setVerticalSpacing(6);
    int row = 0;

    grid->addWidget(new QLabel(QStringLiteral("Total number of landscapes:"), panel), row, 0);
    auto* size = new QHBoxLayout;
    NumOfRow = NumberField(false);
    NumOfRow->setMaxLength(2);
    NumOfCol = NumberField(false);
    NumOfCol->setMaxLength(2);
    size->addWidget(NumOfRow);
    size->addWidget(new QLabel(QStringLiteral("Rows  X"), panel));
    size->addWidget(NumOfCol);
    size->addWidget(new QLabel(QStringLiteral("Columns"), panel));
    size->addStretch();
    grid->addLayout(size, row++, 1);

    grid->addWidget(new QLabel(variableOutcome ? QStringLiteral("Initial distribution of Growth Rates among landscapes:")
                                               : QStringLiteral("Initial distribution of Gowth Rates among landscapes:"),
                               panel),
                    row, 0);
    TypeGRate = SpreadList(panel);
    grid->addWidget(TypeGRate, row++, 1, Qt::AlignLeft);
    grid->addWidget(Note(QStringLiteral("(applies only to variable growth rates)"), panel), row++, 0);

    if (variableOutcome) {
        grid->addWidget(new QLabel(QStringLiteral("Type of outcome among landscapes:"), panel), row, 0);
        TypeVOTC = SpreadList(panel);
        grid->addWidget(TypeVOTC, row++, 1, Qt::AlignLeft);
        grid->addWidget(Note(QStringLiteral("(applies only to variable outcomes)"), panel), row++, 0);
    }

    auto* between = new QGroupBox(QStringLiteral("Influx between landscapes"), panel);
    auto* betweenLine = new QHBoxLayout(between);
    betweenLine->addWidget(new QLabel(QStringLiteral("Probability:"), between));
    InfluxBetween = NumberField(false);
    InfluxBetween->setMaxLength(10);
    betweenLine->addWidget(InfluxBetween);
    betweenLine->addSpacing(12);
    betweenLine->addWidget(new QLabel(QStringLiteral("Time Steps:"), between));
    InfluxTimeStep = NumberField(false);
    betweenLine->addWidget(InfluxTimeStep);
    betweenLine->addStretch();
    auto* inside = new QGroupBox(QStringLiteral("Influx within a landscape"), panel);
    auto* insideLine = new QHBoxLayout(inside);
    insideLine->addWidget(new QLabel(QStringLiteral("Probability:"), inside));
    InfluxInside = NumberField(false);
    InfluxInside->setMaxLength(10);
    insideLine->addWidget(InfluxInside);
    insideLine->addStretch();
    auto* influx = new QHBoxLayout;
    influx->addWidget(between, 3);
    influx->addWidget(inside, 2);
    grid->addLayout(influx, row++, 0, 1, 2);

    auto fileLine = [&](const QString& label, ClickableLineEdit*& field) {
        grid->addWidget(new QLabel(label, panel), row++, 0, 1, 2);
        field = new ClickableLineEdit(panel);
        grid->addWidget(field, row++, 0, 1, 2);
    };
    fileLine(variableOutcome ? QStringLiteral("File name for initial growth rates of each landscape:")
                             : QStringLiteral("Output file name for initial growth rates of each landscape:"),
             InitGRFName);
    if (variableOutcome)
        fileLine(QStringLiteral("Output file name for initial outcome ranges of each landscape:"), InitOTCFName);
    grid->setColumnStretch(1, 1);
    return panel;
}

void TModelArrayForm::FormShow()
{
    ShowIdle();
    PrepareArrayWindow(app_.Params, app_.Array);
    ShowSettings();
    ShowRunDefaults();
    CurRow->clear();
    CurCol->clear();
}

void TModelArrayForm::ShowSettings()
{
    // The settings are shared by both array windows: each shows what either stored last.
    const ArraySettingTexts t = ArraySettingTextsFrom(app_.Array);
    NumOfRow->setText(Text(t.NumOfRow));
    NumOfCol->setText(Text(t.NumOfCol));
    TypeGRate->setCurrentText(Text(t.TypeGRate));
    InfluxBetween->setText(Text(t.InfluxBetween));
    InfluxTimeStep->setText(Text(t.InfluxTimeStep));
    InfluxInside->setText(Text(t.InfluxInside));
    InitGRFName->setText(Text(app_.Array.InitGRFName));
    if (TypeVOTC != nullptr)
        TypeVOTC->setCurrentText(Text(t.TypeVOTC));
    if (InitOTCFName != nullptr)
        InitOTCFName->setText(Text(app_.Array.InitOTCFName));
}

ArraySettingTexts TModelArrayForm::SettingTexts() const
{
    ArraySettingTexts t;
    t.NumOfRow = NumOfRow->text().toStdString();
    t.NumOfCol = NumOfCol->text().toStdString();
    t.TypeGRate = TypeGRate->currentText().toStdString();
    t.InfluxBetween = InfluxBetween->text().toStdString();
    t.InfluxTimeStep = InfluxTimeStep->text().toStdString();
    t.InfluxInside = InfluxInside->text().toStdString();
    if (TypeVOTC != nullptr)
        t.TypeVOTC = TypeVOTC->currentText().toStdString();
    return t;
}

std::string TModelArrayForm::ChooseTableFile(const std::string& title, const std::string& current)
{
    FileDialogRequest request;
    request.save = true;
    request.title = title;
    request.filter = "Data files (*.dat)|*.dat|All Files (*.*)|*.*";
    request.defaultExtension = "dat";
    request.overwritePrompt = true;
    const std::filesystem::path name(current);
    request.initialFolder = name.has_parent_path() ? name.parent_path().string() : app_.StartDir().string();
    request.initialName = name.filename().string();
    const std::optional<std::string> chosen = dialogs_.ChooseFile(request);
    if (!chosen)
        return current;
    return QString::fromStdString(*chosen).trimmed().toStdString();
}

void TModelArrayForm::InitGRFNameClick()
{
    app_.Array.InitGRFName =
        ChooseTableFile("Write initial growth rates of each landscape to file", app_.Array.InitGRFName);
    InitGRFName->setText(Text(app_.Array.InitGRFName));
}

void TModelArrayForm::InitOTCFNameClick()
{
    app_.Array.InitOTCFName =
        ChooseTableFile("Write initial outcome ranges of each landscape to file", app_.Array.InitOTCFName);
    InitOTCFName->setText(Text(app_.Array.InitOTCFName));
}

void TModelArrayForm::RunModel() { run_->Start(*this, *this, SettingTexts()); }

void TModelArrayForm::EnableIdleControls(bool enabled) { SettingsPanel->setEnabled(enabled); }

void TModelArrayForm::ShowProgress(const RunProgress& progress)
{
    CurGen->setText(QString::number(progress.Generation));
    // Unchanged text is not set again: every setText repaints the field.
    const QString total = QString::number(progress.TotalGenerations);
    if (TotalGen->text() != total)
        TotalGen->setText(total);
    // Row 0: the generation begins, no landscape is being computed yet.
    if (progress.Row > 0) {
        CurRow->setText(QString::number(progress.Row));
        CurCol->setText(QString::number(progress.Column));
    }
}


} // namespace quorrel
