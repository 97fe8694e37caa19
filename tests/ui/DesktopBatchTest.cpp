#include "DesktopFixture.h"

#include "output/OptionsFile.h"
#include "params/ParameterFile.h"
#include "ui/TModelOneForm.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
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

} // namespace

class DesktopBatchTest : public QObject {
    Q_OBJECT
private slots:
    void SameFilesAsBatchRunner();
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
    const fs::path desktopOut = start / "desktop";
    fs::rename(out, desktopOut);
    fs::create_directories(out);

    QProcess batch;
    batch.start(QStringLiteral(QUORREL_BATCH),
                {"--dir", QString::fromStdString(start.string()), "--params", QString::fromStdString(paramFile.string()),
                 "--options", QString::fromStdString((optionsDir / "Options.dat").string()), "--quiet"});
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

QTEST_MAIN(DesktopBatchTest)
#include "DesktopBatchTest.moc"
