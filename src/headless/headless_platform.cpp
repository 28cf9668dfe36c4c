#include "headless/headless_platform.h"

#include "base/cp932.h"
#include "base/files.h"
#include "dialogs/name_entry.h"
#include "dialogs/save_list.h"
#include "dialogs/settings_dialog.h"
#include "engine/engine.h"
#include "platform/first_frame_exit.h"
#include "sound/mixer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace orv {

namespace {

// Where PB sits in a window of the default size: inside the 4-pixel frame, below the caption
// and the menu bar.
constexpr Point kPaintBoxOffset{4, 42};

std::time_t AsUtcSeconds(std::tm fields) {
    return ::timegm(&fields);
}

} // namespace

HeadlessPlatform::HeadlessPlatform(std::ostream& log, std::optional<std::tm> startTime)
    : m_log(log) {
    if (startTime) {
        m_startTime = AsUtcSeconds(*startTime);
    } else {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        ::localtime_r(&now, &local);
        m_startTime = AsUtcSeconds(local);
    }
}

void HeadlessPlatform::AdvanceTo(uint64_t ms) {
    m_now = std::max(m_now, ms);
    MixDueFrames();
}

namespace {

uint64_t FramesDueAt(uint64_t ms) {
    return ms * kMixRate / 1000;
}

} // namespace

bool HeadlessPlatform::StartAudio(Mixer& mixer) {
    m_mixer = &mixer;
    return true;
}

void HeadlessPlatform::MixDueFrames() {
    uint64_t due = FramesDueAt(m_now);
    if (!m_mixer && !m_keepWholeMix) {
        // Silence older than the minute that is kept needs no writing: a clock set ahead by
        // days costs nothing.
        m_framesMixed = std::max(m_framesMixed, due - std::min<uint64_t>(due, kRecentMixFrames));
    }
    if (m_mixer && !m_mixHeard) {
        if (due > m_framesMixed) {
            m_mixer->Advance(static_cast<size_t>(due - m_framesMixed));
            m_framesMixed = due;
        }
        return;
    }
    while (m_framesMixed < due) {
        size_t frames =
            static_cast<size_t>(std::min<uint64_t>(kMixBufferFrames, due - m_framesMixed));
        std::span<int16_t> buffer = std::span(m_mixBuffer).first(2 * frames);
        if (m_mixer) {
            m_mixer->Mix(buffer);
        } else {
            std::fill(buffer.begin(), buffer.end(), int16_t{0});
        }
        Keep(buffer);
        m_framesMixed += frames;
    }
}

void HeadlessPlatform::Keep(std::span<const int16_t> samples) {
    if (m_keepWholeMix) {
        // What a WAV file cannot hold is not kept either.
        size_t room = 2 * kMaxWavFrames - std::min(m_wholeMix.size(), 2 * kMaxWavFrames);
        samples = samples.first(std::min(samples.size(), room));
        m_wholeMix.insert(m_wholeMix.end(), samples.begin(), samples.end());
        return;
    }
    if (!m_recentMix) {
        m_recentMix = std::make_unique_for_overwrite<int16_t[]>(2 * kRecentMixFrames);
    }
    size_t at = static_cast<size_t>(m_framesMixed % kRecentMixFrames);
    while (!samples.empty()) {
        size_t count = std::min(samples.size(), 2 * (kRecentMixFrames - at));
        std::copy_n(samples.begin(), count, m_recentMix.get() + 2 * at);
        samples = samples.subspan(count);
        at = 0;
    }
}

int32_t HeadlessPlatform::PeakOfLastMs(uint64_t ms) const {
    uint64_t frames = m_framesMixed - FramesDueAt(m_now - std::min(ms, m_now));
    int32_t peak = 0;
    auto note = [&peak](int16_t sample) { peak = std::max(peak, std::abs(int32_t{sample})); };
    if (m_keepWholeMix) {
        frames = std::min<uint64_t>(frames, m_wholeMix.size() / 2);
        std::for_each(m_wholeMix.end() - static_cast<ptrdiff_t>(2 * frames), m_wholeMix.end(),
                      note);
        return peak;
    }
    frames = std::min<uint64_t>(frames, kRecentMixFrames);
    if (!m_recentMix) {
        return 0;
    }
    for (uint64_t f = m_framesMixed - frames; f < m_framesMixed; ++f) {
        size_t at = static_cast<size_t>(f % kRecentMixFrames);
        note(m_recentMix[2 * at]);
        note(m_recentMix[2 * at + 1]);
    }
    return peak;
}

