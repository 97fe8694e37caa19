#include "ScriptedDialogs.h"
#include "params/ParameterSet.h"
#include "ui/ClickableLineEdit.h"
#include "ui/TOptionsDlg.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <string>

using namespace quorrel;
using namespace quorrel::test;

namespace {

ParameterSet InbuiltSet()
{
    return ParameterSet::InbuiltDefaults("/home/u");
}

// The options dialog over its own parameter set, live options and scripted dialogs.
struct OptionsFixture {
    ParameterSet params = InbuiltSet();
    OptionStruct live = SetDefaultOptions("/home/u");
    ScriptedDialogs dialogs;

    std::unique_ptr<TOptionsDlg> Open()
    {
        auto d = std::make_unique<TOptionsDlg>(live, params, dialogs);
        d->FormShow();
        return d;
    }
};

void Enter(TOptionsDlg& d, OptionNumber field, const char* text)
{
    QLineEdit* box = d.NumberBox(field);
    box->setText(QString::fromLatin1(text));
    emit box->editingFinished();
}

const std::string Unchanged = "It will stay unchanged.";

} // namespace

class OptionsDlgTest : public QObject {
    Q_OBJECT
private slots:
    void NumberFieldRulesAndFallbacks();
    void GrowthRateCompetitiveSpeciesRules();
    void OkWarningsCommitOrStay();
    void LandscapeAndSlidingWindowNames();
    void OtherFileNamesTakeAnyName();
    void CancelDiscardsAndDefaultRefills();
    void SpeciesBoxesEnablingAndPages();
};

void OptionsDlgTest::NumberFieldRulesAndFallbacks()
{
    using F = OptionNumber;
    const std::string cycle = "You did not specify the frequency-time plot cycle properly." + Unchanged;
    const std::string species = "You did not specify the species for frequency-time plot properly." + Unchanged;
    const std::string every =
        "The specified value for the generation interval (\"every generations\") is not valid." + Unchanged;
    const std::string from = "The specified value for the starting generation is not valid." + Unchanged;
    const std::string until = "The specified value for the final generation is not valid." + Unchanged;
    const std::string delta = "The length increment must be between 1 and 700 (the largest landscape size).\r" +
                              Unchanged;
    struct Case {
        F field;
        const char* text;
        void (*prepare)(OptionStruct&); // the live options before opening
        std::string message;            // empty: accepted
        const char* shown;
    };
    auto none = [](OptionStruct&) {};
    const Case cases[] = {
        {F::DisplayCycle, "12", none, "", "12"},
        {F::DisplayCycle, "0", [](OptionStruct& o) { o.DisplayCycle = 3; },
         "You did not specify the landscape display cycle properly." + Unchanged, "3"},
        {F::DisplayCycle, "x", [](OptionStruct& o) { o.DisplayCycle = 0; },
         "You did not specify the landscape display cycle properly." + Unchanged, "1"},
        {F::STPlotCycle, "", none, "You did not specify the space-time plot display cycle properly." + Unchanged, "1"},
        {F::FTPlotCycle, "-2", none, cycle, "1"},
        {F::FTPOTCCycle, "0", [](OptionStruct& o) { o.FTPOTCCycle = 4; }, cycle, "4"},
        {F::FTPSpecies, "3", none, "", "3"},
        {F::FTPSpecies, "4", [](OptionStruct& o) { o.FTPSpecies = 2; }, species, "2"},
        {F::FTPOTCSpecies, "0", [](OptionStruct& o) { o.FTPOTCSpecies = 9; }, species, "1"},
        {F::WriteIntEvery, "65536", none, every, "1"},
        {F::GenSWEvery, "65535", none, "", "65535"},
        {F::WriteIntFrom, "0", [](OptionStruct& o) { o.WriteIntFrom = 70; }, from, "70"},
        {F::GenSWFrom, "7", none, "", "7"},
        {F::WriteIntUntil, "", [](OptionStruct& o) { o.WriteIntUntil = 500; }, "", ""},
        {F::WriteIntUntil, "70000", [](OptionStruct& o) { o.WriteIntUntil = 500; }, until, "500"},
        {F::GenSWUntil, "70000", none, until, ""},
        {F::GenSWUntil, "0", [](OptionStruct& o) { o.GenSWUntil = 0; }, until, ""},
        {F::GenSWUntil, "65535", none, "", "65535"},
        {F::DeltaSideSW, "701", none, delta, "5"},
        {F::DeltaSideSW, "0", [](OptionStruct& o) { o.DeltaSideSW = 900; }, delta, "5"},
        {F::DeltaSideSW, "700", none, "", "700"},
    };
    for (const Case& c : cases) {
        OptionsFixture f;
        c.prepare(f.live);
        const OptionStruct before = f.live;
        auto d = f.Open();
        Enter(*d, c.field, c.text);
        const QString label = QStringLiteral("%1 '%2'").arg(int(c.field)).arg(QString::fromLatin1(c.text));
        QCOMPARE(d->NumberBox(c.field)->text(), QString::fromLatin1(c.shown));
        if (c.message.empty()) {
            QVERIFY2(f.dialogs.messages.empty(), qPrintable(label));
        } else {
            QVERIFY2(f.dialogs.messages.size() == 1, qPrintable(label));
            QCOMPARE(f.dialogs.LastText(), c.message);
            QVERIFY(f.dialogs.messages[0].kind == MessageKind::Information);
            QVERIFY(f.dialogs.messages[0].buttons == MessageButtons::Ok);
        }
        QVERIFY2(f.live == before, qPrintable(label)); // only the working copy changes
    }

    // A blank until-generation is the end of the run, kept as 65536 and shown blank.
    OptionsFixture f;
    f.live.GenSWUntil = 40;
    auto d = f.Open();
    Enter(*d, F::GenSWUntil, "");
    QCOMPARE(d->Working().GenSWUntil, UntilEndOfRun);
    QVERIFY(d->NumberBox(F::GenSWUntil)->text().isEmpty());
    Enter(*d, F::WriteIntUntil, "65535");
    QCOMPARE(d->Working().WriteIntUntil, 65535);
}

