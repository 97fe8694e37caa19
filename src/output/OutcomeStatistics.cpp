#include "output/OutcomeStatistics.h"

#include "output/CellTally512.h"
#include "output/FileNames.h"
#include "output/OutputFileError.h"
#include "output/TextFormat.h"
#include "params/AssertionFailure.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace quorrel {

namespace {

constexpr const char* Module = "StatOutcome";
constexpr const char* Titles[2] = {"          Average Probabilities of Species (Normal)",
                                   "          Average Probabilities of Species (Genotype)"};

void Append(std::ofstream& file, const std::string& name, const std::string& text)
{
    errno = 0;
    file << text;
    file.flush();
    CheckWritten(file, name);
}

void Close(std::ofstream& file, const std::string& name)
{
    if (!file.is_open())
        return;
    errno = 0;
    file.close();
    CheckWritten(file, name);
}

// The component that statistic t (0..5) names: win, loss, stand-off.
int Component(const OutcomeTriple& triple, int t)
{
    switch (t % 3) {
    case 0:
        return triple.Win;
    case 1:
        return triple.Loss;
    default:
        return triple.Standoff;
    }
}

} // namespace

OutcomeStatistics::OutcomeStatistics(const ParameterSet& params, const OptionStruct& options,
                                     const LandscapeGrid& landscape, const GenotypeGrid& genotypes,
                                     const ColorMap& colors, OutcomeStatisticsSink* sink)
    : params_(params), options_(options), landscape_(landscape), genotypes_(genotypes), colors_(colors), sink_(sink),
      scan512_(TallyCells512Available())
{
}

void OutcomeStatistics::UseScan512(bool on) { scan512_ = on && TallyCells512Available(); }

void OutcomeStatistics::AddLiteral(Sums& sums, bool pairs) const
{
    const GParamStruct& p = params_.GParamRec;
    const int n = p.Maxspec;
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape_.Row(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            const int s = row[x].Species;
            if (s < 1 || s > n)
                continue;
            sums.present[s] = true;
            AddGenotype(sums, pairs, s, genotypes_.Genotype(x, y), 1);
        }
    }
}

void OutcomeStatistics::AddGenotype(Sums& sums, bool pairs, int s, const OutcomeTriple* genotype, int32_t cells) const
{
    const int n = params_.GParamRec.Maxspec;
    for (int j = 1; j <= n; ++j) {
        // An unset entry carries no outcome; a seeded one is never unset.
        if (j == s || params_.OutcomeMatrix[s][j].Win >= 0 || genotype[j - 1].Win < 0)
            continue;
        const OutcomeTriple& triple = genotype[j - 1];
        for (int t = 0; t < 3; ++t) {
            const int v = Component(triple, t);
            const bool flag = v >= 0 && v <= 100; // the presence flags hold 0..100
            sums.species[t][s] += double(v) * cells;
            sums.speciesCount[t][s] += cells;
            if (flag)
                sums.speciesValues[t][s].set(static_cast<size_t>(v));
            if (pairs) {
                sums.pair[t][s][j] += double(v) * cells;
                sums.pairCount[t][s][j] += cells;
                if (flag)
                    sums.pairValues[t][s][j].set(static_cast<size_t>(v));
            }
        }
    }
}

// The whole-number sums of the pass into the sums. Every component is a whole number and
// every sum stays far below 2^53, so the double sums come out exactly as cell by cell; the
// species' sums, counts and values are those of its opponents together.
void OutcomeStatistics::AddPass(Sums& sums, bool pairs) const
{
    const int n = params_.GParamRec.Maxspec;
    if (!pass_.Pairs()) {
        for (int s = 1; s <= n; ++s)
            for (int t = 0; t < 3; ++t) {
                sums.species[t][s] += static_cast<double>(pass_.SpeciesSum(t, s));
                sums.speciesCount[t][s] += static_cast<int32_t>(pass_.SpeciesCount(s));
                sums.speciesValues[t][s] |= pass_.SpeciesValues(t, s);
            }
        return;
    }
    for (int s = 1; s <= n; ++s)
        for (int j = 1; j <= n; ++j) {
            if (!pass_.Variable(s, j) || pass_.Count(s, j) == 0)
                continue;
            for (int t = 0; t < 3; ++t) {
                const std::bitset<101> values = pass_.Values(t, s, j);
                const double sum = pass_.Sum(t, s, j);
                sums.species[t][s] += sum;
                sums.speciesCount[t][s] += pass_.Count(s, j);
                sums.speciesValues[t][s] |= values;
                if (pairs) {
                    sums.pair[t][s][j] += sum;
                    sums.pairCount[t][s][j] += pass_.Count(s, j);
                    sums.pairValues[t][s][j] |= values;
                }
            }
        }
}