void HeadlessPlatform::DeliverDueTicks() {
    // The count moves first, so that a tick handler that pumps messages does not get the
    // same tick again.
    while (m_engine && !m_closed && m_ticksDelivered < m_now / kTickIntervalMs) {
        ++m_ticksDelivered;
        m_engine->Timer1Timer();
    }
}

void HeadlessPlatform::QueueInput(uint64_t due, std::function<void()> deliver) {
    auto after =
        std::upper_bound(m_inputs.begin(), m_inputs.end(), due,
                         [](uint64_t time, const QueuedInput& input) { return time < input.Due; });
    m_inputs.insert(after, QueuedInput{due, std::move(deliver)});
}

void HeadlessPlatform::PumpMessages() {
    // Ticks and inputs arrive in the order of their times, a tick first when both fall on
    // the same millisecond.
    while (m_engine && !m_closed) {
        uint64_t nextTick = (m_ticksDelivered + 1) * kTickIntervalMs;
        bool tickDue = nextTick <= m_now;
        bool inputDue = !m_inputs.empty() && m_inputs.front().Due <= m_now;
        if (tickDue && (!inputDue || nextTick <= m_inputs.front().Due)) {
            ++m_ticksDelivered;
            m_engine->Timer1Timer();
        } else if (inputDue) {
            // Taken off the queue before it runs: the input may pump messages itself.
            std::function<void()> deliver = std::move(m_inputs.front().Deliver);
            m_inputs.erase(m_inputs.begin());
            deliver();
        } else {
            break;
        }
    }
}

std::optional<SaveListAction> HeadlessPlatform::PopSaveListAction() {
    if (m_saveListActions.empty()) {
        return std::nullopt;
    }
    SaveListAction action = std::move(m_saveListActions.front());
    m_saveListActions.pop_front();
    return action;
}

std::tm HeadlessPlatform::LocalTime() {
    std::time_t seconds = m_startTime + static_cast<std::time_t>(m_now / 1000);
    std::tm fields{};
    ::gmtime_r(&seconds, &fields);
    return fields;
}

const Surface& HeadlessPlatform::PaintBox() const {
    if (m_engine && !m_engine->gfx.PaintBoxCopy().Empty()) {
        return m_engine->gfx.PaintBoxCopy();
    }
    return m_pb;
}

void HeadlessPlatform::Present(const Surface& source, Rect from, int x, int y) {
    // The engine keeps PB's picture itself; a copy here is only needed before it has one.
    if (&PaintBox() == &m_pb) {
        m_pb.CopyFrom(source, from, x, y);
    }
    ExitIfFirstFrameWanted();
}

void HeadlessPlatform::FillPaintBox(uint32_t bgr) {
    if (&PaintBox() == &m_pb) {
        m_pb.Fill(bgr);
    }
}

MessageBoxResult HeadlessPlatform::MessageBox(std::string_view text, std::string_view caption,
                                              MessageBoxButtons buttons, MessageBoxIcon) {
    MessageBoxResult result = MessageBoxResult::Ok;
    // Queued answers are for confirmations; a box with OK alone has nothing to choose.
    if (buttons == MessageBoxButtons::OkCancel && !m_answers.empty()) {
        result = m_answers.front();
        m_answers.pop_front();
    }
    m_messageBoxes.push_back(
        MessageBoxRecord{std::string(text), std::string(caption), buttons, result});
    m_log << "message box: " << caption << ": " << text << " -> "
          << (result == MessageBoxResult::Ok ? "OK" : "Cancel") << '\n';
    return result;
}

