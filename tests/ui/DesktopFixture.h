#pragma once

#include "ScriptedDialogs.h"
#include "runs/AppState.h"
#include "ui/TMainForm.h"

#include <QTemporaryDir>
#include <QtGlobal>

#include <filesystem>
#include <memory>

namespace quorrel::test {

// The desktop program started in an empty folder, with its temporary folder made inside
// another one, messages and file dialogs scripted; the window layout kept in layoutSettings
// (none: for the test only, never in the user's settings).
struct DesktopFixture {
    QByteArray savedTmpDir = qgetenv("TMPDIR");
    QTemporaryDir startDir;
    QTemporaryDir tempRoot;
    AppState app;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> main;

    explicit DesktopFixture(std::unique_ptr<QSettings> layoutSettings = nullptr)
    {
        qputenv("TMPDIR", tempRoot.path().toLocal8Bit());
        main = std::make_unique<TMainForm>(app, dialogs, std::move(layoutSettings));
        started = main->Startup(StartPath());
    }

    ~DesktopFixture()
    {
        main.reset();
        qputenv("TMPDIR", savedTmpDir);
    }

    std::filesystem::path StartPath() const { return startDir.path().toStdString(); }

    // A small landscape and a short run.
    void SmallRun(int side = 20, int maxgen = 30)
    {
        app.Params.GParamRec.MaxX = side;
        app.Params.GParamRec.MaxY = side;
        app.Params.GParamRec.Maxgen = maxgen;
    }

    bool started = false;
};

} // namespace quorrel::test
