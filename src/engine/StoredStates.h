#pragma once

#include "engine/ScratchFile.h"

#include <cstddef>
#include <filesystem>

namespace quorrel {

// Which state of a stored landscape: as it stands now, or as it stood at the start of the
// generation.
enum class StoredState { Current, Previous };

// How many rows of rowBytes a store reads or writes at a time: about 1 MB, whole rows, at
// least one.
int RowsPerBlock(std::size_t rowBytes);

// The two scratch files of one stored landscape's states (its cells, or its genotypes).
// Advancing the previous state to the current one exchanges the files' roles instead of
// copying: until the current state is written again it is read from the file that now holds
// the previous state, which holds the same. The files keep their format; only which of the
// two holds which state changes.
class StoredStates {
public:
    StoredStates(std::filesystem::path current, std::filesystem::path previous);

    // The file that holds state which.
    const ScratchFile& ToRead(StoredState which) const;
    // The file to write state which to. Before the previous state is written while the
    // current one is read from its file, the current state gets its file back.
    const ScratchFile& ToWrite(StoredState which);
    // The previous state := the current state.
    void Advance();
    // Both files are read and written through mappings of them (ScratchFile::UseMapping).
    void UseMapping(bool on);
    void Remove() noexcept;

private:
    ScratchFile files_[2]; // the current state's file, then the previous state's
    bool shared_ = false;  // the current state is read from the previous state's file
};

} // namespace quorrel
