#pragma once

#include "ScriptedDialogs.h"
#include "ui/TSteppedRunForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <initializer_list>
#include <string>

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

} // namespace quorrel::test
