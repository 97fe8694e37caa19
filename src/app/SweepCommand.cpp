#include "app/SweepCommand.h"

#include "BuildInfo.h"
#include "app/BatchExit.h"
#include "app/OutputFolderLock.h"
#include "app/RunProcesses.h"
#include "app/SweepChildCommand.h"
#include "app/SweepPlanCheck.h"
#include "app/SweepProgress.h"
#include "sweep/FileDigest.h"
#include "sweep/PlanError.h"
#include "sweep/PlanReader.h"
#include "tidy/TidyFolder.h"
#include "sweep/RunManifest.h"
#include "sweep/RunRecord.h"
#include "sweep/AtomicFile.h"
#include "sweep/TaskShare.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <thread>

#include <signal.h>
#include <unistd.h>

namespace quorrel {

namespace fs = std::filesystem;

namespace {

// The folder a plan's sweep writes into by default: its name without the extension, beside it.
fs::path DefaultFolder(const fs::path& plan)
{
    fs::path folder = plan.parent_path() / plan.stem();
    if (folder == plan)
        folder += ".sweep";
    return folder;
}

bool SameRun(const RecordedRun& recorded, const SweepRun& run)
{
    return recorded.Run == run.Run && recorded.Replicate == run.Replicate && recorded.Seed == run.Seed &&
           recorded.Varied == run.Point;
}

// SIGINT or SIGTERM when one has arrived (it is taken), else 0.
int TakeTerminationSignal()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    const timespec now{0, 0};
    const int signal = sigtimedwait(&set, nullptr, &now);
    return signal > 0 ? signal : 0;
}

std::string HostName()
{
    char name[256] = "";
    gethostname(name, sizeof name - 1);
    return name;
}

// Empties a run's folder, or makes it; the reason when it cannot.
std::string FreshFolder(const fs::path& folder)
{
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (!ec)
        fs::create_directories(folder, ec);
    return ec ? "the folder " + folder.string() + " cannot be made afresh: " + ec.message() : std::string();
}

class Sweep {
public:
    Sweep(const SweepCommandLine& line, SweepPlan plan, fs::path folder, TaskShare share)
        : line_(line), plan_(std::move(plan)), folder_(std::move(folder)), share_(share),
          manifest_(plan_.Design.Keys()), progress_(std::cerr, !line.Quiet && isatty(STDERR_FILENO) == 1)
    {
        planSha256_ = FileSha256(plan_.File).value_or("");
        host_ = HostName();
        manifestFile_ = folder_ / (share_.Split ? "runs.task-" + std::to_string(share_.Index) + ".csv" : "runs.csv");
    }

    int Run(const sigset_t& childMask)
    {
        std::vector<long> todo;
        if (const std::string refusal = Select(todo); !refusal.empty()) {
            Say(refusal);
            return ExitBadInput;
        }
        WriteManifest(true);
        if (todo.empty() && !line_.Quiet)
            Say("nothing to run: every run of the sweep in " + folder_.string() + " is done");

        const int jobs = line_.Jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
        RunProcesses processes(childMask);
        size_t next = 0;
        int signal = 0;
        long endedHere = 0;
        long lost = 0;
        while ((signal == 0 && next < todo.size()) || processes.Running() > 0) {
            while (signal == 0 && next < todo.size() && processes.Running() < static_cast<size_t>(jobs))
                StartRun(processes, todo[next++]);
            for (RunProcesses::Ended& ended : processes.Wait(std::chrono::milliseconds(100))) {
                ++endedHere;
                if (signal != 0 && ended.WaitStatus != 0) {
                    ++lost;
                    Row(ended.Tag).Status = RunStatus::Pending;
                    running_.erase(ended.Tag);
                } else {
                    EndRun(ended);
                }
                WriteManifest(false);
            }
            if (signal == 0)
                if ((signal = TakeTerminationSignal()) != 0)
                    processes.Signal(signal);
            ShowProgress(todo.size() - next, processes.Running(), endedHere);
        }
        progress_.Break();
        WriteManifest(true);

        if (signal != 0) {
            Say("interrupted: " + std::to_string(lost) + (lost == 1 ? " run" : " runs") +
                " in progress lost, marked pending in " + manifestFile_.string() + "; \"quorrel-batch sweep " +
                plan_.File.string() + " --resume\" reruns them");
            return -signal;
        }
        std::vector<long> failed;
        for (const RunManifest::Row& row : manifest_.Rows())
            if (row.Status == RunStatus::Failed && (!line_.Only || row.Run == *line_.Only))
                failed.push_back(row.Run);
        if (failed.empty())
            return ExitSuccess;
        std::string list;
        for (size_t i = 0; i < failed.size() && i < 10; ++i)
            list += (i == 0 ? "" : ", ") + std::to_string(failed[i]);
        Say(std::to_string(failed.size()) + (failed.size() == 1 ? " run" : " runs") + " failed (" + list +
            (failed.size() > 10 ? ", ..." : "") + "); their run.json holds what they printed");
        return ExitRunError;
    }

private:
    struct Running {
        SweepRun Run;
        std::vector<std::string> Command;
    };

