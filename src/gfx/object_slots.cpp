// `obj_`: object pictures blended over the screen one frame at a time, paced by the frame
// clock, and the batch surface that collects several of them before they are shown.
#include "gfx/object_slots.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/blend.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace orv {

namespace {

// The subcommands in the order they are matched: the first whose keyword begins the text.
enum class ObjectVerb {
    Load,
    Delete,
    Set,
    Erase,
    BatchMake,
    BatchEnd,
    BatchReset,
    BatchSet,
    BatchShow,
    Fix,
    None
};
struct VerbWord {
    std::string_view Word;
    ObjectVerb Verb;
};
constexpr VerbWord kVerbs[] = {
    {"load ", ObjectVerb::Load},         {"del ", ObjectVerb::Delete},
    {"set ", ObjectVerb::Set},           {"era ", ObjectVerb::Erase},
    {"b_make", ObjectVerb::BatchMake},   {"b_end", ObjectVerb::BatchEnd},
    {"b_reset", ObjectVerb::BatchReset}, {"b_set ", ObjectVerb::BatchSet},
    {"b_show", ObjectVerb::BatchShow},   {"fix", ObjectVerb::Fix},
};

bool StartsWithNoCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) {
            return false;
        }
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Fields after the keyword: each begins after the next comma or blank (a comma with blanks
// around it is one separator).
using Fields = std::array<std::string_view, 4>;
Fields ReadFields(std::string_view text) {
    Fields fields{};
    size_t i = 0;
    auto skipSeparator = [&] {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        if (i < text.size() && text[i] == ',') {
            ++i;
        }
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
    };
    skipSeparator();
    for (size_t n = 0; n < fields.size() && i < text.size(); ++n) {
        size_t start = i;
        while (i < text.size() && text[i] != ',' && !IsBlank(text[i])) {
            i += cp932::CharLength(text, i);
        }
        fields[n] = text.substr(start, std::min(i, text.size()) - start);
        skipSeparator();
    }
    return fields;
}

} // namespace

void BlendObject(ObjectSlots::Slot& slot) {
    Surface& work = slot.Work;
    int groups = work.RowBytes() / 8;
    for (int y = 0; y < work.Height(); ++y) {
        MaskBlendRow(work.Row(y), slot.Picture.Row(y), work.Row(y),
                     slot.Picture.Row(y + work.Height()), groups);
    }
}

void Graphics::ObjectControl(std::string_view argument) {
    ObjectVerb verb = ObjectVerb::None;
    for (const VerbWord& word : kVerbs) {
        if (StartsWithNoCase(argument, word.Word)) {
            verb = word.Verb;
            argument.remove_prefix(word.Word.size());
            break;
        }
    }
    Fields fields = ReadFields(argument);
    auto number = [&](int n) {
        return fields[static_cast<size_t>(n)].empty()
                   ? 0
                   : m_engine.dispatcher.Evaluate(fields[static_cast<size_t>(n)]);
    };
    ObjectSlots& objects = m_objects;
    // The background under an object at (x, y) into its work surface, black where the
    // object reaches past `from`.
    auto takeBackground = [](ObjectSlots::Slot& slot, const Surface& from, int x, int y) {
        Surface& work = slot.Work;
        if (x < 0 || y < 0 || x + work.Width() > from.Width() ||
            y + work.Height() > from.Height()) {
            work.Fill(0);
        }
        work.CopyFrom(from, Rect{x, y, work.Width(), work.Height()}, 0, 0);
    };
    auto present = [this](const Surface& source, int x, int y) {
        Rect from{0, 0, source.Width(), source.Height()};
        if (ClipBlit(source, m_paintBox, from, x, y)) {
            Present(source, from, x, y);
        }
    };
    switch (verb) {
    case ObjectVerb::Load: {
        ObjectSlots::Slot* slot = objects.At(number(0));
        if (!slot) {
            return;
        }
        slot->Loaded = true;
        m_pictures.LoadPicture(fields[1], slot->Picture);
        // Sized after the picture in either case, so that the two always fit each other.
        slot->Work.SetSize(slot->Picture.Width(), slot->Picture.Height() / 2);
        return;
    }
    case ObjectVerb::Delete:
        if (ObjectSlots::Slot* slot = objects.At(number(0))) {
            *slot = ObjectSlots::Slot();
        }
        return;
    case ObjectVerb::Set:
    case ObjectVerb::Fix:
    case ObjectVerb::Erase: {
        StartFrameClock();
        int x = number(1), y = number(2);
        if (ObjectSlots::Slot* slot = objects.Loaded(number(0))) {
            takeBackground(*slot, BackBuffer, x, y);
            // `era` shows the background alone: the object taken off the screen.
            if (verb != ObjectVerb::Erase) {
                BlendObject(*slot);
            }
            present(slot->Work, x, y);
            if (verb == ObjectVerb::Fix) {
                BackBuffer.CopyFrom(slot->Work, Rect{0, 0, slot->Work.Width(), slot->Work.Height()},
                                    x, y);
            }
        }
        if (int32_t wait = number(3); wait != 0) {
            WaitFrames(wait);
        }
        return;
    }
    case ObjectVerb::BatchMake:
        if (objects.BatchMode) {
            return;
        }
        if (std::string_view name = fields[0];
            !name.empty() && m_pictures.LoadPicture(name, m_loaded)) {
            // The picture never changes the screen's size: it lies at the top left, black
            // around it.
            BackBuffer.Fill(0);
            BackBuffer.CopyFrom(m_loaded, Rect{0, 0, m_loaded.Width(), m_loaded.Height()}, 0, 0);
        }
        objects.Batch.SetSize(kScreenWidth, kScreenHeight);
        objects.Batch.Fill(0);
        objects.BatchMode = true;
        StartFrameClock();
        return;
    case ObjectVerb::BatchReset:
        if (objects.BatchMode) {
            StartFrameClock();
            objects.Batch.CopyFrom(BackBuffer, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        }
        return;
    case ObjectVerb::BatchSet:
        if (ObjectSlots::Slot* slot = objects.Loaded(number(0)); slot && objects.BatchMode) {
            int x = number(1), y = number(2);
            takeBackground(*slot, objects.Batch, x, y);
            BlendObject(*slot);
            objects.Batch.CopyFrom(slot->Work, Rect{0, 0, slot->Work.Width(), slot->Work.Height()},
                                   x, y);
        }
        return;
    case ObjectVerb::BatchShow:
        if (objects.BatchMode) {
            PresentWhole(objects.Batch);
        }
        return;
    case ObjectVerb::BatchEnd:
        if (objects.BatchMode) {
            BackBuffer.CopyFrom(objects.Batch, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
            objects.BatchMode = false;
        }
        return;
    case ObjectVerb::None:
        return;
    }
}

} // namespace orv