void OptionsDlgTest::GrowthRateCompetitiveSpeciesRules()
{
    using F = OptionNumber;
    const std::string invalidStays =
        "You did not specify the species for growth rate-competitive graph properly. It will stay unchanged.";
    const std::string invalidReset =
        "You did not specify the species for growth rate-competitive graph properly. It will be reset.";
    OptionsFixture f;
    f.params.OutcomeMatrix[1][3].Win = -1; // the pair 1-3 is variable
    f.params.OutcomeMatrix[3][1].Win = -1;
    auto d = f.Open();

    struct Step {
        F field;
        const char* text;
        std::string message;
        int species, against;
    };
    const Step steps[] = {
        {F::GCSpeciesA, "3", "", 1, 3},
        {F::GCSpeciesA, "2", "The outcome relation between species 1 and species 2 is not variable. "
                             "The against species will be reset.", 1, 0},
        {F::GCSpeciesA, "1", invalidReset, 1, 0},
        {F::GCSpeciesA, "4", invalidReset, 1, 0},
        {F::GCSpecies, "3", "", 3, 0},
        {F::GCSpeciesA, "1", "", 3, 1},
        // Equal to the against species; so is the live value (1), which gives way to 2.
        {F::GCSpecies, "1", invalidStays, 2, 1},
        {F::GCSpecies, "2", "The outcome relation between species 2 and species 1 is not variable. "
                            "The against species will be set to 0.", 2, 0},
        {F::GCSpecies, "0", invalidStays, 1, 0},
    };
    for (const Step& s : steps) {
        f.dialogs.messages.clear();
        Enter(*d, s.field, s.text);
        QCOMPARE(f.dialogs.LastText(), s.message);
        QCOMPARE(int(d->Working().GCSpecies), s.species);
        QCOMPARE(int(d->Working().GCSpeciesA), s.against);
        QCOMPARE(d->NumberBox(F::GCSpecies)->text(), QString::number(s.species));
        QCOMPARE(d->NumberBox(F::GCSpeciesA)->text(), QString::number(s.against));
    }

    // A live species out of range falls back to 1, or to 2 while the against species is 1.
    for (const auto& [against, fallback] : {std::pair{1, 2}, std::pair{0, 1}}) {
        OptionsFixture g;
        g.live.GCSpecies = 5;
        g.live.GCSpeciesA = static_cast<int8_t>(against);
        auto e = g.Open();
        Enter(*e, F::GCSpecies, "x");
        QCOMPARE(g.dialogs.LastText(), invalidStays);
        QCOMPARE(int(e->Working().GCSpecies), fallback);
        QCOMPARE(int(e->Working().GCSpeciesA), against);
    }
}