namespace {

std::string SlotCaption(int slot) {
    char caption[16];
    std::snprintf(caption, sizeof caption, "%02d", slot);
    return caption;
}

// Does what the player would for `action`; `line` is what it came to. True when the list
// closes.
bool ApplySaveListAction(SaveListModel& model, const SaveListAction& action, std::string& line) {
    bool saving = action.Action == SaveListAction::Kind::Save;
    line = std::string("save list: ") + (saving ? "save " : "load ") + SlotCaption(action.Slot);
    // Button1 does what the list is for: a load queued for a save list saves nothing.
    if (saving != model.Saving()) {
        line += std::string(": this list is for ") + (model.Saving() ? "saving" : "loading") +
                ", it stays open";
        return false;
    }
    int row = model.RowOfSlot(action.Slot);
    if (row < 0) {
        line += ": no such row, the list stays open";
        return false;
    }
    model.Select(row);
    if (saving) {
        if (action.Comment) {
            model.SetCommentText(cp932::FromUtf8Lenient(*action.Comment));
        }
        line += ", comment \"" +
                cp932::ToUtf8(SaveSlots::StoredComment(model.CommentText())) + '"';
    }
    switch (model.Activate()) {
    case SaveListActivation::None:
        line += ": the slot is empty, the list stays open";
        return false;
    case SaveListActivation::Succeeded:
        line += saving ? ": saved" : ": loaded";
        return true;
    case SaveListActivation::Failed:
        line += ": failed";
        return true;
    }
    return true;
}

} // namespace

void HeadlessPlatform::RunSaveList(SaveListModel& model) {
    m_log << "save list: " << cp932::ToUtf8(model.ModeText());
    int selected = model.SelectedRow();
    if (selected >= 0) {
        m_log << ", slot " << SlotCaption(model.Rows()[static_cast<size_t>(selected)].Slot)
              << " selected, comment \"" << cp932::ToUtf8(model.CommentText()) << '"';
    }
    m_log << '\n';
    for (;;) {
        std::optional<SaveListAction> action = PopSaveListAction();
        if (!action) {
            m_log << "save list: closed, no action queued\n";
            return;
        }
        if (action->Action == SaveListAction::Kind::Close) {
            m_log << "save list: closed\n";
            return;
        }
        // The line follows whatever the save or load printed itself (a failure's message box).
        std::string line;
        bool closes = ApplySaveListAction(model, *action, line);
        m_log << line << '\n';
        if (closes) {
            return;
        }
    }
}

namespace {

// One change of the settings dialog as the player makes it; `line` says what it came to.
void ApplySettingsChange(SettingsDialogModel& model, const std::string& name,
                         const std::string& value, std::string& line) {
    line = "settings: " + name;
    if (name == "Default") {
        model.DefaultTint();
        return;
    }
    if (name == "Voice") {
        model.PlaySampleVoice();
        return;
    }
    if (name == "FontName") {
        int row = model.FontRowNamed(value);
        line += " " + value;
        if (row < 0) {
            line += ": not in the font list, nothing changes";
            return;
        }
        model.ChooseFont(row);
        return;
    }
    int control = SettingsDialogModel::Find(name);
    const SettingsControl& c = SettingsDialogModel::Controls()[static_cast<size_t>(control)];
    int32_t wanted = static_cast<int32_t>(std::stol(value));
    if (c.Kind == SettingsControlKind::Slider) {
        model.Slide(control, wanted);
        model.Release(control);
    } else {
        model.Change(control, wanted);
    }
    line += " " + std::to_string(model.Value(control));
    if (!model.Shown(control)) {
        line += " (a control the dialog does not show)";
    }
}

} // namespace

void HeadlessPlatform::RunSettings(SettingsDialogModel& model) {
    model.FinishFill();
    m_log << "settings: shown, font \"" << cp932::ToUtf8(model.FontName()) << "\"\n";
    if (m_settingsActions.empty()) {
        m_log << "settings: closed, no action queued\n";
        model.Close();
        return;
    }
    SettingsChanges changes = std::move(m_settingsActions.front());
    m_settingsActions.pop_front();
    for (const auto& [name, value] : changes) {
        std::string line;
        ApplySettingsChange(model, name, value, line);
        m_log << line << '\n';
    }
    model.Close();
    m_log << "settings: closed\n";
}

