#include "runs/LandscapeArrayRun.h"

#include "engine/LandscapeArrayModel.h"
#include "output/LandscapeArrayImage.h"
#include "runs/ArrayOutcomeOutputs.h"
#include "runs/ArrayPosition.h"
#include "runs/ArrayStatisticsOutputs.h"
#include "runs/PlotCadence.h"
#include "runs/RunFailure.h"
#include "runs/RunLoop.h"

#include <functional>
#include <optional>

namespace quorrel {

namespace {

// Calls step(r, c, index) for every landscape, rows outer, columns inner.
void ForEachLandscape(int rows, int cols, const std::function<void(int, int, int)>& step)
{
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            step(r, c, (r - 1) * cols + c);
}

} // namespace

RunEnd LandscapeArrayRun::Start(RunControl& control, RunObserver& observer, const ArraySettingTexts& texts)
{
    curGen_ = curRow_ = curCol_ = 0;
    control.SetState(RunState::Running);
    if (!ValidateArraySettings(texts, kind_ == OutcomeKind::Variable, app_.Array, app_.Params, observer.Messages()))
        return RunEnd::NotStarted;
    return Run(control, observer);
}

RunEnd LandscapeArrayRun::Start(RunControl& control, RunObserver& observer)
{
    curGen_ = curRow_ = curCol_ = 0;
    control.SetState(RunState::Running);
    return Run(control, observer);
}

RunEnd LandscapeArrayRun::Run(RunControl& control, RunObserver& observer)
{
    ParameterSet& params = app_.Params;
    const OptionStruct& o = app_.Options;
    const OptionStruct shown = OptionsForSinks(o, sinks_);
    Dialogs& dialogs = observer.Messages();

    const int rows = app_.Array.NumOfRow;
    const int cols = app_.Array.NumOfCol;
    const int landscapes = rows * cols;
    const int maxgen = params.GParamRec.Maxgen;

    RunFailure failure;
    LandscapeArrayModel model(params, app_.Lands, app_.Random, dialogs, app_.Array, kind_);
    bool tables = false;
    failure.Try([&] { tables = model.SetTables(); });
    if (!tables) {
        failure.Try([&] { model.EndRun(); });
        failure.Report(dialogs);
        return failure ? RunEnd::Failed : RunEnd::NotStarted;
    }

    observer.RunStarted();
    observer.HideOutputWindows(HideIdleOutputWindows({.Multiple = true, .Outcome = kind_}, o));
    LandscapeArrayImage image(params, app_.Lands.CurrentLandscape, app_.Colors, sinks_.LandscapeArray);

    bool initialised = false;
    failure.Try([&] {
        model.StartRun(app_.TempDir);
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= cols; ++c) {
                curRow_ = r;
                curCol_ = c;
                observer.ShowProgress({.TotalGenerations = maxgen,
                                       .Landscape = (r - 1) * cols + c,
                                       .TotalLandscapes = landscapes,
                                       .Row = r,
                                       .Column = c});
                if (!model.InitialiseLandscape(r, c, observer.Initialising()))
                    return;
                image.ShowLandscapeArray(0, r, c, cols, rows);
            }
        initialised = true;
    });
    if (!initialised) {
        failure.Try([&] { model.EndRun(); });
        return EndUnstarted(observer, failure);
    }

    ArrayStatisticsOutputs statistics(app_, sinks_, landscapes);
    std::optional<ArrayOutcomeOutputs> outcome;
    if (model.VariableOutcome())
        outcome.emplace(app_, sinks_, model.CurrentGenotypes());
    const bool statisticsPass = statistics.Wanted();
    const bool outcomePass = outcome && outcome->Wanted();

    // Every landscape's current state, loaded in turn and handed to pass.
    auto eachCurrent = [&](bool genotypes, const std::function<void(int, int, ArrayPosition)>& pass) {
        ForEachLandscape(rows, cols, [&](int r, int c, int) {
            if (genotypes)
                model.LoadCurrent(r, c);
            else
                model.Stores().LoadLandscape(r, c, StoredState::Current);
            pass(r, c, PositionOf(r, c, rows, cols));
        });
    };

    failure.Try([&] {
        if (statisticsPass)
            eachCurrent(false, [&](int r, int c, ArrayPosition at) { statistics.AddAtStart(r, c, at); });
        statistics.Open();
        if (outcomePass)
            eachCurrent(true, [&](int r, int c, ArrayPosition at) { outcome->AddAtStart(r, c, at); });
        if (outcome)
            outcome->Open();

        PlotCadence cadence(maxgen, 400);
        PlotCadence outcomeCadence(maxgen, 200);
        for (int g = 1; g <= maxgen; ++g) {
            curGen_ = g;
            observer.ShowProgress({.Generation = g, .TotalGenerations = maxgen, .TotalLandscapes = landscapes});
            model.AdvanceStores();
            bool leaving = false;
            // The statistics take each landscape while its new state is still loaded; a run
            // that leaves within the generation loads the landscapes it did not step.
            int stepped = 0;
            for (int r = 1; r <= rows && !leaving; ++r)
                for (int c = 1; c <= cols && !leaving; ++c) {
                    curRow_ = r;
                    curCol_ = c;
                    observer.ShowProgress({.Generation = g,
                                           .TotalGenerations = maxgen,
                                           .Landscape = (r - 1) * cols + c,
                                           .TotalLandscapes = landscapes,
                                           .Row = r,
                                           .Column = c});
                    model.StepLandscape(r, c, g);
                    ++stepped;
                    if (statisticsPass)
                        statistics.Add(g, r, c, PositionOf(r, c, rows, cols));
                    leaving = PauseAndTestExit(control);
                }
            // The last picture is drawn for a window or the final bitmap; a stop leaves the
            // landscapes loaded as ever.
            if ((shown.ShowCALandscape && g % control.DisplayCycle() == 0) ||
                (g == maxgen && (image.Seen(o) || leaving)))
                ForEachLandscape(rows, cols, [&](int r, int c, int) {
                    model.Stores().LoadLandscape(r, c, StoredState::Current);
                    image.ShowLandscapeArray(g, r, c, cols, rows);
                });
            if (g == maxgen) {
                image.WriteFinalBitmap(o, dialogs);
                image.Release();
            }
            if (statisticsPass)
                ForEachLandscape(rows, cols, [&](int r, int c, int number) {
                    if (number <= stepped)
                        return;
                    model.Stores().LoadLandscape(r, c, StoredState::Current);
                    statistics.Add(g, r, c, PositionOf(r, c, rows, cols));
                });
            statistics.PlotAndWrite(g, cadence);
            if (outcomePass)
                eachCurrent(true,
                            [&](int r, int c, ArrayPosition at) { outcome->Add(g, r, c, at, control.DisplayCycle()); });
            if (outcome)
                outcome->PlotAndWrite(g, outcomeCadence);
            if (PauseAndTestExit(control) || leaving)
                break;
        }
    });
    failure.Report(dialogs);

    failure.Try([&] { model.EndRun(); });
    statistics.Finish(failure);
    if (outcome)
        outcome->Finish(failure);
    return EndStarted(control, observer, failure);
}

} // namespace quorrel
