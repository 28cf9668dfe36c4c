#pragma once
// The save list: the slots as rows (caption, date, detail, comment), the selected row and
// the sort order that the dialog keeps for the whole run, the comment being typed, and what
// the dialog's buttons do to the slot files. The desktop's TForm9 and the headless run only
// show this and pass the player's actions on. Texts are code page 932.

#include "save/save_slots.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// What the save list does to the slot files. SaveSlots in the game (SaveSlotsForList);
// tests put their own behind it.
class SaveListSlots {
public:
    virtual ~SaveListSlots() = default;
    // Nothing for an empty slot.
    virtual std::optional<SlotSummary> ReadSlotSummary(int32_t slot) const = 0;
    // Quietly, as the list saves and loads: no banner, no sound.
    virtual bool SaveSlot(int32_t slot) = 0;
    virtual bool LoadSlot(int32_t slot) = 0;
    virtual bool SetSaveComment(int32_t slot, std::string_view comment) = 0;
    virtual bool DeleteSlot(int32_t slot) = 0;
};

class SaveSlotsForList : public SaveListSlots {
public:
    explicit SaveSlotsForList(SaveSlots& saves) : m_saves(saves) {}
    std::optional<SlotSummary> ReadSlotSummary(int32_t slot) const override {
        return m_saves.ReadSlotSummary(slot);
    }
    bool SaveSlot(int32_t slot) override { return m_saves.SaveSlot(slot, true); }
    bool LoadSlot(int32_t slot) override { return m_saves.LoadSlot(slot, true); }
    bool SetSaveComment(int32_t slot, std::string_view comment) override {
        return m_saves.SetSaveComment(slot, comment);
    }
    bool DeleteSlot(int32_t slot) override { return m_saves.DeleteSlot(slot); }

private:
    SaveSlots& m_saves;
};

// The form's Tag.
namespace save_list_mode {
constexpr int32_t Load = 0;
constexpr int32_t Save = 1;
} // namespace save_list_mode

namespace save_list_column {
constexpr int Slot = 0; // the caption, "%02d"
constexpr int Date = 1;
constexpr int Detail = 2;
constexpr int Comment = 3;
constexpr int Count = 4;
} // namespace save_list_column

// Kept from one showing to the next for the whole run, never saved.
struct SaveListMemory {
    int32_t LastRow = 0;
    int32_t SortColumn = 0;
    // The column sorted ascending by the last header click; -1 while the order is descending.
    int32_t SortState = -1;
};

struct SaveListRow {
    int32_t Slot = 0;
    bool Used = false;
    std::array<std::string, save_list_column::Count> Columns;

    const std::string& Text(int column) const { return Columns[static_cast<size_t>(column)]; }
};

// What Button1 (a double click, Enter on the list) came to.
enum class SaveListActivation {
    None,      // nothing to do for the selection: the dialog stays open
    Succeeded, // saved or loaded; the dialog closes
    Failed,    // the save or load failed (the player has been told); the dialog closes
};

class SaveListModel {
public:
    static constexpr int32_t kLastSaveSlot = 98;
    static constexpr int32_t kLastLoadSlot = SaveSlots::kLastSlot;

    // `files` and `memory` outlive the model. (Not named `slots`: Qt defines that word.)
    SaveListModel(SaveListSlots& files, SaveListMemory& memory)
        : m_slots(files), m_memory(memory) {}

    // The dialog is shown: the rows of the mode in slot order, then row LastRow selected.
    void Fill(int32_t mode);

    int32_t Mode() const { return m_mode; }
    bool Saving() const { return m_mode == save_list_mode::Save; }
    // The caption, Label1 and Button1: "セーブ" or "ロード".
    std::string_view ModeText() const;

    const std::vector<SaveListRow>& Rows() const { return m_rows; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // The row that shows `slot` now, or -1.
    int RowOfSlot(int32_t slot) const;

    // The selected row, or -1. The selection stays with its slot when the rows are sorted.
    int SelectedRow() const;
    // The selection update: LastRow, Edit1 and Button3 follow the row; -1 selects nothing
    // and keeps LastRow.
    void Select(int row);
    // Edit1.
    const std::string& CommentText() const { return m_comment; }
    void SetCommentText(std::string_view text) { m_comment = std::string(text); }
    // Button3: a used slot is selected.
    bool CommentEnabled() const;
    // Whether Button1 would act: a row is selected, and in load mode it is a used slot.
    bool CanActivate() const;

    // Button1: saves into the selected slot with Edit1's comment, or loads it.
    SaveListActivation Activate();
    // Button3: stores Edit1's comment in the selected (used) slot and shows it; false when
    // nothing was stored.
    bool StoreComment();
    // Button2: deletes the selected slot's file, without asking; its row then shows an
    // empty slot. False when the slot still exists.
    bool DeleteSelected();
    // A click on column `column`'s header.
    void SortBy(int column);
    // Whether the rows are sorted in this showing, and how: for the header's indicator.
    bool Sorted() const { return m_sorted; }
    bool SortedAscending() const { return m_memory.SortState != -1; }

    const SaveListMemory& Memory() const { return m_memory; }

private:
    SaveListRow RowOf(int32_t slot) const;
    SaveListRow* Selected();
    const SaveListRow* Selected() const;

    SaveListSlots& m_slots;
    SaveListMemory& m_memory;
    int32_t m_mode = save_list_mode::Load;
    std::vector<SaveListRow> m_rows;
    int32_t m_selectedSlot = 0; // 0: none
    std::string m_comment;
    bool m_sorted = false;
};

} // namespace orv
