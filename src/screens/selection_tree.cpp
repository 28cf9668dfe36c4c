#include "screens/selection_tree.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/blend.h"
#include "script/commands.h"

#include <algorithm>
#include <string>

namespace orv {

namespace {

constexpr int kMaxLevel = 9;
constexpr int kRowPitch = 46;
constexpr int kFirstRowY = 352;
constexpr int kTopX = 100;
constexpr int kTopWidth = 280;
constexpr int kChildX = 380;
constexpr int kChildWidth = 330;
constexpr int kColumnHeight = 230;
constexpr int kTopCentre = 230;
constexpr int kChildCentre = 560;
constexpr int kLabelOffsetY = 8;
constexpr int kLabelPitch = 12;
constexpr int kHighlightColour = 2;
constexpr int kBlinks = 8;
constexpr uint32_t kBlinkMs = 80;
// The script part of a target has to fit the call stack's name fields.
constexpr size_t kMaxScriptName = Dispatcher::kNameSize - 1;

enum RowPicture { Top, TopLit, FirstChild, FirstChildLit, Child, ChildLit };

bool IsTopCode(int32_t code) {
    return code >= 1 && code <= SelectionTree::kRows;
}

// Copies `text` into `buffer`, cut at a character boundary; returns the length kept.
uint8_t Keep(std::string_view text, std::span<char> buffer) {
    size_t keep = 0;
    while (keep < text.size()) {
        size_t length = cp932::CharLength(text, keep);
        if (keep + length > buffer.size() || keep + length > text.size()) {
            break;
        }
        keep += length;
    }
    std::copy_n(text.begin(), keep, buffer.begin());
    return static_cast<uint8_t>(keep);
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsWord(std::string_view line, std::string_view word) {
    line = TrimBlanks(line);
    return line.size() == word.size() &&
           std::equal(line.begin(), line.end(), word.begin(), [](char a, char b) {
               return (a >= 'a' && a <= 'z' ? a - 'a' + 'A' : a) == b;
           });
}

// The field from the start up to a comma or a colon (the label, the number), or, for the
// target, up to a comma only.
std::string_view Field(std::string_view& rest, std::string_view ends) {
    size_t end = std::min(rest.find_first_of(ends), rest.size());
    std::string_view field = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    return field;
}

void ReadItem(std::string_view line, TreeItem& item) {
    size_t spaces = 0;
    while (spaces < line.size() && line[spaces] == ' ') {
        ++spaces;
    }
    item.TreeLevel = static_cast<int32_t>(std::min<size_t>(spaces, kMaxLevel));
    std::string_view rest = line.substr(spaces);
    item.LabelLength = Keep(Field(rest, ",:"), item.LabelBuffer);
    item.TreeNumber = ArgumentNumber(Field(rest, ",:"));
    item.TargetLength = Keep(TrimBlanks(Field(rest, ",")), item.TargetBuffer);
}

} // namespace

void ReadSelectionTrees(std::string_view text, SelectionTreeData& data) {
    int tree = 0;
    size_t pos = 0;
    while (pos < text.size() && tree < SelectionTreeData::kTrees) {
        size_t end = std::min(text.find_first_of(std::string_view("\0\n", 2), pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (IsWord(line, "ALLEND")) {
            break;
        }
        if (IsWord(line, "END")) {
            ++tree;
            continue;
        }
        if (TrimBlanks(line).empty()) {
            continue;
        }
        SelectionTreeData::Tree& items = data.Trees[static_cast<size_t>(tree)];
        if (items.Count < SelectionTreeData::kItems) {
            ReadItem(line, items.Items[static_cast<size_t>(items.Count++)]);
        }
    }
}

size_t TopLevelItems(const SelectionTreeData::Tree& tree, std::span<int> out) {
    size_t found = 0;
    for (int i = 0; i < tree.Count && found < out.size(); ++i) {
        if (tree.Items[static_cast<size_t>(i)].TreeLevel == 0) {
            out[found++] = i;
        }
    }
    return found;
}

size_t ChildItemsOf(const SelectionTreeData::Tree& tree, int parent, std::span<int> out) {
    if (parent < 0 || parent + 1 >= tree.Count) {
        return 0;
    }
    int level = tree.Items[static_cast<size_t>(parent + 1)].TreeLevel;
    size_t found = 0;
    for (int i = parent + 1; i < tree.Count && found < out.size(); ++i) {
        int itemLevel = tree.Items[static_cast<size_t>(i)].TreeLevel;
        if (itemLevel < level) {
            break;
        }
        if (itemLevel == level) {
            out[found++] = i;
        }
    }
    return found;
}

SelectionTree::SelectionTree(Engine& engine) : m_engine(engine) {}

SelectionTree::~SelectionTree() = default;

bool SelectionTree::Load() {
    m_data = AllocateZeroedObject<SelectionTreeData>();
    ScriptState& script = m_engine.script;
    if (!script.LoadScript("seltree", ScriptTarget::Definition)) {
        return false;
    }
    ReadSelectionTrees(script.DefinitionText(), *m_data);
    return true;
}

const SelectionTreeData::Tree* SelectionTree::ShownTree() const {
    if (!m_data || m_shown < 0 || m_shown >= SelectionTreeData::kTrees) {
        return nullptr;
    }
    return &m_data->Trees[static_cast<size_t>(m_shown)];
}

void SelectionTree::Present(const Surface& source, Rect area) {
    m_engine.gfx.Present(source, area, area.X, area.Y);
}

void SelectionTree::DrawRow(const Surface& normal, const Surface& highlighted, const TreeItem& item,
                            int x, int row, int centre) {
    Graphics& gfx = m_engine.gfx;
    int y = kFirstRowY + kRowPitch * row;
    if (!normal.Empty()) {
        DrawStackedSprite(gfx.BackBuffer, x, normal, y);
    }
    if (!highlighted.Empty()) {
        DrawStackedSprite(gfx.SceneSurface, x, highlighted, y);
    }
    TextFlow& text = m_engine.text;
    text.DrawTextCentredPitch(gfx.BackBuffer, item.TreeLabel(), centre, y + kLabelOffsetY,
                              kLabelPitch, 0);
    text.DrawTextCentredPitch(gfx.SceneSurface, item.TreeLabel(), centre, y + kLabelOffsetY,
                              kLabelPitch, kHighlightColour);
}

void SelectionTree::Show(int32_t tree) {
    Graphics& gfx = m_engine.gfx;
    Pictures& pictures = gfx.PictureLoader();
    Rect screen{0, 0, kScreenWidth, kScreenHeight};
    gfx.PreviousSurface.CopyFrom(gfx.SceneSurface, screen, 0, 0);
    m_base = Surface();
    m_level = Surface();
    pictures.LoadPicture("tree_base", m_base);
    pictures.LoadPicture("treelv" + std::to_string(int64_t{tree} + 1), m_level);
    gfx.BackgroundSurface.CopyFrom(gfx.SceneSurface, screen, 0, 0);
    if (!m_base.Empty()) {
        DrawStackedSprite(gfx.SceneSurface, 0, m_base, 304);
    }
    if (!m_level.Empty()) {
        DrawStackedSprite(gfx.SceneSurface, 34, m_level, 248);
    }
    constexpr const char* kRowNames[] = {"tree1a", "tree1b", "tree2a",
                                         "tree2b", "tree3a", "tree3b"};
    for (size_t i = 0; i < m_rowPictures.size(); ++i) {
        m_rowPictures[i] = Surface();
        pictures.LoadPicture(kRowNames[i], m_rowPictures[i]);
    }

    m_shown = tree;
    m_childCount = 0;
    m_topCount = 0;
    m_choice = {};
    gfx.BackBuffer.CopyFrom(gfx.SceneSurface, screen, 0, 0);
    if (const SelectionTreeData::Tree* items = ShownTree()) {
        m_topCount = static_cast<int>(TopLevelItems(*items, m_topItems));
        for (int j = 0; j < m_topCount; ++j) {
            DrawRow(m_rowPictures[Top], m_rowPictures[TopLit],
                    items->Items[static_cast<size_t>(m_topItems[static_cast<size_t>(j)])], kTopX, j,
                    kTopCentre);
        }
    }
    gfx.BackgroundSurface.CopyFrom(gfx.BackBuffer, screen, 0, 0);
    gfx.PresentWhole(gfx.BackBuffer);
    m_engine.choices.SelectionKind = selection_kind::SelectionTree;
    m_hover = 0;
}

int32_t SelectionTree::CodeAt(int x, int y) const {
    auto rowAt = [y](int count) {
        for (int j = 0; j < count; ++j) {
            if (y >= kFirstRowY + 1 + kRowPitch * j && y < kFirstRowY + kRowPitch + kRowPitch * j) {
                return j;
            }
        }
        return -1;
    };
    if (x >= kTopX && x < kChildX) {
        int row = rowAt(m_topCount);
        if (row >= 0) {
            return row + 1;
        }
    } else if (x >= kChildX && x < kChildX + kChildWidth) {
        int row = rowAt(m_childCount);
        if (row >= 0) {
            return row + 1 + kRows;
        }
    }
    // The zone around the child column keeps what the pointer last pointed at, so that it
    // can travel from a top-level row to the children, and over the gaps between them.
    if (x >= 360 && x < 730 && y >= 323) {
        if (IsTopCode(m_hover) ? y < 612 : y < 382 + kRowPitch * m_childCount) {
            return m_hover;
        }
    }
    return 0;
}

void SelectionTree::ClearChildColumn() {
    Graphics& gfx = m_engine.gfx;
    Rect column{kChildX, kFirstRowY, kChildWidth, kColumnHeight};
    gfx.SceneSurface.CopyFrom(gfx.BackgroundSurface, column, column.X, column.Y);
    gfx.BackBuffer.CopyFrom(gfx.BackgroundSurface, column, column.X, column.Y);
    m_childCount = 0;
}

void SelectionTree::ShowTopRow(int row) {
    const SelectionTreeData::Tree* items = ShownTree();
    if (!items) {
        return;
    }
    Graphics& gfx = m_engine.gfx;
    ClearChildColumn();
    Present(gfx.BackBuffer, Rect{kTopX, kFirstRowY, kTopWidth, kColumnHeight});
    Present(gfx.SceneSurface, Rect{kTopX, kFirstRowY + kRowPitch * row, kTopWidth, kRowPitch});
    int parent = m_topItems[static_cast<size_t>(row)];
    m_choice = items->Items[static_cast<size_t>(parent)].TreeTarget();
    m_childCount = static_cast<int>(ChildItemsOf(*items, parent, m_childItems));
    for (int j = 0; j < m_childCount; ++j) {
        bool first = j == 0;
        DrawRow(m_rowPictures[first ? FirstChild : Child],
                m_rowPictures[first ? FirstChildLit : ChildLit],
                items->Items[static_cast<size_t>(m_childItems[static_cast<size_t>(j)])], kChildX, j,
                kChildCentre);
    }
    Present(gfx.BackBuffer, Rect{kChildX, kFirstRowY, kChildWidth, kColumnHeight});
}

void SelectionTree::ShowChildRow(int row) {
    const SelectionTreeData::Tree* items = ShownTree();
    if (!items || row >= m_childCount) {
        return;
    }
    Graphics& gfx = m_engine.gfx;
    Present(gfx.BackBuffer, Rect{kChildX, kFirstRowY, kChildWidth, kColumnHeight});
    Present(gfx.SceneSurface, Rect{kChildX, kFirstRowY + kRowPitch * row, kChildWidth, kRowPitch});
    m_choice =
        items->Items[static_cast<size_t>(m_childItems[static_cast<size_t>(row)])].TreeTarget();
}

void SelectionTree::Hover(int x, int y) {
    int32_t code = CodeAt(x, y);
    if (code == m_hover) {
        return;
    }
    if (IsTopCode(code)) {
        ShowTopRow(code - 1);
    } else if (code > kRows) {
        ShowChildRow(code - 1 - kRows);
    } else {
        ClearChildColumn();
        m_engine.ShowBackBuffer();
        m_choice = {};
    }
    m_hover = code;
}

void SelectionTree::Click() {
    if (m_choice.empty()) {
        return;
    }
    Engine& e = m_engine;
    Graphics& gfx = e.gfx;
    {
        BusyScope busy(e.blocking);
        Rect row = IsTopCode(m_hover)
                       ? Rect{kTopX, kFirstRowY + kRowPitch * (m_hover - 1), kTopWidth, kRowPitch}
                       : Rect{kChildX, kFirstRowY + kRowPitch * (m_hover - 1 - kRows), kChildWidth,
                              kRowPitch};
        for (int blink = 0; blink < kBlinks; ++blink) {
            Present(blink % 2 == 0 ? gfx.BackBuffer : gfx.SceneSurface, row);
            e.Host().Sleep(kBlinkMs);
            e.Host().PumpMessages();
        }
        Rect screen{0, 0, kScreenWidth, kScreenHeight};
        gfx.SceneSurface.CopyFrom(gfx.BackBuffer, screen, 0, 0);
        gfx.BackBuffer.CopyFrom(gfx.PreviousSurface, screen, 0, 0);
        gfx.PreviousSurface.CopyFrom(gfx.SceneSurface, screen, 0, 0);
        gfx.TimedCrossFade(8, 15);
        gfx.SceneSurface.CopyFrom(gfx.BackBuffer, screen, 0, 0);
    }
    std::string_view target = m_choice;
    std::string_view script = target.substr(0, std::min(target.find(':'), target.size()));
    // A name longer than the call stack's fields could not be returned to; such a target
    // is refused instead of calling a script under a cut name.
    if (script.size() <= kMaxScriptName) {
        int32_t depth = e.dispatcher.CallDepth;
        e.dispatcher.Call(target);
        if (e.dispatcher.CallDepth != depth) {
            e.text.SetTextColour(0);
        }
    }
    m_choice = {};
    m_hover = 0;
    m_childCount = 0;
    e.choices.SelectionKind = selection_kind::None;
}

void SelectionTree::Close() {
    for (Surface& picture : m_rowPictures) {
        picture = Surface();
    }
    m_choice = {};
    m_hover = 0;
    m_engine.choices.SelectionKind = selection_kind::None;
}

} // namespace orv
