// The save list's rows, selection, sorting and buttons.
#include "dialogs/save_list.h"

#include "base/cp932.h"

#include <algorithm>
#include <cstdio>

namespace orv {

namespace {

// "セーブ", "ロード"
constexpr std::string_view kSaveText = "\x83\x5a\x81\x5b\x83\x75";
constexpr std::string_view kLoadText = "\x83\x8d\x81\x5b\x83\x68";
// " 未登録": the date column of a slot without a file.
constexpr std::string_view kEmptyDate = "\x20\x96\xa2\x93\x6f\x98\x5e";

// A filled list shows an empty slot's detail and comment as one blank each; a deleted slot's
// row shows them empty.
void ShowEmpty(SaveListRow& row, std::string_view detail, std::string_view comment) {
    row.Used = false;
    row.Columns[save_list_column::Date] = std::string(kEmptyDate);
    row.Columns[save_list_column::Detail] = std::string(detail);
    row.Columns[save_list_column::Comment] = std::string(comment);
}

} // namespace

std::string_view SaveListModel::ModeText() const {
    return Saving() ? kSaveText : kLoadText;
}

SaveListRow SaveListModel::RowOf(int32_t slot) const {
    SaveListRow row;
    row.Slot = slot;
    char caption[16];
    std::snprintf(caption, sizeof caption, "%02d", static_cast<int>(slot));
    row.Columns[save_list_column::Slot] = caption;
    std::optional<SlotSummary> summary = m_slots.ReadSlotSummary(slot);
    if (!summary) {
        ShowEmpty(row, " ", " ");
        return row;
    }
    row.Used = true;
    row.Columns[save_list_column::Date] = std::move(summary->Date);
    row.Columns[save_list_column::Detail] = std::move(summary->Detail);
    row.Columns[save_list_column::Comment] = std::move(summary->Comment);
    return row;
}

void SaveListModel::Fill(int32_t mode) {
    m_mode = mode == save_list_mode::Save ? save_list_mode::Save : save_list_mode::Load;
    int32_t last = Saving() ? kLastSaveSlot : kLastLoadSlot;
    m_rows.clear();
    m_rows.reserve(static_cast<size_t>(last));
    for (int32_t slot = 1; slot <= last; ++slot) {
        m_rows.push_back(RowOf(slot));
    }
    // The rows come in slot order whatever the last showing sorted them by; the sort state
    // stays for the next header click.
    m_sorted = false;
    m_selectedSlot = 0;
    m_comment.clear();
    Select(std::clamp(m_memory.LastRow, 0, RowCount() - 1));
}

int SaveListModel::RowOfSlot(int32_t slot) const {
    auto found = std::find_if(m_rows.begin(), m_rows.end(),
                              [slot](const SaveListRow& row) { return row.Slot == slot; });
    return found == m_rows.end() ? -1 : static_cast<int>(found - m_rows.begin());
}

int SaveListModel::SelectedRow() const {
    return m_selectedSlot == 0 ? -1 : RowOfSlot(m_selectedSlot);
}

SaveListRow* SaveListModel::Selected() {
    int row = SelectedRow();
    return row < 0 ? nullptr : &m_rows[static_cast<size_t>(row)];
}

const SaveListRow* SaveListModel::Selected() const {
    int row = SelectedRow();
    return row < 0 ? nullptr : &m_rows[static_cast<size_t>(row)];
}

void SaveListModel::Select(int row) {
    if (row < 0 || row >= RowCount()) {
        // What the player typed stays in the edit for the next row.
        m_selectedSlot = 0;
        return;
    }
    const SaveListRow& selected = m_rows[static_cast<size_t>(row)];
    m_memory.LastRow = row;
    m_selectedSlot = selected.Slot;
    m_comment = selected.Used ? selected.Text(save_list_column::Comment) : std::string();
}

bool SaveListModel::CommentEnabled() const {
    const SaveListRow* row = Selected();
    return row && row->Used;
}

bool SaveListModel::CanActivate() const {
    const SaveListRow* row = Selected();
    return row && (Saving() || row->Used);
}

SaveListActivation SaveListModel::Activate() {
    if (!CanActivate()) {
        return SaveListActivation::None;
    }
    int32_t slot = m_selectedSlot;
    if (Saving()) {
        // A failed save left the slot's old file in place: its comment stays too.
        if (!m_slots.SaveSlot(slot)) {
            return SaveListActivation::Failed;
        }
        m_slots.SetSaveComment(slot, SaveSlots::StoredComment(m_comment));
        return SaveListActivation::Succeeded;
    }
    return m_slots.LoadSlot(slot) ? SaveListActivation::Succeeded : SaveListActivation::Failed;
}

bool SaveListModel::StoreComment() {
    SaveListRow* row = Selected();
    if (!row || !row->Used) {
        return false;
    }
    std::string stored(SaveSlots::StoredComment(m_comment));
    if (!m_slots.SetSaveComment(row->Slot, stored)) {
        return false;
    }
    row->Columns[save_list_column::Comment] = std::move(stored);
    return true;
}

bool SaveListModel::DeleteSelected() {
    SaveListRow* row = Selected();
    if (!row || !m_slots.DeleteSlot(row->Slot)) {
        return false;
    }
    ShowEmpty(*row, "", "");
    return true;
}

void SaveListModel::SortBy(int column) {
    if (column < 0 || column >= save_list_column::Count) {
        return;
    }
    m_memory.SortColumn = column;
    m_memory.SortState = column == m_memory.SortState ? -1 : column;
    bool descending = m_memory.SortState == -1;
    // Letters compare without regard to case; double-byte characters byte by byte. Rows
    // with the same text (the empty slots) keep their order.
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [column, descending](const SaveListRow& a, const SaveListRow& b) {
                         std::string x = cp932::UpperCase(a.Text(column));
                         std::string y = cp932::UpperCase(b.Text(column));
                         return descending ? y < x : x < y;
                     });
    m_sorted = true;
}

} // namespace orv
