#include "ui/RunProgressField.h"

#include <QtTest>

using namespace quorrel;
using namespace std::chrono_literals;

namespace {

// What the field shows, as any QLineEdit reader sees it.
QString Shown(const RunProgressField& field) { return static_cast<const QLineEdit&>(field).text(); }

} // namespace

class RunProgressFieldTest : public QObject {
    Q_OBJECT
private slots:
    void TextIsTheLatestWhileTheScreenShowsAtMostOnePerRefresh();
    void HeldTextIsShownWithinARefresh();
    void HiddenFieldShowsAtOnce();
};

void RunProgressFieldTest::TextIsTheLatestWhileTheScreenShowsAtMostOnePerRefresh()
{
    RunProgressField field(nullptr, 1h);
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    field.setText(QStringLiteral("1"));
    QCOMPARE(Shown(field), QStringLiteral("1"));
    for (int g = 2; g <= 50; ++g)
        field.setText(QString::number(g));
    QCOMPARE(field.text(), QStringLiteral("50"));
    QCOMPARE(Shown(field), QStringLiteral("1"));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(Shown(field), QStringLiteral("1"));
    // Back to the text shown: nothing is held any more.
    field.setText(QStringLiteral("1"));
    field.clear();
    QCOMPARE(field.text(), QString());
    QCOMPARE(Shown(field), QStringLiteral("1"));
}

void RunProgressFieldTest::HeldTextIsShownWithinARefresh()
{
    RunProgressField field(nullptr, 40ms);
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    field.setText(QStringLiteral("7"));
    field.setText(QStringLiteral("8"));
    field.setText(QStringLiteral("9"));
    QTRY_COMPARE(Shown(field), QStringLiteral("9"));
    // Held again, then back to what is shown: the held text is dropped.
    field.setText(QStringLiteral("10"));
    field.setText(QStringLiteral("9"));
    QTest::qWait(100);
    QCOMPARE(Shown(field), QStringLiteral("9"));
    QCOMPARE(field.text(), QStringLiteral("9"));
}

void RunProgressFieldTest::HiddenFieldShowsAtOnce()
{
    RunProgressField field(nullptr, 1h);
    for (int g = 1; g <= 3; ++g) {
        field.setText(QString::number(g));
        QCOMPARE(Shown(field), QString::number(g));
    }
}

QTEST_MAIN(RunProgressFieldTest)
#include "RunProgressFieldTest.moc"
