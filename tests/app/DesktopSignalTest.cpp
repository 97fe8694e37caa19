#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

bool HasTempFolder(const fs::path& tmp)
{
    for (const auto& entry : fs::directory_iterator(tmp))
        if (entry.path().filename().string().starts_with("QRL"))
            return true;
    return false;
}

// The desktop program (offscreen) takes SIGTERM, SIGINT and SIGHUP as the closing of its
// main window: it writes PLast.prm and Options.dat, removes its temporary folder and ends.
TEST(DesktopSignals, ATerminationSignalClosesTheMainWindow)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        TempFolder start;
        TempFolder tmp;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (chdir(start.Path().c_str()) != 0)
                _exit(100);
            setenv("TMPDIR", tmp.Path().c_str(), 1);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            execl(QUORREL_DESKTOP, QUORREL_DESKTOP, static_cast<char*>(nullptr));
            _exit(101);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!HasTempFolder(tmp.Path()) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(HasTempFolder(tmp.Path())) << "the program did not start";
        kill(child, signal);

        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (ended == 0) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            ADD_FAILURE() << "signal " << signal << " did not end the program";
            continue;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "signal " << signal << ", status " << status;
        EXPECT_TRUE(fs::exists(start.Path() / "PLast.prm")) << signal;
        EXPECT_TRUE(fs::exists(start.Path() / "Options.dat")) << signal;
        EXPECT_FALSE(HasTempFolder(tmp.Path())) << signal;
    }
}

} // namespace
} // namespace quorrel::test
