#include "output/SlidingWindows.h"

#include "output/FileNames.h"
#include "output/OutputFileError.h"
#include "output/TextFormat.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

namespace quorrel {

namespace {

std::string Right(int64_t value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%*lld", width, static_cast<long long>(value));
    return buffer;
}

} // namespace

SlidingWindows::SlidingWindows(const ParameterSet& params, const OptionStruct& options,
                               const LandscapeGrid& landscape, Dialogs& dialogs)
    : params_(params), options_(options), landscape_(landscape), dialogs_(dialogs)
{
}

std::string SlidingWindows::FileName(int s) const
{
    return InsertBeforeExtension(options_.SWFilename, ZeroPadded(s, params_.GParamRec.Maxspec));
}

bool SlidingWindows::Selected(int s) const
{
    return s >= 0 && s < Elements && options_.SWSpeciesMask.test(static_cast<size_t>(s));
}

void SlidingWindows::SpatialHistogram(int g)
{
    if (!options_.WriteSW)
        return;
    if (g != 0 && g != -1 && (g < 1 || g > params_.GParamRec.Maxgen))
        QRL_FAIL("SpatialHistogram: invalid argument.", "SpatialHistogram");
    try {
        if (g == 0)
            Start();
        else if (g == -1)
            End();
        else
            Sample(g);
    } catch (const AssertionFailure&) {
        throw;
    } catch (const OutputFileError& e) {
        dialogs_.Message(MessageKind::Error, e.what(), MessageButtons::Ok);
    } catch (const std::exception&) {
        dialogs_.Message(MessageKind::Error, "Unspecified error.", MessageButtons::Ok);
    }
}

void SlidingWindows::Start()
{
    const GParamStruct& p = params_.GParamRec;
    const OptionStruct& o = options_;
    bool anySelected = false;
    for (int s = 0; s <= p.Maxspec; ++s)
        anySelected = anySelected || Selected(s);
    if (p.Maxgen < o.GenSWFrom || p.Maxgen < o.GenSWEvery || !anySelected)
        dialogs_.Message(MessageKind::Information, "The Sliding Windows will produce no output with these settings.",
                         MessageButtons::Ok);

    End();
    const int m = std::min(p.MaxX, p.MaxY);
    std::string header = "             box dimension n\r\n  gen";
    const int boxes = o.DeltaSideSW >= 1 ? (m - 1) / o.DeltaSideSW : 0;
    for (int k = 1; k <= boxes; ++k)
        header += Right(static_cast<int64_t>(o.DeltaSideSW) * k, 7);
    header += Right(p.MaxX, 7) + "\r\n";

    for (int s = 0; s <= p.Maxspec; ++s) {
        if (!Selected(s))
            continue;
        names_[s] = FileName(s);
        errno = 0;
        files_[s].clear();
        files_[s].open(names_[s], std::ios::binary | std::ios::trunc);
        if (!files_[s])
            throw OutputFileError(names_[s], ErrnoText());
        Write(s, header);
    }
}

void SlidingWindows::Sample(int g)
{
    const GParamStruct& p = params_.GParamRec;
    const OptionStruct& o = options_;
    if (g < o.GenSWFrom || g > o.GenSWUntil || o.GenSWEvery < 1 || g % o.GenSWEvery != 0)
        return;
    const int last = std::min(p.Maxspec, MaxSpecies);
    auto writeCounts = [&](const char* end) {
        for (int s = 0; s <= last; ++s)
            if (files_[s].is_open())
                Write(s, Right(BoxCount[s], 7) + end);
    };
    auto count = [&](int x, int y) {
        const int s = landscape_(x, y).Species;
        if (s >= 0 && s < Elements)
            ++BoxCount[s];
    };

    BoxCount.fill(0);
    for (int s = 0; s <= last; ++s)
        if (files_[s].is_open())
            Write(s, Right(g, 5));
    // Each box of side n grows from the box of side n - 1 by the L-shaped strip of row n
    // and column n.
    const int m = std::min(p.MaxX, p.MaxY);
    for (int n = 1; n <= m - 1; ++n) {
        for (int x = 1; x <= n; ++x)
            count(x, n);
        for (int y = 1; y <= n - 1; ++y)
            count(n, y);
        if (o.DeltaSideSW >= 1 && n % o.DeltaSideSW == 0)
            writeCounts("");
    }
    for (int y = m; y <= p.MaxY; ++y)
        for (int x = 1; x <= p.MaxX; ++x)
            count(x, y);
    for (int y = 1; y <= m - 1; ++y)
        for (int x = m; x <= p.MaxX; ++x)
            count(x, y);
    writeCounts("\r\n");
}

void SlidingWindows::End()
{
    for (int s = 0; s < Elements; ++s) {
        if (!files_[s].is_open())
            continue;
        errno = 0;
        files_[s].close();
        if (!files_[s]) {
            files_[s].clear();
            throw OutputFileError(names_[s], ErrnoText());
        }
    }
}

// A file that fails is closed, so that its failure is reported once.
void SlidingWindows::Write(int s, const std::string& text)
{
    errno = 0;
    files_[s] << text;
    if (!files_[s]) {
        const std::string reason = ErrnoText();
        files_[s].close();
        files_[s].clear();
        throw OutputFileError(names_[s], reason);
    }
}

} // namespace quorrel
