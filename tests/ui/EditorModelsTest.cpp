#include "ScriptedDialogs.h"

#include "engine/RandomNetworks.h"
#include "params/AssertionFailure.h"
#include "ui/EditorTexts.h"
#include "ui/GRateVectorModel.h"
#include "ui/GrowthRateEditorModel.h"
#include "ui/MortalityEditorModel.h"
#include "ui/OutcomeEditorModel.h"
#include "ui/RecruitmentEditorModel.h"

#include <QtTest>

using namespace quorrel;
using namespace quorrel::test;

namespace {

// The in-built defaults, mirrored, with n species.
ParameterSet Defaults(int n = 3)
{
    ParameterSet p;
    p.SetInbuiltDefaults();
    p.GParamRec.Maxspec = n;
    p.ResetToStartupTables();
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    return p;
}

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

class EditorModelsTest : public QObject {
    Q_OBJECT
private slots:
    void Texts();
    void OutcomeEntryVariableMirrors();
    void OutcomeEntryRefusals_data();
    void OutcomeEntryRefusals();
    void WinAndLossRanges();
    void StandoffRefusals();
    void ResetsAndModeLabel();
    void RandomButtonMatchesRandomiseOutcomes();
    void OutcomeCommitOnlyOnOk();
    void GrowthRatesLoad();
    void GrowthRateCellRefusals_data();
    void GrowthRateCellRefusals();
    void GrowthRateCommitRules();
    void GrowthRateRandomAndReset();
    void RandomisingFlagNeedsEveryVariable();
    void GRateVectorEntry();
    void GRateVectorRandomAndReset();
    void MortalityCommit();
    void MortalityResetActsAtOnce();
    void RecruitmentCommitAndReset();
};

void EditorModelsTest::Texts()
{
    QCOMPARE(Q(SevenDecimals(0.01f)), QStringLiteral("0.0100000"));
    QCOMPARE(Q(SevenDecimals(1.0f)), QStringLiteral("1.0000000"));
    QCOMPARE(Q(SevenDecimals(0.1234567891f)), QStringLiteral("0.1234568"));
    QCOMPARE(Q(Format3d(7)), QStringLiteral("  7"));
    QCOMPARE(Q(OutcomeCellText({30, 50, 20}, 1, 2)), QStringLiteral("30,50,20"));
    QCOMPARE(Q(OutcomeCellText({-1, 0, 0}, 2, 1)), QStringLiteral("Variable"));
    QCOMPARE(Q(OutcomeCellText({-1, 0, 0}, 2, 2)), QStringLiteral("  x"));
    QCOMPARE(Q(RangeText(30, 60)), QStringLiteral("30 - 60"));
    QCOMPARE(Q(RangeText(-1, 0)), QStringLiteral("-1"));
    QCOMPARE(Q(OutcomeModeLabel(0, 5)), QStringLiteral("Not randomising"));
    QCOMPARE(Q(OutcomeModeLabel(1, 5)), QStringLiteral("Randomising (uniform) with 5% standoffs"));
    QCOMPARE(Q(OutcomeModeLabel(2, 0)), QStringLiteral("Randomising (no reversals) with 0% standoffs"));
    QCOMPARE(Q(OutcomeModeLabel(3, 100)), QStringLiteral("Randomising (hierachical) with 100% standoffs"));
}

void EditorModelsTest::OutcomeEntryVariableMirrors()
{
    ParameterSet p = Defaults();
    Rng rng;
    ScriptedDialogs d;
    OutcomeEditorModel m(p, rng, d);
    QVERIFY(m.EnterOutcome(1, 2, "-1", "0", "0"));
    QCOMPARE(Q(OutcomeCellText(m.Matrix()[1][2], 1, 2)), QStringLiteral("Variable"));
    QCOMPARE(Q(OutcomeCellText(m.Matrix()[2][1], 2, 1)), QStringLiteral("Variable"));
    QVERIFY(m.EnterOutcome(1, 3, "50", "30", " 20"));
    QCOMPARE(m.Matrix()[1][3], (OutcomeTriple{50, 30, 20}));
    QCOMPARE(m.Matrix()[3][1], (OutcomeTriple{30, 50, 20}));
    // A variable pair made fixed again mirrors back too.
    QVERIFY(m.EnterOutcome(1, 2, "100", "0", "0"));
    QCOMPARE(m.Matrix()[2][1], (OutcomeTriple{0, 100, 0}));
    QVERIFY(d.messages.empty());
    QCOMPARE(p.OutcomeMatrix[1][2], (OutcomeTriple{0, 0, 100})); // live table untouched
}

void EditorModelsTest::OutcomeEntryRefusals_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("third");
    QTest::addColumn<QString>("message");
    QTest::newRow("sum") << "50" << "30" << "10" << "The sum of all outcomes must be 100%.\rYour values total 90.";
    QTest::newRow("first empty") << "  " << "0" << "0" << "You have to specify a value for the first box.";
    QTest::newRow("first text") << "x1" << "0" << "0" << "You have to give an integer number.";
    QTest::newRow("lone minus") << "-" << "0" << "0" << "You have to give an integer number.";
    QTest::newRow("second empty") << "50" << "" << "50" << "The second field must be a positive number.";
    QTest::newRow("second negative") << "50" << "-5" << "55" << "The second field must be a positive number.";
    QTest::newRow("third text") << "50" << "50" << "a" << "The third field must be a positive number.";
}

