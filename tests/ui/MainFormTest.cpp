#include "DesktopFixture.h"
#include "ui/EventScript.h"

#include "output/OptionsFile.h"
#include "params/ParameterFile.h"
#include "ui/FileNamePrompt.h"
#include "ui/OutputWindows.h"
#include "ui/TInfoForm.h"
#include "ui/TModelOneForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace quorrel;
using namespace quorrel::test;
namespace fs = std::filesystem;

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void MenusCaptionsAndHints();
    void StartupWithoutParameterFilesGivesInbuiltDefaults();
    void StartupWithoutTempDirEnds();
    void ShutdownSavesAndRemovesTempDir();
    void ShutdownKeepsTempDirWithSubdirectory();
    void ShutdownDuringRunEndsTheRun();
    void UseDefaultWithoutDefaultFile();
    void RunGuardRefusesWhileStopped();
    void WriteLandscapeNeedsVisibleLandscape();
    void WriteLandscapeAsksBeforeOverwriting();
    void FileNamePromptStartsInFieldFolder();
    void AboutShowsTheApplicationVersion();
};

void MainFormTest::MenusCaptionsAndHints()
{
    DesktopFixture f;
    QVERIFY(f.started);
    TMainForm& main = *f.main;
    QCOMPARE(main.windowTitle(), QStringLiteral("Quorrel"));
    QVERIFY(main.RulesetIndicator->text().isEmpty());

    QStringList titles;
    for (QAction* a : main.menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&Parameters", "&Run", "&Options", "&View", "&Help"}));

    struct Item {
        const char* caption;
        bool enabled;
    };
    const Item items[] = {
        {"Write Landscape...", true},   {"E&xit", true},
        {"Use &Default", true},         {"&General", true},
        {"&Outcome Matrix", true},      {"Growth &Rates", true},
        {"&Mortality", true},           {"R&ecruitment", true},
        {"Read From &File ...", true},  {"&Write To File ...", true},
        {"Write &As Default", true},    {"Color &Map", true},
        {"&Landscape", true},           {"Coverage/Average Growth Rate", true},
        {"Space-Time Plot", true},      {"Frequency-Time for Growth Rate", true},
        {"Statistics on Variable Outcome", true}, {"Growth Rate-Competitive Graph", true},
        {"Frequency-Time for Variable Outcome", true}, {"License...", true},
        {"&About...", true},            {"&Options", true},
    };
    for (const Item& item : items) {
        QAction* action = main.MenuItem(QString::fromLatin1(item.caption));
        QVERIFY2(action != nullptr, item.caption);
        QVERIFY2(action->isEnabled() == item.enabled, item.caption);
        QVERIFY2(!action->statusTip().isEmpty(), item.caption);
    }

    // The hint of the item under the pointer shows in the status line.
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    for (const char* caption : {"E&xit", "&About..."}) {
        QAction* action = main.MenuItem(QString::fromLatin1(caption));
        action->showStatusText(&main);
        QCOMPARE(main.statusBar()->currentMessage(), action->statusTip());
    }
    QCOMPARE(main.MenuItem("E&xit")->statusTip(), QStringLiteral("Exit this application"));
    QCOMPARE(main.MenuItem("&About...")->statusTip(), QStringLiteral("Show program information"));
}

void MainFormTest::StartupWithoutParameterFilesGivesInbuiltDefaults()
{
    DesktopFixture f;
    QVERIFY(f.started);
    const ParameterSet defaults = ParameterSet::InbuiltDefaults(f.StartPath());
    QCOMPARE(f.app.Params.GParamRec.Maxspec, 3);
    QCOMPARE(f.app.Params.GParamRec.MaxX, 200);
    QCOMPARE(f.app.Params.GParamRec.MaxY, 200);
    QVERIFY(f.app.Params.GParamRec == defaults.GParamRec);
    QVERIFY(f.app.Params.OutcomeMatrix == defaults.OutcomeMatrix);
    QVERIFY(f.app.Params.GRateFractions == defaults.GRateFractions);
    QCOMPARE(f.app.Random.RandSeed, uint32_t(defaults.GParamRec.RandSeed));
    QVERIFY(fs::is_directory(f.app.TempDir));
    QVERIFY(f.dialogs.messages.empty());
    // The other windows exist, hidden.
    QVERIFY(f.main->ModelOne().isHidden());
    QVERIFY(f.main->Outputs().Landscape.isHidden());
}

void MainFormTest::StartupWithoutTempDirEnds()
{
    const QByteArray saved = qgetenv("TMPDIR");
    QTemporaryDir start;
    qputenv("TMPDIR", QByteArray("/nonexistent-quorrel-folder/inner"));
    AppState app;
    ScriptedDialogs dialogs;
    bool started = true;
    {
        TMainForm main(app, dialogs);
        started = main.Startup(start.path().toStdString());
    }
    qputenv("TMPDIR", saved);
    QVERIFY(!started);
    QCOMPARE(dialogs.messages.size(), size_t(1));
    QVERIFY(dialogs.messages[0].kind == MessageKind::Error);
    QVERIFY(dialogs.LastText().starts_with("Unable to establish the directory for temporary files.\r"));
    // Nothing was written on the way out.
    QVERIFY(!fs::exists(fs::path(start.path().toStdString()) / "PLast.prm"));
}

void MainFormTest::ShutdownSavesAndRemovesTempDir()
{
    DesktopFixture f;
    const fs::path temp = f.app.TempDir;
    std::ofstream(temp / "scratch.tmp") << "x";
    f.app.Params.GParamRec.Maxgen = 321;
    f.app.Options.DisplayCycle = 7;
    f.main->close();
    QVERIFY(f.dialogs.messages.empty());
    QVERIFY(!fs::exists(temp));
    OptionStruct options;
    QVERIFY(ReadOptionsFile(options, f.StartPath(), f.dialogs));
    QCOMPARE(options.DisplayCycle, 7);
    ParameterSet saved;
    saved.StartDir = f.StartPath();
    ReadParameterFile(saved, (f.StartPath() / "PLast.prm").string());
    QCOMPARE(saved.GParamRec.Maxgen, 321);
}

void MainFormTest::ShutdownKeepsTempDirWithSubdirectory()
{
    DesktopFixture f;
    const fs::path temp = f.app.TempDir;
    fs::create_directory(temp / "inner");
    f.main->close();
    QCOMPARE(f.dialogs.messages.size(), size_t(1));
    QCOMPARE(f.dialogs.LastText(), "Unable to remove the directory for temporary files:\r" + temp.string());
    QVERIFY(f.dialogs.messages[0].kind == MessageKind::Error);
    QVERIFY(fs::is_directory(temp / "inner"));
    QVERIFY(fs::exists(f.StartPath() / "PLast.prm"));
    fs::remove_all(temp);
}

void MainFormTest::ShutdownDuringRunEndsTheRun()
{
    DesktopFixture f;
    f.SmallRun(20, 1000);
    f.app.Options.WriteCoverage = true;
    const fs::path temp = f.app.TempDir;
    TModelOneForm& model = f.main->ModelOne();
    f.main->show();
    model.show();
    EventScript script([&] {
        if (model.CurGen->text().toInt() < 3)
            return false;
        f.main->close();
        return true;
    });
    QTest::mouseClick(model.StartBtn, Qt::LeftButton);
    const int last = model.CurGen->text().toInt();
    QVERIFY(last < 1000);
    QVERIFY(model.isHidden());
    QVERIFY(fs::exists(f.StartPath() / "PLast.prm"));
    QVERIFY(!fs::exists(temp));
    // The run's file was closed with the generation it reached as its last line.
    std::ifstream cover(f.app.Options.CoverFilename, std::ios::binary);
    std::string line;
    std::string lastLine;
    while (std::getline(cover, line))
        lastLine = line;
    QCOMPARE(QString::fromStdString(lastLine).trimmed().section(' ', 0, 0).toInt(), last);
}

void MainFormTest::UseDefaultWithoutDefaultFile()
{
    DesktopFixture f;
    f.app.Params.GParamRec.Maxgen = 77;
    f.app.Params.GParamRec.RandSeed = 99;
    f.app.Random.RandSeed = 5;

    // Yes to the first question, Cancel to the second: nothing changes.
    f.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    f.main->MenuItem("Use &Default")->trigger();
    QCOMPARE(f.dialogs.messages.size(), size_t(2));
    QCOMPARE(f.dialogs.messages[0].text, std::string("Are you sure you want to use the default set of parameters?"));
    QVERIFY(f.dialogs.messages[0].buttons == MessageButtons::YesNoCancel);
    QCOMPARE(f.dialogs.messages[1].text, "There is no default parameter file:\r  " +
                                             (f.StartPath() / "PDefault.prm").string() +
                                             "\rDo you want to use the inbuilt defaults?");
    QVERIFY(f.dialogs.messages[1].buttons == MessageButtons::YesCancel);
    QCOMPARE(f.app.Params.GParamRec.Maxgen, 77);
    QCOMPARE(f.app.Random.RandSeed, 5u);

    // Yes to both: the in-built defaults, and the seed restarts from them.
    f.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    f.main->UseDefaultItemClick();
    QCOMPARE(f.app.Params.GParamRec.Maxgen, 100);
    QCOMPARE(f.app.Random.RandSeed, uint32_t(f.app.Params.GParamRec.RandSeed));
}

void MainFormTest::RunGuardRefusesWhileStopped()
{
    DesktopFixture f;
    f.SmallRun(20, 1000);
    f.main->show();
    TModelOneForm& model = f.main->ModelOne();
    model.show();
    f.main->activateWindow();

    struct Guarded {
        const char* caption;
        std::string message;
    };
    const Guarded guarded[] = {
        {"Use &Default", "Finish the run (use RESET or CLOSE) before changing parameters"},
        {"Read From &File ...", "Finish the run (use RESET or CLOSE) before changing the parameters"},
        {"&General", "Finish the (use RESET or CLOSE) run before changing parameters"},
        {"&Options", "Finish the run (use RESET or CLOSE) before changing the output options"},
    };
    const ParameterSet before = f.app.Params;
    QStringList seen;
    EventScript script([&] {
        if (model.CurGen->text().toInt() < 2)
            return false;
        QTest::mouseClick(model.StopBtn, Qt::LeftButton);
        for (const Guarded& g : guarded) {
            f.dialogs.messages.clear();
            f.dialogs.files = {(f.StartPath() / "some.prm").string()};
            f.main->activateWindow();
            (void)QTest::qWaitForWindowActive(f.main.get());
            f.main->MenuItem(g.caption)->trigger();
            (void)QTest::qWaitForWindowActive(&model);
            // Refused with its message, and the model window comes forward.
            seen << QString::number(f.dialogs.messages.size()) + " " + QString::fromStdString(f.dialogs.LastText()) +
                        (QApplication::activeWindow() == &model ? " model" : " other");
        }
        // The Run menu brings the running window forward instead of the run-mode dialog.
        f.main->activateWindow();
        (void)QTest::qWaitForWindowActive(f.main.get());
        f.main->MenuItem("&Run")->trigger();
        (void)QTest::qWaitForWindowActive(&model);
        seen << (QApplication::activeWindow() == &model ? "model" : "other");
        seen << (f.main->RunGuard("") ? "allowed" : "refused");
        QTest::mouseClick(model.ResetBtn, Qt::LeftButton);
        return true;
    });
    QTest::mouseClick(model.StartBtn, Qt::LeftButton);
    QStringList expected;
    for (const Guarded& g : guarded)
        expected << "1 " + QString::fromStdString(g.message) + " model";
    expected << "model" << "refused";
    QCOMPARE(seen, expected);
    QVERIFY(f.dialogs.messages[0].kind == MessageKind::Information);
    QVERIFY(f.app.Params.GParamRec == before.GParamRec);
    QVERIFY(f.main->RunGuard("anything"));
}

void MainFormTest::WriteLandscapeNeedsVisibleLandscape()
{
    DesktopFixture f;
    const std::string target = (f.StartPath() / "land.txt").string();
    f.dialogs.files = {target};
    f.main->WriteLandscapeItemClick();
    QCOMPARE(f.dialogs.LastText(), std::string("The landscape plot must be visible before it can be written"));
    QVERIFY(f.dialogs.messages[0].kind == MessageKind::Error);
    QVERIFY(f.dialogs.fileRequests.empty());
    QVERIFY(!fs::exists(target));
}

void MainFormTest::WriteLandscapeAsksBeforeOverwriting()
{
    DesktopFixture f;
    f.SmallRun(10, 5);
    f.main->ModelOne().show();
    QTest::mouseClick(f.main->ModelOne().StartBtn, Qt::LeftButton);
    QVERIFY(f.main->Outputs().Landscape.isVisible());

    const std::string target = (f.StartPath() / "land.txt").string();
    f.dialogs.files = {target};
    f.main->MenuItem("Write Landscape...")->trigger();
    QCOMPARE(f.dialogs.fileRequests.size(), size_t(1));
    const FileDialogRequest& request = f.dialogs.fileRequests[0];
    QCOMPARE(request.title, std::string("Save Landscape to File"));
    QCOMPARE(request.filter, std::string("Text files (*.txt)|*.txt|All files (*.*)|*.*"));
    QCOMPARE(request.defaultExtension, std::string("txt"));
    QCOMPARE(request.initialFolder, f.StartPath().string());
    std::ifstream written(target, std::ios::binary);
    std::string header;
    std::getline(written, header);
    QCOMPARE(header, std::string("species\t3\t10\t10\r"));

    // An existing file: OK overwrites, Cancel keeps it.
    std::ofstream(target, std::ios::trunc) << "keep";
    f.dialogs.files = {target};
    f.dialogs.answers = {MessageAnswer::Cancel};
    f.main->WriteLandscapeItemClick();
    QCOMPARE(f.dialogs.LastText(), "Do you want to overwrite\r" + target);
    QVERIFY(f.dialogs.messages.back().buttons == MessageButtons::OkCancel);
    QCOMPARE(fs::file_size(target), uintmax_t(4));
    f.dialogs.files = {target};
    f.dialogs.answers = {MessageAnswer::Ok};
    f.main->WriteLandscapeItemClick();
    QVERIFY(fs::file_size(target) > 4);
}


void MainFormTest::FileNamePromptStartsInFieldFolder()
{
    ScriptedDialogs dialogs;
    QLineEdit field;
    field.setText("/data/runs/cover.dat");
    dialogs.files = {std::string("  /data/other/new.dat  ")};
    const auto chosen = PromptForFileName(dialogs, "Coverage File", "Data", "dat", "/start", &field);
    QCOMPARE(dialogs.fileRequests[0].initialFolder, std::string("/data/runs"));
    QCOMPARE(dialogs.fileRequests[0].filter, std::string("Data files (*.dat)|*.dat|All files (*.*)|*.*"));
    QCOMPARE(dialogs.fileRequests[0].defaultExtension, std::string("dat"));
    QCOMPARE(chosen.value_or(""), std::string("/data/other/new.dat"));
    QCOMPARE(field.text(), QStringLiteral("/data/other/new.dat"));

    // Cancelled: nothing chosen and the field keeps its name; without a field the start folder.
    QVERIFY(!PromptForFileName(dialogs, "Coverage File", "Data", "dat", "/start", &field));
    QCOMPARE(field.text(), QStringLiteral("/data/other/new.dat"));
    PromptForFileName(dialogs, "Coverage File", "Data", "dat", "/start");
    QCOMPARE(dialogs.fileRequests[2].initialFolder, std::string("/start"));
}

// main() sets the application version from the project's (BuildInfo.h); the About box shows it
// under the program's name.
void MainFormTest::AboutShowsTheApplicationVersion()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8 (git 0123abc)"));
    {
        DesktopFixture f;
        QVERIFY(f.started);
        QVERIFY(f.main->About().Text().startsWith(QStringLiteral("Quorrel\nVersion 9.8 (git 0123abc)\n\nA simulator")));
    }
    QCoreApplication::setApplicationVersion(QString());
    DesktopFixture f;
    QVERIFY(f.started);
    QVERIFY(f.main->About().Text().startsWith(QStringLiteral("Quorrel\n\nA simulator")));
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
