#include "ui/TMainForm.h"

#include "engine/LandscapeText.h"
#include "params/ParameterFile.h"
#include "ui/FileNamePrompt.h"
#include "ui/LatticePicture.h"
#include "ui/OutputWindows.h"
#include "ui/ParameterEditors.h"
#include "ui/TGParamDlg.h"
#include "ui/TGParamViewForm.h"
#include "ui/TInfoForm.h"
#include "ui/TInitProgressForm.h"
#include "ui/TModelArrayForm.h"
#include "ui/TModelOneForm.h"
#include "ui/TModelOneVarForm.h"
#include "ui/TMonteCarloForm.h"
#include "ui/TOptionsDlg.h"
#include "ui/WindowLayout.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>

#include <filesystem>
#include <functional>

namespace quorrel {

namespace {

// The ruleset built into this program: the one whose name is empty (the fixed- and
// variable-outcome contention rules).
constexpr char RulesetName[] = "";

constexpr char ParameterFilter[] = "Parameters (*.prm)|*.prm|All Files (*.*)|*.*";

const QString LicenseText = QStringLiteral(
    "Quorrel\n\n"
    "Permission is granted to use, copy and modify this program for research and teaching.\n\n"
    "The program is provided \"as is\", without warranty of any kind, express or implied, including "
    "but not limited to the warranties of merchantability, fitness for a particular purpose and "
    "noninfringement. In no event shall the authors be liable for any claim, damages or other "
    "liability arising from the use of the program or of the results it produces.");

// The first lines name the version, which main() sets on the application from the project's
// version (none shows when it is not set).
QString AboutText()
{
    QString text = QStringLiteral("Quorrel\n");
    if (const QString version = QCoreApplication::applicationVersion(); !version.isEmpty())
        text += QStringLiteral("Version ") + version + QLatin1Char('\n');
    return text + QStringLiteral(
        "\n"
        "A simulator of sessile organisms of up to 40 species competing for space on a lattice of up "
        "to 700 x 700 cells, individual by individual: competitive networks of win, loss and stand-off, "
        "growth rates, disturbance, mortality and recruitment, evolving outcomes, Monte Carlo series "
        "and arrays of linked landscapes.\n\n"
        "Runs are reproducible from their seed; every output file has a fixed format.");
}

} // namespace

TMainForm::TMainForm(AppState& app, Dialogs& dialogs, std::unique_ptr<QSettings> layoutSettings)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      app_(app), dialogs_(dialogs), layout_(std::make_unique<WindowLayout>(std::move(layoutSettings)))
{
    setWindowTitle(QStringLiteral("Quorrel"));
    picture_ = new LatticePicture(app_.Colors, this);
    setCentralWidget(picture_);
    RulesetIndicator = new QLabel(QString::fromLatin1(RulesetName), picture_);
    RulesetIndicator->setAlignment(Qt::AlignRight | Qt::AlignTop);
    RulesetIndicator->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    RulesetIndicator->setGeometry(8, 8, 480 - 16, 24);
    statusBar()->setSizeGripEnabled(false);
    BuildMenus();
    picture_->setFixedSize(480, 300);
    setFixedSize(sizeHint());
    layout_->Manage(*this, QStringLiteral("Main"), WindowLayout::Role::Main);
}

// The layout goes first (it was made last), the windows it watched after it.
TMainForm::~TMainForm() = default;

QAction* TMainForm::MenuItem(const QString& caption) const
{
    for (QAction* action : findChildren<QAction*>())
        if (action->text() == caption)
            return action;
    return nullptr;
}

void TMainForm::BuildMenus()
{
    auto item = [](QMenu* menu, const QString& caption, const QString& hint, std::function<void()> handler) {
        QAction* action = menu->addAction(caption);
        action->setStatusTip(hint);
        if (handler)
            connect(action, &QAction::triggered, menu, handler);
        else
            action->setEnabled(false);
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    item(file, QStringLiteral("Write Landscape..."), QStringLiteral("Write the current landscape to a text file"),
         [this] { WriteLandscapeItemClick(); });
    file->addSeparator();
    item(file, QStringLiteral("E&xit"), QStringLiteral("Exit this application"), [this] { close(); });

    QMenu* params = menuBar()->addMenu(QStringLiteral("&Parameters"));
    item(params, QStringLiteral("Use &Default"), QStringLiteral("Load the default set of parameters"),
         [this] { UseDefaultItemClick(); });
    item(params, QStringLiteral("&General"), QStringLiteral("Edit the general parameters"),
         [this] { GeneralItemClick(); });
    // The editors exist once start-up has created the windows.
    auto editor = [this](void (ParameterEditors::*command)()) {
        return [this, command] {
            if (editors_)
                (editors_.get()->*command)();
        };
    };
    item(params, QStringLiteral("&Outcome Matrix"), QStringLiteral("Edit the outcome matrix"),
         editor(&ParameterEditors::OutcomeMatrixItemClick));
    item(params, QStringLiteral("Growth &Rates"), QStringLiteral("Edit the growth rates"),
         editor(&ParameterEditors::GrowthRatesItemClick));
    item(params, QStringLiteral("&Mortality"), QStringLiteral("Edit the mortality parameters"),
         editor(&ParameterEditors::MortalityItemClick));
    item(params, QStringLiteral("R&ecruitment"), QStringLiteral("Edit the recruitment parameters"),
         editor(&ParameterEditors::RecruitmentItemClick));
    params->addSeparator();
    item(params, QStringLiteral("Read From &File ..."), QStringLiteral("Read the parameters from a file"),
         [this] { ReadFromFileItemClick(); });
    item(params, QStringLiteral("&Write To File ..."), QStringLiteral("Write the parameters to a file"),
         [this] { WriteToFileItemClick(); });
    item(params, QStringLiteral("Write &As Default"), QStringLiteral("Save the parameters as the default set"),
         [this] { WriteAsDefaultItemClick(); });
    params->addSeparator();
    item(params, QStringLiteral("Reset Window &Layout"),
         QStringLiteral("Forget where the windows were put and place them again"),
         [this] { ResetWindowLayoutItemClick(); });

    QAction* run = menuBar()->addAction(QStringLiteral("&Run"));
    run->setStatusTip(QStringLiteral("Choose a run mode and start a run"));
    connect(run, &QAction::triggered, this, &TMainForm::RunItemClick);
    QAction* options = menuBar()->addAction(QStringLiteral("&Options"));
    options->setStatusTip(QStringLiteral("Choose the outputs of a run"));
    connect(options, &QAction::triggered, this, &TMainForm::OptionsItemClick);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QMenu* viewParams = view->addMenu(QStringLiteral("&Parameters"));
    item(viewParams, QStringLiteral("&General"), QStringLiteral("View the general parameters"),
         [this] { ViewGeneralItemClick(); });
    item(viewParams, QStringLiteral("&Outcome Matrix"), QStringLiteral("View the outcome matrix"),
         editor(&ParameterEditors::ViewOutcomeMatrixItemClick));
    item(viewParams, QStringLiteral("Growth &Rates"), QStringLiteral("View the growth rates"),
         editor(&ParameterEditors::ViewGrowthRatesItemClick));
    item(viewParams, QStringLiteral("&Mortality"), QStringLiteral("View the mortality parameters"),
         editor(&ParameterEditors::ViewMortalityItemClick));
    item(viewParams, QStringLiteral("R&ecruitment"), QStringLiteral("View the recruitment parameters"),
         editor(&ParameterEditors::ViewRecruitmentItemClick));
    item(view, QStringLiteral("Color &Map"), QStringLiteral("Show the colours of the species"),
         [this] { ColorMapItemClick(); });
    item(view, QStringLiteral("&Landscape"), QStringLiteral("Show the landscape"), [this] { LandscapeItemClick(); });
    item(view, QStringLiteral("Coverage/Average Growth Rate"),
         QStringLiteral("Show the coverage and average growth rate plots"), [this] { CoverageItemClick(); });
    item(view, QStringLiteral("Space-Time Plot"), QStringLiteral("Show the space-time plot"),
         [this] { SpaceTimeItemClick(); });
    item(view, QStringLiteral("Frequency-Time for Growth Rate"),
         QStringLiteral("Show the frequency-time plot of growth rates"), [this] { FreqTimeItemClick(); });
    item(view, QStringLiteral("Statistics on Variable Outcome"),
         QStringLiteral("Show the statistics on variable outcome"), [this] { OutcomeStatsItemClick(); });
    item(view, QStringLiteral("Growth Rate-Competitive Graph"),
         QStringLiteral("Show the growth rate-competitive graphs"), [this] { GCGraphItemClick(); });
    item(view, QStringLiteral("Frequency-Time for Variable Outcome"),
         QStringLiteral("Show the frequency-time plot of variable outcomes"), [this] { FreqTimeOutcomeItemClick(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    item(help, QStringLiteral("License..."), QStringLiteral("Show the licence of this program"),
         [this] { LicenseItemClick(); });
    item(help, QStringLiteral("&About..."), QStringLiteral("Show program information"), [this] { AboutItemClick(); });
}

bool TMainForm::Startup(const std::filesystem::path& startDir)
{
    if (!app_.Startup(dialogs_, startDir))
        return false;
    CreateWindows();
    return true;
}

void TMainForm::CreateWindows()
{
    outputs_ = std::make_unique<OutputWindows>(app_.Colors);
    progress_ = std::make_unique<TInitProgressForm>([this] { return terminating_; });
    modelOne_ = std::make_unique<TModelOneForm>(app_, dialogs_, *outputs_, *progress_);
    modelOneVar_ = std::make_unique<TModelOneVarForm>(app_, dialogs_, *outputs_, *progress_);
    monteCarloFixed_ = std::make_unique<TMonteCarloForm>(app_, dialogs_, *outputs_, *progress_, false);
    monteCarloVariable_ = std::make_unique<TMonteCarloForm>(app_, dialogs_, *outputs_, *progress_, true);
    arrayFixed_ = std::make_unique<TModelArrayForm>(app_, dialogs_, *outputs_, *progress_, false);
    arrayVariable_ = std::make_unique<TModelArrayForm>(app_, dialogs_, *outputs_, *progress_, true);
    for (TModelForm* window : ModelWindowList()) {
        if (window == nullptr)
            continue;
        window->SetHome(this);
        window->SetTerminating([this] { return terminating_; });
        window->SetRunEnded([this] { ShutdownAfterRun(); });
    }
    runMode_ = std::make_unique<TRunModeForm>(app_, dialogs_, *outputs_, ModelWindowList());
    license_ = std::make_unique<TInfoForm>(QStringLiteral("License"), LicenseText);
    about_ = std::make_unique<TInfoForm>(QStringLiteral("About Quorrel"), AboutText());
    gparamDlg_ = std::make_unique<TGParamDlg>(app_.Params, dialogs_);
    gparamView_ = std::make_unique<TGParamViewForm>(app_.Params);
    optionsDlg_ = std::make_unique<TOptionsDlg>(app_.Options, app_.Params, dialogs_);
    editors_ = std::make_unique<ParameterEditors>(app_.Params, app_.Random, dialogs_,
                                                  [this](const std::string& message) { return RunGuard(message); });

    using Role = WindowLayout::Role;
    const std::pair<QWidget*, const char*> controls[] = {
        {modelOne_.get(), "SingleRunFixed"},       {modelOneVar_.get(), "SingleRunVariable"},
        {monteCarloFixed_.get(), "MonteCarloFixed"}, {monteCarloVariable_.get(), "MonteCarloVariable"},
        {arrayFixed_.get(), "ArrayFixed"},          {arrayVariable_.get(), "ArrayVariable"},
    };
    for (const auto& [window, key] : controls)
        layout_->Manage(*window, QString::fromLatin1(key), Role::Controls);
    // The order of placement: the landscape nearest the controls, then the statistics, then the plots.
    OutputWindows& o = *outputs_;
    const std::pair<QWidget*, const char*> others[] = {
        {&o.Landscape, "Landscape"},
        {&o.MultiLandscape, "MultiLandscape"},
        {&o.Statistics, "Statistics"},
        {&o.SpaceTime, "SpaceTime"},
        {&o.FreqTime, "FreqTimeGRate"},
        {&o.OutcomeStats, "OutcomeStatistics"},
        {&o.GCGraph, "GCGraph"},
        {&o.GCGraphA, "GCGraphA"},
        {&o.FreqTimeOutcome, "FreqTimeOutcome"},
        {&o.Colors, "Colors"},
        {gparamView_.get(), "GeneralParametersView"},
        {license_.get(), "License"},
        {about_.get(), "About"},
    };
    for (const auto& [window, key] : others)
        layout_->Manage(*window, QString::fromLatin1(key), Role::Output);
}

TRunModeForm::ModelWindows TMainForm::ModelWindowList() const
{
    return {modelOne_.get(),    monteCarloFixed_.get(), modelOneVar_.get(), monteCarloVariable_.get(),
            arrayFixed_.get(), arrayVariable_.get()};
}

bool TMainForm::RunGuard(const std::string& message)
{
    for (TModelForm* window : ModelWindowList()) {
        if (window == nullptr || !window->RunInProgress())
            continue;
        if (!message.empty())
            dialogs_.Message(MessageKind::Information, message, MessageButtons::Ok);
        window->BringToFront();
        return false;
    }
    return true;
}

void TMainForm::BringParametersIntoForce()
{
    app_.BringParametersIntoForce();
    if (gparamView_ != nullptr)
        gparamView_->Refresh();
    if (editors_)
        editors_->RefreshViewers();
}

void TMainForm::AfterParametersRead()
{
    app_.Params.MirrorOutcomeMatrix();
    app_.Params.UpdateGRateFractions();
    BringParametersIntoForce();
}

void TMainForm::UseDefaultItemClick()
{
    if (!RunGuard("Finish the run (use RESET or CLOSE) before changing parameters"))
        return;
    if (dialogs_.Message(MessageKind::Warning, "Are you sure you want to use the default set of parameters?",
                         MessageButtons::YesNoCancel) != MessageAnswer::Yes)
        return;
    const std::filesystem::path defaults = app_.StartDir() / "PDefault.prm";
    if (std::filesystem::exists(defaults)) {
        try {
            ReadParameterFile(app_.Params, defaults.string());
        } catch (const ParameterFileError& e) {
            dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
            return;
        }
    } else {
        if (dialogs_.Message(MessageKind::Warning,
                             "There is no default parameter file:\r  " + defaults.string() +
                                 "\rDo you want to use the inbuilt defaults?",
                             MessageButtons::YesCancel) != MessageAnswer::Yes)
            return;
        app_.Params.SetInbuiltDefaults();
    }
    AfterParametersRead();
}

void TMainForm::GeneralItemClick()
{
    if (!RunGuard("Finish the (use RESET or CLOSE) run before changing parameters"))
        return;
    gparamDlg_->FormShow();
    gparamDlg_->exec();
    // Whether or not the dialog changed anything.
    BringParametersIntoForce();
}

void TMainForm::OptionsItemClick()
{
    if (!RunGuard("Finish the run (use RESET or CLOSE) before changing the output options"))
        return;
    optionsDlg_->FormShow();
    optionsDlg_->exec();
}

void TMainForm::ViewGeneralItemClick()
{
    gparamView_->Refresh();
    gparamView_->show();
    gparamView_->raise();
}

void TMainForm::ReadFromFileItemClick()
{
    FileDialogRequest request;
    request.title = "Open Parameter File";
    request.filter = ParameterFilter;
    request.defaultExtension = "prm";
    request.initialFolder = app_.StartDir().string();
    request.mustExist = true;
    const std::optional<std::string> chosen = dialogs_.ChooseFile(request);
    if (!RunGuard("Finish the run (use RESET or CLOSE) before changing the parameters"))
        return;
    if (!chosen)
        return;
    try {
        ReadParameterFile(app_.Params, *chosen);
    } catch (const ParameterFileError& e) {
        dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
        return;
    }
    AfterParametersRead();
}

void TMainForm::WriteToFileItemClick()
{
    FileDialogRequest request;
    request.save = true;
    request.title = "Save Parameters to File";
    request.filter = ParameterFilter;
    request.defaultExtension = "prm";
    request.initialFolder = app_.StartDir().string();
    request.overwritePrompt = true;
    const std::optional<std::string> chosen = dialogs_.ChooseFile(request);
    if (!chosen)
        return;
    try {
        WriteParameterFile(app_.Params, *chosen);
    } catch (const ParameterFileError& e) {
        dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
    }
}

void TMainForm::WriteAsDefaultItemClick()
{
    if (dialogs_.Message(MessageKind::Warning,
                         "Are you sure you want to save the current set of parameters as the default?",
                         MessageButtons::YesNoCancel) != MessageAnswer::Yes)
        return;
    try {
        WriteDefaultParameters(app_.Params);
    } catch (const ParameterFileError& e) {
        dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
    }
}

void TMainForm::ResetWindowLayoutItemClick() { layout_->Reset(); }

void TMainForm::RunItemClick()
{
    for (TModelForm* window : ModelWindowList()) {
        if (window != nullptr && window->isVisible()) {
            window->BringToFront();
            return;
        }
    }
    runMode_->exec();
}

void TMainForm::WriteLandscapeItemClick()
{
    if (!outputs_->Landscape.isVisible()) {
        dialogs_.Message(MessageKind::Error, "The landscape plot must be visible before it can be written",
                         MessageButtons::Ok);
        return;
    }
    const std::optional<std::string> chosen =
        PromptForFileName(dialogs_, "Save Landscape to File", "Text", "txt", app_.StartDir());
    if (!chosen)
        return;
    if (std::filesystem::exists(*chosen) &&
        dialogs_.Message(MessageKind::Confirmation, "Do you want to overwrite\r" + *chosen,
                         MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    WriteTXTLandscape(*chosen, 0, app_.Params.GParamRec, app_.Lands.CurrentLandscape, dialogs_);
}

void TMainForm::ColorMapItemClick()
{
    outputs_->Colors.show();
    outputs_->Colors.raise();
}

void TMainForm::LandscapeItemClick()
{
    TLandscapeForm& landscape = outputs_->Landscape;
    if (landscape.Picture().isNull())
        landscape.SetDisplaySize(QSize(app_.DisplayWidth(), app_.DisplayHeight()));
    landscape.show();
    landscape.raise();
}

void TMainForm::CoverageItemClick() { outputs_->Statistics.ShowAllPlots(); }

namespace {

void ShowAndRaise(QWidget& window)
{
    window.show();
    window.raise();
}

} // namespace

void TMainForm::SpaceTimeItemClick() { ShowAndRaise(outputs_->SpaceTime); }

void TMainForm::FreqTimeItemClick() { ShowAndRaise(outputs_->FreqTime); }

void TMainForm::OutcomeStatsItemClick() { ShowAndRaise(outputs_->OutcomeStats); }

void TMainForm::GCGraphItemClick()
{
    ShowAndRaise(outputs_->GCGraph);
    ShowAndRaise(outputs_->GCGraphA);
}

void TMainForm::FreqTimeOutcomeItemClick() { ShowAndRaise(outputs_->FreqTimeOutcome); }

void TMainForm::LicenseItemClick()
{
    license_->show();
    license_->raise();
}

void TMainForm::AboutItemClick()
{
    about_->show();
    about_->raise();
}

void TMainForm::mouseDoubleClickEvent(QMouseEvent*)
{
    // Double-clicking the window makes the picture visible.
    picture_->show();
}

void TMainForm::ShutdownAfterRun()
{
    if (!shutdownPending_)
        return;
    for (TModelForm* window : ModelWindowList())
        if (window != nullptr && window->RunActive())
            return;
    shutdownPending_ = false;
    app_.Shutdown(dialogs_);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    terminating_ = true;
    if (!shutDown_) {
        shutDown_ = true;
        layout_->Save();
        // A run in progress notices the flag after its current generation and ends.
        if (modelOne_ != nullptr) {
            for (TModelForm* window : ModelWindowList())
                if (window != nullptr)
                    window->close();
            outputs_->HideAll();
            progress_->hide();
            license_->hide();
            about_->hide();
            gparamView_->hide();
            // A run still holds its files (the scratch files of an array among them) until its
            // Start handler returns; the temporary folder is removed after that.
            shutdownPending_ = true;
            ShutdownAfterRun();
        }
    }
    event->accept();
    QCoreApplication::quit();
}

} // namespace quorrel
