#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "test_support.h"

namespace orv::test {
namespace {

// Holds the lock in a child process until the parent closes the pipe.
class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& path) {
        int ready[2];
        int release[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(release), 0);
        m_child = ::fork();
        if (m_child == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            auto lock = AcquireInstanceLock(path);
            char byte = lock ? 'y' : 'n';
            (void)!::write(ready[1], &byte, 1);
            (void)!::read(release[0], &byte, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        m_release = release[1];
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        Held = byte == 'y';
    }
    ~LockHolder() {
        ::close(m_release);
        int status = 0;
        ::waitpid(m_child, &status, 0);
    }

    bool Held = false;

private:
    pid_t m_child = -1;
    int m_release = -1;
};

TEST(InstanceLock, ASecondProcessIsRefusedWhileTheFirstHoldsIt) {
    TempDir dir;
    auto path = dir / "ORVELLKERNEL";
    {
        LockHolder holder(path);
        ASSERT_TRUE(holder.Held);
        EXPECT_FALSE(AcquireInstanceLock(path).has_value());
    }
    // The holder has ended: the lock is free again, the file left behind does not matter.
    EXPECT_TRUE(AcquireInstanceLock(path).has_value());
}

TEST(InstanceLock, TheDesktopProgramExitsWithStatusOneAndSaysNothing) {
    TempDir dir;
    ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    LockHolder holder(InstanceLockPath());
    ASSERT_TRUE(holder.Held);
    std::string command = std::string(ORVELL_PATH) + " " + dir.Path().string() + " >" +
                          (dir / "out").string() + " 2>&1";
    int status = std::system(command.c_str());
    ::unsetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(std::filesystem::file_size(dir / "out"), 0u);
}

} // namespace
} // namespace orv::test
