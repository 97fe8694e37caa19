#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <utility>

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
    ScratchFile(ScratchFile&& other) noexcept
        : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), size_(other.size_),
          mapping_(other.mapping_), map_(std::exchange(other.map_, nullptr)), mapped_(std::exchange(other.mapped_, 0))
    {
        other.path_.clear();
    }
    ScratchFile& operator=(ScratchFile&& other) noexcept;
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    Handle OpenForWriting() const { return Handle(path_, true); }
    Handle OpenForReading() const { return Handle(path_, false); }

    // Reading and writing through the file's own descriptor, opened at the first use and
    // kept open until the file is removed, so that a store that is read and written every
    // generation opens nothing. Each call moves pieces of pieceBytes that lie stride bytes
    // apart in memory (the rows of a grid, or one block when pieces is 1) to or from the file
    // one after the other from offset, in as few system calls as the system allows.
    void WriteAt(std::uint64_t offset, const void* first, std::size_t pieceBytes, std::size_t stride,
                 std::size_t pieces) const;
    // Reading beyond the end of the file is an error.
    void ReadAt(std::uint64_t offset, void* first, std::size_t pieceBytes, std::size_t stride,
                std::size_t pieces) const;
    // On: ReadAt and WriteAt copy to and from a shared mapping of the file instead of calling
    // the system for each, the same bytes in the same file. Before a writing past its end the
    // file grows with its blocks taken, so that a full disk fails that writing as it would
    // fail a system call. Where the system cannot map it, the file is read and written by
    // calls as before. Its length is asked of the system before each copy, so that a file cut
    // short by someone else fails its readers; only one cut short during a copy would stop
    // the process.
    void UseMapping(bool on);
    // With the mapping on, the bytes [offset, offset + bytes) of the file for the caller to
    // write in place, the file grown to hold them as a writing would grow it; nullptr when
    // the mapping is off or the system cannot map the file. Valid until the next use of the file.
    std::byte* MapForWriting(std::uint64_t offset, std::size_t bytes) const;
    // The file's length.
    std::uint64_t Size() const
    {
        Descriptor(false);
        return size_;
    }
    // Cuts the file to bytes when it is longer (a file written again from its start with
    // less than before).
    void CutTo(std::uint64_t bytes) const;
    // This file becomes a copy of other.
    void CopyFrom(const ScratchFile& other) const;
    // Deletes the file if it exists; never fails.
    void Remove() noexcept;

private:
    // The descriptor, opened for reading and writing; created when missing only for writing.
    int Descriptor(bool create) const;
    void Transfer(bool write, std::uint64_t offset, std::byte* first, std::size_t pieceBytes, std::size_t stride,
                  std::size_t pieces) const;
    // Transfer through the mapping, grown to cover the pieces; false where the file cannot
    // be mapped.
    bool TransferMapped(int fd, bool write, std::uint64_t offset, std::byte* first, std::size_t pieceBytes,
                        std::size_t stride, std::size_t pieces) const;
    // The bytes [offset, offset + bytes) of the mapping, grown to cover them (and, for
    // writing, the file too); nullptr where the file cannot be mapped.
    std::byte* Mapped(int fd, bool write, std::uint64_t offset, std::uint64_t bytes) const;
    void Unmap() const noexcept;
    void Close() const noexcept;
    [[noreturn]] void Fail(const char* fallback) const;

    std::filesystem::path path_;
    mutable int fd_ = -1;
    // The file's length as the system gave it at the last use, or as this object then left it.
    mutable std::uint64_t size_ = 0;
    bool mapping_ = false;
    mutable std::byte* map_ = nullptr;
    mutable std::size_t mapped_ = 0; // the bytes mapped from the file's start
};

} // namespace quorrel
