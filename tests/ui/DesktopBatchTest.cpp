#include "DesktopFixture.h"
#include "VariableSetup.h"

#include "output/OptionsFile.h"
#include "params/ParameterFile.h"
#include "ui/ClickableLineEdit.h"
#include "ui/TModelArrayForm.h"
#include "ui/TModelOneForm.h"
#include "ui/TModelOneVarForm.h"
#include "ui/TMonteCarloForm.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QComboBox>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

using namespace quorrel;
using namespace quorrel::test;
namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> FilesIn(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

// Runs quorrel-batch in start with the arguments; its exit code.
int RunBatch(const fs::path& start, const QStringList& args)
{
    QProcess batch;
    batch.start(QStringLiteral(QUORREL_BATCH),
                QStringList{"--dir", QString::fromStdString(start.string()), "--quiet"} + args);
    if (!batch.waitForFinished(120000))
        return -1;
    return batch.exitCode();
}

QString Path(const fs::path& path) { return QString::fromStdString(path.string()); }

// Writes the parameters to start/name and reads them in through the File menu, as both
// programs read the same file; the file.
fs::path ReadParametersFromFile(DesktopFixture& f, const ParameterSet& params, const std::string& name)
{
    const fs::path paramFile = f.StartPath() / name;
    WriteParameterFile(params, paramFile.string());
    f.dialogs.files = {paramFile.string()};
    f.main->MenuItem("Read From &File ...")->trigger();
    return paramFile;
}

// Moves what the desktop program wrote in out aside, to start/desktop, and leaves out empty
// for quorrel-batch; the folder moved to.
fs::path SetDesktopOutputAside(const fs::path& start, const fs::path& out)
{
    const fs::path desktopOut = start / "desktop";
    fs::rename(out, desktopOut);
    fs::create_directories(out);
    return desktopOut;
}

// The two folders hold the same files, byte for byte; a differing file is named after the
// context. The caller returns when QTest::currentTestFailed().
void CompareOutputs(const fs::path& desktopOut, const fs::path& batchOut, const std::string& context)
{
    const auto desktopFiles = FilesIn(desktopOut);
    const auto batchFiles = FilesIn(batchOut);
    QCOMPARE(desktopFiles.size(), batchFiles.size());
    for (const auto& [name, bytes] : desktopFiles) {
        QVERIFY2(batchFiles.count(name) == 1, name.c_str());
        QVERIFY2(batchFiles.at(name) == bytes, (context + name).c_str());
    }
}

} // namespace

class DesktopBatchTest : public QObject {
    Q_OBJECT
private slots:
    void SameFilesAsBatchRunner();
    void SameFilesAsBatchRunnerWithVariableOutcomes();
    void SeriesAndArraysSameFilesAsBatchRunner();
};

void DesktopBatchTest::SameFilesAsBatchRunner()
{
    DesktopFixture f;
    const fs::path start = f.StartPath();
    const fs::path out = start / "out";
    const fs::path optionsDir = start / "options";
    fs::create_directories(out);
    fs::create_directories(optionsDir);

    // The parameters come from a file that both programs read.
    ParameterSet params = f.app.Params;
    params.GParamRec.MaxX = 40;
    params.GParamRec.MaxY = 30;
    params.GParamRec.Maxgen = 30;
    params.GParamRec.RandSeed = 11;
    params.GParamRec.Maxspec = 4;
    params.GParamRec.DisturbProb = 0.05f;
    params.GParamRec.PatchSize = 4;
    params.OutcomeMatrix[1][2] = {60, 30, 10};
    params.OutcomeMatrix[3][4] = {20, 70, 10};
    params.GrowthRates[4] = {-1, 20, 80};
    params.MirrorOutcomeMatrix();
    params.UpdateGRateFractions();
    const fs::path paramFile = ReadParametersFromFile(f, params, "run.prm");
    QCOMPARE(f.app.Params.GParamRec.MaxX, 40);

    OptionStruct o = SetDefaultOptions(out);
    o.DisplayCycle = 3;
    o.WriteLandscape = true;
    o.WriteLandTypes = 3;
    o.WriteIntScape = true;
    o.WriteIntTypes = 1;
    o.WriteIntEvery = 10;
    o.WriteCoverage = true;
    o.WriteGRate = true;
    o.WriteSW = true;
    o.GenSWEvery = 10;
    QVERIFY(WriteOptionsFile(o, optionsDir, f.dialogs));
    f.app.Options = o;

    f.main->RunMode().OKBtnClick();
    QTest::mouseClick(f.main->ModelOne().StartBtn, Qt::LeftButton);
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(f.main->ModelOne().CurGen->text(), QStringLiteral("30"));
    const fs::path desktopOut = SetDesktopOutputAside(start, out);
    QCOMPARE(RunBatch(start, {"--params", Path(paramFile), "--options", Path(optionsDir / "Options.dat")}), 0);

    QVERIFY(FilesIn(desktopOut).size() >= 6);
    CompareOutputs(desktopOut, out, "");
}