void OptionsDlgTest::OkWarningsCommitOrStay()
{
    const std::string multiple = "The given multiple landscape file parameters will not produce any output.";
    const std::string sliding = "The given Sliding Windows parameters will not produce any output.";
    OptionsFixture f;
    auto d = f.Open();
    d->CheckBox(&OptionStruct::WriteIntScape)->click();
    Enter(*d, OptionNumber::WriteIntFrom, "10");
    Enter(*d, OptionNumber::WriteIntUntil, "5");
    d->CheckBox(&OptionStruct::WriteSW)->click();
    d->ClearAllBtn->click();
    const OptionStruct before = f.live;

    // OK to the first warning, Cancel to the second: the dialog stays, nothing committed.
    d->setResult(QDialog::Rejected);
    f.dialogs.answers = {MessageAnswer::Ok, MessageAnswer::Cancel};
    d->OKBtn->click();
    QCOMPARE(f.dialogs.messages.size(), size_t(2));
    QCOMPARE(f.dialogs.messages[0].text, multiple);
    QCOMPARE(f.dialogs.messages[1].text, sliding);
    for (const auto& m : f.dialogs.messages) {
        QVERIFY(m.kind == MessageKind::Warning);
        QVERIFY(m.buttons == MessageButtons::OkCancel);
    }
    QVERIFY(f.live == before);
    QCOMPARE(d->result(), int(QDialog::Rejected));

    // Cancel to the first warning stops there.
    f.dialogs.messages.clear();
    f.dialogs.answers = {MessageAnswer::Cancel};
    d->OKBtn->click();
    QCOMPARE(f.dialogs.messages.size(), size_t(1));
    QVERIFY(f.live == before);

    // OK to both commits the working copy as it is.
    f.dialogs.messages.clear();
    f.dialogs.answers = {MessageAnswer::Ok, MessageAnswer::Ok};
    d->OKBtn->click();
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QVERIFY(f.live == d->Working());
    QCOMPARE(f.live.WriteIntUntil, 5);
    QVERIFY(f.live.SWSpeciesMask.none());

    // Settings that do produce output commit without a word, a value still being typed included.
    OptionsFixture g;
    auto e = g.Open();
    e->CheckBox(&OptionStruct::WriteIntScape)->click();
    e->CheckBox(&OptionStruct::WriteSW)->click();
    Enter(*e, OptionNumber::GenSWFrom, "65535");
    QTest::keyClicks(e->NumberBox(OptionNumber::DeltaSideSW), "0");
    e->OKBtn->click();
    QCOMPARE(g.live.DeltaSideSW, 50);
    QVERIFY(g.dialogs.messages.empty());
    QVERIFY(g.live.WriteSW && g.live.WriteIntScape);
    QCOMPARE(g.live.GenSWFrom, 65535);
}

