// quorrel: the desktop program.
#include "runs/AppState.h"
#include "ui/QtDialogs.h"
#include "ui/TMainForm.h"

#include <QApplication>

#include <filesystem>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorrel"));
    // The main window ends the program when it closes, whatever other windows are open.
    QApplication::setQuitOnLastWindowClosed(false);

    quorrel::AppState app;
    quorrel::QtDialogs dialogs;
    quorrel::TMainForm mainForm(app, dialogs);
    if (!mainForm.Startup(std::filesystem::current_path()))
        return 1;
    mainForm.show();
    return QApplication::exec();
}
