#include "DesktopFixture.h"

#include "ui/OutputWindows.h"
#include "ui/TModelOneForm.h"
#include "ui/TRunModeForm.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace quorrel;
using namespace quorrel::test;

namespace {

// A model window of a mode that the program does not have yet.
class OtherModelForm : public TModelForm {
public:
    OtherModelForm() { StartBtn = new QPushButton(QStringLiteral("Start"), this); }
};

} // namespace

class RunModeFormTest : public QObject {
    Q_OBJECT
private slots:
    void ModesWithoutWindowOfferedDisabled();
    void MultipleLandscapesLockRunGroup();
    void FixedOutcomeRefusesVariablePairs();
    void DispatchReloadsSeedAndHidesIdleOutputs();
    void SameModeTwiceGivesSameRun();
};

void RunModeFormTest::ModesWithoutWindowOfferedDisabled()
{
    DesktopFixture f;
    QCOMPARE(f.main->RunMode().windowTitle(), QStringLiteral("Run Control"));
    TRunModeForm d(f.app, f.dialogs, f.main->Outputs(), {&f.main->ModelOne(), nullptr, nullptr, nullptr, nullptr, nullptr});
    QVERIFY(d.SingleLandscape->isChecked() && d.FixedOutcome->isChecked() && d.SingleRun->isChecked());
    QVERIFY(d.SingleLandscape->isEnabled() && d.FixedOutcome->isEnabled() && d.SingleRun->isEnabled());
    QVERIFY(!d.MultipleLandscapes->isEnabled());
    QVERIFY(!d.VariableOutcome->isEnabled());
    QVERIFY(!d.MonteCarlo->isEnabled());
    // The program's own dialog has a window for every mode.
    TRunModeForm& all = f.main->RunMode();
    QVERIFY(all.VariableOutcome->isEnabled() && all.MultipleLandscapes->isEnabled() && all.MonteCarlo->isEnabled());
}

void RunModeFormTest::MultipleLandscapesLockRunGroup()
{
    DesktopFixture f;
    OtherModelForm monteCarlo;
    OtherModelForm array;
    TRunModeForm d(f.app, f.dialogs, f.main->Outputs(),
                   {&f.main->ModelOne(), &monteCarlo, nullptr, nullptr, &array, nullptr});
    QVERIFY(d.MonteCarlo->isEnabled());
    QVERIFY(d.MultipleLandscapes->isEnabled());
    d.MonteCarlo->click();
    d.MultipleLandscapes->click();
    QVERIFY(d.SingleRun->isChecked());
    QVERIFY(!d.RunGroup->isEnabled());
    d.SingleLandscape->click();
    QVERIFY(d.RunGroup->isEnabled());
    QVERIFY(d.SingleRun->isChecked());

    // The combination the lock prevents is refused all the same.
    d.MultipleLandscapes->click();
    d.MonteCarlo->setChecked(true);
    d.OKBtnClick();
    QCOMPARE(f.dialogs.LastText(), std::string("This function has not been implemented."));
    QVERIFY(f.dialogs.messages.back().kind == MessageKind::Information);
    QVERIFY(array.isHidden() && monteCarlo.isHidden());

    d.MonteCarlo->setChecked(false);
    d.SingleRun->setChecked(true);
    d.OKBtnClick();
    QVERIFY(array.isVisible());
}

void RunModeFormTest::FixedOutcomeRefusesVariablePairs()
{
    DesktopFixture f;
    // The only variable entry is on the diagonal.
    f.app.Params.OutcomeMatrix[2][2].Win = -1;
    TRunModeForm& d = f.main->RunMode();
    d.show();
    d.OKBtnClick();
    QCOMPARE(f.dialogs.LastText(), std::string("Some interactions in the outcome matrix are set to variable."));
    QVERIFY(f.dialogs.messages.back().kind == MessageKind::Error);
    QVERIFY(d.isVisible());
    QVERIFY(f.main->ModelOne().isHidden());
}

void RunModeFormTest::DispatchReloadsSeedAndHidesIdleOutputs()
{
    DesktopFixture f;
    OutputWindows& out = f.main->Outputs();
    f.main->CoverageItemClick();
    f.main->LandscapeItemClick();
    QVERIFY(out.Statistics.isVisible() && out.Statistics.PlotVisible(1));
    f.app.Options.ShowCoverage = false;
    f.app.Params.GParamRec.RandSeed = 4321;
    f.app.Random.RandSeed = 99;

    TRunModeForm& d = f.main->RunMode();
    d.show();
    d.OKBtnClick();
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(f.app.Random.RandSeed, 4321u);
    QVERIFY(d.isHidden());
    QVERIFY(f.main->ModelOne().isVisible());
    QVERIFY(out.Landscape.isVisible());
    QVERIFY(out.Statistics.isVisible());
    QVERIFY(!out.Statistics.PlotVisible(1));
    QVERIFY(out.Statistics.PlotVisible(2) && out.Statistics.PlotVisible(3));

    // The view item shows all three plots again.
    f.main->MenuItem("Coverage/Average Growth Rate")->trigger();
    QVERIFY(out.Statistics.PlotVisible(1));
}

void RunModeFormTest::SameModeTwiceGivesSameRun()
{
    DesktopFixture f;
    // Few generations: the in-built hierarchy soon leaves species 1 alone.
    f.SmallRun(30, 2);
    TModelOneForm& m = f.main->ModelOne();
    auto runOnce = [&] {
        f.main->RunMode().OKBtnClick();
        QTest::mouseClick(m.StartBtn, Qt::LeftButton);
        return f.main->Outputs().Landscape.Picture().copy();
    };
    const QImage first = runOnce();
    // Start alone continues the random sequence.
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QVERIFY(f.main->Outputs().Landscape.Picture() != first);
    m.close();
    const QImage second = runOnce();
    QVERIFY(!first.isNull());
    QVERIFY(first == second);
}

QTEST_MAIN(RunModeFormTest)
#include "RunModeFormTest.moc"
