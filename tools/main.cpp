// orvtool: looks inside and rebuilds the game data archives, scripts, pictures and sounds.
#include "tool_common.h"
#include "verbs.h"

#include <cstdio>
#include <span>
#include <string_view>

namespace {

constexpr std::string_view kUsage =
    "Usage: orvtool VERB [ARGUMENTS]\n"
    "Looks inside and rebuilds game data archives (ov_*.orv), scripts, pictures and sounds,\n"
    "and shows what saved games and the global data hold.\n"
    "\n"
    "Verbs:\n"
    "  list ARCHIVE                 show the index form and the entries of an archive\n"
    "  extract ARCHIVE [NAME...] -o DIR\n"
    "                               write entries (all, or the named ones) into DIR\n"
    "  pack --form a|b -o ARCHIVE FILE...\n"
    "                               build an archive from files\n"
    "  script encode IN.txt OUT     UTF-8 script text to stored lines (Shift-JIS, NUL-ended)\n"
    "  script decode IN OUT.txt     stored lines back to UTF-8 text\n"
    "  gra decode IN OUT.png        a GRA picture to PNG\n"
    "  gra encode [--rle] [--delta] [--fast] [--mask side|stacked] IN.png OUT\n"
    "                               a PNG to a GRA picture\n"
    "  gra info IN                  the header of a GRA picture\n"
    "  wady decode IN OUT.wav       a WADY sound (either codec) to a 16-bit WAV\n"
    "  wady encode --packed|--stream [--loop SAMPLE] [--block FRAMES] IN.wav OUT\n"
    "                               a 16-bit WAV to a WADY sound, with the coding error\n"
    "  wady info IN                 the header of a WADY sound\n"
    "  config check FILE|--archive ARCHIVE\n"
    "                               show what a game configuration sets, and its first error\n"
    "  ogg info IN                  channels, rate and playable length of an Ogg Vorbis voice\n"
    "  ogg encode [--quality Q] IN.wav OUT.ogg\n"
    "                               a 16-bit PCM WAV file to an Ogg Vorbis voice\n"
    "  save info [--thumbnail OUT.png] FILE\n"
    "                               what a saved game holds (save/saveNN.dat)\n"
    "  global info [--recollection] FILE\n"
    "                               the global data: save0.dat, or kaiso.dat's record slots\n"
    "\n"
    "'orvtool VERB --help' shows the options of a verb.\n"
    "Exit status: 0 done, 1 the data could not be read, converted or written, 2 bad usage.\n";

struct Verb {
    std::string_view Name;
    int (*Run)(std::span<char* const>);
};

constexpr Verb kVerbs[] = {
    {"list", orv::tool::RunList},
    {"extract", orv::tool::RunExtract},
    {"pack", orv::tool::RunPack},
    {"script", orv::tool::RunScript},
    {"gra", orv::tool::RunGra},
    {"config", orv::tool::RunConfig},
    {"wady", orv::tool::RunWady},
    {"ogg", orv::tool::RunOgg},
    {"save", orv::tool::RunSave},
    {"global", orv::tool::RunGlobal},
};

} // namespace

int main(int argc, char** argv) {
    std::span<char* const> args(argv + 1, argc > 0 ? static_cast<size_t>(argc - 1) : 0);
    if (args.empty()) {
        std::fputs(kUsage.data(), stderr);
        return orv::tool::kExitUsage;
    }
    std::string_view verb = args[0];
    if (verb == "-h" || verb == "--help" || verb == "help") {
        return orv::tool::PrintUsage(kUsage);
    }
    for (const auto& candidate : kVerbs) {
        if (candidate.Name == verb) {
            return candidate.Run(args.subspan(1));
        }
    }
    return orv::tool::UsageError("", "unknown verb '" + std::string(verb) + "'");
}
