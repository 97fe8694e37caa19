#include "engine/ScratchFile.h"

#include "engine/ArrayFileError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace quorrel {

ScratchFile::Handle::Handle(const std::filesystem::path& path, bool write) : path_(path), write_(write)
{
    errno = 0;
    file_ = std::fopen(path.c_str(), write ? "r+b" : "rb");
    if (file_ == nullptr && write && errno == ENOENT) {
        errno = 0;
        file_ = std::fopen(path.c_str(), "wb");
    }
    if (file_ == nullptr)
        Fail(write ? "Cannot create the file" : "Cannot open the file");
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

ScratchFile::Handle::Handle(Handle&& other) noexcept
    : file_(other.file_), path_(std::move(other.path_)), write_(other.write_)
{
    other.file_ = nullptr;
}

ScratchFile::Handle::~Handle()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

void ScratchFile::Handle::Fail(const char* fallback) const
{
    throw ArrayFileError(path_.string(), errno != 0 ? std::generic_category().message(errno) : fallback);
}

void ScratchFile::Handle::Write(const void* data, std::size_t bytes)
{
    errno = 0;
    if (std::fwrite(data, 1, bytes, file_) != bytes)
        Fail("Write error");
}

void ScratchFile::Handle::Read(void* data, std::size_t bytes)
{
    errno = 0;
    if (std::fread(data, 1, bytes, file_) != bytes)
        Fail("Read beyond end of file");
}

void ScratchFile::Handle::ReadAt(std::uint64_t offset, void* data, std::size_t bytes)
{
    errno = 0;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        Fail("Seek error");
    Read(data, bytes);
}

void ScratchFile::Handle::Close()
{
    if (file_ != nullptr && write_) {
        errno = 0;
        const long written = std::ftell(file_);
        if (written < 0 || ftruncate(fileno(file_), static_cast<off_t>(written)) != 0)
            Fail("Write error");
    }
    std::FILE* file = std::exchange(file_, nullptr);
    errno = 0;
    if (file != nullptr && std::fclose(file) != 0)
        Fail("Write error");
}

ScratchFile& ScratchFile::operator=(ScratchFile&& other) noexcept
{
    if (this != &other) {
        Remove();
        path_ = std::exchange(other.path_, {});
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        mapping_ = other.mapping_;
        map_ = std::exchange(other.map_, nullptr);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

void ScratchFile::Fail(const char* fallback) const
{
    throw ArrayFileError(path_.string(), errno != 0 ? std::generic_category().message(errno) : fallback);
}

int ScratchFile::Descriptor(bool create) const
{
    if (fd_ >= 0) {
        // A file deleted behind the run's back is lost, as it is to a reader opening it by
        // its name (its descriptor would still reach the deleted content), and made again by
        // a writer.
        struct stat st {};
        errno = 0;
        if (::fstat(fd_, &st) != 0)
            Fail("Cannot open the file");
        if (st.st_nlink > 0) {
            // Cut short or grown by someone else, it is read as it now stands.
            size_ = static_cast<std::uint64_t>(st.st_size);
            return fd_;
        }
        Close();
        if (!create) {
            errno = ENOENT;
            Fail("Cannot open the file");
        }
    }
    errno = 0;
    int fd = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && create && errno == ENOENT) {
        errno = 0;
        fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    }
    if (fd < 0)
        Fail(create ? "Cannot create the file" : "Cannot open the file");
    struct stat st {};
    errno = 0;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        Fail("Cannot open the file");
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    fd_ = fd;
    return fd_;
}

void ScratchFile::Transfer(bool write, std::uint64_t offset, std::byte* first, std::size_t pieceBytes,
                           std::size_t stride, std::size_t pieces) const
{
    const int fd = Descriptor(write);
    if (pieceBytes == 0)
        return;
    if (mapping_ && TransferMapped(fd, write, offset, first, pieceBytes, stride, pieces))
        return;
    // Up to Batch pieces a call; a call that moves less than asked goes on from where it stopped.
    constexpr std::size_t Batch = 256;
    iovec vectors[Batch];
    std::size_t piece = 0;
    std::size_t done = 0; // bytes of the current piece already moved
    while (piece < pieces) {
        std::size_t n = 0;
        std::size_t asked = 0;
        for (std::size_t k = piece; k < pieces && n < Batch; ++k, ++n) {
            const std::size_t skip = k == piece ? done : 0;
            vectors[n].iov_base = first + k * stride + skip;
            vectors[n].iov_len = pieceBytes - skip;
            asked += pieceBytes - skip;
        }
        errno = 0;
        const ssize_t moved = write ? ::pwritev(fd, vectors, static_cast<int>(n), static_cast<off_t>(offset))
                                    : ::preadv(fd, vectors, static_cast<int>(n), static_cast<off_t>(offset));
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            Fail(write ? "Write error" : "Read error");
        if (moved == 0 && asked > 0)
            Fail(write ? "Write error" : "Read beyond end of file");
        offset += static_cast<std::uint64_t>(moved);
        std::size_t rest = static_cast<std::size_t>(moved);
        while (rest > 0) {
            const std::size_t left = pieceBytes - done;
            if (rest < left) {
                done += rest;
                rest = 0;
            } else {
                rest -= left;
                done = 0;
                ++piece;
            }
        }
    }
    if (write && offset > size_)
        size_ = offset;
}

void ScratchFile::UseMapping(bool on)
{
    mapping_ = on;
    if (!on)
        Unmap();
}

bool ScratchFile::TransferMapped(int fd, bool write, std::uint64_t offset, std::byte* first, std::size_t pieceBytes,
                                 std::size_t stride, std::size_t pieces) const
{
    std::byte* at = Mapped(fd, write, offset, static_cast<std::uint64_t>(pieceBytes) * pieces);
    if (at == nullptr)
        return false;
    for (std::size_t k = 0; k < pieces; ++k, at += pieceBytes) {
        if (write)
            std::memcpy(at, first + k * stride, pieceBytes);
        else
            std::memcpy(first + k * stride, at, pieceBytes);
    }
    return true;
}

std::byte* ScratchFile::Mapped(int fd, bool write, std::uint64_t offset, std::uint64_t bytes) const
{
    const std::uint64_t end = offset + bytes;
    if (!write && end > size_) {
        errno = 0;
        Fail("Read beyond end of file");
    }
    if (write && end > size_) {
        // The blocks are taken now: a page of the mapping written over a hole would take its
        // block only then, and a full disk would then be a fault instead of an error.
        do
            errno = ::posix_fallocate(fd, 0, static_cast<off_t>(end));
        while (errno == EINTR);
        if (errno != 0)
            Fail("Write error");
        size_ = end;
    }
    if (end > mapped_) {
        Unmap();
        const long page = ::sysconf(_SC_PAGESIZE);
        const auto length = static_cast<std::size_t>((end + page - 1) / page * page);
        void* map = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (map == MAP_FAILED)
            return nullptr;
        map_ = static_cast<std::byte*>(map);
        mapped_ = length;
    }
    return map_ + offset;
}

std::byte* ScratchFile::MapForWriting(std::uint64_t offset, std::size_t bytes) const
{
    if (!mapping_ || bytes == 0)
        return nullptr;
    return Mapped(Descriptor(true), true, offset, bytes);
}

void ScratchFile::Unmap() const noexcept
{
    if (map_ != nullptr)
        ::munmap(map_, mapped_);
    map_ = nullptr;
    mapped_ = 0;
}

void ScratchFile::Close() const noexcept
{
    Unmap();
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
}

void ScratchFile::WriteAt(std::uint64_t offset, const void* first, std::size_t pieceBytes, std::size_t stride,
                          std::size_t pieces) const
{
    // pwritev takes the pieces as writable vectors but only reads them.
    Transfer(true, offset, static_cast<std::byte*>(const_cast<void*>(first)), pieceBytes, stride, pieces);
}

void ScratchFile::ReadAt(std::uint64_t offset, void* first, std::size_t pieceBytes, std::size_t stride,
                         std::size_t pieces) const
{
    Transfer(false, offset, static_cast<std::byte*>(first), pieceBytes, stride, pieces);
}

void ScratchFile::CutTo(std::uint64_t bytes) const
{
    // Called after writing: the descriptor, when open, was checked by the writing.
    const int fd = fd_ >= 0 ? fd_ : Descriptor(true);
    if (size_ <= bytes)
        return;
    errno = 0;
    if (::ftruncate(fd, static_cast<off_t>(bytes)) != 0)
        Fail("Write error");
    size_ = bytes;
}

void ScratchFile::CopyFrom(const ScratchFile& other) const
{
    // The copy is written through a descriptor of its own: this file's is opened afresh after it.
    Close();
    std::error_code ec;
    std::filesystem::copy_file(other.path_, path_, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        throw ArrayFileError(path_.string(), ec.message());
}

void ScratchFile::Remove() noexcept
{
    Close();
    size_ = 0;
    if (path_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove(path_, ec);
}

} // namespace quorrel
