// Each archive of the game directory is read by the same readers the engine uses: indexes by
// ParseIndex, scripts into a TextBuffer's limit, pictures by the GRA and JPEG decoders. Every
// entry is read on its own, so that one broken archive or picture never hides the others.
#include "check/game_check.h"

#include "base/cp932.h"
#include "data/archive_index.h"
#include "data/archives.h"
#include "data/game_config.h"
#include "data/text_buffer.h"
#include "gfx/gra_decoder.h"
#include "gfx/jpeg_decoder.h"
#include "gfx/surface.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <system_error>
#include <vector>

namespace orv {

namespace fs = std::filesystem;

namespace {

enum class ArchiveKind { Text, GraPictures, JpegPictures, Other };

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

bool IsArchiveName(std::string_view lower) {
    return lower.size() > 7 && lower.starts_with("ov_") && lower.ends_with(".orv");
}

ArchiveKind KindOf(std::string_view lower) {
    if (lower == "ov_data.orv" || lower == "ov_data2.orv") {
        return ArchiveKind::Text;
    }
    if (lower == "ov_gjp.orv") {
        return ArchiveKind::JpegPictures;
    }
    // ov_gra.orv and its numbered slots ov_gra2.orv, ov_gra3.orv.
    if (lower.starts_with("ov_gra")) {
        return ArchiveKind::GraPictures;
    }
    return ArchiveKind::Other;
}

class GameChecker {
public:
    GameChecker(const fs::path& directory, CheckReport& report)
        : m_directory(directory), m_archives(directory), m_report(report) {}

    CheckSummary Run() {
        std::vector<std::string> names;
        if (!ListFiles(names)) {
            return m_summary;
        }
        CheckCaseTwins(names);
        CheckStartUpArchives(names);
        for (const std::string& name : names) {
            if (IsArchiveName(LowerAscii(name))) {
                CheckArchive(name);
            }
        }
        if (m_dataPresent && !m_sawMain) {
            Problem("no script is called main in ov_data.orv or ov_data2.orv: the game has "
                    "nothing to start with");
        }
        return m_summary;
    }

private:
    void Problem(const std::string& line) {
        ++m_summary.Problems;
        m_report.Problem(line);
    }

