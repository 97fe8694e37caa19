#include "engine/ScratchFile.h"

#include "engine/ArrayFileError.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>

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
    }
    return *this;
}

void ScratchFile::CopyFrom(const ScratchFile& other) const
{
    std::error_code ec;
    std::filesystem::copy_file(other.path_, path_, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        throw ArrayFileError(path_.string(), ec.message());
}

void ScratchFile::Remove() noexcept
{
    if (path_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove(path_, ec);
}

} // namespace quorrel