void HeadlessPlatform::RunNameEntry(NameEntryModel& model) {
    static constexpr const char* kLabels[] = {"名前", "あだ名", "苗字"};
    m_log << "name entry:";
    for (int i = 0; i < NameEntryModel::kNames; ++i) {
        m_log << ' ' << kLabels[i] << " \"" << model.Edit(i) << '"';
    }
    m_log << '\n';
    while (!m_nameActions.empty()) {
        std::vector<std::string> names = std::move(m_nameActions.front());
        m_nameActions.pop_front();
        for (size_t i = 0; i < names.size(); ++i) {
            model.SetEdit(static_cast<int>(i), names[i]);
        }
        if (model.Accept() == NameEntryResult::Accepted) {
            m_log << "name entry: accepted\n";
            return;
        }
        int refused = model.RefusedName();
        m_log << "name entry: " << kLabels[refused] << " refused, the box shows \""
              << model.Edit(refused) << "\" again\n";
    }
    m_log << "name entry: closed, no action queued\n";
}

void HeadlessPlatform::RunSlotName(SlotNameModel& model) {
    m_log << "slot name: shown \"" << model.Text() << "\"\n";
    while (!m_slotNameActions.empty()) {
        std::optional<std::string> text = std::move(m_slotNameActions.front());
        m_slotNameActions.pop_front();
        if (!text) {
            model.Cancel();
            m_log << "slot name: cancelled\n";
            return;
        }
        if (!model.SetText(*text)) {
            m_log << "slot name: \"" << *text << "\" refused, code page 932 cannot hold it\n";
            continue;
        }
        model.Accept();
        m_log << "slot name: OK, \"" << cp932::ToUtf8(model.Result()) << "\"\n";
        return;
    }
    model.Cancel();
    m_log << "slot name: cancelled, no action queued\n";
}

void HeadlessPlatform::SetMenuItemEnabled(std::string_view component, bool enabled) {
    m_menuEnabled.insert_or_assign(std::string(component), enabled);
}

void HeadlessPlatform::SetMenuItemVisible(std::string_view component, bool visible) {
    m_menuVisible.insert_or_assign(std::string(component), visible);
}

std::optional<bool> HeadlessPlatform::MenuItemEnabled(std::string_view component) const {
    auto found = m_menuEnabled.find(component);
    return found == m_menuEnabled.end() ? std::nullopt : std::optional<bool>(found->second);
}

std::optional<bool> HeadlessPlatform::MenuItemVisible(std::string_view component) const {
    auto found = m_menuVisible.find(component);
    return found == m_menuVisible.end() ? std::nullopt : std::optional<bool>(found->second);
}

void HeadlessPlatform::ShowPopupMenu(std::string_view menu, int screenX, int screenY) {
    // There is nothing to choose from; the play file picks the item with `menu`.
    m_lastPopupMenu = std::string(menu);
    m_openPopupMenu = m_lastPopupMenu;
    m_lastPopupPosition = Point{screenX, screenY};
    m_log << "popup: " << menu << '\n';
}

void HeadlessPlatform::ClosePopupMenu() {
    if (!m_openPopupMenu.empty()) {
        m_log << "popup closed: " << m_openPopupMenu << '\n';
        m_openPopupMenu.clear();
    }
}

void HeadlessPlatform::CloseMainWindow() {
    if (!m_engine || m_closed || m_closing) {
        return;
    }
    m_closing = true;
    bool close = m_engine->FormCloseQuery();
    m_closing = false;
    if (close) {
        // Marked first: a destroyed window receives no more ticks or input.
        m_closed = true;
        m_engine->FormDestroy();
    }
}

bool HeadlessPlatform::SetFullScreen(bool on) {
    m_fullScreen = on;
    if (on) {
        m_windowBounds = kScreen;
    }
    return true;
}

Point HeadlessPlatform::PaintBoxOrigin() {
    if (m_fullScreen) {
        return Point{0, 0};
    }
    return Point{m_windowBounds.X + kPaintBoxOffset.X, m_windowBounds.Y + kPaintBoxOffset.Y};
}

bool HeadlessPlatform::OpenMovie(const std::string& path) {
    if (!IsRegularFile(path)) {
        return false;
    }
    m_movie = path;
    return true;
}

bool HeadlessPlatform::OpenWithDesktop(const std::string& target) {
    m_opened.push_back(target);
    m_log << "open: " << target << '\n';
    return true;
}

} // namespace orv
