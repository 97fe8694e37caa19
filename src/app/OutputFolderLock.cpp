#include "app/OutputFolderLock.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace quorrel {

namespace {

// The process holding a flock on the file with this device and inode, from /proc/locks
// ("1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"); empty when it cannot be told.
std::string LockHolder(const struct stat& st)
{
    std::ifstream locks("/proc/locks");
    char wanted[64];
    std::snprintf(wanted, sizeof wanted, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, advisory, mode, pid, file;
        fields >> number >> kind >> advisory >> mode >> pid >> file;
        if (kind == "FLOCK" && file == wanted && pid != std::to_string(getpid()))
            return pid;
    }
    return {};
}

} // namespace

OutputFolderLock::~OutputFolderLock()
{
    if (fd_ >= 0)
        close(fd_);
}

std::string OutputFolderLock::Take(const std::filesystem::path& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return "the output directory \"" + folder.string() + "\" cannot be opened: " + std::strerror(errno);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        std::string holder;
        struct stat st {};
        if (error == EWOULDBLOCK && fstat(fd, &st) == 0)
            holder = LockHolder(st);
        close(fd);
        if (error != EWOULDBLOCK)
            return "the output directory \"" + folder.string() + "\" cannot be locked: " + std::strerror(error);
        return "the output directory \"" + folder.string() + "\" is in use by another run (" +
               (holder.empty() ? std::string("another process") : "process " + holder) +
               "); give each run a folder of its own";
    }
    fd_ = fd;
    return {};
}

} // namespace quorrel
