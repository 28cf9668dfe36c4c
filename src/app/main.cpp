// For now the program opens a game directory and reports what it found.
#include <cstdio>
#include <string>

#include "base/files.h"
#include "data/archive_index.h"

int main(int argc, char** argv) {
    orv::fs::path dir = argc > 1 ? argv[1] : ".";
    auto data = orv::FindFileNoCase(dir, "ov_data.orv");
    if (!data) {
        std::fprintf(stderr, "orvell: no ov_data.orv in %s\n", dir.c_str());
        return 4;
    }
    orv::ArchiveIndex index;
    std::string problem;
    if (!orv::ReadIndexFile(*data, orv::IndexForm::A, index, &problem)) {
        std::fprintf(stderr, "orvell: %s: %s\n", data->c_str(), problem.c_str());
        return 4;
    }
    std::printf("%s: %u entries\n", data->c_str(), index.Count);
    return 0;
}
