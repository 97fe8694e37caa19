// quorrel: the desktop program.
#include "BuildInfo.h"
#include "app/TerminationSignals.h"
#include "runs/AppState.h"
#include "ui/QtDialogs.h"
#include "ui/TMainForm.h"

#include <QApplication>
#include <QSettings>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

// The text --help prints (and the man page quorrel.1 is made from).
constexpr char Usage[] = R"(Usage: quorrel [Qt options]
  or:  quorrel --help | --version

Starts the desktop program of Quorrel, which simulates sessile organisms of up to 40 species
competing for space on a lattice of up to 700 x 700 cells, individual by individual.

The current directory becomes the start folder: the program reads PLast.prm (else
PDefault.prm, else the in-built defaults) and Options.dat from there and writes PLast.prm and
Options.dat back when the main window closes. Run opens Run Control, where the run mode is
chosen: a single run or a Monte Carlo series of fixed or variable outcomes, or an array of
linked landscapes. Parameters edits the parameters, Options chooses which outputs a run shows
and writes.

  -h, --help     this text
  --version      the program's version

Any other argument goes to Qt, which takes the options of every Qt program, for example
-platform NAME or -style NAME.

Runs without windows, from a shell, a script or a cluster's job scheduler: quorrel-batch.
)";

} // namespace

int main(int argc, char* argv[])
{
    // Before any window: these two need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << Usage;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "quorrel " QUORREL_VERSION_TEXT "\n";
            return 0;
        }
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorrel"));
    // The About box shows it.
    QApplication::setApplicationVersion(QStringLiteral(QUORREL_VERSION_TEXT));
    // Ties the windows to the desktop entry (its name and icon) where the desktop asks.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORREL_APP_ID));
    // The main window ends the program when it closes, whatever other windows are open.
    QApplication::setQuitOnLastWindowClosed(false);

    quorrel::AppState app;
    quorrel::QtDialogs dialogs;
    // Where the user put the windows, kept under the application's name (not in the folder).
    quorrel::TMainForm mainForm(app, dialogs,
                                std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                            QStringLiteral("Quorrel"), QStringLiteral("Quorrel")));
    // A logout, kill or Ctrl+C closes the main window as the user would: a run in progress
    // ends after its generation, PLast.prm and Options.dat are written, the folder removed.
    // Installed before start-up makes the temporary folder, so a signal is never lost.
    quorrel::TerminationSignals terminationSignals([&mainForm] { mainForm.close(); });
    if (!mainForm.Startup(std::filesystem::current_path()))
        return 1;
    mainForm.show();
    return QApplication::exec();
}
