#include "ScriptedDialogs.h"
#include "params/ParameterSet.h"
#include "ui/ClickableLineEdit.h"
#include "ui/TGParamDlg.h"
#include "ui/TGParamViewForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <map>
#include <string>
#include <vector>

using namespace quorrel;
using namespace quorrel::test;

namespace {

ParameterSet InbuiltSet()
{
    return ParameterSet::InbuiltDefaults("/home/u");
}

// The box that edits a field, by the parameter file's key.
QLineEdit* Box(TGParamDlg& d, const std::string& key)
{
    const std::map<std::string, QLineEdit*> boxes{
        {"Maxspec", d.Maxspec},
        {"MaxX", d.MaxX},
        {"MaxY", d.MaxY},
        {"PIX", d.PIX},
        {"Maxgen", d.Maxgen},
        {"RandSeed", d.RandSeed},
        {"Init", d.Init->lineEdit()},
        {"Cover", d.Cover->lineEdit()},
        {"CoverFile", d.CoverFile},
        {"Border", d.Border->lineEdit()},
        {"TotalCover", d.TotalCover},
        {"OverGRate", d.OverGRate},
        {"DisturbProb", d.DisturbProb},
        {"PatchSize", d.PatchSize},
        {"PatchType", d.PatchType->lineEdit()},
        {"Influx", d.Influx},
        {"RecruitType", d.RecruitType->lineEdit()},
        {"MutationGR", d.MutationGR},
        {"MutAmtGR", d.MutAmtGR},
        {"MutationOTC", d.MutationOTC},
        {"MutAmtOTC", d.MutAmtOTC},
    };
    return boxes.at(key);
}

} // namespace

class GParamDlgTest : public QObject {
    Q_OBJECT
private slots:
    void ControlsInTabOrderWithLimitsAndHints();
    void FillsFromGParamRec();
    void OkChecksEveryFieldInOrder();
    void OkReplacesTheRecordInOneStep();
    void CancelChangesNothing();
    void CoverFileBoxOpensTheFileDialog();
    void ViewerShowsTheRecordReadOnly();
};

void GParamDlgTest::ControlsInTabOrderWithLimitsAndHints()
{
    ParameterSet params = InbuiltSet();
    ScriptedDialogs dialogs;
    TGParamDlg d(params, dialogs);
    QCOMPARE(d.windowTitle(), QStringLiteral("Input General Parameters"));

    const QList<QWidget*> order{d.Maxspec,     d.MaxX,       d.MaxY,        d.PIX,        d.Maxgen,
                                d.RandSeed,    d.Init,       d.Cover,       d.TotalCover, d.Border,
                                d.OverGRate,   d.DisturbProb, d.PatchSize,  d.PatchType,  d.Influx,
                                d.RecruitType, d.MutationGR, d.MutAmtGR,    d.MutationOTC, d.MutAmtOTC,
                                d.OKBtn,       d.CancelBtn,  d.CoverFile,   d.MeanField};
    QList<QWidget*> chain;
    QWidget* w = d.Maxspec;
    do {
        if (order.contains(w) && !chain.contains(w))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != d.Maxspec);
    QCOMPARE(chain, order);

    struct Limit {
        const char* key;
        int maxLength;
        const char* hint;
    };
    const Limit limits[] = {
        {"Maxspec", 2, "a number between 2 and 40"},
        {"MaxX", 3, ""}, {"MaxY", 3, ""}, {"PIX", 3, ""}, {"Maxgen", 5, ""}, {"RandSeed", 4, ""},
        {"Init", 8, ""}, {"TotalCover", 6, ""}, {"Border", 5, ""}, {"OverGRate", 3, ""},
        {"DisturbProb", 10, ""}, {"PatchSize", 10, ""}, {"Influx", 10, ""}, {"MutationGR", 10, ""},
        {"MutAmtGR", 2, "A integer between 1 and 10"}, {"MutationOTC", 10, ""},
        {"MutAmtOTC", 2, "A integer between 1 and 10"},
    };
    d.FormShow();
    for (const Limit& l : limits) {
        QCOMPARE(Box(d, l.key)->maxLength(), l.maxLength);
        if (*l.hint != '\0')
            QCOMPARE(Box(d, l.key)->toolTip(), QString::fromLatin1(l.hint));
    }
    for (QComboBox* list : {d.Init, d.Cover, d.Border, d.PatchType, d.RecruitType})
        QCOMPARE(list->toolTip(), QStringLiteral("Select one from the list"));
    QCOMPARE(d.CoverFile->toolTip(), QStringLiteral("File from which to read the landscape when Cover=File"));
    QVERIFY(d.CoverFile->isReadOnly());
}