// A variable-outcome single run with every file it can write, the plots shown as well.
void DesktopBatchTest::SameFilesAsBatchRunnerWithVariableOutcomes()
{
    DesktopFixture f;
    const fs::path start = f.StartPath();
    const fs::path out = start / "out";
    const fs::path optionsDir = start / "options";
    fs::create_directories(out);
    fs::create_directories(optionsDir);

    ParameterSet params = f.app.Params;
    params.GParamRec.MaxX = 30;
    params.GParamRec.MaxY = 24;
    params.GParamRec.Maxgen = 45;
    params.GParamRec.RandSeed = 2468;
    params.GParamRec.Influx = 0.05f;
    params.GParamRec.RecruitType = 0;
    params.GParamRec.DisturbProb = 0.01f;
    params.GParamRec.PatchSize = 5;
    MakeVariable(params);
    const fs::path paramFile = ReadParametersFromFile(f, params, "variable.prm");

    OptionStruct o = SetDefaultOptions(out);
    o.DisplayCycle = 3;
    o.WriteLandscape = true;
    o.WriteLandTypes = 3;
    o.WriteIntScape = true;
    o.WriteIntTypes = 3;
    o.WriteIntEvery = 7;
    o.WriteCoverage = true;
    o.WriteGRate = true;
    o.WriteSW = true;
    o.GenSWEvery = 5;
    o.WriteSTP = true;
    o.WriteFTP = true;
    o.FTPlotCycle = 2;
    o.WriteOTC = true;
    o.WriteGCGraph = true;
    o.WriteFTPOTC = true;
    o.FTPOTCCycle = 3;
    QVERIFY(WriteOptionsFile(o, optionsDir, f.dialogs));
    f.app.Options = o;

    f.main->RunMode().VariableOutcome->click();
    f.main->RunMode().OKBtnClick();
    TModelOneVarForm& m = f.main->ModelOneVar();
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(m.CurGen->text(), QStringLiteral("45"));
    for (const char* name : {"Outcome1.dat", "Outcome2.dat", "GCData.dat", "FTPOTC1.bmp", "FTPOTC2.bmp",
                             "STPlot.bmp", "FTPlot1.bmp"})
        QVERIFY2(fs::exists(out / name), name);
    const fs::path desktopOut = SetDesktopOutputAside(start, out);

    QCOMPARE(RunBatch(start, {"--params", Path(paramFile), "--options", Path(optionsDir / "Options.dat"), "--mode",
                              "single-variable"}),
             0);
    CompareOutputs(desktopOut, out, "");
}

