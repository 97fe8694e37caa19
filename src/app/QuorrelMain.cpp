// quorrel: the desktop program.
#include "runs/AppState.h"
#include "ui/QtDialogs.h"
#include "ui/TMainForm.h"

#include <QApplication>
#include <QSettings>

#include <filesystem>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorrel"));
    // The main window ends the program when it closes, whatever other windows are open.
    QApplication::setQuitOnLastWindowClosed(false);

    quorrel::AppState app;
    quorrel::QtDialogs dialogs;
    // Where the user put the windows, kept under the application's name (not in the folder).
    quorrel::TMainForm mainForm(app, dialogs,
                                std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                            QStringLiteral("Quorrel"), QStringLiteral("Quorrel")));
    if (!mainForm.Startup(std::filesystem::current_path()))
        return 1;
    mainForm.show();
    return QApplication::exec();
}