    bool ListFiles(std::vector<std::string>& names) {
        std::error_code ec;
        fs::directory_iterator it(m_directory, ec);
        if (ec) {
            Problem(m_directory.string() + " cannot be read as a directory: " + ec.message());
            return false;
        }
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec) {
                Problem(m_directory.string() + " could not be listed to its end: " +
                        ec.message());
                break;
            }
            std::error_code typeError;
            if (it->is_regular_file(typeError)) {
                names.push_back(it->path().filename().string());
            }
        }
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            std::string la = LowerAscii(a), lb = LowerAscii(b);
            return la != lb ? la < lb : a < b;
        });
        return true;
    }

    // The engine opens its files without regard to case, so of two such files it takes
    // whichever the directory lists first.
    void CheckCaseTwins(const std::vector<std::string>& names) {
        std::map<std::string, std::vector<std::string>> byLower;
        for (const std::string& name : names) {
            byLower[LowerAscii(name)].push_back(name);
        }
        for (const auto& [lower, twins] : byLower) {
            if (twins.size() < 2) {
                continue;
            }
            std::string line;
            for (const std::string& twin : twins) {
                line += (line.empty() ? "" : " and ") + twin;
            }
            Problem(line + " differ only in case: the game may open either of them");
        }
    }

    void CheckStartUpArchives(const std::vector<std::string>& names) {
        auto present = [&](std::string_view wanted) {
            return std::any_of(names.begin(), names.end(),
                               [&](const std::string& name) { return LowerAscii(name) == wanted; });
        };
        if (!present("ov_data.orv")) {
            Problem("ov_data.orv is missing: it holds the scripts, and the game cannot start "
                    "without it");
            return;
        }
        m_dataPresent = true;
        if (!present("ov_gra.orv")) {
            Problem("ov_gra.orv is missing: it holds the pictures, and the game cannot start "
                    "without it");
        }
    }

    void CheckArchive(const std::string& name) {
        std::string lower = LowerAscii(name);
        ArchiveKind kind = KindOf(lower);
        IndexForm form = kind == ArchiveKind::Text ? IndexForm::A : IndexForm::B;
        ArchiveIndex index;
        std::string problem;
        ++m_summary.Archives;
        if (!ReadIndexFile(m_directory / name, form, index, &problem)) {
            Problem(name + ": " +
                    (problem.empty() ? std::string("cannot be read")
                                     : "the index does not fit the file: " + problem));
            return;
        }
        for (size_t pos = 0; pos < index.Names.size(); ++pos) {
            m_report.Progress(name, pos + 1, index.Names.size());
            ++m_summary.Entries;
            CheckEntry(name, kind, index, pos);
        }
    }

    void CheckEntry(const std::string& archive, ArchiveKind kind, const ArchiveIndex& index,
                    size_t pos) {
        std::string entry = archive + ": " + cp932::ToUtf8(index.Names[pos]);
        if (!index.EntryInFile(pos)) {
            Problem(entry + " reaches past the end of the archive (" +
                    std::to_string(index.Offsets[pos]) + " + " + std::to_string(index.Sizes[pos]) +
                    " bytes of " + std::to_string(index.FileSize) + ")");
            return;
        }
        if (kind == ArchiveKind::Other) {
            return;
        }
        if (kind == ArchiveKind::Text) {
            ++m_summary.Scripts;
            if (index.Names[pos] == "MAIN") {
                m_sawMain = true;
            }
            if (index.Sizes[pos] > static_cast<uint32_t>(TextBuffer::Capacity)) {
                Problem(entry + " is " + std::to_string(index.Sizes[pos]) +
                        " bytes long, more than the " + std::to_string(TextBuffer::Capacity) +
                        " bytes a script may have: it will not load");
                return;
            }
        } else {
            ++m_summary.Pictures;
        }
        if (!m_archives.ReadEntry(index, static_cast<int>(pos), m_entry)) {
            Problem(entry + " cannot be read from the archive");
            return;
        }
        if (kind == ArchiveKind::Text) {
            CheckConfiguration(entry, index.Names[pos]);
        } else {
            CheckPicture(entry, kind);
        }
    }

    void CheckConfiguration(const std::string& entry, std::string_view upperName) {
        if (upperName != "_CONFIG") {
            return;
        }
        NegateBytes(m_entry.data(), m_entry.size());
        GameConfig config;
        std::string_view text(reinterpret_cast<const char*>(m_entry.data()), m_entry.size());
        if (auto error = ParseGameConfig(text, config)) {
            Problem(entry + " line " + std::to_string(error->Line) + ": " +
                    cp932::ToUtf8(error->Key) + " needs a number, not \"" +
                    cp932::ToUtf8(error->Value) + "\"; the game ignores the lines after it");
        }
    }

    void CheckPicture(const std::string& entry, ArchiveKind kind) {
        bool complete = false;
        bool refused = false;
        if (kind == ArchiveKind::GraPictures) {
            GraStatus status = m_gra.Decode(m_entry, m_picture);
            complete = status == GraStatus::Complete;
            refused = status == GraStatus::Refused;
        } else {
            JpegStatus status = DecodeJpegPicture(m_entry, m_picture);
            complete = status == JpegStatus::Complete;
            refused = status == JpegStatus::Refused;
        }
        if (!complete) {
            Problem(entry + " is a picture that will not decode: " +
                    (refused ? "its header is missing or asks for an impossible size"
                             : "its data is damaged"));
        }
    }

    fs::path m_directory;
    Archives m_archives;
    CheckReport& m_report;
    CheckSummary m_summary;
    GraDecoder m_gra;
    Surface m_picture;
    Bytes m_entry;
    bool m_dataPresent = false;
    bool m_sawMain = false;
};

std::string Count(size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

} // namespace

CheckSummary CheckGame(const fs::path& gameDirectory, CheckReport& report) {
    return GameChecker(gameDirectory, report).Run();
}

std::string SummaryLine(const CheckSummary& summary) {
    std::string line = Count(summary.Archives, "archive", "archives") + ", " +
                       Count(summary.Entries, "entry", "entries") + " (" +
                       Count(summary.Scripts, "script", "scripts") + ", " +
                       Count(summary.Pictures, "picture", "pictures") + "): ";
    if (summary.LooksPlayable()) {
        return line + "no problems, the game looks playable";
    }
    return line + Count(summary.Problems, "problem", "problems") + ", the game may not play";
}

} // namespace orv