// Cells that hold one record hold one genotype, so each record is added once, times the
// cells of its species that hold it, into whole-number sums that AddPass adds to the sums.
// The records are added in the order of their numbers, which is their order in the pool's
// storage.
void OutcomeStatistics::Add(Sums& sums, bool pairs)
{
    const GParamStruct& p = params_.GParamRec;
    if (!genotypes_.Allocated() || genotypes_.MaxX() < p.MaxX || genotypes_.MaxY() < p.MaxY ||
        genotypes_.Maxspec() != p.Maxspec)
        QRL_FAIL("The genotype grid does not fit the landscape", Module);
    if (literal_) {
        AddLiteral(sums, pairs);
        return;
    }
    const GenotypePool& pool = genotypes_.Pool();
    if (recordCells_.size() != pool.Capacity()) {
        recordCells_.assign(pool.Capacity(), RecordCells{});
        recordsMet_.assign(pool.Capacity() / 64 + 1, 0);
        recordTally_.assign(pool.Capacity() + TallySpare, 0);
        blocksMet_.assign(recordTally_.size() / TallyBlock + 1, 0);
        tallied_.assign(recordTally_.size(), 0);
    }
    pass_.Reset(params_, pairs);
    SpeciesTable<bool> seen{};
    // The tally's cell counts stay below 2^TallyShift.
    const bool tally = int64_t(p.MaxX) * p.MaxY < (int64_t(1) << TallyShift);
    if (!tally || !AddByTally(seen))
        AddByRuns(seen);
    for (int s = 1; s <= p.Maxspec; ++s)
        sums.present[s] = sums.present[s] || seen[s];
    AddPass(sums, pairs);
}

// Each counted cell adds one to the tally of its record and puts its species there; the
// cells of no species and of the unset record write zero to a spare slot instead (one of
// several in turn, so that they do not wait on each other). Returns false once a record is
// found with another species than its tally's.
bool OutcomeStatistics::TallyCells(uint64_t& speciesMet)
{
    const GParamStruct& p = params_.GParamRec;
    const auto n = static_cast<uint32_t>(p.Maxspec);
    uint32_t* const tally = recordTally_.data();
    uint8_t* const blocks = blocksMet_.data();
    const auto spare = static_cast<uint32_t>(genotypes_.Pool().Capacity());
    // Nonzero once a record is met with two species.
    uint32_t clash = 0;
    const int maxX = p.MaxX;
    // The tallies of the records a little further along the row are fetched meanwhile.
    constexpr int CellsAhead = 32;
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape_.Row(y);
        const uint32_t* ids = genotypes_.IdRow(y);
        for (int x = 1; x <= maxX; ++x) {
            __builtin_prefetch(tally + ids[std::min(x + CellsAhead, maxX + 1)], 1);
            // Masks rather than branches: the cells mix their species and records at random.
            const auto s = static_cast<uint32_t>(row[x].Species);
            const uint32_t id = ids[x];
            const uint32_t species = 0u - static_cast<uint32_t>(s - 1 < n);
            speciesMet |= uint64_t(1) << (s & species);
            const uint32_t counted = species & (0u - static_cast<uint32_t>(id != GenotypePool::UnsetRecord));
            const uint32_t spareAt = spare + (static_cast<uint32_t>(x) & (TallySpare - 1));
            const uint32_t at = spareAt ^ ((id ^ spareAt) & counted);
            const uint32_t before = tally[at];
            const uint32_t held = before >> TallyShift; // 0 for a record not met
            clash |= held * (held ^ s);
            tally[at] = ((before + 1) | (s << TallyShift)) & counted;
            blocks[at / TallyBlock] = 1;
        }
    }
    return clash == 0;
}

