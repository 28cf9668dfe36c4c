#pragma once
// The layout of a saved game, `save/saveNN.dat`: 220738 bytes in fixed blocks, with no
// magic and no version. Integers are 32-bit little-endian; texts are code page 932,
// NUL-terminated inside their fields. Every offset and width of the file is named here, and
// only here; the subsystems exchange their own fields through SaveIo (save_io.h).

#include <cstddef>
#include <cstdint>

namespace orv::save_layout {

// ---- The blocks, in file order.
constexpr size_t kHeader = 0; // the date line and the comment
constexpr size_t kHeaderSize = 128;
constexpr size_t kDateLine = 0;
constexpr size_t kDateLineSize = 96;
constexpr size_t kComment = 96;
constexpr size_t kCommentSize = 32;
constexpr size_t kFFlags = 128; // F0..F1023, bit k in byte k / 8
constexpr size_t kFFlagsSize = 128;
// Engine bytes with no use of their own: zero at start-up, written and read back unchanged.
constexpr size_t kReserved = 256;
constexpr size_t kReservedSize = 1024;
constexpr size_t kVCells = 1280; // V000..V999
constexpr size_t kVCellsSize = 4000;
constexpr size_t kSCells = 5280; // S000..S199
constexpr size_t kSCellsSize = 800;
constexpr size_t kReadMarks = 6080; // marks 0..80000, bit k in byte k / 8
constexpr size_t kReadMarksSize = 10240;
constexpr size_t kTFlags = 16320; // T0..T9999
constexpr size_t kTFlagsSize = 1250;
constexpr size_t kEngineRecord = 17570; // 64 integers, below
constexpr size_t kEngineRecordSize = 256;
constexpr size_t kBacklog = 17826; // the first 14000 bytes of the backlog store
constexpr size_t kBacklogSize = 14000;
constexpr size_t kLineBuffer = 31826; // the script line being executed
constexpr size_t kLineBufferSize = 2048;
constexpr size_t kNameBlock = 33874; // names, below
constexpr size_t kNameBlockSize = 1024;
constexpr size_t kStrings = 34898; // $0..$9, 64 bytes each
constexpr size_t kStringsSize = 640;
constexpr size_t kPageText = 35538; // the message page, 20 rows of 100 bytes
constexpr size_t kPageTextSize = 2000;
constexpr size_t kPageColours = 37538; // the colour number of every byte of the page
constexpr size_t kPageColoursSize = 2000;
// The rewind ring of 50 page snapshots, field by field.
constexpr size_t kRewindPages = 39538; // page text, 2000 bytes each
constexpr size_t kRewindPagesSize = 100000;
constexpr size_t kRewindOverlayWeights = 139538; // S023 of each
constexpr size_t kRewindOverlayWeightsSize = 200;
constexpr size_t kRewindPositionsX = 139738; // S080..S089 of each, 40 bytes
constexpr size_t kRewindPositionsXSize = 2000;
constexpr size_t kRewindPositionsY = 141738; // S090..S099 of each
constexpr size_t kRewindPositionsYSize = 2000;
constexpr size_t kRewindScenes = 143738; // the scene description of each, 128 bytes
constexpr size_t kRewindScenesSize = 6400;
constexpr size_t kRewindVoices = 150138; // the voices of each, 256 bytes
constexpr size_t kRewindVoicesSize = 12800;
constexpr size_t kRewindNovelModes = 162938; // S160 of each
constexpr size_t kRewindNovelModesSize = 200;
// SceneSurface scaled to 160 x 120: 120 rows from the top, each 480 bytes of blue, green, red.
constexpr size_t kThumbnail = 163138;
constexpr size_t kThumbnailSize = 57600;
constexpr int kThumbnailWidth = 160;
constexpr int kThumbnailHeight = 120;

constexpr size_t kFileSize = 220738;

// ---- The engine record: integer n lies at kEngineRecord + 4 n.
namespace record {
constexpr int CallDepth = 0;
constexpr int CallReturn = 1; // 1..9, one for each call level
constexpr int WindowShown = 10;
constexpr int TickWait = 11;
constexpr int CharDelay = 12;
constexpr int WaitKind = 13;
constexpr int ScreenMode = 14; // 0 for the map
constexpr int PrepareFlag = 15; // the picture command in progress is `grb`
constexpr int KeptFlag = 16;    // an engine flag only saving and loading touch
constexpr int TextColumn = 17;
constexpr int TextRow = 18;
constexpr int PageChars = 19;   // the two further counters of the page's text placement
constexpr int WideSpacing = 20;
constexpr int BacklogCount = 21;
constexpr int BacklogWritePos = 22;
constexpr int ScriptRunning = 23;
constexpr int NeedLine = 24;
constexpr int LineStart = 25;
// Where a loaded game goes on: ReadPos, or the line to execute again while a choice or the
// map waits.
constexpr int ResumePosition = 26;
constexpr int ScriptSize = 27;
constexpr int LinePos = 28;
constexpr int NovelMode = 29; // S160 once more
constexpr int SnapshotCounter = 30;
constexpr int PageClear = 32; // 1 while the message page is empty
constexpr int kCount = 64;    // the others are 0
} // namespace record

constexpr size_t RecordOffset(int index) {
    return kEngineRecord + 4 * static_cast<size_t>(index);
}

// ---- The name block: each name NUL-terminated in its field, the rest 0.
namespace name {
constexpr size_t CallNames = kNameBlock + 0; // nine fields of 30 bytes
constexpr size_t CallNameSize = 30;
constexpr size_t ReturnScriptName = kNameBlock + 270;
constexpr size_t CurrentScriptName = kNameBlock + 300;
constexpr size_t BackgroundName = kNameBlock + 330;
constexpr size_t CharacterDescription = kNameBlock + 360; // 60 bytes
constexpr size_t OverlayName = kNameBlock + 420;
constexpr size_t ChoiceRecordScript = kNameBlock + 450; // the script `rec` started in
constexpr size_t LoopName = kNameBlock + 480;
constexpr size_t LastVoice = kNameBlock + 510;
constexpr size_t SpeakerName = kNameBlock + 540; // 20 bytes
constexpr size_t kSize = 30;
constexpr size_t kCharacterDescriptionSize = 60;
constexpr size_t kSpeakerNameSize = 20;
} // namespace name

static_assert(kThumbnail + kThumbnailSize == kFileSize);
static_assert(RecordOffset(record::kCount) == kBacklog);
static_assert(name::SpeakerName + name::kSpeakerNameSize <= kNameBlock + kNameBlockSize);
static_assert(kRewindNovelModes + kRewindNovelModesSize == kThumbnail);

} // namespace orv::save_layout
