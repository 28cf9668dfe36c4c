#pragma once
// One desktop instance at a time: a lock named ORVELLKERNEL, held with flock on a file in
// the user's runtime directory for as long as the program runs. The kernel drops it when
// the process ends, however it ends, so a crash never leaves a stale lock behind.

#include <filesystem>
#include <optional>

namespace orv {

class InstanceLock {
public:
    explicit InstanceLock(int fd) : m_fd(fd) {}
    InstanceLock(InstanceLock&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    InstanceLock& operator=(InstanceLock&&) = delete;
    InstanceLock(const InstanceLock&) = delete;
    ~InstanceLock();

private:
    int m_fd;
};

// $XDG_RUNTIME_DIR/ORVELLKERNEL, or a per-user file in the temporary directory when the
// session has no runtime directory.
std::filesystem::path InstanceLockPath();

// Nothing when another process holds the lock.
std::optional<InstanceLock> AcquireInstanceLock(const std::filesystem::path& path = InstanceLockPath());

} // namespace orv