void OptionsDlgTest::LandscapeAndSlidingWindowNames()
{
    OptionsFixture f;
    auto d = f.Open();
    ClickableLineEdit* ca = d->FileNameBox(OptionFile::CAFilename);
    QVERIFY(!ca->isEnabled());
    d->CheckBox(&OptionStruct::WriteLandscape)->click();
    QVERIFY(ca->isEnabled());

    // A wrong extension: Retry; two extensions: Retry; then a text file.
    f.dialogs.files = {std::string("/o/land.dat"), std::string("/o/land.v2.BMP"), std::string("/o/land.txt")};
    f.dialogs.answers = {MessageAnswer::Retry, MessageAnswer::Retry};
    QTest::mouseClick(ca, Qt::LeftButton);
    QCOMPARE(f.dialogs.fileRequests.size(), size_t(3));
    const FileDialogRequest& r = f.dialogs.fileRequests[0];
    QVERIFY(r.save && r.overwritePrompt);
    QCOMPARE(r.title, std::string("Save Landscape to File"));
    QCOMPARE(r.filter, std::string("Bitmap files (*.bmp)|*.bmp|Text files (*.txt)|*.txt|All Files (*.*)|*.*"));
    QCOMPARE(r.defaultExtension, std::string("bmp"));
    QCOMPARE(r.initialFolder, std::string("/home/u"));
    QCOMPARE(r.initialName, std::string("CALand.bmp"));
    QCOMPARE(f.dialogs.messages.size(), size_t(2));
    QCOMPARE(f.dialogs.messages[0].text, std::string("The file extension must be .txt or .bmp"));
    QVERIFY(f.dialogs.messages[0].kind == MessageKind::Error);
    QVERIFY(f.dialogs.messages[0].buttons == MessageButtons::RetryCancel);
    QCOMPARE(f.dialogs.messages[1].text,
             std::string("You specified a filename with TWO extensions\r/o/land.v2.BMP\rIs this really what you want?"));
    QVERIFY(f.dialogs.messages[1].buttons == MessageButtons::YesRetry);
    QCOMPARE(d->Working().CAFilename, std::string("/o/land.txt"));
    QCOMPARE(ca->text(), QStringLiteral("/o/land.txt"));

    // The next dialog starts at the new name; Cancel to a wrong extension keeps the old name,
    // Yes to two extensions takes them.
    f.dialogs.files = {std::string("/p/x.gif")};
    f.dialogs.answers = {MessageAnswer::Cancel};
    d->FileNameClick(OptionFile::CAFilename);
    QCOMPARE(f.dialogs.fileRequests.back().initialFolder, std::string("/o"));
    QCOMPARE(f.dialogs.fileRequests.back().initialName, std::string("land.txt"));
    QCOMPARE(d->Working().CAFilename, std::string("/o/land.txt"));
    f.dialogs.files = {std::string("/p/a.b.bmp")};
    f.dialogs.answers = {MessageAnswer::Yes};
    d->FileNameClick(OptionFile::CAFilename);
    QCOMPARE(d->Working().CAFilename, std::string("/p/a.b.bmp"));

    // Sliding windows: text files only.
    f.dialogs.messages.clear();
    f.dialogs.files = {std::string("/o/sw.bmp"), std::string("/o/sw.TXT")};
    f.dialogs.answers = {MessageAnswer::Retry};
    d->FileNameClick(OptionFile::SWFilename);
    const FileDialogRequest& sw = f.dialogs.fileRequests.back();
    QCOMPARE(sw.title, std::string("Save sliding windows results to File"));
    QCOMPARE(sw.filter, std::string("Text files (*.txt)|*.txt|All Files (*.*)|*.*"));
    QCOMPARE(sw.defaultExtension, std::string("txt"));
    QCOMPARE(sw.initialName, std::string(".txt"));
    QCOMPARE(f.dialogs.messages.size(), size_t(1));
    QCOMPARE(f.dialogs.LastText(), std::string("The file extension must be .txt"));
    QCOMPARE(d->Working().SWFilename, std::string("/o/sw.TXT"));
    QCOMPARE(f.live.SWFilename, std::string("/home/u/.txt"));
}