// The cells counted per record by TallyCells (or sixteen at a time where the processor has
// the 512-bit scan and the record numbers leave room for the species beside them), then each
// record met added once. A record met with two species ends the count: every tally is
// cleared and nothing is added.
bool OutcomeStatistics::AddByTally(SpeciesTable<bool>& seen)
{
    const GParamStruct& p = params_.GParamRec;
    const auto n = static_cast<uint32_t>(p.Maxspec);
    const GenotypePool& pool = genotypes_.Pool();
    uint32_t* const tally = recordTally_.data();
    uint8_t* const blocks = blocksMet_.data();
    constexpr uint32_t SpeciesBits = ~((uint32_t(1) << TallyShift) - 1);
    uint64_t speciesMet = 0; // bit s for species s, bit 0 for the other cells
    // Whether no record was met with two species.
    const bool apart = scan512_ && recordTally_.size() <= (std::size_t(1) << TallyShift)
                         ? TallyCells512(landscape_, genotypes_, p.MaxX, p.MaxY, n,
                                         CellTallies{tally, blocks, TallyBlock, TallyShift}, speciesMet)
                         : TallyCells(speciesMet);
    for (uint32_t s = 0; s <= n; ++s)
        seen[s] = seen[s] || ((speciesMet >> s) & 1) != 0;
    if (!apart) {
        for (std::size_t b = 0; b < blocksMet_.size(); ++b)
            if (blocks[b] != 0) {
                const std::size_t end = std::min((b + 1) * TallyBlock, recordTally_.size());
                std::fill(tally + b * TallyBlock, tally + end, 0u);
                blocks[b] = 0;
            }
        return false;
    }
    // The records met, in increasing order: every number of a block written, and kept when
    // its tally is not zero.
    uint32_t* const met = tallied_.data();
    std::size_t count = 0;
    for (std::size_t b = 0; b < blocksMet_.size(); ++b) {
        if (blocks[b] == 0)
            continue;
        blocks[b] = 0;
        const auto end = static_cast<uint32_t>(std::min((b + 1) * TallyBlock, recordTally_.size()));
        for (auto id = static_cast<uint32_t>(b * TallyBlock); id < end; ++id) {
            met[count] = id;
            count += tally[id] != 0 ? 1 : 0;
        }
    }
    // A record summarised in an earlier generation for the same species is added from its
    // summary, one cache line instead of its triples.
    const bool summarise = keepSummaries_ && !pass_.Pairs() && pool.Windows() == 0;
    if (summarise)
        PrepareSummaries(pool);
    const auto summarised = [&](uint32_t id) { return (summarised_[id / 64] >> (id % 64) & 1) != 0; };
    constexpr std::size_t Ahead = 16;
    const std::size_t recordBytes = sizeof(OutcomeTriple) * static_cast<std::size_t>(n);
    for (std::size_t i = 0; i < count; ++i) {
        if (i + Ahead < count) {
            const uint32_t id = met[i + Ahead];
            if (summarise)
                __builtin_prefetch(&summaries_[id], 1);
            if (!summarise || !summarised(id)) {
                const auto* later = reinterpret_cast<const char*>(pool.Record(id));
                for (std::size_t b = 0; b < recordBytes; b += 64)
                    __builtin_prefetch(later + b);
                __builtin_prefetch(later + recordBytes - 1);
            }
        }
        const uint32_t id = met[i];
        uint32_t& t = tally[id];
        const auto s = static_cast<int>(t >> TallyShift);
        const auto cells = static_cast<int32_t>(t & ~SpeciesBits);
        t = 0;
        if (!summarise) {
            pass_.Add(s, pool.Record(id), cells);
            continue;
        }
        OutcomePassTally::RecordSummary& summary = summaries_[id];
        if (!summarised(id) || summary.species != s) {
            pass_.Summarise(s, pool.Record(id), summary);
            summarised_[id / 64] |= uint64_t(1) << (id % 64);
        }
        pass_.AddSummary(s, summary, cells);
    }
    return true;
}

void OutcomeStatistics::PrepareSummaries(const GenotypePool& pool)
{
    const bool same = summaryPool_.lock().get() == &pool && summaryLayout_ == pass_.Layout();
    if (summaries_.size() < pool.Capacity()) {
        summaries_.Reserve(pool.Capacity());
        summarised_.assign(pool.Capacity() / 64 + 1, 0);
    } else if (same && pool.Epoch() == summaryEpoch_ + 1 && pool.Collections() == summaryCollections_ + 1) {
        // One collection since: only the records it freed may hold other triples now.
        for (std::size_t w = 0; w < summarised_.size(); ++w)
            for (uint64_t bits = summarised_[w]; bits != 0; bits &= bits - 1) {
                const auto id = static_cast<uint32_t>(64 * w + static_cast<std::size_t>(std::countr_zero(bits)));
                if (!pool.HeldAtLastCollection(id))
                    summarised_[w] &= ~(uint64_t(1) << (id % 64));
            }
    } else if (!same || pool.Epoch() != summaryEpoch_) {
        std::fill(summarised_.begin(), summarised_.end(), 0);
    }
    summaryPool_ = genotypes_.PoolHandle();
    summaryEpoch_ = pool.Epoch();
    summaryCollections_ = pool.Collections();
    summaryLayout_ = pass_.Layout();
}