void EditorModelsTest::OutcomeEntryRefusals()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, third);
    QFETCH(QString, message);
    ParameterSet p = Defaults();
    Rng rng;
    ScriptedDialogs d;
    OutcomeEditorModel m(p, rng, d);
    const OutcomeTable before = m.Matrix();
    QVERIFY(!m.EnterOutcome(1, 2, first.toStdString(), second.toStdString(), third.toStdString()));
    QCOMPARE(d.messages.size(), size_t(1));
    QCOMPARE(d.messages[0].kind, MessageKind::Error);
    QCOMPARE(Q(d.LastText()), message);
    QVERIFY(m.Matrix() == before);
}

void EditorModelsTest::WinAndLossRanges()
{
    ParameterSet p = Defaults();
    Rng rng;
    ScriptedDialogs d;
    OutcomeEditorModel m(p, rng, d);
    struct Case {
        const char* from;
        const char* to;
        const char* message;
    };
    const Case refusals[] = {
        {"30", "20", "The outcome range should be from low to high."},
        {"3a", "20", "You have to give a positive number as input."},
        {"30", "", "You have to give a range for variable outcome."},
        {"30", "101", "The variable outcome should be in the range of 0 to 100."},
    };
    for (const Case& c : refusals) {
        d.messages.clear();
        QVERIFY2(!m.EnterWinRange(2, c.from, c.to), c.message);
        QCOMPARE(Q(d.LastText()), QString::fromLatin1(c.message));
        QVERIFY(!m.EnterLossRange(2, c.from, c.to));
        QCOMPARE(Q(d.LastText()), QString::fromLatin1(c.message));
        QCOMPARE(m.Ranges()[2], (VariableOutcomeRange{0, 100, 0, 100}));
    }
    d.messages.clear();
    QVERIFY(m.EnterWinRange(2, "30", "60"));
    QCOMPARE(m.Ranges()[2], (VariableOutcomeRange{30, 60, 0, 70}));
    QVERIFY(m.EnterWinRange(2, "", "")); // both empty: closes without change
    QCOMPARE(m.Ranges()[2], (VariableOutcomeRange{30, 60, 0, 70}));

    // Loss: the minimum loss may not exceed 100 - WinHigh (here 40).
    QVERIFY(!m.EnterLossRange(2, "50", "60"));
    QCOMPARE(Q(d.LastText()), QStringLiteral("The minimum loss should be lower than (100 - maximum win)"));
    QCOMPARE(m.Ranges()[2], (VariableOutcomeRange{30, 60, 0, 70}));
    QVERIFY(m.EnterLossRange(2, "40", "55"));
    QCOMPARE(m.Ranges()[2], (VariableOutcomeRange{30, 60, 40, 55}));
    QCOMPARE(d.messages.size(), size_t(1));
}