void OptionsDlgTest::OtherFileNamesTakeAnyName()
{
    struct Case {
        OptionFile file;
        const char* title;
        const char* filter;
        const char* extension;
        bool proposesCurrent;
    };
    const char* data = "Data files (*.dat)|*.dat|All Files (*.*)|*.*";
    const char* bitmap = "Bitmap files (*.bmp)|*.bmp|All Files (*.*)|*.*";
    const Case cases[] = {
        {OptionFile::CoverFilename, "Save Coverage to File", data, "", false},
        {OptionFile::GRateFilename, "Save Average Growth Rates to File", data, "", false},
        {OptionFile::STPlotFilename, "Save Space-Time Plot to File", bitmap, "", false},
        {OptionFile::FTPlotFilename, "Save Freq-Time Plot of Growth Rates to File", bitmap, "bmp", true},
        {OptionFile::OTCFilename, "Save Average Probability of Win/Loss/Standoff to File", data, "", false},
        {OptionFile::GCFilename, "Save Growth Rate-Competitive Data to File", data, "dat", true},
        {OptionFile::FTPOTCFilename, "Save Freq-Time Plot of Variable Outcome to File", bitmap, "bmp", true},
    };
    for (const Case& c : cases) {
        OptionsFixture f;
        auto d = f.Open();
        f.dialogs.files = {std::string("/q/any.name.xyz")};
        d->FileNameClick(c.file);
        QCOMPARE(f.dialogs.fileRequests.size(), size_t(1));
        const FileDialogRequest& r = f.dialogs.fileRequests[0];
        QCOMPARE(r.title, std::string(c.title));
        QCOMPARE(r.filter, std::string(c.filter));
        QCOMPARE(r.defaultExtension, std::string(c.extension));
        QCOMPARE(r.initialFolder, std::string("/home/u"));
        QCOMPARE(r.initialName.empty(), !c.proposesCurrent);
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(d->FileNameBox(c.file)->text(), QStringLiteral("/q/any.name.xyz"));
        // A cancelled dialog keeps the name.
        d->FileNameClick(c.file);
        QCOMPARE(d->FileNameBox(c.file)->text(), QStringLiteral("/q/any.name.xyz"));
    }
}

void OptionsDlgTest::CancelDiscardsAndDefaultRefills()
{
    OptionsFixture f;
    f.live.DisplayCycle = 9;
    f.live.WriteIntUntil = 100;
    f.live.ShowCoverage = false;
    f.live.GCFilename = "/x/gc.dat";
    f.live.WriteLandTypes = 3;
    const OptionStruct before = f.live;
    auto d = f.Open();
    QCOMPARE(d->NumberBox(OptionNumber::DisplayCycle)->text(), QStringLiteral("9"));
    QCOMPARE(d->GCCycle->text(), QStringLiteral("9"));
    QCOMPARE(d->WriteLandTypes->checkedId(), 3);

    d->CheckBox(&OptionStruct::ShowCALandscape)->click();
    Enter(*d, OptionNumber::DisplayCycle, "7");
    QCOMPARE(d->GCCycle->text(), QStringLiteral("7"));
    d->CheckBox(&OptionStruct::WriteLandscape)->click();
    d->WriteLandTypes->button(2)->click();
    d->ClearAllBtn->click();
    QVERIFY(!d->Working().ShowCALandscape);
    QCOMPARE(d->Working().WriteLandTypes, 2);
    d->CancelBtn->click();
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QVERIFY(f.live == before);
    d->FormShow();
    QVERIFY(d->Working() == before);
    QVERIFY(d->CheckBox(&OptionStruct::ShowCALandscape)->isChecked());
    QVERIFY(d->SpeciesBoxes[40]->isChecked());

    // "&Default" replaces the working copy and refills the controls; OK commits it.
    d->DefaultBtn->click();
    QVERIFY(d->Working() == SetDefaultOptions("/home/u"));
    QVERIFY(f.live == before);
    QCOMPARE(d->NumberBox(OptionNumber::DisplayCycle)->text(), QStringLiteral("1"));
    QVERIFY(d->NumberBox(OptionNumber::WriteIntUntil)->text().isEmpty());
    QVERIFY(d->CheckBox(&OptionStruct::ShowCoverage)->isChecked());
    QCOMPARE(d->FileNameBox(OptionFile::GCFilename)->text(), QStringLiteral("/home/u/GCData.dat"));
    QCOMPARE(d->WriteLandTypes->checkedId(), 1);
    d->OKBtn->click();
    QVERIFY(f.live == SetDefaultOptions("/home/u"));
}

