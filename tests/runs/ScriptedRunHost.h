#pragma once

#include "ScriptedDialogs.h"
#include "runs/RunHost.h"
#include "runs/RunSinks.h"

#include <QImage>

#include <functional>
#include <utility>
#include <vector>

namespace quorrel::test {

// A RunHost double: records what the driver reports and lets a test act like the user at
// two moments, after a generation (in Breathe) and during the pause (in WaitWhileStopped).
class ScriptedRunHost : public RunHost {
public:
    ScriptedDialogs dialogs;
    InitProgress* progress = nullptr; // the initial-landscape progress; default: never cancelled

    // Called in Breathe with the generation just computed.
    std::function<void(ScriptedRunHost&, int)> afterGeneration;
    // Called in WaitWhileStopped with the number of waits so far in this pause (1, 2, ...).
    std::function<void(ScriptedRunHost&, int)> whileStopped;
    bool terminating = false;
    bool declinePictures = false; // the landscape window wants no picture it need not be shown

    int generation = 0;
    int started = 0;
    std::vector<RunEnd> finished;
    std::vector<OutputWindowSet> hidden;
    std::vector<int> landscapeShown;                 // the generation of each landscape shown
    std::vector<std::pair<int, int>> plotRefreshes;  // (plot, generation)
    std::vector<int> outcomeRefreshes;               // the generation of each outcome-plot refresh

    void Breathe() override
    {
        waits_ = 0;
        if (afterGeneration)
            afterGeneration(*this, generation);
    }
    void WaitWhileStopped() override
    {
        ++waits_;
        if (whileStopped)
            whileStopped(*this, waits_);
        else
            SetState(RunState::Continued);
    }
    bool Terminating() const override { return terminating; }

    void RunStarted() override { ++started; }
    void HideOutputWindows(const OutputWindowSet& leftAlone) override { hidden.push_back(leftAlone); }
    void ShowProgress(const RunProgress& p) override { generation = p.Generation; }
    void RunFinished(RunEnd how) override { finished.push_back(how); }

    Dialogs& Messages() override { return dialogs; }
    InitProgress& Initialising() override { return progress != nullptr ? *progress : RunHost::Initialising(); }
    // The windows that record what the run shows, for the driver to feed.
    RunSinks Sinks() { return {.Landscape = &landscape_, .Statistics = &statistics_, .OutcomeStatistics = &outcomes_}; }

private:
    struct Landscape : LandscapeSink {
        ScriptedRunHost& host;
        explicit Landscape(ScriptedRunHost& h) : host(h) {}
        void ShowLandscape(const QImage&) override { host.landscapeShown.push_back(host.generation); }
        bool WantsPicture() const override { return !host.declinePictures; }
    };
    struct Statistics : StatisticsSink {
        ScriptedRunHost& host;
        explicit Statistics(ScriptedRunHost& h) : host(h) {}
        void ShowStatisticPlot(int, const QImage&, int) override {}
        void RefreshStatisticPlot(int plot, const QImage&) override
        {
            host.plotRefreshes.emplace_back(plot, host.generation);
        }
    };

    struct Outcomes : OutcomeStatisticsSink {
        ScriptedRunHost& host;
        explicit Outcomes(ScriptedRunHost& h) : host(h) {}
        void ShowOutcomePlots(const std::array<QImage, 6>&, int) override {}
        void RefreshOutcomePlots(const std::array<QImage, 6>&) override
        {
            host.outcomeRefreshes.push_back(host.generation);
        }
    };

    int waits_ = 0;
    Landscape landscape_{*this};
    Statistics statistics_{*this};
    Outcomes outcomes_{*this};
};

} // namespace quorrel::test