void EditorModelsTest::StandoffRefusals()
{
    ParameterSet p = Defaults();
    p.StandoffPercent = 7;
    Rng rng;
    ScriptedDialogs d;
    OutcomeEditorModel m(p, rng, d);
    QVERIFY(!m.EnterStandoff(""));
    QCOMPARE(Q(d.LastText()), QStringLiteral("You have to specify the % stand-offs in the random networks."));
    for (const char* bad : {"abc", "101", "-1"}) {
        QVERIFY(!m.EnterStandoff(bad));
        QCOMPARE(Q(d.LastText()), QStringLiteral("The % stand-offs should be between 0 and 100."));
    }
    QCOMPARE(p.StandoffPercent, 7);
    QVERIFY(m.EnterStandoff("100"));
    QCOMPARE(p.StandoffPercent, 100);
}

void EditorModelsTest::ResetsAndModeLabel()
{
    ParameterSet p = Defaults(4);
    p.OutcomeRandomMode = UniformRandomising;
    p.StandoffPercent = 20;
    Rng rng;
    ScriptedDialogs d;
    OutcomeEditorModel m(p, rng, d);
    const QString uniform = QStringLiteral("Randomising (uniform) with 20% standoffs");
    QCOMPARE(Q(m.ModeLabel()), uniform);

    d.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    QVERIFY(!m.ResetAllVariable());
    QVERIFY(!m.ResetAllFixed());
    QCOMPARE(m.Matrix()[1][2], (OutcomeTriple{0, 0, 100}));
    QCOMPARE(d.messages[0].kind, MessageKind::Warning);
    QCOMPARE(d.messages[0].buttons, MessageButtons::YesNoCancel);
    QCOMPARE(Q(d.messages[0].text),
             QStringLiteral(" Are you sure you want to reset the Outcome Matrix?\r It is recommended that you save the"
                            " current set of\r parameters before resetting the Outcome Matrix."));

    QVERIFY(m.ResetAllVariable());
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            QCOMPARE(m.Matrix()[i][j], (OutcomeTriple{-1, 0, 0}));
    QCOMPARE(Q(m.ModeLabel()), uniform);

    QVERIFY(m.ResetAllFixed());
    QCOMPARE(m.Matrix()[3][4], (OutcomeTriple{0, 0, 100}));
    QCOMPARE(Q(m.ModeLabel()), QStringLiteral("Not randomising"));

    QVERIFY(m.EnterWinRange(4, "10", "20"));
    QVERIFY(m.ResetVariableRanges());
    QCOMPARE(m.Ranges()[4], (VariableOutcomeRange{0, 100, 0, 100}));
}

void EditorModelsTest::RandomButtonMatchesRandomiseOutcomes()
{
    ParameterSet p = Defaults(6);
    Rng rng;
    rng.RandSeed = 12345;
    ScriptedDialogs d;
    OutcomeEditorModel m(p, rng, d);
    QVERIFY(m.EnterOutcome(2, 5, "-1", "0", "0"));

    const uint32_t state = rng.RandSeed;
    bool asked = false;
    QVERIFY(m.Generate(OutcomeEditorModel::Generator::Uniform, [&] {
        asked = true;
        // The upper triangle is zeroed before the stand-off dialog shows.
        QCOMPARE(m.Matrix()[2][5], (OutcomeTriple{0, 0, 0}));
        QVERIFY(m.EnterStandoff("25"));
    }));
    QVERIFY(asked);
    QCOMPARE(Q(m.ModeLabel()), QStringLiteral("Randomising (uniform) with 25% standoffs"));
    const uint32_t after = rng.RandSeed;
    m.Commit();
    QCOMPARE(int(p.OutcomeRandomMode), int(UniformRandomising));

    ParameterSet replay = Defaults(6);
    replay.OutcomeRandomMode = UniformRandomising;
    replay.StandoffPercent = 25;
    Rng replayRng;
    replayRng.RandSeed = state;
    RandomiseOutcomes(replay, replayRng);
    QVERIFY(replay.OutcomeMatrix == p.OutcomeMatrix);
    QCOMPARE(replayRng.RandSeed, after);

    // The other two generators set their modes; "No" draws nothing.
    d.answers = {MessageAnswer::No};
    QVERIFY(!m.Generate(OutcomeEditorModel::Generator::Hierarchical, [] { QFAIL("no stand-off dialog"); }));
    QCOMPARE(rng.RandSeed, after);
    QVERIFY(m.Generate(OutcomeEditorModel::Generator::Hierarchical, {}));
    QCOMPARE(m.Mode(), int(HierarchicalRandomising));
    for (int j = 2; j <= 6; ++j)
        for (int i = 1; i < j; ++i)
            QVERIFY(m.Matrix()[i][j].Win >= m.Matrix()[i][j].Loss);
    QVERIFY(m.Generate(OutcomeEditorModel::Generator::NoReversal, {}));
    QCOMPARE(m.Mode(), int(NoReversalRandomising));
}