void OptionsDlgTest::SpeciesBoxesEnablingAndPages()
{
    OptionsFixture f;
    auto d = f.Open();
    QCOMPARE(d->windowTitle(), QStringLiteral("Output Options"));
    QCOMPARE(d->Pages->tabText(d->Pages->count() - 1), QStringLiteral("Sliding Windows"));
    QCOMPARE(d->OKBtn->text(), QStringLiteral("&OK"));
    QCOMPARE(d->CancelBtn->text(), QStringLiteral("&Cancel"));
    QCOMPARE(d->DefaultBtn->text(), QStringLiteral("&Default"));
    QCOMPARE(d->SpeciesBoxes[0]->text(), QStringLiteral("Unoccupied"));
    QCOMPARE(d->SpeciesBoxes[1]->text(), QStringLiteral(" 1"));
    QCOMPARE(d->SpeciesBoxes[40]->text(), QStringLiteral("40"));
    bool notes[2] = {false, false};
    for (QLabel* l : d->findChildren<QLabel*>()) {
        notes[0] |= l->text() == "File options are valid only for runs: 'single landscape, single run'.";
        notes[1] |= l->text() == "Sliding windows are only applicable to 'single landscape, single run'.";
    }
    QVERIFY(notes[0] && notes[1]);

    // The species boxes belong to the sliding windows, enabled only while they are written.
    QVERIFY(!d->SpeciesBoxes[3]->isEnabled());
    QVERIFY(!d->NumberBox(OptionNumber::GenSWEvery)->isEnabled());
    d->CheckBox(&OptionStruct::WriteSW)->click();
    QVERIFY(d->SpeciesBoxes[3]->isEnabled());
    QVERIFY(d->NumberBox(OptionNumber::GenSWEvery)->isEnabled());
    d->SpeciesBoxes[0]->click();
    d->SpeciesBoxes[7]->click();
    QVERIFY(d->Working().SWSpeciesMask.test(0));
    QVERIFY(!d->Working().SWSpeciesMask.test(7));
    d->ClearAllBtn->click();
    QCOMPARE(d->Working().SWSpeciesMask.to_ullong(), 1ull); // "Unoccupied" untouched
    d->SetAllBtn->click();
    QCOMPARE(d->Working().SWSpeciesMask.count(), size_t(41));

    // An output's cycle and species follow its show or write box; a name its write box.
    QLineEdit* species = d->NumberBox(OptionNumber::FTPSpecies);
    QVERIFY(species->isEnabled());
    d->CheckBox(&OptionStruct::ShowFTPlot)->click();
    QVERIFY(!species->isEnabled());
    QVERIFY(d->Sample(&OptionStruct::ShowFTPlot)->isHidden());
    d->CheckBox(&OptionStruct::WriteFTP)->click();
    QVERIFY(species->isEnabled());
    QVERIFY(d->FileNameBox(OptionFile::FTPlotFilename)->isEnabled());
    QVERIFY(!d->FileNameBox(OptionFile::CAFilename)->isEnabled());
    d->CheckBox(&OptionStruct::WriteIntScape)->click();
    QVERIFY(d->FileNameBox(OptionFile::CAFilename)->isEnabled());
    QVERIFY(d->GCCycle->isReadOnly());
}

QTEST_MAIN(OptionsDlgTest)
#include "OptionsDlgTest.moc"
