// Writes the pictures of a play-test game as PNG files, from a list that describes each one
// by its size and colours; the play-test driver then turns them into GRA pictures with
// orvtool, as game data is made.
//
//   play_picture_maker LIST OUTDIR
//
// LIST has one command a line; blank lines and lines starting with '#' are skipped:
//   NAME WIDTH HEIGHT RRGGBB       a picture of one colour, written as OUTDIR/NAME.png
//   + X Y WIDTH HEIGHT RRGGBB      a rectangle of another colour over the last picture
//   include FILE                   the commands of another list (relative to this one)
#include "gfx/surface.h"
#include "headless/png_writer.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

struct Picture {
    std::string Name;
    orv::Surface Pixels;
};

bool ParseColour(const std::string& text, uint32_t& bgr) {
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    uint32_t rgb = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
    bgr = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
    return true;
}

bool Write(const Picture& picture, const std::string& outDirectory) {
    if (picture.Name.empty()) {
        return true;
    }
    std::string error = orv::WritePng(outDirectory + "/" + picture.Name + ".png", picture.Pixels);
    if (!error.empty()) {
        std::cerr << "play_picture_maker: " << error << '\n';
        return false;
    }
    return true;
}

// Runs the commands of one list; false after reporting a problem.
bool RunList(const std::filesystem::path& list, const std::string& outDirectory, Picture& current,
             int depth) {
    std::ifstream in(list);
    if (!in || depth > 8) {
        std::cerr << "play_picture_maker: cannot read " << list.string() << '\n';
        return false;
    }
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        auto fail = [&](const std::string& message) {
            std::cerr << "play_picture_maker: " << list.string() << ":" << line << ": " << message
                      << '\n';
            return false;
        };
        std::istringstream fields(text);
        std::string first;
        if (!(fields >> first) || first.front() == '#') {
            continue;
        }
        int x = 0, y = 0, width = 0, height = 0;
        std::string colour;
        uint32_t bgr = 0;
        if (first == "include") {
            std::string name;
            if (!(fields >> name)) {
                return fail("expected include FILE");
            }
            if (!RunList(list.parent_path() / name, outDirectory, current, depth + 1)) {
                return false;
            }
            continue;
        }
        if (first == "+") {
            if (!(fields >> x >> y >> width >> height >> colour) || !ParseColour(colour, bgr)) {
                return fail("expected + X Y WIDTH HEIGHT RRGGBB");
            }
            if (current.Name.empty()) {
                return fail("a rectangle needs a picture before it");
            }
            for (int row = y; row < y + height; ++row) {
                for (int column = x; column < x + width; ++column) {
                    current.Pixels.SetPixel(column, row, bgr);
                }
            }
            continue;
        }
        if (!(fields >> width >> height >> colour) || !ParseColour(colour, bgr) || width <= 0 ||
            height <= 0 || width > 4096 || height > 4096) {
            return fail("expected NAME WIDTH HEIGHT RRGGBB");
        }
        if (!Write(current, outDirectory)) {
            return false;
        }
        current.Name = first;
        current.Pixels.Allocate(width, height);
        current.Pixels.Fill(bgr);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Usage: play_picture_maker LIST OUTDIR\n";
        return 2;
    }
    Picture current;
    return RunList(argv[1], argv[2], current, 0) && Write(current, argv[2]) ? 0 : 1;
}