void EditorModelsTest::OutcomeCommitOnlyOnOk()
{
    ParameterSet p = Defaults(3);
    const ParameterSet before = p;
    Rng rng;
    ScriptedDialogs d;
    OutcomeEditorModel m(p, rng, d);
    QVERIFY(m.EnterOutcome(1, 2, "60", "40", "0"));
    QVERIFY(m.EnterWinRange(3, "10", "20"));
    QVERIFY(m.ResetAllVariable());
    QVERIFY(p.OutcomeMatrix == before.OutcomeMatrix);
    QVERIFY(p.VariableOutcomeVector == before.VariableOutcomeVector);
    m.Commit();
    QCOMPARE(p.OutcomeMatrix[1][2], (OutcomeTriple{-1, 0, 0}));
    QCOMPARE(p.VariableOutcomeVector[3], (VariableOutcomeRange{10, 20, 0, 90}));
    QCOMPARE(p.OutcomeMatrix[4][4], before.OutcomeMatrix[4][4]); // beyond Maxspec untouched
    // Opening again starts from the live tables.
    m.Load();
    QVERIFY(m.Matrix()[1][2].Win < 0);
}

void EditorModelsTest::GrowthRatesLoad()
{
    ParameterSet p = Defaults(3);
    p.GrowthRates[1] = {40, 0, 0};
    p.GrowthRates[2] = {-1, 10, 90};
    p.GrowthRates[3] = {100, 0, 0};
    p.RateAgainst[1][2] = 0.40f;
    p.RateAgainst[1][3] = 0.125f; // 12.5 rounds half to even
    p.RateAgainst[2][1] = 0.7f;   // variable species: never shown
    p.GRateRandomising = true;
    Rng rng;
    ScriptedDialogs d;
    GrowthRateEditorModel m(p, rng, d);
        m.Load();
    QCOMPARE(Q(m.Low(1)), QStringLiteral(" 40"));
    QVERIFY(m.High(1).empty());
    QCOMPARE(Q(m.Low(2)), QStringLiteral(" 10"));
    QCOMPARE(Q(m.High(2)), QStringLiteral(" 90"));
    QVERIFY(m.Against(1, 2).empty());
    QCOMPARE(Q(m.Against(1, 3)), QStringLiteral(" 12"));
    QVERIFY(m.Against(2, 1).empty());
    QCOMPARE(Q(m.Against(3, 3)), QStringLiteral("  -"));
    QCOMPARE(Q(m.Label()), QStringLiteral("Randomising"));
    QVERIFY(m.CanSelectAgainst(1, 2));
    QVERIFY(!m.CanSelectAgainst(1, 1));
    QVERIFY(!m.CanSelectAgainst(2, 1));

    p.GrowthRates[3] = {-2, 0, 0};
    try {
        m.Load();
        QFAIL("no assertion failure");
    } catch (const AssertionFailure& e) {
        QVERIFY(QString::fromStdString(e.what()).startsWith("WriteGRatesForm: Invalid GRate: -2 (GRates23, line "));
    }
}

void EditorModelsTest::GrowthRateCellRefusals_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString invalid = QStringLiteral("Invalid growth rate: %1\rEnter an integer between 0 and 100 or leave it empty");
    using C = GrowthRateEditorModel::Column;
    QTest::newRow("low 101") << int(C::Low) << "101" << invalid.arg("101");
    QTest::newRow("high 101") << int(C::High) << "101" << invalid.arg("101");
    QTest::newRow("against 101") << int(C::Against) << "101" << invalid.arg("101");
    QTest::newRow("against text") << int(C::Against) << "1x" << invalid.arg("1x");
    QTest::newRow("low negative") << int(C::Low) << "-5" << invalid.arg("-5");
    QTest::newRow("low blank") << int(C::Low) << "   "
                               << "The Low growth rate is always required.\rTo specify a variable growth rate leave"
                                  " only the High field empty.";
    QTest::newRow("high below low") << int(C::High) << " 20" << "The growth rate range must have Low <= High.";
}

