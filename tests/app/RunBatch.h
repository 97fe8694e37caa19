#pragma once

#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace quorrel::test {

// What a run of quorrel-batch ended with: its exit status and what it wrote to stderr.
struct BatchResult {
    int status = -1;
    std::string err;
};

// Runs quorrel-batch in folder with the arguments (each quoted for the shell), behind the
// launcher command when one is given (e.g. "timeout -s TERM 2").
inline BatchResult RunBatch(const std::filesystem::path& folder, const std::vector<std::string>& args,
                            const std::string& launcher = {})
{
    std::string command = "cd '" + folder.string() + "' && " + launcher + " '" QUORREL_BATCH "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    const std::filesystem::path errFile = folder.parent_path() / (folder.filename().string() + ".err");
    command += " 2> '" + errFile.string() + "' > /dev/null";
    const int raw = std::system(command.c_str());
    BatchResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = ReadAll(errFile.string());
    std::filesystem::remove(errFile);
    return r;
}

} // namespace quorrel::test
