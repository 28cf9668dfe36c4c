#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

namespace orv {

std::optional<Bytes> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    auto end = in.tellg();
    if (end < 0) {
        return std::nullopt;
    }
    in.seekg(0, std::ios::beg);
    Bytes data(static_cast<size_t>(end));
    if (!data.empty() && !in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()))) {
        return std::nullopt;
    }
    return data;
}

bool ReadFileRange(const fs::path& path, uint64_t offset, std::span<uint8_t> out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    size_t done = 0;
    while (done < out.size()) {
        ssize_t n = ::pread(fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    return done == out.size();
}

std::optional<uint64_t> FileSize(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    auto size = fs::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return size;
}

namespace {

WriteFaultHook& FaultHook() {
    static WriteFaultHook hook;
    return hook;
}

int InjectedFault(const fs::path& path, WriteStep step) {
    return FaultHook() ? FaultHook()(path, step) : 0;
}

std::string Problem(std::string_view what, const fs::path& path, int error) {
    return std::string(what) + " " + path.string() + ": " + std::strerror(error);
}

// Writes all of `data` to `fd`; an error text, empty on success.
std::string WriteAll(int fd, const fs::path& path, std::span<const uint8_t> data) {
    size_t done = 0;
    if (int fault = InjectedFault(path, WriteStep::Write); fault > 0) {
        // A full disk takes part of the data before it refuses the rest.
        done = data.size() / 2;
        if (::write(fd, data.data(), done) < 0) {
            return Problem("cannot write", path, errno);
        }
        return Problem("cannot write", path, fault);
    }
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return Problem("cannot write", path, n < 0 ? errno : ENOSPC);
        }
        done += static_cast<size_t>(n);
    }
    return {};
}

} // namespace

void SetWriteFaultHook(WriteFaultHook hook) {
    FaultHook() = std::move(hook);
}

std::string WriteFileAtomic(const fs::path& path, std::span<const uint8_t> data) {
    fs::path dir = path.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    if (int fault = InjectedFault(path, WriteStep::Create); fault > 0) {
        return Problem("cannot create a file in", dir, fault);
    }
    std::string pattern = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return Problem("cannot create a file in", dir, errno);
    }
    std::string error = WriteAll(fd, path, data);
    if (error.empty() && ::fsync(fd) != 0) {
        error = Problem("cannot write", path, errno);
    }
    // mkstemp creates the file 0600; give it the usual permissions under the umask.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0 && error.empty()) {
        error = Problem("cannot write", path, errno);
    }
    if (error.empty()) {
        int fault = InjectedFault(path, WriteStep::Rename);
        if (fault == kCrashBeforeRename) {
            return "the program stopped before " + path.string() + " was replaced";
        }
        if (fault > 0) {
            error = Problem("cannot replace", path, fault);
        } else if (std::rename(pattern.c_str(), path.c_str()) != 0) {
            error = Problem("cannot replace", path, errno);
        }
    }
    if (!error.empty()) {
        ::unlink(pattern.c_str());
    }
    return error;
}

std::string WriteFileAtomic(const fs::path& path, std::string_view data) {
    return WriteFileAtomic(path, std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
}

std::string WriteFileIfChanged(const fs::path& path, std::span<const uint8_t> data) {
    std::optional<uint64_t> size = FileSize(path);
    if (size && *size == data.size()) {
        std::optional<Bytes> held = ReadWholeFile(path);
        if (held && std::equal(held->begin(), held->end(), data.begin(), data.end())) {
            return {};
        }
    }
    return WriteFileAtomic(path, data);
}

std::string WriteFileIfChanged(const fs::path& path, std::string_view data) {
    return WriteFileIfChanged(path,
                              std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
}

namespace {

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<unsigned char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<unsigned char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<fs::path> FindFileNoCase(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    fs::path exact = dir / std::string(name);
    if (fs::exists(exact, ec)) {
        return exact;
    }
    fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
    if (ec) {
        return std::nullopt;
    }
    for (const auto& entry : it) {
        if (EqualsAsciiNoCase(entry.path().filename().string(), name)) {
            return dir / entry.path().filename();
        }
    }
    return std::nullopt;
}

bool IsRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace orv
