#pragma once
// Helpers shared by the unit tests: a temporary directory that cleans up after itself, file
// writing, and archives built in memory.

#include "base/bytes.h"
#include "base/diagnostics.h"
#include "data/archive_index.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {

// A fresh directory under the test framework's temporary directory, removed with everything
// in it when the object goes out of scope.
class TempDir {
public:
    TempDir() {
        std::filesystem::path base = testing::TempDir();
        std::error_code ec;
        if (base.empty() || !std::filesystem::is_directory(base, ec)) {
            base = "/tmp";
        }
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = base / ("orvell-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate, ec)) {
                m_path = candidate;
                return;
            }
        }
        ADD_FAILURE() << "cannot create a temporary directory under " << base;
    }
    ~TempDir() {
        std::error_code ec;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, ec);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const {
        return m_path / std::string(name);
    }

private:
    std::filesystem::path m_path;
};

// Writes `data` to `path`, creating missing parent directories. Fails the test on error.
inline void WriteFile(const std::filesystem::path& path, std::span<const uint8_t> data) {
    std::error_code ec;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ec);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    out.close();
    ASSERT_TRUE(out) << "cannot write " << path;
}

inline void WriteFile(const std::filesystem::path& path, std::string_view text) {
    WriteFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// Lines of a text resource as the archive holds them: each ends in NUL.
inline std::string NulLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.push_back('\0');
    }
    return text;
}

inline Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A form B archive of the given entries (name width 32 unless told otherwise).
inline Bytes MakeArchive(const std::vector<ArchiveEntryInput>& entries, uint32_t nameWidth = 32) {
    Bytes out;
    std::string problem;
    EXPECT_TRUE(BuildArchive(IndexForm::B, nameWidth, entries, out, &problem)) << problem;
    return out;
}

// A form A text archive: every entry's bytes are negated as the game stores them.
inline Bytes MakeTextArchive(std::vector<ArchiveEntryInput> entries) {
    for (auto& entry : entries) {
        NegateBytes(entry.Data.data(), entry.Data.size());
    }
    Bytes out;
    std::string problem;
    EXPECT_TRUE(BuildArchive(IndexForm::A, 0, entries, out, &problem)) << problem;
    return out;
}

// Collects the diagnostics written while it lives, instead of printing them.
class CapturedDiagnostics {
public:
    CapturedDiagnostics()
        : m_previous(SetDiagnosticSink(
              [this](std::string_view message) { Messages.emplace_back(message); })) {}
    ~CapturedDiagnostics() { SetDiagnosticSink(std::move(m_previous)); }
    CapturedDiagnostics(const CapturedDiagnostics&) = delete;
    CapturedDiagnostics& operator=(const CapturedDiagnostics&) = delete;

    std::vector<std::string> Messages;

private:
    DiagnosticSink m_previous;
};

} // namespace orv::test
