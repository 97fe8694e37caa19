#include "DesktopFixture.h"
#include "SteppedRunSupport.h"
#include "ui/EventScript.h"
#include "VariableSetup.h"

#include "ui/OutputWindows.h"
#include "ui/TModelOneForm.h"
#include "ui/TModelOneVarForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace quorrel;
using namespace quorrel::test;
namespace fs = std::filesystem;

namespace {

const std::string InvalidCycle = "You did not specify the display cycle properly.\rIt will stay unchanged";

// RunButtons of the window idle, running and stopped.
const QString Idle = QStringLiteral("100011");
const QString Running = QStringLiteral("010000");
const QString Stopped = QStringLiteral("001101");

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

class ModelOneVarFormTest : public QObject {
    Q_OBJECT
private slots:
    void OpenedByRunModeShownIdle();
    void StopContinueResetClosesTheFiles();
    void InvalidCycleHasItsOwnWording();
};

void ModelOneVarFormTest::OpenedByRunModeShownIdle()
{
    DesktopFixture f;
    f.SmallRun(20, 40);
    MakeVariable(f.app.Params);
    f.app.Options.DisplayCycle = 4;
    TRunModeForm& d = f.main->RunMode();
    d.VariableOutcome->click();
    d.OKBtnClick();
    QVERIFY(f.dialogs.messages.empty());
    TModelOneVarForm& m = f.main->ModelOneVar();
    QVERIFY(m.isVisible());
    QVERIFY(f.main->ModelOne().isHidden());
    QCOMPARE(m.windowTitle(), QStringLiteral("Single Run"));
    QStringList texts;
    for (const QLabel* l : m.findChildren<QLabel*>())
        texts << l->text();
    QVERIFY(texts.contains(QStringLiteral("Single landscape, Variable outcome")));
    QCOMPARE(RunButtons(m), Idle);
    QCOMPARE(m.DisplayCycle->text(), QStringLiteral("4"));
    QCOMPARE(m.DisplayCycle->maxLength(), 8);
    QCOMPARE(m.CurGen->text(), QStringLiteral("0"));
    QCOMPARE(m.TotalGen->text(), QStringLiteral("40"));
    // The Run menu brings the open model window to the front instead of the dialog.
    f.main->RunItemClick();
    QVERIFY(d.isHidden());
}

void ModelOneVarFormTest::StopContinueResetClosesTheFiles()
{
    DesktopFixture f;
    f.SmallRun(20, 400);
    MakeVariable(f.app.Params);
    f.app.Options.WriteOTC = true;
    TModelOneVarForm& m = f.main->ModelOneVar();
    m.show();

    bool guardRefused = false;
    StopContinueReset session{m, [&] { return RunButtons(m); }};
    // A stopped run still counts as in progress.
    session.afterStop = [&](int) { guardRefused = !f.main->RunGuard("Finish the run"); };
    EventScript script([&] { return session.Step(); });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);

    QCOMPARE(session.phase, 3);
    QCOMPARE(session.states, (QStringList{Running, Stopped, Running}));
    QVERIFY(guardRefused);
    QCOMPARE(f.dialogs.LastText(), std::string("Finish the run"));
    const int last = m.CurGen->text().toInt();
    QCOMPARE(last, session.stoppedAt + 4);
    QCOMPARE(RunButtons(m), Idle);
    QVERIFY(m.isVisible());
    QVERIFY(f.main->RunGuard("no run"));
    // The outcome statistics files end with the last generation computed.
    for (const char* name : {"Outcome1.dat", "Outcome2.dat"}) {
        std::string text = ReadAll(f.StartPath() / name);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        QCOMPARE(std::atoi(text.substr(text.rfind('\n') + 1).c_str()), last);
    }
}

void ModelOneVarFormTest::InvalidCycleHasItsOwnWording()
{
    DesktopFixture f;
    f.SmallRun(20, 200);
    TModelOneVarForm& m = f.main->ModelOneVar();
    m.show();
    m.DisplayCycle->setText("7");
    QCOMPARE(m.RunHost::DisplayCycle(), 7);
    QVERIFY(f.dialogs.messages.empty());
    CheckCyclesRefused(m, f.dialogs, {"", "0", "201", "-3", "1x"}, InvalidCycle, 7);
    if (QTest::currentTestFailed())
        return;
    m.DisplayCycle->setText("200");
    QCOMPARE(m.RunHost::DisplayCycle(), 200);
}

QTEST_MAIN(ModelOneVarFormTest)
#include "ModelOneVarFormTest.moc"
