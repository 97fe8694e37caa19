#include "DesktopFixture.h"
#include "SteppedRunSupport.h"
#include "ui/EventScript.h"

#include "ui/ClickableLineEdit.h"
#include "ui/OutputWindows.h"
#include "ui/TModelArrayForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <filesystem>

using namespace quorrel;
using namespace quorrel::test;
namespace fs = std::filesystem;

namespace {

// Start, Stop, Continue, Reset, Close, DisplayCycle, settings panel enabled.
QString Controls(const TModelArrayForm& m)
{
    return RunButtons(m) + (m.SettingsPanel->isEnabled() ? '1' : '0');
}

const QString Idle = QStringLiteral("1000111");
const QString Running = QStringLiteral("0100000");
const QString Stopped = QStringLiteral("0011010");

QStringList Labels(const QWidget& w)
{
    QStringList labels;
    for (const QLabel* l : w.findChildren<QLabel*>())
        labels << l->text();
    for (const QGroupBox* g : w.findChildren<QGroupBox*>())
        if (!g->title().isEmpty())
            labels << g->title();
    return labels;
}

int FilesIn(const fs::path& dir)
{
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

class ModelArrayFormTest : public QObject {
    Q_OBJECT
private slots:
    void ShownFromRunMode();
    void StartStopContinueReset();
    void SettingsCheckedAndShared();
    void InvalidCycleRefused();
    void ShutdownDuringRun();
};

void ModelArrayFormTest::ShownFromRunMode()
{
    DesktopFixture f;
    f.SmallRun(10, 40);
    f.app.Params.GParamRec.RecruitType = 0;
    f.app.Params.GParamRec.Influx = 0.25f;
    f.app.Options.DisplayCycle = 4;
    const QStringList common{"Total number of landscapes:", "Rows  X", "Columns", "Influx between landscapes",
                             "Probability:", "Time Steps:", "Influx within a landscape", "Display landscape every",
                             "generations", "Current generation:", "of total", "Current: Row No.", "Col No.",
                             "(applies only to variable growth rates)"};
    struct Case {
        bool variable;
        TModelArrayForm* window;
        const char* caption;
        QStringList labels;
    };
    const Case cases[] = {
        {false, &f.main->ArrayFixed(), "Multiple Landscapes (Single Run)",
         {"Multiple landscapes, Fixed outcome", "Initial distribution of Gowth Rates among landscapes:",
          "Output file name for initial growth rates of each landscape:"}},
        {true, &f.main->ArrayVariable(), "Single Run",
         {"Multiple landscapes, Variable outcome", "Initial distribution of Growth Rates among landscapes:",
          "File name for initial growth rates of each landscape:", "Type of outcome among landscapes:",
          "(applies only to variable outcomes)", "Output file name for initial outcome ranges of each landscape:"}},
    };
    for (const Case& c : cases) {
        TRunModeForm& d = f.main->RunMode();
        d.MultipleLandscapes->click();
        (c.variable ? d.VariableOutcome : d.FixedOutcome)->click();
        d.OKBtnClick();
        TModelArrayForm& m = *c.window;
        QVERIFY(m.isVisible());
        QCOMPARE(m.windowTitle(), QString::fromLatin1(c.caption));
        const QStringList labels = Labels(m);
        for (const QString& text : common + c.labels)
            QVERIFY2(labels.contains(text), qPrintable(text));
        QCOMPARE(Controls(m), Idle);
        QCOMPARE(m.DisplayCycle->text(), QStringLiteral("4"));
        QCOMPARE(m.CurGen->text(), QStringLiteral("0"));
        QCOMPARE(m.TotalGen->text(), QStringLiteral("40"));
        QCOMPARE(m.NumOfRow->text(), QStringLiteral("5"));
        QCOMPARE(m.NumOfCol->text(), QStringLiteral("5"));
        QCOMPARE(m.NumOfRow->maxLength(), 2);
        QCOMPARE(m.InfluxBetween->maxLength(), 10);
        QCOMPARE(m.TypeGRate->currentText(), QStringLiteral("Uniform"));
        QCOMPARE(m.InfluxBetween->text(), QStringLiteral("0.01"));
        QCOMPARE(m.InfluxTimeStep->text(), QStringLiteral("100"));
        // Showing the window closes recruitment and takes the influx within from Influx.
        QCOMPARE(f.app.Params.GParamRec.RecruitType, 1);
        QCOMPARE(m.InfluxInside->text(), QStringLiteral("0.25"));
        QCOMPARE(m.TypeVOTC != nullptr, c.variable);
        QCOMPARE(m.InitOTCFName != nullptr, c.variable);
        f.main->MenuItem("&Run")->trigger();
        m.close();
        f.app.Params.GParamRec.RecruitType = 0;
    }
}

void ModelArrayFormTest::StartStopContinueReset()
{
    DesktopFixture f;
    f.SmallRun(10, 400);
    f.app.Params.GrowthRates[2] = {-1, 20, 60};
    f.app.Params.UpdateGRateFractions();
    const auto fractions = f.app.Params.GRateFractions;
    f.app.Options.DisplayCycle = 1;
    TModelArrayForm& m = f.main->ArrayFixed();
    const TMultiLandscapeForm& picture = f.main->Outputs().MultiLandscape;
    m.show();
    m.NumOfRow->setText("3");
    m.NumOfCol->setText("3");
    m.TypeGRate->setCurrentText("Clumped");
    m.InfluxTimeStep->setText("5");

    const fs::path scratch = f.app.TempDir;
    int scratchFiles = 0;
    QString rowCol;
    StopContinueReset session{m, [&] { return Controls(m); }};
    session.afterStop = [&](int) {
        scratchFiles = FilesIn(scratch);
        m.DisplayCycle->selectAll();
        QTest::keyClicks(m.DisplayCycle, "7");
    };
    session.beforeContinue = [&] { rowCol = m.CurRow->text() + "," + m.CurCol->text(); };
    EventScript script([&] { return session.Step(); });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);

    QCOMPARE(session.phase, 3);
    QCOMPARE(session.states, (QStringList{Running, Stopped, Running}));
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(m.RunHost::DisplayCycle(), 7);
    // Stopped after a landscape of the 3 x 3 array: both of its files for each landscape.
    QVERIFY(rowCol.contains(QRegularExpression("^[123],[123]$")));
    QCOMPARE(scratchFiles, 18);
    // Reset ends the run within the generation it was pressed in.
    QCOMPARE(m.CurGen->text().toInt(), session.stoppedAt + 4);
    QCOMPARE(m.Run().CurGen(), session.stoppedAt + 4);
    QCOMPARE(Controls(m), Idle);
    QVERIFY(m.isVisible());
    QCOMPARE(FilesIn(scratch), 0);
    QVERIFY(f.app.Params.GRateFractions == fractions);
    QVERIFY(f.main->RunGuard("no run"));
    // The array picture: three landscapes of 10 cells and two gaps of 5 each way.
    QVERIFY(picture.isVisible());
    QCOMPARE(picture.Picture().size(), QSize(40, 40));
    QCOMPARE(picture.size(), QSize(40, 40));
}

void ModelArrayFormTest::SettingsCheckedAndShared()
{
    DesktopFixture f;
    f.SmallRun(10, 6);
    TModelArrayForm& fixed = f.main->ArrayFixed();
    fixed.show();

    // The file of the initial growth rates is chosen in the start folder, asking before overwriting.
    const fs::path table = f.StartPath() / "tables" / "grates.dat";
    fs::create_directories(table.parent_path());
    f.dialogs.files = {table.string()};
    QTest::mouseClick(fixed.InitGRFName, Qt::LeftButton);
    QCOMPARE(f.dialogs.fileRequests.size(), size_t(1));
    const FileDialogRequest& request = f.dialogs.fileRequests[0];
    QVERIFY(request.save && request.overwritePrompt);
    QCOMPARE(request.title, std::string("Write initial growth rates of each landscape to file"));
    QCOMPARE(request.filter, std::string("Data files (*.dat)|*.dat|All Files (*.*)|*.*"));
    QCOMPARE(request.defaultExtension, std::string("dat"));
    QCOMPARE(request.initialFolder, f.StartPath().string());
    QCOMPARE(fixed.InitGRFName->text(), QString::fromStdString(table.string()));

    struct Case {
        QLineEdit* field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {fixed.NumOfRow, "1", "The total number of landscapes must be given and be between 2x2 and 10x10 (rows x cols)."},
        {fixed.InfluxBetween, "1.5", "The probability of influx between landscapes must be between 0.0 and 1.0"},
        {fixed.InfluxTimeStep, "0", "The influx time steps must be greater than zero."},
    };
    for (const Case& c : cases) {
        const QString good = c.field->text();
        c.field->setText(QString::fromLatin1(c.text));
        f.dialogs.messages.clear();
        QTest::mouseClick(fixed.StartBtn, Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), size_t(1));
        QCOMPARE(f.dialogs.LastText(), std::string(c.message));
        QVERIFY(f.dialogs.messages[0].kind == MessageKind::Error);
        QCOMPARE(Controls(fixed), Idle);
        QCOMPARE(fixed.CurGen->text(), QStringLiteral("0"));
        QVERIFY(!fs::exists(table));
        // The refused text stays to be corrected.
        QCOMPARE(c.field->text(), QString::fromLatin1(c.text));
        c.field->setText(good);
    }