// The Monte Carlo series and the landscape arrays, each run from its window and by
// quorrel-batch with the same parameter file, options and settings: the result file, the
// statistics files and the per-landscape table files are the same, byte for byte.
void DesktopBatchTest::SeriesAndArraysSameFilesAsBatchRunner()
{
    enum Mode { MonteCarloFixed, MonteCarloVariable, ArrayFixed, ArrayVariable };
    struct Case {
        Mode mode;
        const char* batchMode;
    };
    const Case cases[] = {{MonteCarloFixed, "montecarlo-fixed"},
                          {MonteCarloVariable, "montecarlo-variable"},
                          {ArrayFixed, "array-fixed"},
                          {ArrayVariable, "array-variable"}};
    for (const Case& c : cases) {
        const bool variable = c.mode == MonteCarloVariable || c.mode == ArrayVariable;
        const bool array = c.mode == ArrayFixed || c.mode == ArrayVariable;
        DesktopFixture f;
        const fs::path start = f.StartPath();
        const fs::path out = start / "out";
        fs::create_directories(out);

        ParameterSet params = f.app.Params;
        GParamStruct& g = params.GParamRec;
        g.MaxX = 14;
        g.MaxY = 10;
        g.Maxgen = 12;
        g.RandSeed = 23;
        g.Maxspec = 4;
        g.Influx = 0.05f;
        g.MutationGR = 0.2f;
        g.MutAmtGR = 5;
        g.MutationOTC = 0.2f;
        g.MutAmtOTC = 5;
        params.OutcomeMatrix[1][2] = {60, 30, 10};
        params.OutcomeMatrix[3][4] = {20, 70, 10};
        if (variable)
            params.OutcomeMatrix[1][3].Win = -1;
        params.GrowthRates[2] = {-1, 20, 80};
        params.GrowthRates[4] = {-1, 30, 70};
        params.MirrorOutcomeMatrix();
        params.UpdateGRateFractions();
        const fs::path paramFile = ReadParametersFromFile(f, params, "run.prm");
        QCOMPARE(f.app.Params.GParamRec.MaxX, 14);

        OptionStruct o = SetDefaultOptions(out);
        o.WriteCoverage = true;
        o.WriteGRate = true;
        // An array also writes its whole picture as one bitmap.
        o.WriteLandscape = array;
        o.WriteLandTypes = 2;
        fs::create_directories(start / "options");
        QVERIFY(WriteOptionsFile(o, start / "options", f.dialogs));
        f.app.Options = o;

        TRunModeForm& d = f.main->RunMode();
        (array ? d.MultipleLandscapes : d.SingleLandscape)->click();
        (array ? d.SingleRun : d.MonteCarlo)->click();
        (variable ? d.VariableOutcome : d.FixedOutcome)->click();
        d.OKBtnClick();
        QVERIFY2(f.dialogs.messages.empty(), c.batchMode);

        QStringList args{"--params", Path(paramFile), "--options", Path(start / "options" / "Options.dat"), "--mode",
                         c.batchMode};
        if (!array) {
            const fs::path result = out / "series.dat";
            TMonteCarloForm& m = variable ? f.main->MonteCarloVariable() : f.main->MonteCarloFixed();
            QVERIFY(m.isVisible());
            f.app.Params.GRateRandomising = true;
            args << "--runs" << "4" << "--result" << Path(result) << "--grate-random";
            if (!variable) {
                f.app.Params.OutcomeRandomMode = NoReversalRandomising;
                f.app.Params.StandoffPercent = 25;
                args << "--outcome-random" << "no-reversals" << "--standoff" << "25";
            }
            m.RepeatTimes->setText("4");
            f.dialogs.files = {result.string()};
            QTest::mouseClick(m.ResultFile, Qt::LeftButton);
            QTest::mouseClick(m.StartBtn, Qt::LeftButton);
            QCOMPARE(m.CurrentRun->text(), QStringLiteral("4"));
        } else {
            TModelArrayForm& m = variable ? f.main->ArrayVariable() : f.main->ArrayFixed();
            QVERIFY(m.isVisible());
            m.NumOfRow->setText("2");
            m.NumOfCol->setText("3");
            m.TypeGRate->setCurrentText("Clumped");
            m.InfluxBetween->setText("0.3");
            m.InfluxTimeStep->setText("4");
            args << "--rows" << "2" << "--cols" << "3" << "--grate-spread" << "clumped" << "--influx-between" << "0.3"
                 << "--influx-timestep" << "4" << "--influx-inside" << "0.05";
            f.dialogs.files = {(out / "grates.dat").string()};
            QTest::mouseClick(m.InitGRFName, Qt::LeftButton);
            args << "--init-grates" << Path(out / "grates.dat");
            if (variable) {
                m.TypeVOTC->setCurrentText("Gradient");
                f.dialogs.files = {(out / "outcomes.dat").string()};
                QTest::mouseClick(m.InitOTCFName, Qt::LeftButton);
                args << "--outcome-spread" << "gradient" << "--init-outcomes" << Path(out / "outcomes.dat");
            }
            QTest::mouseClick(m.StartBtn, Qt::LeftButton);
            QCOMPARE(m.CurGen->text(), QStringLiteral("12"));
        }
        QVERIFY2(f.dialogs.messages.empty(), c.batchMode);

        const fs::path desktopOut = SetDesktopOutputAside(start, out);
        QCOMPARE(RunBatch(start, args), 0);

        // The result file; or the two table files (one more for outcomes), the array's coverage
        // and growth-rate files, the per-landscape ones and the bitmap of the array.
        QCOMPARE(FilesIn(desktopOut).size(), size_t(array ? (variable ? 9 : 8) : 1));
        if (array)
            QVERIFY(FilesIn(desktopOut).contains("CALand.bmp"));
        CompareOutputs(desktopOut, out, std::string(c.batchMode) + ": ");
        if (QTest::currentTestFailed())
            return;
    }
}

QTEST_MAIN(DesktopBatchTest)
#include "DesktopBatchTest.moc"