void GParamDlgTest::FillsFromGParamRec()
{
    ParameterSet params = InbuiltSet();
    GParamStruct& g = params.GParamRec;
    g.TotalCover = 12.5f;
    g.DisturbProb = 0.0005f;
    g.Influx = 1.0f;
    g.RecruitType = 1;
    g.Init = 1;
    g.MeanField = true;
    g.RandSeed = 123456; // longer than the box's limit, e.g. from a parameter file
    ScriptedDialogs dialogs;
    TGParamDlg d(params, dialogs);
    d.FormShow();
    QCOMPARE(d.TotalCover->text(), QStringLiteral("12.5"));
    QCOMPARE(d.DisturbProb->text(), QStringLiteral("0.0005"));
    QCOMPARE(d.Influx->text(), QStringLiteral("1"));
    QCOMPARE(d.MutationGR->text(), QStringLiteral("0"));
    QCOMPARE(d.RecruitType->currentText(), QStringLiteral("Closed"));
    QCOMPARE(d.Init->currentText(), QStringLiteral("Gradient"));
    QCOMPARE(d.CoverFile->text(), QStringLiteral("/home/u/InitialCover.txt"));
    QVERIFY(d.MeanField->isChecked());
    // The seed is shown whole, so OK without an edit keeps it.
    QCOMPARE(d.RandSeed->text(), QStringLiteral("123456"));
    GParamStruct expected = g;
    expected.MutAmtGR = 0; // not read while its probability is 0
    expected.MutAmtOTC = 0;
    d.OKBtnClick();
    QVERIFY(dialogs.messages.empty());
    QVERIFY(params.GParamRec == expected);
}