    // A run with settings typed into the fixed-outcome window: Influx takes the influx within.
    fixed.NumOfRow->setText("2");
    fixed.NumOfCol->setText("3");
    fixed.TypeGRate->setCurrentText("Gradient");
    fixed.InfluxInside->setText("0.125");
    f.dialogs.messages.clear();
    QTest::mouseClick(fixed.StartBtn, Qt::LeftButton);
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(fixed.CurGen->text(), QStringLiteral("6"));
    QCOMPARE(fixed.CurRow->text() + "," + fixed.CurCol->text(), QStringLiteral("2,3"));
    QVERIFY(fs::exists(table));
    QCOMPARE(f.app.Params.GParamRec.Influx, 0.125f);
    fixed.close();

    // The variable-outcome window starts with them.
    TModelArrayForm& variable = f.main->ArrayVariable();
    variable.show();
    QCOMPARE(variable.NumOfRow->text(), QStringLiteral("2"));
    QCOMPARE(variable.NumOfCol->text(), QStringLiteral("3"));
    QCOMPARE(variable.TypeGRate->currentText(), QStringLiteral("Gradient"));
    QCOMPARE(variable.InfluxInside->text(), QStringLiteral("0.125"));
    QCOMPARE(variable.InitGRFName->text(), QString::fromStdString(table.string()));
    const fs::path outcomes = f.StartPath() / "tables" / "outcomes.dat";
    f.dialogs.files = {outcomes.string()};
    QTest::mouseClick(variable.InitOTCFName, Qt::LeftButton);
    QCOMPARE(f.dialogs.fileRequests.back().title, std::string("Write initial outcome ranges of each landscape to file"));
    QCOMPARE(f.dialogs.fileRequests.back().initialFolder, f.StartPath().string());
    QCOMPARE(f.app.Array.InitOTCFName, outcomes.string());
    // The growth-rate dialog now starts in the folder of the name chosen before.
    QTest::mouseClick(variable.InitGRFName, Qt::LeftButton);
    QCOMPARE(f.dialogs.fileRequests.back().initialFolder, table.parent_path().string());
    QCOMPARE(f.dialogs.fileRequests.back().initialName, std::string("grates.dat"));
    QCOMPARE(variable.InitGRFName->text(), QString::fromStdString(table.string()));
}

