#include "DesktopFixture.h"
#include "VariableSetup.h"

#include "output/OptionsFile.h"
#include "params/ParameterFile.h"
#include "ui/TModelOneForm.h"
#include "ui/TModelOneVarForm.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
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

// The files the desktop program wrote into out are moved aside; quorrel-batch, started in the
// same folder with the same parameter and options files and the mode, writes its own into
// out; both sets must be byte for byte the same.
void CompareWithBatchRunner(const fs::path& start, const fs::path& out, const fs::path& paramFile,
                            const fs::path& optionsDir, const QString& mode)
{
    const fs::path desktopOut = start / "desktop";
    fs::rename(out, desktopOut);
    fs::create_directories(out);

    QProcess batch;
    batch.start(QStringLiteral(QUORREL_BATCH),
                {"--dir", QString::fromStdString(start.string()), "--params", QString::fromStdString(paramFile.string()),
                 "--options", QString::fromStdString((optionsDir / "Options.dat").string()), "--mode", mode,
                 "--quiet"});
    QVERIFY(batch.waitForFinished(60000));
    QCOMPARE(batch.exitCode(), 0);

    const auto desktopFiles = FilesIn(desktopOut);
    const auto batchFiles = FilesIn(out);
    QVERIFY(desktopFiles.size() >= 6);
    QCOMPARE(desktopFiles.size(), batchFiles.size());
    for (const auto& [name, bytes] : desktopFiles) {
        QVERIFY2(batchFiles.count(name) == 1, name.c_str());
        QVERIFY2(batchFiles.at(name) == bytes, name.c_str());
    }
}

} // namespace

class DesktopBatchTest : public QObject {
    Q_OBJECT
private slots:
    void SameFilesAsBatchRunner();
    void SameFilesAsBatchRunnerWithVariableOutcomes();
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
    const fs::path paramFile = start / "run.prm";
    WriteParameterFile(params, paramFile.string());
    f.dialogs.files = {paramFile.string()};
    f.main->MenuItem("Read From &File ...")->trigger();
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
    CompareWithBatchRunner(start, out, paramFile, optionsDir, QStringLiteral("single-fixed"));
}

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
    const fs::path paramFile = start / "variable.prm";
    WriteParameterFile(params, paramFile.string());
    f.dialogs.files = {paramFile.string()};
    f.main->MenuItem("Read From &File ...")->trigger();

    // Every file a variable-outcome run writes, the plots shown as well.
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
    CompareWithBatchRunner(start, out, paramFile, optionsDir, QStringLiteral("single-variable"));
}

QTEST_MAIN(DesktopBatchTest)
#include "DesktopBatchTest.moc"