void GParamDlgTest::OkChecksEveryFieldInOrder()
{
    struct Case {
        std::vector<std::pair<std::string, std::string>> set;
        std::string message; // empty: accepted
    };
    const std::string size = "The landscape size must be between 10x10 and 700x700.";
    const std::string generations = "The number of generations must be between 1 and 65535";
    const Case cases[] = {
        {{{"Maxspec", ""}}, "You have to specify the Number of species."},
        {{{"Maxspec", "x"}}, "You have to give a positive number for the Number of species."},
        {{{"Maxspec", "41"}}, "The number of species must be between 2 and 40."},
        {{{"Maxspec", "1"}}, "The number of species must be between 2 and 40."},
        {{{"Maxspec", "2"}}, ""},
        {{{"Maxspec", "40"}}, ""},
        {{{"MaxX", ""}}, "You have to specify the Landscape size."},
        {{{"MaxX", "-1"}}, "You have to give a positive number for Landscape size."},
        {{{"MaxX", "9"}}, size},
        {{{"MaxY", ""}}, "You have to specify the Landscape size."},
        {{{"MaxY", "701"}}, size},
        {{{"PIX", ""}}, "You have to specify the Number of pixels per cell."},
        {{{"PIX", "1.5"}}, "You have to give a positive number for the Number of pixels per cell."},
        {{{"PIX", "0"}}, "Cell size is too large."},
        {{{"MaxX", "400"}, {"MaxY", "400"}, {"PIX", "2"}}, "Cell size is too large."},
        {{{"MaxX", "350"}, {"MaxY", "350"}, {"PIX", "2"}}, ""},
        {{{"Maxgen", ""}}, "You have to give the Number of generations."},
        {{{"Maxgen", "x"}}, generations},
        {{{"Maxgen", "0"}}, generations},
        {{{"Maxgen", "65536"}}, generations},
        {{{"Maxgen", "65535"}}, ""},
        {{{"RandSeed", ""}}, "You have to give a Random number seed."},
        {{{"RandSeed", "-5"}}, "You have to give a positive Random number seed."},
        {{{"Init", ""}}, "You have to give type of initial growth rate."},
        {{{"Init", "grid"}}, "The type of initial growth rate must be selected from the list"},
        {{{"Cover", ""}}, "You have to give the type of initial cover."},
        {{{"Cover", "Block"}}, "The type of initial cover must be selected from the list"},
        {{{"Cover", "File"}, {"CoverFile", "  "}},
         "The file containing the initial cover must be given if the cover type is File."},
        {{{"Cover", "Blocks"}, {"CoverFile", ""}}, ""},
        {{{"Border", ""}}, "You have to give Border type."},
        {{{"Border", "random"}}, "The border type must be selected from the list"},
        {{{"TotalCover", ""}}, "You have to specify Total cover."},
        {{{"TotalCover", "1.2.3"}}, "You have to give a positive number for Total cover."},
        {{{"TotalCover", "100.01"}}, "The total cover must be between 0 and 100%."},
        {{{"OverGRate", ""}}, "You have to specify Over-growth rate (GRInt)."},
        {{{"OverGRate", "+5"}}, "You have to give a positive number for Over-growth rate."},
        {{{"OverGRate", "101"}}, "The Over-growth rate must be between 0 and 100%."},
        {{{"DisturbProb", ""}}, "You have to specify the Probability of Disturbance."},
        {{{"DisturbProb", "5E-4"}}, "You have to give a positive float number for Probability of Disturbance."},
        {{{"DisturbProb", "1.001"}}, "The Probability of Disturbance should not be greater than 1."},
        {{{"DisturbProb", "0.0005"}}, ""},
        {{{"PatchSize", ""}}, "You have to give Patch."},
        {{{"PatchSize", "5x"}}, "You have to give a positive number for Patch."},
        {{{"MaxX", "20"}, {"MaxY", "10"}, {"PatchSize", "201"}},
         "Patch size is bigger than the size of the landscape."},
        {{{"MaxX", "20"}, {"MaxY", "10"}, {"PatchSize", "200"}}, ""},
        {{{"PatchType", ""}}, "You have to give Patch type."},
        {{{"PatchType", "Round"}}, "The patch type must be selected from the list"},
        {{{"Influx", ""}}, "You have to specify the probability of influx."},
        {{{"Influx", "-0.1"}}, "You have to give a positive float number for the probability of influx."},
        {{{"Influx", "2"}}, "The probability of influx should not be greater than 1."},
        {{{"RecruitType", ""}}, "You have to give Recruitment type."},
        {{{"RecruitType", "Close"}}, "The recruitment type must be selected from the list"},
        {{{"MutationGR", ""}}, "You have to specify the probability of mutation on growth rates."},
        {{{"MutationGR", "x"}},
         "You have to give a positive float number for the probability of mutation on growth rates."},
        {{{"MutationGR", "1.5"}}, "The probability of mutation on growth rates should not be greater than 1."},
        {{{"MutationGR", "0.1"}, {"MutAmtGR", ""}}, "You have to give the amount of mutation on growth rates."},
        {{{"MutationGR", "0.1"}, {"MutAmtGR", "a"}},
         "You have to give a positive number for the amount of mutation on growth rates."},
        {{{"MutationGR", "0.1"}, {"MutAmtGR", "11"}},
         "The amount of mutation on growth rates should be in the range of 1 to 10."},
        {{{"MutationGR", "0"}, {"MutAmtGR", ""}}, ""},
        {{{"MutationOTC", ""}}, "You have to specify the probability of mutation on variable outcome."},
        {{{"MutationOTC", "."}},
         "You have to give a positive float number for the probability of mutation on variable outcome."},
        {{{"MutationOTC", "3"}}, "The probability of mutation on variable outcome should not be greater than 1."},
        {{{"MutationOTC", "1"}, {"MutAmtOTC", ""}}, "You have to give the amount of mutation on variable outcome."},
        {{{"MutationOTC", "1"}, {"MutAmtOTC", "-"}},
         "You have to give a positive number for the amount of mutation on variable outcome."},
        {{{"MutationOTC", "1"}, {"MutAmtOTC", "0"}},
         "The amount of mutation on variable outcomes should be in the range of 1 to 10."},
        // The first failing field in the dialog's order is the one reported.
        {{{"MutAmtOTC", "x"}, {"MutationOTC", "0.5"}, {"PatchType", "x"}, {"Maxgen", "0"}}, generations},
    };
    for (const Case& c : cases) {
        ParameterSet params = InbuiltSet();
        const GParamStruct before = params.GParamRec;
        ScriptedDialogs dialogs;
        TGParamDlg d(params, dialogs);
        d.FormShow();
        for (const auto& [key, value] : c.set)
            Box(d, key)->setText(QString::fromStdString(value));
        d.setResult(QDialog::Rejected);
        QTest::mouseClick(d.OKBtn, Qt::LeftButton);
        const std::string label = c.set.front().first + "=" + c.set.front().second;
        if (c.message.empty()) {
            QVERIFY2(dialogs.messages.empty(), (label + ": " + dialogs.LastText()).c_str());
            QCOMPARE(d.result(), int(QDialog::Accepted));
        } else {
            QVERIFY2(dialogs.messages.size() == 1, label.c_str());
            QCOMPARE(dialogs.LastText(), c.message);
            QVERIFY(dialogs.messages[0].kind == MessageKind::Error);
            QVERIFY(dialogs.messages[0].buttons == MessageButtons::Retry);
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QVERIFY2(params.GParamRec == before, label.c_str());
        }
    }
}

