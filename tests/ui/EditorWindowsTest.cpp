#include "DesktopFixture.h"
#include "ui/EventScript.h"

#include "engine/RandomNetworks.h"
#include "ui/GridCells.h"
#include "ui/ParameterEditors.h"
#include "ui/TGRateVectorDlg.h"
#include "ui/TGRatesForm.h"
#include "ui/TModelOneForm.h"
#include "ui/TMortalityDlg.h"
#include "ui/TOutcomeDlg.h"
#include "ui/TOutcomeEntryDlg.h"
#include "ui/TOutcomeViewForm.h"
#include "ui/TRecruitmentDlg.h"
#include "ui/TStandoffDlg.h"
#include "ui/TVariableOutcomeDlg.h"
#include "ui/TVectorViewForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

using namespace quorrel;
using namespace quorrel::test;

namespace {

// Runs step inside the modal loop that the next call opens.
void InModal(std::function<void()> step)
{
    QTimer::singleShot(0, std::move(step));
}

// A click on a grid cell, as the user makes it.
void ClickCell(QTableWidget& grid, int row, int column)
{
    QTableWidgetItem* item = grid.item(row, column);
    grid.scrollToItem(item);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualItemRect(item).center());
}

// Closes any dialog a failing script left open, so that a broken test fails instead of hanging.
struct Watchdog {
    QTimer timer;
    Watchdog()
    {
        timer.setInterval(20000);
        QObject::connect(&timer, &QTimer::timeout, [] {
            while (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        timer.start();
    }
};

} // namespace

class EditorWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void OutcomeEntryThroughMenu();
    void RangesStandoffAndCancel();
    void GrowthRatesEditorAndViewer();
    void GrowthRateVectorWithoutDependentRates();
    void MortalityResetSurvivesCancel();
    void RecruitmentRefusesText();
    void EditorsRefusedWhileRunStopped();
    void GridsShowTheirColumnsUpToTheScreensWidth();
};

void EditorWindowsTest::OutcomeEntryThroughMenu()
{
    Watchdog watchdog;
    DesktopFixture f;
    QVERIFY(f.started);
    ParameterEditors& editors = f.main->Editors();
    TOutcomeDlg& dlg = editors.OutcomeDlg();
    QStringList seen;
    InModal([&] {
        seen << dlg.windowTitle() << CellText(*dlg.OutcomeGrid, 0, 0) << CellText(*dlg.OutcomeGrid, 2, 2)
             << CellText(*dlg.OutcomeGrid, 1, 2);
        // Cells on and below the diagonal open nothing.
        ClickCell(*dlg.OutcomeGrid, 2, 1);
        ClickCell(*dlg.OutcomeGrid, 2, 2);
        InModal([&] {
            TOutcomeEntryDlg& entry = dlg.Entry();
            seen << entry.windowTitle() + ": " + entry.FirstEdit->text() + "," + entry.SecondEdit->text() + ","
                    + entry.ThirdEdit->text();
            entry.FirstEdit->setText("-1");
            entry.SecondEdit->setText("0");
            entry.ThirdEdit->setText("0");
            QTest::mouseClick(entry.OKBtn, Qt::LeftButton);
        });
        ClickCell(*dlg.OutcomeGrid, 1, 2);
        seen << CellText(*dlg.OutcomeGrid, 1, 2) << CellText(*dlg.OutcomeGrid, 2, 1);
        // The entry dialog of a variable pair opens with -1, 0, 0.
        InModal([&] {
            TOutcomeEntryDlg& entry = dlg.Entry();
            seen << entry.FirstEdit->text() + "," + entry.SecondEdit->text() + "," + entry.ThirdEdit->text();
            QTest::mouseClick(entry.CancelBtn, Qt::LeftButton);
        });
        ClickCell(*dlg.OutcomeGrid, 1, 2);
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    });
    f.main->MenuItem("&Outcome Matrix")->trigger();
    QCOMPARE(seen, (QStringList{"Input Outcome Matrix", "Spec.No.", "  x", "100,0,0", "Input Outcome: 100,0,0",
                                "Variable", "Variable", "-1,0,0"}));
    QVERIFY(f.app.Params.OutcomeMatrix[1][2].Win < 0);
    QVERIFY(f.app.Params.OutcomeMatrix[2][1].Win < 0);
    QVERIFY(f.dialogs.messages.empty());
    // The viewer shows the committed matrix.
    editors.ViewOutcomeMatrixItemClick();
    QVERIFY(editors.OutcomeViewer().isVisible());
    QCOMPARE(CellText(*editors.OutcomeViewer().OutcomeGrid, 2, 1), QStringLiteral("Variable"));
    QCOMPARE(CellText(*editors.OutcomeViewer().VariableGrid, 0, 0), QStringLiteral("Spec No."));
}

void EditorWindowsTest::RangesStandoffAndCancel()
{
    Watchdog watchdog;
    DesktopFixture f;
    QVERIFY(f.started);
    const ParameterSet before = f.app.Params;
    TOutcomeDlg& dlg = f.main->Editors().OutcomeDlg();
    QStringList seen;
    uint32_t stateBeforeRandom = 0;
    OutcomeTable drawn{};
    InModal([&] {
        // Win range 30..20 is refused and the dialog stays open; 30..60 is stored.
        InModal([&] {
            TVariableOutcomeDlg& range = dlg.Range();
            seen << range.FromEdit->text() + ".." + range.ToEdit->text();
            range.FromEdit->setText("30");
            range.ToEdit->setText("20");
            QTest::mouseClick(range.OKBtn, Qt::LeftButton);
            seen << QString::fromStdString(f.dialogs.LastText()) << (range.isVisible() ? "open" : "closed");
            range.ToEdit->setText("60");
            QTest::mouseClick(range.OKBtn, Qt::LeftButton);
        });
        ClickCell(*dlg.VariableGrid, 2, 1);
        seen << CellText(*dlg.VariableGrid, 2, 1) << CellText(*dlg.VariableGrid, 2, 2);

        // "Random": confirmation (scripted Yes), then the stand-off dialog; an empty box is
        // refused, 30 accepted.
        stateBeforeRandom = f.app.Random.RandSeed;
        InModal([&] {
            TStandoffDlg& standoff = dlg.Standoff();
            seen << standoff.StandoffEdit->text();
            standoff.StandoffEdit->clear();
            QTest::mouseClick(standoff.OKBtn, Qt::LeftButton);
            seen << QString::fromStdString(f.dialogs.LastText());
            standoff.StandoffEdit->setText("30");
            QTest::mouseClick(standoff.OKBtn, Qt::LeftButton);
        });
        QTest::mouseClick(dlg.RandomBtn, Qt::LeftButton);
        seen << dlg.ModeLabel->text();
        drawn = dlg.Model().Matrix();

        // Reset to All Variable keeps the label, Reset to All Fixed clears it.
        QTest::mouseClick(dlg.ResetVariableBtn, Qt::LeftButton);
        seen << dlg.ModeLabel->text() << CellText(*dlg.OutcomeGrid, 1, 3);
        QTest::mouseClick(dlg.ResetFixedBtn, Qt::LeftButton);
        seen << dlg.ModeLabel->text() << CellText(*dlg.OutcomeGrid, 1, 3);
        QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
    });
    f.main->MenuItem("&Outcome Matrix")->trigger();
    QCOMPARE(seen, (QStringList{"0..100", "The outcome range should be from low to high.", "open", "30 - 60",
                                "0 - 70", "0", "You have to specify the % stand-offs in the random networks.",
                                "Randomising (uniform) with 30% standoffs",
                                "Randomising (uniform) with 30% standoffs", "Variable", "Not randomising",
                                "0,0,100"}));
    // Cancel: nothing of the working copy reached the parameter set; the stand-off
    // percentage is a process setting and stays.
    QVERIFY(f.app.Params.OutcomeMatrix == before.OutcomeMatrix);
    QVERIFY(f.app.Params.VariableOutcomeVector == before.VariableOutcomeVector);
    QCOMPARE(int(f.app.Params.OutcomeRandomMode), int(NotRandomising));
    QCOMPARE(f.app.Params.StandoffPercent, 30);

    // The button's network is the one RandomiseOutcomes draws from the same state.
    ParameterSet replay = before;
    replay.OutcomeRandomMode = UniformRandomising;
    replay.StandoffPercent = 30;
    Rng rng;
    rng.RandSeed = stateBeforeRandom;
    RandomiseOutcomes(replay, rng);
    QVERIFY(replay.OutcomeMatrix == drawn);

    // The stand-off box keeps its text for the next showing.
    QCOMPARE(dlg.Standoff().StandoffEdit->text(), QStringLiteral("30"));
}

void EditorWindowsTest::GrowthRatesEditorAndViewer()
{
    Watchdog watchdog;
    DesktopFixture f;
    QVERIFY(f.started);
    ParameterEditors& editors = f.main->Editors();
    TGRatesForm& form = editors.GRatesForm();
    QStringList seen;
    InModal([&] {
        seen << form.windowTitle() << CellText(*form.SpeciesGrid, 3, 0) << CellText(*form.AgainstGrid, 0, 2)
             << CellText(*form.AgainstGrid, 2, 1) << QString::number(form.AgainstGrid->columnCount());
        QVERIFY(!(form.AgainstGrid->item(2, 1)->flags() & Qt::ItemIsSelectable)); // the diagonal
        QVERIFY(form.AgainstGrid->item(2, 0)->flags() & Qt::ItemIsEditable);
        // Typing 101 into a cell and then choosing another cell is refused naming the text,
        // and the typed cell stays current.
        ClickCell(*form.AgainstGrid, 1, 1);
        form.AgainstGrid->editItem(form.AgainstGrid->item(1, 1));
        QLineEdit* editor = form.AgainstGrid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        QTest::keyClicks(editor, "101");
        ClickCell(*form.AgainstGrid, 1, 2);
        seen << QString::fromStdString(f.dialogs.LastText());
        QCOMPARE(form.AgainstGrid->currentColumn(), 1);
        QCOMPARE(CellText(*form.AgainstGrid, 1, 1), QStringLiteral("101"));
        form.AgainstGrid->item(1, 1)->setText("");
        // Species 1: Low 20, High 20 is a range; species 2 fixed at 35 with a blank cell.
        form.RangeGrid->item(1, 0)->setText("20");
        form.RangeGrid->item(1, 1)->setText("20");
        QVERIFY(!(form.AgainstGrid->item(1, 1)->flags() & Qt::ItemIsSelectable)); // now variable
        form.RangeGrid->item(2, 0)->setText(" 35");
        QTest::mouseClick(form.OKBtn, Qt::LeftButton);
    });
    f.main->MenuItem("Growth &Rates")->trigger();
    QCOMPARE(seen, (QStringList{"Growth Rates", "  3", "  3", "  -", "3",
                                "Invalid growth rate: 101\rEnter an integer between 0 and 100 or leave it empty"}));
    const ParameterSet& p = f.app.Params;
    QCOMPARE(p.GrowthRates[1], (GrowthRate{-1, 20, 20}));
    QCOMPARE(p.GrowthRates[2], (GrowthRate{35, 0, 0}));
    QCOMPARE(p.RateAgainst[2][1], 0.35f);
    QCOMPARE(p.GRateFractions[1], (GRateFraction{-1.0f, 0.2f, 0.2f})); // fractions updated after closing
    QCOMPARE(p.GRateFractions[2].Rate, 0.35f);

    // The viewer: the same window with nothing to select and only Cancel.
    editors.ViewGrowthRatesItemClick();
    TGRatesForm& viewer = editors.GRatesViewer();
    QVERIFY(viewer.isVisible());
    QVERIFY(viewer.Viewer());
    QVERIFY(!viewer.OKBtn->isEnabled() && !viewer.RandomBtn->isEnabled() && !viewer.ResetBtn->isEnabled());
    QCOMPARE(CellText(*viewer.RangeGrid, 2, 0), QStringLiteral(" 35"));
    for (QTableWidget* grid : {viewer.RangeGrid, viewer.AgainstGrid})
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                QVERIFY(!(grid->item(r, c)->flags() & (Qt::ItemIsSelectable | Qt::ItemIsEditable)));

    // A stored rate that is neither fixed nor -1 is reported; the program stays up and
    // neither window opens.
    viewer.hide();
    f.app.Params.GrowthRates[3] = {-2, 0, 0};
    f.dialogs.messages.clear();
    f.main->MenuItem("Growth &Rates")->trigger();
    QVERIFY(QString::fromStdString(f.dialogs.LastText())
                .startsWith("WriteGRatesForm: Invalid GRate: -2 (GRates23, line "));
    editors.ViewGrowthRatesItemClick();
    QVERIFY(!viewer.isVisible());
    QCOMPARE(f.dialogs.messages.size(), size_t(2));
}

void EditorWindowsTest::GrowthRateVectorWithoutDependentRates()
{
    Watchdog watchdog;
    ParameterSet params;
    params.SetInbuiltDefaults();
    params.UpdateGRateFractions();
    params.GRateRandomising = true;
    Rng rng;
    ScriptedDialogs dialogs;
    ParameterEditors editors(params, rng, dialogs, [](const std::string&) { return true; }, false);
    TGRateVectorDlg& dlg = editors.GRateVectorDlg();
    QStringList seen;
    InModal([&] {
        seen << dlg.windowTitle() << CellText(*dlg.GRateGrid, 0, 1) << dlg.GRateLabel->text();
        InModal([&] {
            TGRateEntryDlg& entry = dlg.Entry();
            seen << entry.windowTitle() << entry.FixedEdit->text() << dlg.GRateLabel->text();
            entry.FixedEdit->clear();
            entry.FromEdit->setText("20");
            entry.ToEdit->setText("60");
            QTest::mouseClick(entry.OKBtn, Qt::LeftButton);
        });
        ClickCell(*dlg.GRateGrid, 2, 1);
        seen << CellText(*dlg.GRateGrid, 2, 1);
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    });
    editors.GrowthRatesItemClick();
    QCOMPARE(seen, (QStringList{"Input Growth Rate Vector", "Growth Rate", "Randomising", "Input Growth Rate",
                                "100", "Not Randomising", "20 - 60"}));
    QCOMPARE(params.GrowthRates[2], (GrowthRate{-1, 20, 60}));
    QCOMPARE(params.GRateFractions[2], (GRateFraction{-1.0f, 0.2f, 0.6f}));
    QVERIFY(!params.GRateRandomising);
    editors.ViewGrowthRatesItemClick();
    QVERIFY(editors.GRateVectorViewer().isVisible());
    QVERIFY(!editors.GRatesViewer().isVisible());
    QCOMPARE(CellText(*editors.GRateVectorViewer().Grid, 2, 1), QStringLiteral("20 - 60"));
}

void EditorWindowsTest::MortalityResetSurvivesCancel()
{
    Watchdog watchdog;
    DesktopFixture f;
    QVERIFY(f.started);
    ParameterEditors& editors = f.main->Editors();
    f.app.Params.MortalityVector.fill(0.25f);
    editors.ViewMortalityItemClick();
    QCOMPARE(CellText(*editors.MortalityViewer().Grid, 1, 1), QStringLiteral("0.2500000"));
    TMortalityDlg& dlg = editors.MortalityDlg();
    QStringList seen;
    InModal([&] {
        seen << dlg.windowTitle() << CellText(*dlg.MortalityGrid, 0, 1) << CellText(*dlg.MortalityGrid, 3, 1);
        QTest::mouseClick(dlg.ResetBtn, Qt::LeftButton); // scripted Yes
        seen << CellText(*dlg.MortalityGrid, 3, 1) << dlg.SizeEdit->text();
        QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
    });
    f.main->MenuItem("&Mortality")->trigger();
    QCOMPARE(seen, (QStringList{"Input Mortality Vector", "Mortality", "0.2500000", "0.0000000", "0"}));
    for (float v : f.app.Params.MortalityVector)
        QCOMPARE(v, 0.0f);
    QCOMPARE(CellText(*editors.MortalityViewer().Grid, 1, 1), QStringLiteral("0.0000000"));
    QCOMPARE(editors.MortalityViewer().SizeEdit->text(), QStringLiteral("0"));

    // 1.0 and a size equal to the landscape are accepted through the grid.
    InModal([&] {
        dlg.MortalityGrid->item(2, 1)->setText("1.0");
        dlg.SizeEdit->setText(QString::number(f.app.Params.GParamRec.MaxX * f.app.Params.GParamRec.MaxY));
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    });
    f.main->MenuItem("&Mortality")->trigger();
    QCOMPARE(f.app.Params.MortalityVector[2], 1.0f);
    QCOMPARE(f.app.Params.MortalityVector[0], float(f.app.Params.GParamRec.MaxX * f.app.Params.GParamRec.MaxY));
    QCOMPARE(CellText(*editors.MortalityViewer().Grid, 2, 1), QStringLiteral("1.0000000"));
}

void EditorWindowsTest::RecruitmentRefusesText()
{
    Watchdog watchdog;
    DesktopFixture f;
    QVERIFY(f.started);
    const auto before = f.app.Params.RecruitmentVector;
    TRecruitmentDlg& dlg = f.main->Editors().RecruitmentDlg();
    QStringList seen;
    InModal([&] {
        seen << dlg.windowTitle() << CellText(*dlg.RecruitmentGrid, 0, 1);
        dlg.RecruitmentGrid->item(1, 1)->setText("0.5");
        dlg.RecruitmentGrid->item(2, 1)->setText("abc");
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        seen << QString::fromStdString(f.dialogs.LastText()) << (dlg.isVisible() ? "open" : "closed");
        QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
    });
    f.main->MenuItem("R&ecruitment")->trigger();
    QCOMPARE(seen, (QStringList{"Input Recruitment Vector", "Prob Recruit",
                                "You have to give float numbers between 0 and 1 for probabilities of recruitment.",
                                "open"}));
    QVERIFY(f.app.Params.RecruitmentVector == before);
    f.main->Editors().ViewRecruitmentItemClick();
    QCOMPARE(f.main->Editors().RecruitmentViewer().windowTitle(), QStringLiteral("Recruitment Vector"));
    QCOMPARE(CellText(*f.main->Editors().RecruitmentViewer().Grid, 1, 1), QStringLiteral("0.0100000")); // the in-built 0.01
}

void EditorWindowsTest::EditorsRefusedWhileRunStopped()
{
    Watchdog watchdog;
    DesktopFixture f;
    f.SmallRun(20, 1000);
    f.main->show();
    TModelOneForm& model = f.main->ModelOne();
    model.show();
    const char* captions[] = {"&Outcome Matrix", "Growth &Rates", "&Mortality", "R&ecruitment"};
    const ParameterSet before = f.app.Params;
    QStringList seen;
    EventScript script([&] {
        if (model.CurGen->text().toInt() < 2)
            return false;
        QTest::mouseClick(model.StopBtn, Qt::LeftButton);
        for (const char* caption : captions) {
            f.dialogs.messages.clear();
            f.main->MenuItem(caption)->trigger();
            seen << QString::number(f.dialogs.messages.size()) + " " + QString::fromStdString(f.dialogs.LastText());
        }
        QTest::mouseClick(model.ResetBtn, Qt::LeftButton);
        return true;
    });
    QTest::mouseClick(model.StartBtn, Qt::LeftButton);
    const QString finish = QStringLiteral("1 Finish the run (use RESET or CLOSE) before changing the ");
    QCOMPARE(seen, (QStringList{finish + "outcome matrix", finish + "growth rates", finish + "mortality parameters",
                                finish + "recruitment parameters"}));
    QVERIFY(f.app.Params.OutcomeMatrix == before.OutcomeMatrix);
    QVERIFY(f.app.Params.MortalityVector == before.MortalityVector);
}

void EditorWindowsTest::GridsShowTheirColumnsUpToTheScreensWidth()
{
    DesktopFixture f;
    QVERIFY(f.started);
    ParameterEditors& editors = f.main->Editors();
    f.app.Params.GParamRec.Maxspec = 5;
    // Five species: every column of the rate-against grid and of the outcome matrix shows.
    editors.ViewGrowthRatesItemClick();
    editors.ViewOutcomeMatrixItemClick();
    TGRatesForm& rates = editors.GRatesViewer();
    TOutcomeViewForm& outcomes = editors.OutcomeViewer();
    QVERIFY(QTest::qWaitForWindowExposed(&rates));
    QVERIFY(QTest::qWaitForWindowExposed(&outcomes));
    QCOMPARE(rates.AgainstGrid->columnCount(), 5);
    QVERIFY(!rates.AgainstGrid->horizontalScrollBar()->isVisible());
    QVERIFY(rates.AgainstGrid->viewport()->width() >= 5 * rates.AgainstGrid->columnWidth(0));
    QCOMPARE(outcomes.OutcomeGrid->columnCount(), 6);
    QVERIFY(!outcomes.OutcomeGrid->horizontalScrollBar()->isVisible());
    rates.hide();
    outcomes.hide();

    // Forty: as wide as the screen allows, the rest scrolls.
    f.app.Params.GParamRec.Maxspec = 40;
    editors.ViewGrowthRatesItemClick();
    QVERIFY(QTest::qWaitForWindowExposed(&rates));
    const int screenWidth = rates.screen()->availableGeometry().width();
    QVERIFY(rates.AgainstGrid->width() <= screenWidth);
    QVERIFY(rates.AgainstGrid->width() > screenWidth / 2);
    QVERIFY(rates.AgainstGrid->horizontalScrollBar()->isVisible());
}

QTEST_MAIN(EditorWindowsTest)
#include "EditorWindowsTest.moc"
