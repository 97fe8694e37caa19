#include "DesktopFixture.h"
#include "SteppedRunSupport.h"
#include "ui/EventScript.h"

#include "ui/OutputWindows.h"
#include "ui/TInitProgressForm.h"
#include "ui/TModelOneForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <vector>

using namespace quorrel;
using namespace quorrel::test;

namespace {

const std::string InvalidCycle = "You have not specified a valid display cycle.\rIt will remain unchanged.";

// RunButtons of the window idle, running and stopped.
const QString Idle = QStringLiteral("100011");
const QString Running = QStringLiteral("010000");
const QString Stopped = QStringLiteral("001101");

} // namespace

class ModelOneFormTest : public QObject {
    Q_OBJECT
private slots:
    void ShownIdle();
    void StopChangeCycleContinueReset();
    void InvalidCycleRefused();
    void OversizedOptionsCycleStaysInForce();
    void CancelInitialLandscape();
    void CloseDuringRun();
};

void ModelOneFormTest::ShownIdle()
{
    DesktopFixture f;
    f.SmallRun(20, 40);
    f.app.Options.DisplayCycle = 4;
    TModelOneForm& m = f.main->ModelOne();
    m.show();
    QCOMPARE(m.windowTitle(), QStringLiteral("Single Run"));
    QCOMPARE(RunButtons(m), Idle);
    QCOMPARE(m.DisplayCycle->text(), QStringLiteral("4"));
    QCOMPARE(m.DisplayCycle->maxLength(), 8);
    QCOMPARE(m.CurGen->text(), QStringLiteral("0"));
    QCOMPARE(m.TotalGen->text(), QStringLiteral("40"));
}

void ModelOneFormTest::StopChangeCycleContinueReset()
{
    DesktopFixture f;
    f.SmallRun(20, 400);
    f.app.Options.DisplayCycle = 1;
    TModelOneForm& m = f.main->ModelOne();
    const TLandscapeForm& landscape = f.main->Outputs().Landscape;
    m.show();

    int lastGen = 0;
    qint64 lastKey = 0;
    std::vector<int> shownAt;
    StopContinueReset session{m, [&] { return RunButtons(m); }, 12};
    session.afterStop = [&](int) {
        m.DisplayCycle->selectAll();
        QTest::keyClicks(m.DisplayCycle, "5");
    };
    session.afterContinue = [&](int gen) {
        lastGen = gen;
        lastKey = landscape.Picture().cacheKey();
    };
    session.whileRunningOn = [&](int gen) {
        if (gen == lastGen + 1 && landscape.Picture().cacheKey() != lastKey)
            shownAt.push_back(gen);
        lastGen = gen;
        lastKey = landscape.Picture().cacheKey();
        // Generations slower than the screen's pictures: the window wants every one due.
        QTest::qSleep(20);
    };
    EventScript script([&] { return session.Step(); });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);

    QCOMPARE(session.phase, 3);
    QCOMPARE(session.states, (QStringList{Running, Stopped, Running}));
    QCOMPARE(m.RunHost::DisplayCycle(), 5);
    QVERIFY(f.dialogs.messages.empty());
    QVERIFY(!shownAt.empty());
    for (int g : shownAt)
        QVERIFY2(g % 5 == 0, qPrintable(QString::number(g)));
    // Reset ends the run after the current generation.
    QCOMPARE(m.CurGen->text().toInt(), session.stoppedAt + 12);
    QCOMPARE(RunButtons(m), Idle);
    QVERIFY(m.isVisible());
}

void ModelOneFormTest::InvalidCycleRefused()
{
    DesktopFixture f;
    f.SmallRun(20, 200);
    TModelOneForm& m = f.main->ModelOne();
    m.show();
    m.DisplayCycle->setText("7");
    QCOMPARE(m.RunHost::DisplayCycle(), 7);
    QVERIFY(f.dialogs.messages.empty());

    CheckCyclesRefused(m, f.dialogs, {"", "0", "201", "-3", "1x"}, InvalidCycle, 7);
    if (QTest::currentTestFailed())
        return;
    // Deleting the contents by key gives the message at once.
    f.dialogs.messages.clear();
    m.DisplayCycle->setFocus();
    m.DisplayCycle->end(false);
    QTest::keyClick(m.DisplayCycle, Qt::Key_Backspace);
    QCOMPARE(f.dialogs.messages.size(), size_t(1));
    QCOMPARE(m.DisplayCycle->text(), QStringLiteral("7"));
    m.DisplayCycle->setText("200");
    QCOMPARE(m.RunHost::DisplayCycle(), 200);
}

void ModelOneFormTest::OversizedOptionsCycleStaysInForce()
{
    DesktopFixture f;
    f.SmallRun(10, 20);
    f.app.Options.DisplayCycle = 50;
    TModelOneForm& m = f.main->ModelOne();
    m.show();
    QCOMPARE(f.dialogs.messages.size(), size_t(1));
    QCOMPARE(f.dialogs.LastText(), InvalidCycle);
    QCOMPARE(m.RunHost::DisplayCycle(), 50);
    QCOMPARE(m.DisplayCycle->text(), QStringLiteral("50"));
}

void ModelOneFormTest::CancelInitialLandscape()
{
    DesktopFixture f;
    f.SmallRun(200, 50);
    f.app.Params.GParamRec.Cover = 0;
    f.app.Params.GParamRec.TotalCover = 100.0f;
    TModelOneForm& m = f.main->ModelOne();
    TInitProgressForm& progress = f.main->Progress();
    m.show();
    QString total;
    EventScript script([&] {
        if (!progress.isVisible())
            return false;
        total = progress.TotalField()->text();
        QTest::mouseClick(progress.CancelButton(), Qt::LeftButton);
        return true;
    });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QCOMPARE(total, QStringLiteral("40000"));
    QVERIFY(progress.isHidden());
    QCOMPARE(m.CurGen->text(), QStringLiteral("0"));
    QCOMPARE(RunButtons(m), Idle);
    QVERIFY(f.dialogs.messages.empty());
    QVERIFY(m.isVisible());
    QVERIFY(!f.main->Outputs().Statistics.isVisible());
}

void ModelOneFormTest::CloseDuringRun()
{
    DesktopFixture f;
    f.SmallRun(20, 500);
    TModelOneForm& m = f.main->ModelOne();
    m.show();
    EventScript script([&] {
        if (m.CurGen->text().toInt() < 3)
            return false;
        m.close();
        return true;
    });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QVERIFY(m.isHidden());
    QVERIFY(m.CurGen->text().toInt() < 500);
    QCOMPARE(RunButtons(m), Idle);
    QVERIFY(f.main->RunGuard("no run"));
}

QTEST_MAIN(ModelOneFormTest)
#include "ModelOneFormTest.moc"
