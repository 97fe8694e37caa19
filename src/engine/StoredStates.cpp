#include "engine/StoredStates.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace quorrel {

int RowsPerBlock(std::size_t rowBytes)
{
    return static_cast<int>(std::max<std::size_t>(1, (std::size_t(1) << 20) / std::max<std::size_t>(rowBytes, 1)));
}

StoredStates::StoredStates(std::filesystem::path current, std::filesystem::path previous)
    : files_{ScratchFile(std::move(current)), ScratchFile(std::move(previous))}
{
}

const ScratchFile& StoredStates::ToRead(StoredState which) const
{
    return which == StoredState::Current && !shared_ ? files_[0] : files_[1];
}

const ScratchFile& StoredStates::ToWrite(StoredState which)
{
    if (which == StoredState::Current) {
        shared_ = false;
        return files_[0];
    }
    if (shared_) {
        files_[0].CopyFrom(files_[1]);
        shared_ = false;
    }
    return files_[1];
}

void StoredStates::Advance()
{
    // Shared: the previous state is the current one already.
    if (shared_)
        return;
    std::swap(files_[0], files_[1]);
    shared_ = true;
}

void StoredStates::UseMapping(bool on)
{
    files_[0].UseMapping(on);
    files_[1].UseMapping(on);
}

void StoredStates::Remove() noexcept
{
    files_[0].Remove();
    files_[1].Remove();
}

} // namespace quorrel
