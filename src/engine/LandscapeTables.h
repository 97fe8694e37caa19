#pragma once

#include "engine/ArrayFileError.h"
#include "engine/Dialogs.h"
#include "params/AssertionFailure.h"
#include "params/ParameterFile.h"
#include "params/ParameterSet.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

namespace quorrel {

// One table of Maxspec entries for every landscape of an array, each table a separate
// allocation, landscape (r, c) at index (r - 1) * columns + (c - 1). Not landscapes but
// per-landscape parameters: the storage of GRateVects (growth rates) and VOTCVects
// (outcome seeding ranges).
template <class Entry>
class LandscapeTables {
public:
    // Allocates n tables, at most budget of them. False when a table cannot be allocated:
    // "Out of memory.  Try fewer landscapes or species." is shown and the tables made so far
    // are released; finding none missing then is the assertion failure cleanupError.
    bool Allocate(int n, int cols, int maxspec, std::size_t budget, Dialogs& dialogs, const char* cleanupError)
    {
        tables_.clear();
        maxspec_ = maxspec;
        cols_ = cols;
        tables_.resize(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            if (static_cast<std::size_t>(k) < budget)
                tables_[k].reset(new (std::nothrow) Entry[static_cast<std::size_t>(maxspec_)]);
            if (!tables_[k]) {
                dialogs.Message(MessageKind::Error, "Out of memory.  Try fewer landscapes or species.",
                                MessageButtons::Ok);
                const bool missing = std::find(tables_.begin(), tables_.end(), nullptr) != tables_.end();
                tables_.clear();
                if (!missing)
                    QRL_FAIL(cleanupError, Module);
                return false;
            }
        }
        return true;
    }

    // Releases every table; none made or a missing one is the assertion failure badTables.
    void Free(const char* badTables)
    {
        const bool bad = std::find(tables_.begin(), tables_.end(), nullptr) != tables_.end() || tables_.empty();
        tables_.clear();
        if (bad)
            QRL_FAIL(badTables, Module);
    }

    bool Allocated() const { return !tables_.empty(); }
    int Maxspec() const { return maxspec_; }

    // The table of landscape k (0-based, row by row).
    Entry* Table(int k) { return tables_[static_cast<std::size_t>(k)].get(); }
    // Entry s (1..Maxspec) of the table of landscape (r, c).
    const Entry& At(int r, int c, int s) const
    {
        return tables_[static_cast<std::size_t>((r - 1) * cols_ + (c - 1))][s - 1];
    }

    // Writes the parameter file name, then appends heading and, landscape by landscape of
    // rows x columns, "Landscape at Row=..  Col=.." with line(s, entry) for every species.
    // A failure throws ParameterFileError or ArrayFileError.
    template <class Line>
    void WriteFile(const std::string& name, const ParameterSet& params, const std::string& heading, int rows,
                   Line line) const
    {
        WriteParameterFile(params, name);
        errno = 0;
        std::ofstream file(name, std::ios::binary | std::ios::app);
        std::string text = heading;
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= cols_; ++c) {
                char title[64];
                std::snprintf(title, sizeof title, "Landscape at Row=%2d  Col=%2d\r\n", r, c);
                text += title;
                for (int s = 1; s <= maxspec_; ++s)
                    text += line(s, At(r, c, s));
                text += "\r\n";
            }
        file << text;
        file.close();
        if (!file)
            throw ArrayFileError(name, errno != 0 ? std::generic_category().message(errno) : "Write error");
    }

private:
    static constexpr const char* Module = "LandscapeArray";

    std::vector<std::unique_ptr<Entry[]>> tables_;
    int cols_ = 0;
    int maxspec_ = 0;
};

} // namespace quorrel