    // The manifest's rows from the records already there, and the runs to start.
    std::string Select(std::vector<long>& todo)
    {
        const long total = static_cast<long>(plan_.Runs());
        for (long run = 1; run <= total; ++run) {
            if (line_.Only ? false : !share_.Holds(run))
                continue;
            const SweepRun r = SweepRunOf(plan_, run, folder_);
            RunManifest::Row row{run, r.Replicate, r.Seed, {}, RunStatus::Pending, std::nullopt, std::nullopt};
            for (const auto& [key, value] : r.Point)
                row.Values.push_back(value);
            const std::optional<RecordedRun> recorded = ReadRunRecord(r.Folder / RunRecordName);
            const bool same = recorded && SameRun(*recorded, r);
            if (same) {
                row.Status = recorded->Status == "done" ? RunStatus::Done : RunStatus::Failed;
                row.ExitStatus = recorded->ExitStatus;
                row.Seconds = recorded->Seconds;
            }
            std::error_code ec;
            const bool exists = fs::exists(r.Folder, ec);
            if (line_.Only) {
                if (run == *line_.Only)
                    todo.push_back(run);
            } else if (!line_.Resume) {
                if (exists)
                    return folder_.string() + " already holds " + RunFolderName(run) +
                           " of a sweep: --resume goes on with it, --only N reruns one run, or give another "
                           "--output-dir";
                todo.push_back(run);
            } else if (!(same && recorded->Status == "done" && FolderOutputs(r.Folder) == recorded->Outputs)) {
                todo.push_back(run);
            }
            manifest_.Add(std::move(row));
        }
        return {};
    }

    RunManifest::Row& Row(long run)
    {
        auto& rows = manifest_.Rows();
        return *std::lower_bound(rows.begin(), rows.end(), run,
                                 [](const RunManifest::Row& row, long r) { return row.Run < r; });
    }

    void StartRun(RunProcesses& processes, long run)
    {
        Running started{SweepRunOf(plan_, run, folder_), {}};
        started.Command = SweepChildCommand(plan_, started.Run, started.Run.Folder);
        RunManifest::Row& row = Row(run);
        row.ExitStatus.reset();
        row.Seconds.reset();
        std::string problem = FreshFolder(started.Run.Folder);
        if (problem.empty())
            problem = processes.Start(run, started.Command);
        if (!problem.empty()) {
            // Recorded as a run that failed to start; the sweep goes on.
            const auto now = std::chrono::system_clock::now();
            running_.emplace(run, std::move(started));
            EndRun({run, 127 << 8, "quorrel-batch: " + problem + "\n", now, now, 0.0});
            return;
        }
        row.Status = RunStatus::Running;
        running_.emplace(run, std::move(started));
        WriteManifest(false);
    }

    void EndRun(const RunProcesses::Ended& ended)
    {
        const auto found = running_.find(ended.Tag);
        const Running& r = found->second;
        const RunSettingsJson settings = RunSettingsOf(r.Command);
        RunRecord record;
        record.Version = QUORREL_VERSION;
        record.Commit = QUORREL_COMMIT;
        record.Command = r.Command;
        record.Plan = plan_.File.string();
        record.PlanSha256 = planSha256_;
        record.Run = r.Run.Run;
        record.Replicate = r.Run.Replicate;
        record.Seed = r.Run.Seed;
        record.Mode = plan_.Mode;
        record.Varied = r.Run.Point;
        record.Parameters = settings.Parameters;
        record.Options = settings.Options;
        record.Host = host_;
        record.Start = UtcTimeText(ended.Start);
        record.End = UtcTimeText(ended.End);
        record.Seconds = ended.Seconds;
        record.ExitStatus = RunProcesses::ExitStatus(ended.WaitStatus);
        record.Status = ended.WaitStatus == 0 ? "done" : "failed";
        record.Messages = ended.Messages;
        record.Outputs = FolderOutputs(r.Run.Folder);
        RunManifest::Row& row = Row(r.Run.Run);
        row.Status = ended.WaitStatus == 0 ? RunStatus::Done : RunStatus::Failed;
        row.ExitStatus = record.ExitStatus;
        row.Seconds = ended.Seconds;
        if (const std::string problem = WriteFileAtomically(r.Run.Folder / RunRecordName, RunRecordJson(record));
            !problem.empty()) {
            progress_.Break();
            Say("run " + std::to_string(r.Run.Run) + ": " + problem);
            row.Status = RunStatus::Failed;
        }
        running_.erase(found);
    }