void GParamDlgTest::OkReplacesTheRecordInOneStep()
{
    ParameterSet params = InbuiltSet();
    ScriptedDialogs dialogs;
    TGParamDlg d(params, dialogs);
    d.FormShow();
    const std::vector<std::pair<std::string, std::string>> edits{
        {"Maxspec", "5"},        {"MaxX", "350"},        {"MaxY", "120"},         {"PIX", "2"},
        {"Maxgen", "65535"},     {"RandSeed", "77"},     {"Init", "Grid"},        {"Cover", "File"},
        {"CoverFile", "/d/c.txt"}, {"Border", "Open"},   {"TotalCover", "55.25"}, {"OverGRate", "0"},
        {"DisturbProb", "0.0005"}, {"PatchSize", "42000"}, {"PatchType", "Random"}, {"Influx", "0"},
        {"RecruitType", "Open"}, {"MutationGR", "0"},    {"MutAmtGR", ""},        {"MutationOTC", "0.25"},
        {"MutAmtOTC", "10"},
    };
    for (const auto& [key, value] : edits)
        Box(d, key)->setText(QString::fromStdString(value));
    d.MeanField->setChecked(true);
    d.OKBtnClick();
    QVERIFY(dialogs.messages.empty());
    const GParamStruct expected{5, 350, 120, 2, 65535, 77, 2, 2, "/d/c.txt", 1, 55.25f, 0, 0.0005f, 42000, 1,
                                0.0f, 0, 0.0f, 0, 0.25f, 10, true};
    QVERIFY(params.GParamRec == expected);
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void GParamDlgTest::CancelChangesNothing()
{
    ParameterSet params = InbuiltSet();
    const GParamStruct before = params.GParamRec;
    ScriptedDialogs dialogs;
    TGParamDlg d(params, dialogs);
    d.FormShow();
    d.Maxspec->setText(QStringLiteral("7"));
    d.Border->setEditText(QStringLiteral("Open"));
    d.MeanField->setChecked(true);
    QTest::mouseClick(d.CancelBtn, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QVERIFY(params.GParamRec == before);
    QVERIFY(dialogs.messages.empty());
    // Opening again shows the record, not the abandoned edits.
    d.FormShow();
    QCOMPARE(d.Maxspec->text(), QStringLiteral("3"));
    QVERIFY(!d.MeanField->isChecked());
}

void GParamDlgTest::CoverFileBoxOpensTheFileDialog()
{
    ParameterSet params = InbuiltSet();
    ScriptedDialogs dialogs;
    TGParamDlg d(params, dialogs);
    d.FormShow();
    dialogs.files.push_back(std::string("/data/new cover.txt"));
    QTest::mouseClick(d.CoverFile, Qt::LeftButton);
    QCOMPARE(dialogs.fileRequests.size(), size_t(1));
    const FileDialogRequest& r = dialogs.fileRequests[0];
    QVERIFY(!r.save);
    QCOMPARE(r.title, std::string("Initial landscape coverage File"));
    QCOMPARE(r.filter, std::string("Text files (*.txt)|*.txt|All files (*.*)|*.*"));
    QCOMPARE(r.defaultExtension, std::string("txt"));
    QCOMPARE(r.initialFolder, std::string("/home/u"));
    QCOMPARE(r.initialName, std::string("InitialCover.txt"));
    QCOMPARE(d.CoverFile->text(), QStringLiteral("/data/new cover.txt"));

    // A bare name starts in the start folder; a cancelled dialog keeps the name.
    d.CoverFile->setText(QStringLiteral("bare.txt"));
    d.CoverFileClick();
    QCOMPARE(dialogs.fileRequests[1].initialFolder, std::string("/home/u"));
    QCOMPARE(dialogs.fileRequests[1].initialName, std::string("bare.txt"));
    QCOMPARE(d.CoverFile->text(), QStringLiteral("bare.txt"));
    QCOMPARE(params.GParamRec.CoverFile, std::string("/home/u/InitialCover.txt"));
}

void GParamDlgTest::ViewerShowsTheRecordReadOnly()
{
    ParameterSet params = InbuiltSet();
    TGParamViewForm view(params);
    QCOMPARE(view.windowTitle(), QStringLiteral("General Parameters"));
    QCOMPARE(view.Value("RecruitType"), QStringLiteral("Close"));
    QCOMPARE(view.Value("TotalCover"), QStringLiteral("20"));
    QCOMPARE(view.Value("Border"), QStringLiteral("Torus"));

    params.GParamRec.RecruitType = 0;
    params.GParamRec.PatchType = 1;
    params.GParamRec.Influx = 0.125f;
    params.GParamRec.MeanField = true;
    const GParamStruct before = params.GParamRec;
    view.Refresh();
    QCOMPARE(view.Value("RecruitType"), QStringLiteral("Open"));
    QCOMPARE(view.Value("PatchType"), QStringLiteral("Random"));
    QCOMPARE(view.Value("Influx"), QStringLiteral("0.125"));
    QVERIFY(view.MeanField->isChecked());
    QTest::mouseClick(view.MeanField, Qt::LeftButton);
    QVERIFY(view.MeanField->isChecked());
    QVERIFY(params.GParamRec == before);
}

QTEST_MAIN(GParamDlgTest)
#include "GParamDlgTest.moc"
