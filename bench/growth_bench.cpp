// How the engine copes with data larger than the demo's: an archive index of 100000 entries
// read from disk, and a jump to a label at the far end of a 256 KB script.
#include "base/files.h"
#include "data/archive_index.h"
#include "script/script_search.h"

#include <filesystem>
#include <string>
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

constexpr int kIndexEntries = 100000;

void BM_ReadArchiveIndex100000Entries(benchmark::State& state) {
    std::vector<orv::ArchiveEntryInput> entries;
    entries.reserve(kIndexEntries);
    for (int i = 0; i < kIndexEntries; ++i) {
        entries.push_back({"picture_" + std::to_string(i), orv::Bytes{1, 2, 3, 4}});
    }
    orv::Bytes archive;
    orv::BuildArchive(orv::IndexForm::B, 32, entries, archive);
    std::string pattern = (std::filesystem::temp_directory_path() / "orvell-growth-XXXXXX").string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        state.SkipWithError("no temporary file");
        return;
    }
    ::close(fd);
    std::filesystem::path path = pattern;
    orv::WriteFileAtomic(path, archive);
    orv::ArchiveIndex index;
    for (auto _ : state) {
        bool ok = orv::ReadIndexFile(path, orv::IndexForm::B, index);
        benchmark::DoNotOptimize(ok);
    }
    state.counters["entries"] = static_cast<double>(index.Count);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadArchiveIndex100000Entries)->Unit(benchmark::kMillisecond);

// A script of ordinary lines (text, commands, a colon in dialogue now and then) with its
// labels spread through it, the one searched for last.
std::string LargeScript(size_t bytes) {
    std::string script;
    script.reserve(bytes + 64);
    for (int line = 0; script.size() < bytes; ++line) {
        if (line % 40 == 0) {
            script += ":label" + std::to_string(line);
        } else if (line % 7 == 0) {
            script += "*spr B001:B102:1";
        } else {
            script += "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8 text of the page, line " + std::to_string(line);
        }
        script.push_back('\0');
    }
    script += ":the_end";
    script.push_back('\0');
    script += "end";
    script.push_back('\0');
    return script;
}

void BM_JumpToLabelAtTheEndOf256KScript(benchmark::State& state) {
    const std::string script = LargeScript(256 * 1024);
    for (auto _ : state) {
        int32_t pos = orv::FindLabel(script, "THE_END");
        benchmark::DoNotOptimize(pos);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_JumpToLabelAtTheEndOf256KScript)->Unit(benchmark::kMicrosecond);

} // namespace