void EditorModelsTest::GrowthRateCellRefusals()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, message);
    ParameterSet p = Defaults(3);
    p.GrowthRates[2] = {30, 0, 0};
    const ParameterSet before = p;
    Rng rng;
    ScriptedDialogs d;
    GrowthRateEditorModel m(p, rng, d);
        m.Load();
    const GrowthRateEditorModel::CellRef cell{GrowthRateEditorModel::Column(column), 2, 3};
    m.Cell(cell) = text.toStdString();
    QVERIFY(!m.CheckCell(cell, true));
    QCOMPARE(Q(d.LastText()), message);
    QCOMPARE(d.messages.back().buttons, MessageButtons::Ok);

    GrowthRateEditorModel::CellRef failed;
    QVERIFY(!m.Commit(&failed));
    QCOMPARE(int(failed.column), column);
    QCOMPARE(failed.i, 2);
    QCOMPARE(Q(d.LastText()), message);
    QVERIFY(p.GrowthRates == before.GrowthRates);
    QVERIFY(p.RateAgainst == before.RateAgainst);
}

void EditorModelsTest::GrowthRateCommitRules()
{
    ParameterSet p = Defaults(3);
    p.GrowthRates[3] = {-1, 5, 15};
    p.RateAgainst[3][1] = 0.77f;
    Rng rng;
    ScriptedDialogs d;
    GrowthRateEditorModel m(p, rng, d);
        m.Load();
    using C = GrowthRateEditorModel::Column;
    m.Cell({C::Low, 1}) = " 35";
    m.Cell({C::Against, 1, 3}) = "50";
    m.Cell({C::Low, 2}) = "20";
    m.Cell({C::High, 2}) = "20";
    QVERIFY(m.Commit());
    QVERIFY(d.messages.empty());
    QCOMPARE(p.GrowthRates[1], (GrowthRate{35, 0, 0}));
    QCOMPARE(p.GrowthRates[2], (GrowthRate{-1, 20, 20})); // Low = High is still a range
    QCOMPARE(p.GrowthRates[3], (GrowthRate{-1, 5, 15}));
    QCOMPARE(p.RateAgainst[1][2], 0.35f); // blank: the species' own rate
    QCOMPARE(p.RateAgainst[1][1], 0.35f);
    QCOMPARE(p.RateAgainst[1][3], 0.5f);
    QCOMPARE(p.RateAgainst[3][1], 0.77f); // a variable species keeps its entries
}

void EditorModelsTest::GrowthRateRandomAndReset()
{
    ParameterSet p = Defaults(4);
    p.RateAgainst[1][2] = 0.2f;
    Rng rng;
    rng.RandSeed = 99;
    ScriptedDialogs d;
    GrowthRateEditorModel m(p, rng, d);
        m.Load();
    QVERIFY(!m.Against(1, 2).empty());

    d.answers = {MessageAnswer::Cancel};
    QVERIFY(!m.Random());
    QCOMPARE(rng.RandSeed, 99u);
    QCOMPARE(d.messages[0].buttons, MessageButtons::YesCancel);

    Rng replay = rng;
    QVERIFY(m.Random());
    for (int i = 1; i <= 4; ++i) {
        const int a = int(replay.RandomInt(101));
        const int b = int(replay.RandomInt(101));
        QCOMPARE(Q(m.Low(i)), Q(Format3d(std::min(a, b))));
        QCOMPARE(Q(m.High(i)), a == b ? QString() : Q(Format3d(std::max(a, b))));
    }
    QVERIFY(m.Against(1, 2).empty());
    QCOMPARE(Q(m.Label()), QStringLiteral("Randomising"));

    QVERIFY(m.Reset());
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(Q(m.Low(i)), QStringLiteral("100"));
        QVERIFY(m.High(i).empty());
    }
    QCOMPARE(Q(m.Label()), QStringLiteral("Not Randomising"));
}