// Neighbouring cells of one species and record are counted together, and the count of the
// record is fetched once per run of them.
void OutcomeStatistics::AddByRuns(SpeciesTable<bool>& seen)
{
    const GParamStruct& p = params_.GParamRec;
    const int n = p.Maxspec;
    const GenotypePool& pool = genotypes_.Pool();
    // The run of cells of one species and record being counted.
    int runSpecies = 0;
    uint32_t runRecord = GenotypePool::UnsetRecord;
    int32_t runCells = 0;
    // The words of recordsMet_ that may have a bit set.
    std::size_t firstWord = recordsMet_.size();
    std::size_t lastWord = 0;
    RecordCells* const counts = recordCells_.data();
    uint64_t* const met = recordsMet_.data();
    auto endRun = [&] {
        if (runCells == 0)
            return;
        RecordCells& r = counts[runRecord];
        if (r.cells == 0) {
            r.species = runSpecies;
            const std::size_t word = runRecord / 64;
            met[word] |= uint64_t(1) << (runRecord % 64);
            firstWord = std::min(firstWord, word);
            lastWord = std::max(lastWord, word);
        } else if (r.species != runSpecies) {
            // A record held by two species: these cells on their own.
            pass_.Add(runSpecies, pool.Record(runRecord), runCells);
            runCells = 0;
            return;
        }
        r.cells += runCells;
        runCells = 0;
    };
    // The counts of the records a little further along the row are fetched meanwhile.
    constexpr int CellsAhead = 24;
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* row = landscape_.Row(y);
        const uint32_t* ids = genotypes_.IdRow(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            __builtin_prefetch(counts + ids[std::min(x + CellsAhead, p.MaxX + 1)]);
            // Branches only where a run ends: empty cells and the unset record (which
            // carries nothing) are passed over inside a run.
            const auto s = static_cast<uint32_t>(row[x].Species);
            const uint32_t id = ids[x];
            const bool species = s - 1 < static_cast<uint32_t>(n);
            seen[species ? s : 0] = true;
            const bool counted = species & (id != GenotypePool::UnsetRecord);
            if (counted & ((id != runRecord) | (static_cast<int>(s) != runSpecies))) {
                endRun();
                runRecord = id;
                runSpecies = static_cast<int>(s);
            }
            runCells += counted ? 1 : 0;
        }
    }
    endRun();

    records_.clear();
    for (std::size_t w = firstWord; w <= lastWord && w < recordsMet_.size(); ++w) {
        for (uint64_t bits = met[w]; bits != 0; bits &= bits - 1)
            records_.push_back(static_cast<uint32_t>(w * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
        met[w] = 0;
    }
    constexpr std::size_t Ahead = 16;
    const std::size_t recordBytes = sizeof(OutcomeTriple) * static_cast<std::size_t>(n);
    for (std::size_t i = 0; i < records_.size(); ++i) {
        // Increasing numbers, mostly apart: fetch the later ones meanwhile.
        if (i + Ahead < records_.size()) {
            const auto* later = reinterpret_cast<const char*>(pool.Record(records_[i + Ahead]));
            for (std::size_t b = 0; b < recordBytes; b += 64)
                __builtin_prefetch(later + b);
            __builtin_prefetch(later + recordBytes - 1);
            __builtin_prefetch(counts + records_[i + Ahead]);
        }
        RecordCells& r = counts[records_[i]];
        pass_.Add(r.species, pool.Record(records_[i]), r.cells);
        r = RecordCells{};
    }
}

void OutcomeStatistics::Finish(const Sums& sums, Results& results, bool pairs) const
{
    const int n = params_.GParamRec.Maxspec;
    results = Results{};
    // The values by the set bits of two words: a whole-number sum of at most 5050, the same
    // in double as added value by value.
    auto distinctMean = [](const std::bitset<101>& values, float& average, int32_t& count) {
        static const std::bitset<101> low(~uint64_t(0));
        const uint64_t words[2] = {(values & low).to_ullong(), (values >> 64).to_ullong()};
        int32_t sum = 0;
        count = 0;
        for (int w = 0; w < 2; ++w)
            for (uint64_t bits = words[w]; bits != 0; bits &= bits - 1) {
                sum += 64 * w + std::countr_zero(bits);
                ++count;
            }
        if (count > 0)
            average = static_cast<float>(double(sum) / count);
    };
    for (int t = 0; t < 3; ++t) {
        for (int s = 1; s <= n; ++s) {
            if (sums.speciesCount[t][s] > 0) {
                results.species[t][s] = static_cast<float>(sums.species[t][s] / sums.speciesCount[t][s]);
                results.speciesCount[t][s] = sums.speciesCount[t][s];
            }
            distinctMean(sums.speciesValues[t][s], results.species[t + 3][s], results.speciesCount[t + 3][s]);
            if (!pairs)
                continue;
            for (int j = 1; j <= n; ++j) {
                if (j == s) {
                    const float self = sums.present[s] ? -1.0f : 0.0f;
                    results.pair[t][s][s] = self;
                    results.pair[t + 3][s][s] = self;
                    continue;
                }
                if (sums.pairCount[t][s][j] > 0) {
                    results.pair[t][s][j] = static_cast<float>(sums.pair[t][s][j] / sums.pairCount[t][s][j]);
                    results.pairCount[t][s][j] = sums.pairCount[t][s][j];
                }
                distinctMean(sums.pairValues[t][s][j], results.pair[t + 3][s][j], results.pairCount[t + 3][s][j]);
            }
        }
    }
}

void OutcomeStatistics::ComputeOutcomeStats(int stage, int part, bool pairs)
{
    if (stage < 1 || stage > 2 || part < 0 || part > 3)
        QRL_FAIL("Invalid argument", Module);
    if (part <= 1)
        sums_ = Sums{};
    Add(sums_, pairs);
    if (part == 0 || part == 3) {
        Finish(sums_, result_, pairs);
        pairResults_ = pairs;
        if (stage == 1)
            previous_ = result_.species;
    }
}

int OutcomeStatistics::PlotColumn(int updates) const
{
    const int maxgen = params_.GParamRec.Maxgen;
    // A plot wider than Maxgen steps by PlotSpan / Maxgen, a narrower one by one pixel.
    return maxgen > 0 && maxgen < PlotSpan ? updates * PlotSpan / maxgen : updates;
}

void OutcomeStatistics::PreparePlots()
{
    for (QImage& plot : plots_) {
        plot = QImage(PlotWidth, PlotHeight, QImage::Format_RGB32);
        plot.fill(Qt::white);
        QPainter painter(&plot);
        painter.setPen(QPen(QColor(192, 192, 192), 1, Qt::DashLine));
        painter.drawLine(0, PlotHeight / 2, PlotWidth - 1, PlotHeight / 2);
        painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
        painter.drawRect(0, 0, PlotWidth - 1, PlotHeight - 1);
    }
    plotUpdates_ = 0;
}

void OutcomeStatistics::PlotOutcomeStats(int stage)
{
    if (stage == 1) {
        PreparePlots();
        if (sink_ != nullptr)
            sink_->ShowOutcomePlots(plots_, params_.GParamRec.Maxgen);
    } else if (stage == 2) {
        if (plots_[0].isNull())
            PreparePlots();
        const int x0 = PlotColumn(plotUpdates_);
        const int x1 = PlotColumn(++plotUpdates_);
        auto y = [](float value) {
            return PlotHeight - 1 - static_cast<int>(std::nearbyint(value * (PlotHeight - 1) / 100.0));
        };
        for (int t = 0; t < Statistics; ++t) {
            QPainter painter(&plots_[t]);
            for (int s = 1; s <= params_.GParamRec.Maxspec; ++s) {
                painter.setPen(QPen(QColor(colors_[s]), 1, Qt::SolidLine));
                painter.drawLine(x0, y(previous_[t][s]), x1, y(result_.species[t][s]));
            }
        }
        previous_ = result_.species;
        if (sink_ != nullptr)
            sink_->RefreshOutcomePlots(plots_);
    } else if (stage == 3) {
        for (QImage& plot : plots_)
            plot = QImage();
    } else {
        QRL_FAIL("Invalid argument", Module);
    }
}

std::string OutcomeStatistics::DataLine(const Results& results, int first, int g) const
{
    std::string line = Format("%6d", g) + "  ";
    for (int s = 1; s <= params_.GParamRec.Maxspec; ++s)
        for (int t = first; t < first + 3; ++t)
            line += Format("%6.1f", static_cast<double>(results.species[t][s]));
    return line + " \r\n";
}

std::string OutcomeStatistics::PairTable(int first, int g) const
{
    const int n = params_.GParamRec.Maxspec;
    std::string table = "\r\nGeneration  " + Format("%6d", g) + "\r\n  specI specJ    win  loss  stand-off\r\n";
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            table += "      " + std::to_string(i) + "   " + std::to_string(j) + "   ";
            for (int t = first; t < first + 3; ++t)
                table += Format("%6.1f", static_cast<double>(result_.pair[t][i][j]));
            table += "\r\n";
        }
    return table + "\r\n";
}

