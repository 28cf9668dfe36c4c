#pragma once
// An archive opened for the tools: its index as the engine reads it, plus the entry names
// exactly as stored (the engine's index keeps them upper-cased; extraction keeps the case).

#include "data/archive_index.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orv::tool {

struct OpenedArchive {
    std::filesystem::path Path;
    IndexForm Form = IndexForm::A;
    bool FormDetected = false;
    ArchiveIndex Index;
    std::vector<std::string> StoredNames; // parallel to Index.Names
};

// Reads the index of `path` in `form`, or in the form its first bytes suggest. False with
// `error` naming the file and the problem when it cannot be read or the index is damaged.
bool OpenArchive(const std::filesystem::path& path, std::optional<IndexForm> form,
                 OpenedArchive& out, std::string& error);

} // namespace orv::tool
