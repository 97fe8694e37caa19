// The sweep subcommand through the real program: a sweep killed and resumed, a design cell
// whose cover file cannot be read, and one run redone alone.

#include "RunBatch.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <regex>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quorrel::test;

namespace {

int Count(const std::string& text, const std::string& word)
{
    int n = 0;
    for (size_t at = 0; (at = text.find(word, at)) != std::string::npos; at += word.size())
        ++n;
    return n;
}

// The "start" of each run.json of the sweep folder, by run folder.
std::map<std::string, std::string> Starts(const fs::path& folder)
{
    std::map<std::string, std::string> starts;
    const std::regex start("\"start\": \"([^\"]+)\"");
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::smatch m;
        const std::string text = ReadAll((entry.path() / "run.json").string());
        if (std::regex_search(text, m, start))
            starts[entry.path().filename().string()] = m[1];
    }
    return starts;
}

} // namespace

TEST(Sweep, AKilledSweepIsResumedWithoutRedoingFinishedRuns)
{
    TempFolder dir;
    // Runs long enough (a few tenths of a second) that the kill comes well before the end.
    dir.Write("study.toml", "replicates = 5\nseed = 3\n[set]\nMaxX = 80\nMaxY = 80\nMaxgen = 300\n"
                            "[vary]\nOverGRate = [50, 100]\nDisturbProb = { from = 0.0, to = 0.1, step = 0.05 }\n");
    const fs::path out = dir.Path() / "study";
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        freopen("/dev/null", "w", stderr);
        execl(QUORREL_BATCH, QUORREL_BATCH, "sweep", dir.File("study.toml").c_str(), "--jobs", "2", nullptr);
        _exit(127);
    }
    // Ended once a few runs are done (a run's record is written when it ends; the manifest
    // is rewritten at most once a second while runs go on).
    for (int i = 0; i < 6000 && Starts(out).size() < 4; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    const std::string killed = ReadAll((out / "runs.csv").string());
    EXPECT_EQ(Count(killed, ",running,"), 0) << killed;
    const int doneBefore = Count(killed, ",done,");
    ASSERT_GE(doneBefore, 4);
    ASSERT_LT(doneBefore, 30) << "the sweep ended before it was killed";
    const std::map<std::string, std::string> before = Starts(out);

    // Without --resume the folder is not run over.
    EXPECT_EQ(RunBatch(dir.Path(), {"sweep", "study.toml"}).status, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100)); // a rerun would start later
    const BatchResult resumed = RunBatch(dir.Path(), {"sweep", "study.toml", "--resume", "--jobs", "2"});
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    const std::string manifest = ReadAll((out / "runs.csv").string());
    EXPECT_EQ(Count(manifest, ",done,"), 30) << manifest;
    const std::map<std::string, std::string> after = Starts(out);
    EXPECT_EQ(after.size(), 30u);
    // The runs done before the kill keep their records; only the others ran again.
    int kept = 0;
    for (const auto& [run, start] : before)
        kept += after.at(run) == start;
    EXPECT_EQ(kept, doneBefore);
    // Replicates of a point have different seeds; the varied values are passed exactly.
    EXPECT_NE(manifest.find(",50,0.05,done,0,"), std::string::npos) << manifest;
}

TEST(Sweep, ACellWithoutItsCoverFileFailsAloneAndOnlyRedoesOneRun)
{
    TempFolder dir;
    // The landscape text format: a header of species count and size, then TAB-separated species.
    std::string cover = "species\t3\t20\t20\r\n";
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x)
            cover += std::to_string(1 + (x + y) % 3) + (x < 19 ? "\t" : "\r\n");
    }
    dir.Write("cover.txt", cover);
    dir.Write("plan.toml", "[set]\nMaxX = 20\nMaxY = 20\nMaxgen = 20\nCover = \"File\"\n"
                           "[vary]\nCoverFile = [\"cover.txt\", \"missing.txt\"]\n");
    const BatchResult r = RunBatch(dir.Path(), {"sweep", "plan.toml", "--quiet"});
    EXPECT_EQ(r.status, 1) << r.err;
    const fs::path out = dir.Path() / "plan";
    const std::string manifest = ReadAll((out / "runs.csv").string());
    EXPECT_NE(manifest.find("cover.txt,done,0,"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("missing.txt,failed,2,"), std::string::npos) << manifest;
    const std::string record = ReadAll((out / "run-00002" / "run.json").string());
    EXPECT_NE(record.find("\"status\": \"failed\""), std::string::npos);
    EXPECT_NE(record.find("the initial cover file is refused"), std::string::npos) << record;

    // The missing file appears; --only redoes that run alone.
    const std::string firstStart = Starts(out).at("run-00001");
    dir.Write("missing.txt", cover);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    const BatchResult only = RunBatch(dir.Path(), {"sweep", "plan.toml", "--only", "2", "--quiet"});
    EXPECT_EQ(only.status, 0) << only.err;
    EXPECT_EQ(Count(ReadAll((out / "runs.csv").string()), ",done,"), 2);
    EXPECT_EQ(Starts(out).at("run-00001"), firstStart);
}

TEST(Sweep, ABadPlanIsRefusedBeforeAnyRunNamingTheKey)
{
    TempFolder dir;
    dir.Write("plan.toml", "[set]\nMaxgen = 20\n[vary]\nMaxX = [20, 701]\n");
    const BatchResult r = RunBatch(dir.Path(), {"sweep", "plan.toml"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("plan.toml, line 4: key \"MaxX\": run 2 (MaxX=701): --set MaxX=701: The landscape size"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(dir.Path() / "plan"));
}