void OutcomeStatistics::WriteOutcomeStats(int stage, int g)
{
    const int n = params_.GParamRec.Maxspec;
    if (stage == 1) {
        for (int f = 0; f < 2; ++f) {
            fileNames_[f] = InsertBeforeExtension(options_.OTCFilename, f == 0 ? "1" : "2");
            CreateDataFile(files_[f], fileNames_[f], params_);
            std::string header = std::string(" \r\n===>\r\n \r\n") + Titles[f] + "\r\n        ";
            for (int s = 1; s <= n; ++s)
                header += Format("%11d", s) + "       ";
            header += " \r\nGen No. ";
            for (int s = 1; s <= n; ++s)
                header += "  Win   Loss  S/O ";
            header += " \r\n------- ";
            for (int s = 1; s <= n; ++s)
                header += " ----- ----- -----";
            header += " \r\n";
            Append(files_[f], fileNames_[f], header + DataLine(result_, 3 * f, 0));
        }
    } else if (stage == 2) {
        for (int f = 0; f < 2; ++f) {
            if (!files_[f].is_open())
                QRL_FAIL("The outcome statistics files are not open", Module);
            std::string text = DataLine(result_, 3 * f, g);
            if (PairTableDue(g)) {
                if (!pairResults_)
                    QRL_FAIL("The averages per pair were not computed", Module);
                text += PairTable(3 * f, g);
            }
            Append(files_[f], fileNames_[f], text);
        }
    } else if (stage == 3) {
        Close(files_[0], fileNames_[0]);
        Close(files_[1], fileNames_[1]);
    } else {
        QRL_FAIL("Invalid argument", Module);
    }
}

