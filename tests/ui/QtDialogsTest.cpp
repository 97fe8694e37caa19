#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTreeView>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace quorrel;

class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    // Qt's file dialog keeps its state in QSettings: in the test folders, not the user's.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void FiltersInQtForm();
    void LineBreaks();
    void ButtonSetsAndAnswers_data();
    void ButtonSetsAndAnswers();
    void FileColumnsFitTheirContents();
};

void QtDialogsTest::FiltersInQtForm()
{
    QCOMPARE(QtDialogs::NameFilters("Parameters (*.prm)|*.prm|All Files (*.*)|*.*"),
             QStringLiteral("Parameters (*.prm);;All Files (*)"));
    QCOMPARE(QtDialogs::NameFilters("Text files (*.txt)|*.txt|All files (*.*)|*.*"),
             QStringLiteral("Text files (*.txt);;All files (*)"));
    QCOMPARE(QtDialogs::NameFilters("Data|*.dat;*.txt"), QStringLiteral("Data (*.dat *.txt)"));
}

void QtDialogsTest::LineBreaks()
{
    QCOMPARE(QtDialogs::MessageText("There is no default parameter file:\r  /a/PDefault.prm\rDo you?"),
             QStringLiteral("There is no default parameter file:\n  /a/PDefault.prm\nDo you?"));
    QCOMPARE(QtDialogs::MessageText("a\r\nb"), QStringLiteral("a\nb"));
}

void QtDialogsTest::ButtonSetsAndAnswers_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("click");
    QTest::addColumn<int>("answer");
    QTest::newRow("ok") << int(MessageButtons::Ok) << QStringList{"OK"} << "OK" << int(MessageAnswer::Ok);
    QTest::newRow("retry") << int(MessageButtons::Retry) << QStringList{"Retry"} << "Retry"
                           << int(MessageAnswer::Retry);
    QTest::newRow("ok cancel") << int(MessageButtons::OkCancel) << QStringList{"Cancel", "OK"} << "Cancel"
                               << int(MessageAnswer::Cancel);
    QTest::newRow("yes cancel") << int(MessageButtons::YesCancel) << QStringList{"Cancel", "Yes"} << "Yes"
                                << int(MessageAnswer::Yes);
    QTest::newRow("yes no cancel") << int(MessageButtons::YesNoCancel) << QStringList{"Cancel", "No", "Yes"} << "No"
                                   << int(MessageAnswer::No);
}

void QtDialogsTest::ButtonSetsAndAnswers()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, captions);
    QFETCH(QString, click);
    QFETCH(int, answer);

    QStringList shown;
    QString text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        text = box->text();
        QPushButton* target = nullptr;
        for (QAbstractButton* b : box->buttons()) {
            shown << b->text().remove('&');
            if (b->text().remove('&') == click)
                target = qobject_cast<QPushButton*>(b);
        }
        QVERIFY(target != nullptr);
        target->click();
    });
    QtDialogs dialogs;
    const MessageAnswer got =
        dialogs.Message(MessageKind::Warning, "first\rsecond", static_cast<MessageButtons>(buttons));
    shown.sort();
    QCOMPARE(shown, captions);
    QCOMPARE(text, QStringLiteral("first\nsecond"));
    QCOMPARE(int(got), answer);
}

void QtDialogsTest::FileColumnsFitTheirContents()
{
    QFileDialog dialog(nullptr, QStringLiteral("Open Parameter File"), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QtDialogs::FitFileColumns(dialog);
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    QVERIFY(view != nullptr);
    QHeaderView* header = view->header();
    QCOMPARE(header->sectionResizeMode(0), QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        QCOMPARE(header->sectionResizeMode(column), QHeaderView::ResizeToContents);
    QVERIFY(dialog.width() >= std::min(820, dialog.screen()->availableGeometry().width() - 40));
}

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
