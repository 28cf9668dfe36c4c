#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace orv {

InstanceLock::~InstanceLock() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::filesystem::path InstanceLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) {
        return std::filesystem::path(runtime) / "ORVELLKERNEL";
    }
    const char* temp = std::getenv("TMPDIR");
    std::filesystem::path dir = temp && *temp ? temp : "/tmp";
    return dir / ("ORVELLKERNEL-" + std::to_string(::getuid()));
}

std::optional<InstanceLock> AcquireInstanceLock(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a place for the lock the rule cannot be kept; running beats refusing to.
        return InstanceLock(-1);
    }
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return std::nullopt;
        }
        return InstanceLock(-1);
    }
    return InstanceLock(fd);
}

} // namespace orv