    // The manifest, at most once a second unless now.
    void WriteManifest(bool now)
    {
        const auto time = std::chrono::steady_clock::now();
        if (!now && time - manifestWritten_ < std::chrono::seconds(1))
            return;
        manifestWritten_ = time;
        if (const std::string problem = manifest_.Write(manifestFile_); !problem.empty()) {
            progress_.Break();
            Say(problem);
        }
    }

    void ShowProgress(size_t left, size_t running, long endedHere)
    {
        long done = 0, failed = 0;
        for (const RunManifest::Row& row : manifest_.Rows()) {
            done += row.Status == RunStatus::Done;
            failed += row.Status == RunStatus::Failed;
        }
        progress_.Show(done, failed, static_cast<long>(running), static_cast<long>(left), endedHere);
    }

    const SweepCommandLine& line_;
    SweepPlan plan_;
    fs::path folder_;
    TaskShare share_;
    RunManifest manifest_;
    SweepProgress progress_;
    fs::path manifestFile_;
    std::string planSha256_;
    std::string host_;
    std::map<long, Running> running_;
    std::chrono::steady_clock::time_point manifestWritten_{};
};

} // namespace

int RunSweepCommand(const SweepCommandLine& line)
{
    SweepPlan plan;
    try {
        plan = ReadSweepPlan(line.Plan);
    } catch (const PlanError& e) {
        Say(e.what());
        return ExitBadInput;
    }
    std::error_code ec;
    const fs::path folder = line.OutputDir.empty() ? DefaultFolder(plan.File)
                                                   : fs::absolute(line.OutputDir, ec).lexically_normal();
    const TaskShareResult share = ResolveTaskShare(line.TaskIndex, line.TaskCount, [](const char* name) {
        return std::getenv(name);
    });
    if (!share.Share) {
        Say(share.Error);
        return ExitBadInput;
    }
    if (line.Only && static_cast<size_t>(*line.Only) > plan.Runs()) {
        Say("--only " + std::to_string(*line.Only) + ": the plan has " + std::to_string(plan.Runs()) + " runs");
        return ExitBadInput;
    }
    // The runs start in the plan's folder, so that a relative file name in the plan (a cover
    // file) means the same to the check here and to every run.
    fs::current_path(plan.File.parent_path(), ec);
    try {
        CheckSweepPlan(plan, folder);
    } catch (const PlanError& e) {
        Say(e.what());
        return ExitBadInput;
    }
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        Say("the sweep's folder " + folder.string() + " cannot be made");
        return ExitBadInput;
    }
    // One sweep at a time in a folder; the tasks of a cluster array share it, each with its
    // own runs and manifest.
    OutputFolderLock lock;
    if (!share.Share->Split || line.Only)
        if (const std::string busy = lock.Take(folder); !busy.empty()) {
            Say(busy);
            return ExitBadInput;
        }

    sigset_t terminate, previous;
    sigemptyset(&terminate);
    sigaddset(&terminate, SIGINT);
    sigaddset(&terminate, SIGTERM);
    sigprocmask(SIG_BLOCK, &terminate, &previous);
    const TaskShare whole{};
    const int status = Sweep(line, std::move(plan), folder, line.Only ? whole : *share.Share).Run(previous);
    if (status < 0) {
        // Ended by that signal, as a run of the batch runner is, for the calling shell or scheduler.
        signal(-status, SIG_DFL);
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        raise(-status);
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    // The tidy files of the whole design; a task's share leaves them to a tidy run after
    // the last task.
    if (share.Share->Split && !line.Only)
        return status;
    if (TidyFolder(folder, std::cerr) != 0) {
        Say("the tidy files of " + folder.string() + " could not be written");
        return status == ExitSuccess ? ExitRunError : status;
    }
    return status;
}

} // namespace quorrel