void EditorModelsTest::RandomisingFlagNeedsEveryVariable()
{
    using C = GrowthRateEditorModel::Column;
    for (bool oneFixed : {false, true}) {
        ParameterSet p = Defaults(3);
        Rng rng;
        ScriptedDialogs d;
        GrowthRateEditorModel m(p, rng, d);
        m.Load();
        QVERIFY(m.Random());
        for (int i = 1; i <= 3; ++i) {
            m.Cell({C::Low, i}) = "10";
            m.Cell({C::High, i}) = "60";
        }
        if (oneFixed)
            m.Cell({C::High, 2}).clear();
        QVERIFY(m.Commit());
        QCOMPARE(p.GRateRandomising, !oneFixed);
    }
    // Leaving a blank High cell clears the label at once.
    ParameterSet p = Defaults(3);
    p.GRateRandomising = true;
    Rng rng;
    ScriptedDialogs d;
    GrowthRateEditorModel m(p, rng, d);
        m.Load();
    QVERIFY(m.CheckCell({C::High, 1}, false));
    QCOMPARE(Q(m.Label()), QStringLiteral("Randomising"));
    QVERIFY(m.CheckCell({C::High, 1}, true));
    QCOMPARE(Q(m.Label()), QStringLiteral("Not Randomising"));
}

void EditorModelsTest::GRateVectorEntry()
{
    ParameterSet p = Defaults(3);
    p.GRateRandomising = true;
    Rng rng;
    ScriptedDialogs d;
    GRateVectorModel m(p, rng, d);
    struct Case {
        GRateVectorModel::Boxes boxes;
        const char* message; // nothing: accepted
        GrowthRate stored;
    };
    const Case cases[] = {
        {{"4x", "", ""}, "You have to give a positive number as input.", {}},
        {{" ", "", ""}, "You have to set growth rate as either fixed or variable.", {}},
        {{"50", "", "60"}, "You cannot set growth rate as both fixed and variable.", {}},
        {{"101", "", ""}, "The growth rate should be in the range of 0 to 100.", {}},
        {{"", "60", "40"}, "The growth rate range should be from low to high.", {}},
        {{"", "30", ""}, "The growth rate range should be from low to high.", {}},
        {{"", "", "30"}, "The range of the variable growth rate has not given.", {}},
        {{"45", "", ""}, nullptr, {45, 0, 0}},
        {{"", "20", "20"}, nullptr, {-1, 20, 20}},
    };
    for (const Case& c : cases) {
        d.messages.clear();
        p.GrowthRates[2] = {7, 0, 0};
        const bool accepted = m.Enter(2, c.boxes);
        QCOMPARE(accepted, c.message == nullptr);
        if (c.message) {
            QCOMPARE(Q(d.LastText()), QString::fromLatin1(c.message));
            QCOMPARE(d.messages[0].buttons, MessageButtons::Ok);
            QCOMPARE(p.GrowthRates[2], (GrowthRate{7, 0, 0}));
        } else {
            QVERIFY(d.messages.empty());
            QCOMPARE(p.GrowthRates[2], c.stored);
        }
    }
    QCOMPARE(Q(m.RowText(2)), QStringLiteral("20 - 20"));
    QCOMPARE(Q(m.RowText(1)), QStringLiteral("100"));
    QCOMPARE(m.BoxesOf(2).from, std::string("20"));
    QVERIFY(m.BoxesOf(2).fixed.empty());
    QCOMPARE(Q(m.Label()), QStringLiteral("Randomising"));
    m.SelectRow();
    QCOMPARE(Q(m.Label()), QStringLiteral("Not Randomising"));
}

void EditorModelsTest::GRateVectorRandomAndReset()
{
    ParameterSet p = Defaults(5);
    Rng rng;
    rng.RandSeed = 4242;
    ScriptedDialogs d;
    GRateVectorModel m(p, rng, d);
    ParameterSet replay = p;
    Rng replayRng = rng;
    QVERIFY(m.Random());
    RandomiseGrowthRates(replay, replayRng);
    QVERIFY(p.GrowthRates == replay.GrowthRates);
    QVERIFY(p.GRateRandomising);
    QCOMPARE(d.messages[0].buttons, MessageButtons::YesNoCancel);
    d.answers = {MessageAnswer::No};
    QVERIFY(!m.Reset());
    QVERIFY(p.GRateRandomising);
    QVERIFY(m.Reset());
    QVERIFY(!p.GRateRandomising);
    for (int s = 1; s <= 5; ++s)
        QCOMPARE(p.GrowthRates[s], (GrowthRate{100, 0, 0}));
}

