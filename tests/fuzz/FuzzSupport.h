#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace quorrel::fuzz {

// A broken contract ends the process, so that the fuzzer keeps the input and the replay
// test fails on it.
[[noreturn]] inline void Broken(const char* what)
{
    std::fprintf(stderr, "reader contract broken: %s\n", what);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                                   \
    do {                                                                                                        \
        if (!(condition))                                                                                       \
            ::quorrel::fuzz::Broken(#condition);                                                                \
    } while (false)

// The process's own folder for the files the readers take, removed when the process ends.
inline const std::filesystem::path& FuzzFolder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path f =
            std::filesystem::temp_directory_path() / ("quorrel-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(f);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(FuzzFolder(), ignored);
        });
        return f;
    }();
    return folder;
}

// The input as a file of that folder (readers take file names).
inline std::string InputFile(const uint8_t* data, size_t size, const char* name)
{
    const std::filesystem::path file = FuzzFolder() / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    return file.string();
}

} // namespace quorrel::fuzz
