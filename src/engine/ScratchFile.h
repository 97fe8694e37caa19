#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace quorrel {

// A binary scratch file of a run, named by its owner, deleted when the owner is done with
// it (Remove, or when the object goes). Every failure to create, write or read it throws
// ArrayFileError naming the file.
class ScratchFile {
public:
    // An open file, closed when the object goes. Reads and writes go straight to the system
    // (no buffer in between), so a read at an offset costs one seek and one read. A file
    // opened for writing is written over from its start, not emptied first (the system then
    // keeps its pages instead of freeing and taking them again); Close cuts it to what was
    // written.
    class Handle {
    public:
        Handle(const std::filesystem::path& path, bool write);
        ~Handle();
        Handle(Handle&& other) noexcept;
        Handle& operator=(Handle&&) = delete;
        Handle(const Handle&) = delete;

        void Write(const void* data, std::size_t bytes);
        void Read(void* data, std::size_t bytes);
        void ReadAt(std::uint64_t offset, void* data, std::size_t bytes);
        // Closes a written file, cut to what was written, and checks that everything reached it.
        void Close();

    private:
        [[noreturn]] void Fail(const char* fallback) const;

        std::FILE* file_ = nullptr;
        std::filesystem::path path_;
        bool write_ = false;
    };

    ScratchFile() = default;
    explicit ScratchFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~ScratchFile() { Remove(); }
    ScratchFile(ScratchFile&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    ScratchFile& operator=(ScratchFile&& other) noexcept;
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    Handle OpenForWriting() const { return Handle(path_, true); }
    Handle OpenForReading() const { return Handle(path_, false); }
    // This file becomes a copy of other.
    void CopyFrom(const ScratchFile& other) const;
    // Deletes the file if it exists; never fails.
    void Remove() noexcept;

private:
    std::filesystem::path path_;
};

} // namespace quorrel