void EditorModelsTest::MortalityCommit()
{
    ParameterSet p = Defaults(3);
    p.GParamRec.MaxX = 20;
    p.GParamRec.MaxY = 30;
    p.MortalityVector[0] = 12.0f;
    p.MortalityVector[2] = 0.01f;
    ScriptedDialogs d;
    MortalityEditorModel m(p, d);
    QCOMPARE(Q(m.Cell(2)), QStringLiteral("0.0100000"));
    QCOMPARE(Q(m.Size()), QStringLiteral("12"));
    const auto stored = p.MortalityVector;

    struct Case {
        const char* cell2;
        const char* size;
        const char* message;
    };
    const Case refusals[] = {
        {"1.0000001", "5", "Mortality vector entries must be in the range 0.0 to 1.0\rThere is a bad value for species 2"},
        {"abc", "5", "Mortality vector entries must be in the range 0.0 to 1.0\rThere is a bad value for species 2"},
        {"0.5", "", "You have to specify the size of mortality."},
        {"0.5", "1x", "You have to give a positive number for the size of mortality."},
        {"0.5", "601", "The size for mortality is larger than the size of the landscape.\rSpecify an integer between 0 and 600"},
    };
    for (const Case& c : refusals) {
        m.Cell(1) = "0.25";
        m.Cell(2) = c.cell2;
        m.Size() = c.size;
        QVERIFY2(!m.Commit(), c.message);
        QCOMPARE(Q(d.LastText()), QString::fromLatin1(c.message));
        QVERIFY(p.MortalityVector == stored);
    }
    m.Cell(2) = "1.0";
    m.Size() = "600";
    QVERIFY(m.Commit());
    QCOMPARE(p.MortalityVector[0], 600.0f);
    QCOMPARE(p.MortalityVector[1], 0.25f);
    QCOMPARE(p.MortalityVector[2], 1.0f);
}

void EditorModelsTest::MortalityResetActsAtOnce()
{
    ParameterSet p = Defaults(3);
    p.MortalityVector.fill(0.5f);
    ScriptedDialogs d;
    MortalityEditorModel m(p, d);
    d.answers = {MessageAnswer::No};
    QVERIFY(!m.Reset());
    QCOMPARE(p.MortalityVector[40], 0.5f);
    QVERIFY(m.Reset());
    for (float v : p.MortalityVector)
        QCOMPARE(v, 0.0f);
    QCOMPARE(Q(m.Cell(1)), QStringLiteral("0.0000000"));
    QCOMPARE(Q(m.Size()), QStringLiteral("0"));
}

void EditorModelsTest::RecruitmentCommitAndReset()
{
    ParameterSet p = Defaults(3);
    p.RecruitmentVector.fill(0.5f);
    ScriptedDialogs d;
    RecruitmentEditorModel m(p, d);
    QCOMPARE(Q(m.Cell(3)), QStringLiteral("0.5000000"));
    for (const char* bad : {"abc", "1.5", ""}) {
        m.Cell(1) = "0.2";
        m.Cell(3) = bad;
        QVERIFY(!m.Commit());
        QCOMPARE(Q(d.LastText()),
                 QStringLiteral("You have to give float numbers between 0 and 1 for probabilities of recruitment."));
        QCOMPARE(p.RecruitmentVector[1], 0.5f);
    }
    m.Cell(3) = " 1";
    QVERIFY(m.Commit());
    QCOMPARE(p.RecruitmentVector[1], 0.2f);
    QCOMPARE(p.RecruitmentVector[3], 1.0f);
    QVERIFY(m.Reset());
    for (float v : p.RecruitmentVector)
        QCOMPARE(v, 1.0f);
    QCOMPARE(Q(m.Cell(1)), QStringLiteral("1.0000000"));
}

QTEST_APPLESS_MAIN(EditorModelsTest)
#include "EditorModelsTest.moc"
