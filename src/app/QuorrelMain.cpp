// quorrel: the desktop program.
#include "app/TerminationSignals.h"
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
    // A logout, kill or Ctrl+C closes the main window as the user would: a run in progress
    // ends after its generation, PLast.prm and Options.dat are written, the folder removed.
    // Installed before start-up makes the temporary folder, so a signal is never lost.
    quorrel::TerminationSignals terminationSignals([&mainForm] { mainForm.close(); });
    if (!mainForm.Startup(std::filesystem::current_path()))
        return 1;
    mainForm.show();
    return QApplication::exec();
}
