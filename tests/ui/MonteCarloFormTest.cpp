#include "DesktopFixture.h"
#include "ui/EventScript.h"

#include "ui/ClickableLineEdit.h"
#include "ui/OutputWindows.h"
#include "ui/TMonteCarloForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace quorrel;
using namespace quorrel::test;
namespace fs = std::filesystem;

namespace {

// Start, Stop, Close, RepeatTimes, ResultFile enabled.
QString Controls(const TMonteCarloForm& m)
{
    QString s;
    for (const QWidget* w : std::initializer_list<const QWidget*>{m.StartBtn, m.StopBtn, m.CloseBtn, m.RepeatTimes,
                                                                   m.ResultFile})
        s += w->isEnabled() ? '1' : '0';
    return s;
}

const QString Idle = QStringLiteral("10111");
const QString Running = QStringLiteral("01000");

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The result file chosen through the window's file box.
void ChooseResultFile(DesktopFixture& f, TMonteCarloForm& m, const fs::path& file)
{
    f.dialogs.files = {file.string()};
    QTest::mouseClick(m.ResultFile, Qt::LeftButton);
}

} // namespace

class MonteCarloFormTest : public QObject {
    Q_OBJECT
private slots:
    void OpenedFromRunMode();
    void StartStopRestart();
    void RepetitionsAndFileNameChecked();
    void OverwriteQuestion();
    void CloseDuringSeries();
};

void MonteCarloFormTest::OpenedFromRunMode()
{
    DesktopFixture f;
    f.main->CoverageItemClick();
    struct Case {
        bool variable;
        TMonteCarloForm* window;
        const char* heading;
        const char* fileHint;
    };
    const Case cases[] = {
        {false, &f.main->MonteCarloFixed(), "Single landscape, Fixed outcome", ""},
        {true, &f.main->MonteCarloVariable(), "Single landscape, Variable outcome", "Click to select a file"},
    };
    for (const Case& c : cases) {
        TRunModeForm& d = f.main->RunMode();
        d.MonteCarlo->click();
        (c.variable ? d.VariableOutcome : d.FixedOutcome)->click();
        d.OKBtnClick();
        TMonteCarloForm& m = *c.window;
        QVERIFY(m.isVisible());
        QCOMPARE(m.windowTitle(), QStringLiteral("Monte Carlo"));
        QStringList labels;
        for (const QLabel* l : m.findChildren<QLabel*>())
            labels << l->text();
        QVERIFY2(labels.contains(QString::fromLatin1(c.heading)), qPrintable(labels.join('|')));
        for (const char* text : {"Repeat for", "times", "Write result to", "Currently at", "of", "runs"})
            QVERIFY2(labels.contains(QString::fromLatin1(text)), text);
        QCOMPARE(Controls(m), Idle);
        QCOMPARE(m.RepeatTimes->maxLength(), 6);
        QCOMPARE(m.RepeatTimes->toolTip(), QStringLiteral("A number between 2 and 1000"));
        QCOMPARE(m.ResultFile->toolTip(), QString::fromLatin1(c.fileHint));
        QVERIFY(m.ResultFile->isReadOnly());
        // A Monte Carlo series feeds no output window.
        QVERIFY(!f.main->Outputs().Statistics.isVisible());
        // The Run menu brings the open window forward.
        f.main->MenuItem("&Run")->trigger();
        QVERIFY(m.isVisible());
        m.close();
        QVERIFY(m.isHidden());
    }
}

void MonteCarloFormTest::StartStopRestart()
{
    DesktopFixture f;
    f.SmallRun(12, 60);
    f.app.Params.GRateRandomising = true;
    TMonteCarloForm& m = f.main->MonteCarloFixed();
    m.show();

    // The file box opens the save dialog in the start folder, then in the folder of its name.
    const fs::path result = f.StartPath() / "sub" / "series.dat";
    fs::create_directories(result.parent_path());
    ChooseResultFile(f, m, result);
    QCOMPARE(m.ResultFile->text(), QString::fromStdString(result.string()));
    QCOMPARE(f.dialogs.fileRequests.size(), size_t(1));
    const FileDialogRequest& first = f.dialogs.fileRequests[0];
    QVERIFY(first.save);
    QCOMPARE(first.title, std::string("Write result to file"));
    QCOMPARE(first.filter, std::string("Result files (*.dat)|*.dat|All files (*.*)|*.*"));
    QCOMPARE(first.defaultExtension, std::string("dat"));
    QCOMPARE(first.initialFolder, f.StartPath().string());
    // Cancelling keeps the name; the next dialog starts in its folder.
    QTest::mouseClick(m.ResultFile, Qt::LeftButton);
    QCOMPARE(f.dialogs.fileRequests.back().initialFolder, result.parent_path().string());
    QCOMPARE(f.dialogs.fileRequests.back().initialName, std::string("series.dat"));
    QCOMPARE(m.ResultFile->text(), QString::fromStdString(result.string()));

    m.RepeatTimes->setText(QStringLiteral("6"));
    QStringList seen;
    EventScript script([&] {
        if (m.CurrentRun->text().toInt() < 3)
            return false;
        seen << Controls(m) << m.TotalRun->text();
        seen << (f.main->RunGuard("Finish the run (use RESET or CLOSE) before changing parameters") ? "allowed"
                                                                                                   : "refused");
        QTest::mouseClick(m.StopBtn, Qt::LeftButton);
        return true;
    });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QCOMPARE(seen, (QStringList{Running, "6", "refused"}));
    QCOMPARE(f.dialogs.messages.size(), size_t(1));
    QCOMPARE(f.dialogs.LastText(), std::string("Finish the run (use RESET or CLOSE) before changing parameters"));
    QCOMPARE(m.Series().CurrentRun(), 3);
    QCOMPARE(m.CurrentRun->text(), QStringLiteral("3"));
    QCOMPARE(Controls(m), Idle);
    QVERIFY(m.isVisible());
    QVERIFY(f.main->RunGuard("no run"));
    // Stopped: the parameters and the logs of runs 1..3, no summary, kept as incomplete.
    QVERIFY(!fs::exists(result));
    std::string text = ReadFile(result.string() + ".incomplete");
    QCOMPARE(Count(text, "Run: "), 3);
    QCOMPARE(Count(text, "===>"), 0);

    // Started again: the partial result does not stand in the way; the whole series and its
    // summary under the name, and no partial file left.
    f.dialogs.messages.clear();
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QCOMPARE(f.dialogs.messages.size(), size_t(0));
    QVERIFY(!fs::exists(result.string() + ".incomplete"));
    QCOMPARE(m.CurrentRun->text(), QStringLiteral("6"));
    QCOMPARE(Controls(m), Idle);
    text = ReadFile(result);
    QCOMPARE(Count(text, "Run: "), 6);
    QCOMPARE(Count(text, "===>"), 1);
    QVERIFY(text.find("Growth rates are being randomised.") != std::string::npos);
}

