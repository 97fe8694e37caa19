#include "DesktopFixture.h"
#include "UiTestSupport.h"
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

// Start, Stop, Continue, Reset, Close, DisplayCycle enabled.
QString Buttons(const TModelOneVarForm& m)
{
    QString s;
    for (const QWidget* w : std::initializer_list<const QWidget*>{m.StartBtn, m.StopBtn, m.ContinueBtn, m.ResetBtn,
                                                                   m.CloseBtn, m.DisplayCycle})
        s += w->isEnabled() ? '1' : '0';
    return s;
}

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
    QCOMPARE(Buttons(m), Idle);
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

    int phase = 0;
    int stoppedAt = 0;
    int ticksStopped = 0;
    bool guardRefused = false;
    QStringList states;
    EventScript script([&] {
        const int gen = m.CurGen->text().toInt();
        switch (phase) {
        case 0:
            if (gen < 3)
                return false;
            states << Buttons(m);
            QTest::mouseClick(m.StopBtn, Qt::LeftButton);
            states << Buttons(m);
            stoppedAt = gen;
            // A stopped run still counts as in progress.
            guardRefused = !f.main->RunGuard("Finish the run");
            phase = 1;
            return false;
        case 1:
            if (gen != stoppedAt)
                phase = 99; // the run went on while stopped
            if (++ticksStopped < 5)
                return false;
            QTest::mouseClick(m.ContinueBtn, Qt::LeftButton);
            states << Buttons(m);
            phase = 2;
            return false;
        case 2:
            if (gen < stoppedAt + 4)
                return false;
            QTest::mouseClick(m.StopBtn, Qt::LeftButton);
            QTest::mouseClick(m.ResetBtn, Qt::LeftButton);
            phase = 3;
            return true;
        default:
            return true;
        }
    });
    QTest::mouseClick(m.StartBtn, Qt::LeftButton);

    QCOMPARE(phase, 3);
    QCOMPARE(states, (QStringList{Running, Stopped, Running}));
    QVERIFY(guardRefused);
    QCOMPARE(f.dialogs.LastText(), std::string("Finish the run"));
    const int last = m.CurGen->text().toInt();
    QCOMPARE(last, stoppedAt + 4);
    QCOMPARE(Buttons(m), Idle);
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
    for (const char* bad : {"", "0", "201", "-3", "1x"}) {
        f.dialogs.messages.clear();
        m.DisplayCycle->setText(QString::fromLatin1(bad));
        QCOMPARE(f.dialogs.messages.size(), size_t(1));
        QCOMPARE(f.dialogs.LastText(), InvalidCycle);
        QVERIFY(f.dialogs.messages[0].kind == MessageKind::Information);
        QVERIFY(f.dialogs.messages[0].buttons == MessageButtons::Ok);
        QCOMPARE(m.DisplayCycle->text(), QStringLiteral("7"));
        QCOMPARE(m.RunHost::DisplayCycle(), 7);
    }
    m.DisplayCycle->setText("200");
    QCOMPARE(m.RunHost::DisplayCycle(), 200);
}

QTEST_MAIN(ModelOneVarFormTest)
#include "ModelOneVarFormTest.moc"