std::string OutcomeStatistics::LandscapeLine(int first, int g, int row, int col) const
{
    std::string line = Format("%6d", g) + "  " + Format("%4d", row) + Format("%4d", col);
    for (int s = 1; s <= params_.GParamRec.Maxspec; ++s)
        for (int t = first; t < first + 3; ++t)
            line += Format("%6.1f", static_cast<double>(landscapeResult_.species[t][s]));
    return line + " \r\n";
}

void OutcomeStatistics::WriteLandscapeOutcomeStats(int stage, int g, int row, int col)
{
    const int n = params_.GParamRec.Maxspec;
    if (stage == 3) {
        Close(landscapeFiles_[0], landscapeFileNames_[0]);
        Close(landscapeFiles_[1], landscapeFileNames_[1]);
        return;
    }
    if (stage != 1 && stage != 2)
        QRL_FAIL("Invalid argument", Module);
    if (stage == 1 && row == 1 && col == 1) {
        const std::string normal = InsertBeforeExtension(options_.OTCFilename, "1");
        for (int f = 0; f < 2; ++f) {
            landscapeFileNames_[f] = InsertBeforeExtension(normal, f == 0 ? "1" : "2");
            CreateDataFile(landscapeFiles_[f], landscapeFileNames_[f], params_);
            std::string header = std::string(" \r\n===>\r\n \r\n") + Titles[f] + "           (for each landscape)  \r\n" +
                                 std::string(16, ' ');
            for (int s = 1; s <= n; ++s)
                header += Format("%11d", s) + "       ";
            header += " \r\nGen No.  Row Col";
            for (int s = 1; s <= n; ++s)
                header += "  Win   Loss  S/O ";
            header += " \r\n-------  --- ---";
            for (int s = 1; s <= n; ++s)
                header += " ----- ----- -----";
            header += " \r\n";
            Append(landscapeFiles_[f], landscapeFileNames_[f], header);
        }
    }
    if (!landscapeFiles_[0].is_open() || !landscapeFiles_[1].is_open())
        QRL_FAIL("The per-landscape outcome files are not open", Module);
    landscapeSums_ = Sums{};
    Add(landscapeSums_, false);
    Finish(landscapeSums_, landscapeResult_, false);
    for (int f = 0; f < 2; ++f)
        Append(landscapeFiles_[f], landscapeFileNames_[f], LandscapeLine(3 * f, g, row, col));
}

} // namespace quorrel
