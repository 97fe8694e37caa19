#include "DesktopFixture.h"

#include "ui/TGParamDlg.h"
#include "ui/TGParamViewForm.h"
#include "ui/TOptionsDlg.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace quorrel;
using namespace quorrel::test;

namespace {

// Acts on the modal dialog of type T once it is open.
template <class T>
void WhenOpen(std::function<void(T&)> act)
{
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(*dialog);
    });
}

QAction* ViewParametersItem(TMainForm& main, const QString& caption)
{
    for (QAction* menu : main.menuBar()->actions())
        if (menu->text() == QStringLiteral("&View"))
            for (QAction* sub : menu->menu()->actions())
                if (sub->menu() != nullptr)
                    for (QAction* item : sub->menu()->actions())
                        if (item->text() == caption)
                            return item;
    return nullptr;
}

} // namespace

class MainFormParametersTest : public QObject {
    Q_OBJECT
private slots:
    void GeneralOkReplacesTheRecordAndReloadsTheSeed();
    void GeneralCancelStillReloadsTheSeed();
    void OptionsCommitOnlyOnOk();
};

void MainFormParametersTest::GeneralOkReplacesTheRecordAndReloadsTheSeed()
{
    DesktopFixture f;
    QVERIFY(f.started);
    f.app.Random.RandSeed = 999;
    ViewParametersItem(*f.main, QStringLiteral("&General"))->trigger();
    TGParamViewForm& view = f.main->GParamView();
    QVERIFY(view.isVisible());
    QCOMPARE(view.Value("Maxspec"), QStringLiteral("3"));

    bool opened = false;
    WhenOpen<TGParamDlg>([&](TGParamDlg& d) {
        opened = true;
        d.Maxspec->setText(QStringLiteral("5"));
        d.RandSeed->setText(QStringLiteral("42"));
        d.PIX->setText(QStringLiteral("2"));
        QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    });
    f.main->MenuItem(QStringLiteral("&General"))->trigger();
    QVERIFY(opened);
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(f.app.Params.GParamRec.Maxspec, 5);
    QCOMPARE(f.app.Params.GParamRec.RandSeed, 42);
    QCOMPARE(f.app.Random.RandSeed, 42u);
    QCOMPARE(f.app.DisplayWidth(), 400);
    // The viewer shows the new record.
    QCOMPARE(view.Value("Maxspec"), QStringLiteral("5"));
}

void MainFormParametersTest::GeneralCancelStillReloadsTheSeed()
{
    DesktopFixture f;
    const GParamStruct before = f.app.Params.GParamRec;
    f.app.Random.RandSeed = 999;
    WhenOpen<TGParamDlg>([](TGParamDlg& d) {
        d.Maxspec->setText(QStringLiteral("9"));
        QTest::mouseClick(d.CancelBtn, Qt::LeftButton);
    });
    f.main->GeneralItemClick();
    QVERIFY(f.app.Params.GParamRec == before);
    QCOMPARE(f.app.Random.RandSeed, static_cast<uint32_t>(before.RandSeed));
}

void MainFormParametersTest::OptionsCommitOnlyOnOk()
{
    DesktopFixture f;
    const OptionStruct before = f.app.Options;
    auto edit = [](TOptionsDlg& d) {
        QLineEdit* box = d.NumberBox(OptionNumber::DisplayCycle);
        box->setText(QStringLiteral("6"));
        emit box->editingFinished();
    };
    WhenOpen<TOptionsDlg>([&](TOptionsDlg& d) {
        edit(d);
        d.CancelBtn->click();
    });
    f.main->MenuItem(QStringLiteral("&Options"))->trigger();
    QVERIFY(f.app.Options == before);

    WhenOpen<TOptionsDlg>([&](TOptionsDlg& d) {
        // Opened afresh from the live options.
        QCOMPARE(d.NumberBox(OptionNumber::DisplayCycle)->text(), QStringLiteral("1"));
        edit(d);
        d.OKBtn->click();
    });
    f.main->OptionsItemClick();
    QCOMPARE(f.app.Options.DisplayCycle, 6);
}

QTEST_MAIN(MainFormParametersTest)
#include "MainFormParametersTest.moc"