void MonteCarloFormTest::RepetitionsAndFileNameChecked()
{
    DesktopFixture f;
    f.SmallRun(10, 5);
    TMonteCarloForm& m = f.main->MonteCarloVariable();
    m.show();
    const fs::path result = f.StartPath() / "checked.dat";
    struct Case {
        const char* repeat;
        bool withFile;
        const char* message;
    };
    const Case cases[] = {
        {"1", true, "The number of repetitions must be between 2 and 1000"},
        {"1001", true, "The number of repetitions must be between 2 and 1000"},
        {"12a", true, "You have to give a positive number of repetitions."},
        {"", true, "You have to specify the number of repetitions."},
        {"12", false, "A result filename must be given"},
    };
    for (const Case& c : cases) {
        f.dialogs.messages.clear();
        m.RepeatTimes->setText(QString::fromLatin1(c.repeat));
        m.ResultFile->setText(c.withFile ? QString::fromStdString(result.string()) : QString());
        QTest::mouseClick(m.StartBtn, Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), size_t(1));
        QCOMPARE(f.dialogs.LastText(), std::string(c.message));
        QVERIFY(f.dialogs.messages[0].kind == MessageKind::Error);
        QVERIFY(f.dialogs.messages[0].buttons == MessageButtons::Retry);
        QVERIFY(!fs::exists(result));
        QCOMPARE(m.CurrentRun->text(), QString());
        QCOMPARE(Controls(m), Idle);
    }
    // The limits themselves are accepted.
    m.ResultFile->setText(QString::fromStdString(result.string()));
    m.RepeatTimes->setText(QStringLiteral("2"));
    f.dialogs.messages.clear();
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(m.TotalRun->text(), QStringLiteral("2"));
    QVERIFY(ReadFile(result).find("===>") != std::string::npos);
}

void MonteCarloFormTest::OverwriteQuestion()
{
    DesktopFixture f;
    f.SmallRun(10, 5);
    struct Case {
        TMonteCarloForm* window;
        const char* question;
    };
    const Case cases[] = {
        {&f.main->MonteCarloFixed(), "Do you want to overwrite this file?"},
        {&f.main->MonteCarloVariable(), "Do you want overwrite this file?"},
    };
    const fs::path result = f.StartPath() / "old.dat";
    for (const Case& c : cases) {
        std::ofstream(result) << "keep";
        TMonteCarloForm& m = *c.window;
        m.show();
        m.RepeatTimes->setText(QStringLiteral("3"));
        ChooseResultFile(f, m, result);
        for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
            f.dialogs.messages.clear();
            f.dialogs.answers = {answer};
            QTest::mouseClick(m.StartBtn, Qt::LeftButton);
            QCOMPARE(f.dialogs.messages.size(), size_t(1));
            QCOMPARE(f.dialogs.LastText(), "File " + result.string() + " exists.\r" + c.question);
            QVERIFY(f.dialogs.messages[0].kind == MessageKind::Warning);
            QVERIFY(f.dialogs.messages[0].buttons == MessageButtons::YesNoCancel);
            QCOMPARE(ReadFile(result), std::string("keep"));
            QCOMPARE(m.CurrentRun->text(), QString());
        }
        m.close();
    }
}

void MonteCarloFormTest::CloseDuringSeries()
{
    DesktopFixture f;
    f.SmallRun(12, 200);
    TMonteCarloForm& m = f.main->MonteCarloVariable();
    m.show();
    const fs::path result = f.StartPath() / "closed.dat";
    ChooseResultFile(f, m, result);
    m.RepeatTimes->setText(QStringLiteral("50"));
    EventScript script([&] {
        if (m.CurrentRun->text().toInt() < 2)
            return false;
        m.close();
        return true;
    });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);
    // The series ended at the next check, without its summary, and the window stays closed.
    QVERIFY(m.isHidden());
    QCOMPARE(m.Series().CurrentRun(), 2);
    QCOMPARE(Count(ReadFile(result), "===>"), 0);
    QCOMPARE(Controls(m), Idle);
    QVERIFY(f.dialogs.messages.empty());
    QVERIFY(f.main->RunGuard("no run"));
}

QTEST_MAIN(MonteCarloFormTest)
#include "MonteCarloFormTest.moc"