void ModelArrayFormTest::InvalidCycleRefused()
{
    DesktopFixture f;
    f.SmallRun(10, 50);
    TModelArrayForm& m = f.main->ArrayVariable();
    m.show();
    m.DisplayCycle->setText("9");
    QVERIFY(f.dialogs.messages.empty());
    CheckCyclesRefused(m, f.dialogs, {"0", "51", "x", ""},
                       "You did not specify the display cycle properly.\rIt will stay unchanged", 9);
}

void ModelArrayFormTest::ShutdownDuringRun()
{
    // The main window closes in the middle of a generation: the run ends with its files
    // closed and the temporary folder, scratch files and all, is removed without a message.
    DesktopFixture f;
    f.SmallRun(10, 500);
    f.app.Options.WriteCoverage = true;
    const fs::path temp = f.app.TempDir;
    TModelArrayForm& m = f.main->ArrayVariable();
    f.main->show();
    m.show();
    m.NumOfRow->setText("2");
    m.NumOfCol->setText("2");
    EventScript script([&] {
        if (m.CurGen->text().toInt() < 3 || m.CurRow->text() != "1")
            return false;
        f.main->close();
        return true;
    });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QVERIFY(m.CurGen->text().toInt() < 500);
    QVERIFY(m.isHidden());
    QVERIFY2(f.dialogs.messages.empty(), f.dialogs.LastText().c_str());
    QVERIFY(!fs::exists(temp));
    QVERIFY(fs::exists(f.StartPath() / "PLast.prm"));
}

QTEST_MAIN(ModelArrayFormTest)
#include "ModelArrayFormTest.moc"
