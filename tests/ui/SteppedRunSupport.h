#pragma once

#include "ScriptedDialogs.h"
#include "ui/TSteppedRunForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

namespace quorrel::test {

// Start, Stop, Continue, Reset, Close, DisplayCycle enabled, one '1' or '0' each.
inline QString RunButtons(const TSteppedRunForm& m)
{
    QString s;
    for (const QWidget* w : std::initializer_list<const QWidget*>{m.StartBtn, m.StopBtn, m.ContinueBtn, m.ResetBtn,
                                                                   m.CloseBtn, m.DisplayCycle})
        s += w->isEnabled() ? '1' : '0';
    return s;
}

// A user ends a running run early: Stop, then Reset.
inline void ClickStopThenReset(TSteppedRunForm& m)
{
    QTest::mouseClick(m.StopBtn, Qt::LeftButton);
    QTest::mouseClick(m.ResetBtn, Qt::LeftButton);
}

// Every text of `bad` typed into the display-cycle field gives exactly one information
// message worded `wording` with an OK button, and the field and the cycle stay at `kept`.
// The caller returns when QTest::currentTestFailed().
inline void CheckCyclesRefused(TSteppedRunForm& m, ScriptedDialogs& dialogs, std::initializer_list<const char*> bad,
                               const std::string& wording, int kept)
{
    for (const char* text : bad) {
        dialogs.messages.clear();
        m.DisplayCycle->setText(QString::fromLatin1(text));
        QCOMPARE(dialogs.messages.size(), size_t(1));
        QCOMPARE(dialogs.LastText(), wording);
        QVERIFY(dialogs.messages[0].kind == MessageKind::Information);
        QVERIFY(dialogs.messages[0].buttons == MessageButtons::Ok);
        QCOMPARE(m.DisplayCycle->text(), QString::number(kept));
        QCOMPARE(m.RunHost::DisplayCycle(), kept);
    }
}

// A user's session with a running window, one Step each time Qt handles events: once
// generation 3 is shown, Stop; five rounds later (the generation must not move meanwhile),
// Continue; once `runOn` generations more are shown, Stop and Reset. The window's controls are
// recorded before Stop, after Stop and after Continue. Phase ends at 3, or 99 when the run went
// on while stopped.
struct StopContinueReset {
    StopContinueReset(TSteppedRunForm& f, std::function<QString()> c, int on = 4)
        : form(f), controls(std::move(c)), runOn(on)
    {
    }

    TSteppedRunForm& form;
    std::function<QString()> controls;
    int runOn = 4;
    std::function<void(int gen)> afterStop = [](int) {};
    std::function<void()> beforeContinue = [] {};
    std::function<void(int gen)> afterContinue = [](int) {};
    // Every round after Continue, before the generation is compared with the end.
    std::function<void(int gen)> whileRunningOn = [](int) {};

    int phase = 0;
    int stoppedAt = 0;
    int ticksStopped = 0;
    QStringList states;

    // True once the script is over.
    bool Step()
    {
        const int gen = form.CurGen->text().toInt();
        switch (phase) {
        case 0:
            if (gen < 3)
                return false;
            states << controls();
            QTest::mouseClick(form.StopBtn, Qt::LeftButton);
            states << controls();
            stoppedAt = gen;
            afterStop(gen);
            phase = 1;
            return false;
        case 1:
            if (gen != stoppedAt)
                phase = 99; // the run went on while stopped
            if (++ticksStopped < 5)
                return false;
            beforeContinue();
            QTest::mouseClick(form.ContinueBtn, Qt::LeftButton);
            states << controls();
            afterContinue(gen);
            phase = 2;
            return false;
        case 2:
            whileRunningOn(gen);
            if (gen < stoppedAt + runOn)
                return false;
            // Reset is offered while the run is stopped.
            ClickStopThenReset(form);
            phase = 3;
            return true;
        default:
            return true;
        }
    }
};

} // namespace quorrel::test
