#pragma once

#include "engine/canvas/DrawingTools.h"
#include "engine/recorder/RecordOpcodes.h"
#include "engine/util/Geometry.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vum {

class TCustomVum;
class TCustomVumCanvas;

// A value of a field property as the display list holds it: a type code
// (VariantCode) and the one member that code uses.
struct RecordVariant {
    int32_t Type = vtInteger;
    int64_t Integer = 0;
    double Real = 0;
    std::string Text;
    bool Boolean = false;
};

// The display list of a document: every operation of the document and its
// drawing surface appended as one record (an opcode byte and its operands,
// little-endian), so a document that prints its own page count can be laid
// out once, counted, and run again to write the file.
class TCustomVumDocument {
public:
    explicit TCustomVumDocument(TCustomVum& owner);
    TCustomVumDocument(const TCustomVumDocument&) = delete;
    TCustomVumDocument& operator=(const TCustomVumDocument&) = delete;

    TCustomVum& Owner() const { return owner_; }

    // The state as last recorded: changes are written only when they differ.
    TVumBrush LastBrush;
    TVumFont LastFont;
    TVumPen LastPen;
    // Counters of a run of this list.
    int32_t ReplayPageNumber = 0;
    int32_t ReplaySectionNumber = 0;
    int32_t ReplaySectionPageNumber = 0;
    // Records are appended only while set.
    bool Enabled = true;

    // Writers; each appends nothing while Enabled is false.
    void WriteOpcode(uint8_t opcode) { WriteByte(opcode); }
    void WriteByte(uint8_t value);
    void WriteBoolean(uint8_t value) { WriteByte(value); }
    void WriteInteger(int32_t value);
    void WriteIntegers(std::initializer_list<int32_t> values);
    void WriteDouble(double value);
    void WriteRect(const TRect& rect);
    void WritePoints(const std::vector<TPoint>& points);
    // Up to the first zero byte, then a zero byte.
    void WriteString(std::string_view text);
    void WriteStrings(std::initializer_list<std::string_view> texts);
    // "Internal error" for a type code the list cannot hold.
    void WriteVariant(const RecordVariant& value);
    // What of the surface's brush, pen or font differs from the last
    // recorded state, then that state becomes the last recorded one.
    void WriteBrushPenDeltas(const TCustomVumCanvas& canvas);
    void WriteFontDeltas(const TCustomVumCanvas& canvas);

    // Readers; reading past the end raises "Internal error".
    uint8_t ReadOpcode() { return ReadByte(); }
    uint8_t ReadByte();
    bool ReadBoolean() { return ReadByte() != 0; }
    int32_t ReadInteger();
    std::vector<int32_t> ReadIntegers(size_t count);
    double ReadDouble();
    TRect ReadRect();
    std::vector<TPoint> ReadPoints();
    std::string ReadString();
    std::vector<std::string> ReadStrings(size_t count);
    RecordVariant ReadVariant();
    bool AtEnd() const { return position_ >= list_.size(); }

    // Empties the list and records the settings a replay must start from.
    void Reset();
    // Replays the list against the owner, which is not open; it ends with
    // the owner's EndDoc, or stops early when the owner is aborted.
    void Run();

    // Beside the list (not part of its bytes): the paragraph style that was
    // current when the page counter about to be recorded was drawn.
    void NoteCounterStyle(const std::string& style);

    // A point of the list to come back to, with the state recorded there.
    struct ListMark {
        size_t Size = 0;
        size_t CounterStyles = 0;
        TVumBrush Brush;
        TVumFont Font;
        TVumPen Pen;
    };
    ListMark Mark() const { return {list_.size(), counterStyles_.size(), LastBrush, LastFont, LastPen}; }
    void Rewind(const ListMark& mark);

    bool Empty() const { return list_.empty(); }
    const std::string& List() const { return list_; }
    // For tests: replaces the list and rewinds.
    void Load(std::string list);

private:
    void Need(size_t bytes) const;
    void RunRecord(uint8_t opcode);
    void RunPageStart();
    void RunPageCounter();
    void RunShape(uint8_t opcode);
    void RunState(uint8_t opcode);
    void RunField(uint8_t opcode);
    void RunStyle(uint8_t opcode);
    void RunStructure(uint8_t opcode);
    void RunDocumentInfo();

    TCustomVum& owner_;
    std::string list_;
    size_t position_ = 0;
    std::vector<std::pair<size_t, std::string>> counterStyles_; // by offset, ascending
    size_t counterCursor_ = 0;
};

// Records the document start of the owner: its information, its paragraph
// styles and its orientation.
void RecordDocumentStart(TCustomVumDocument& recorder, TCustomVum& document);
// One record per paragraph style with its definition lines, then the end
// of the styles.
void RecordStyles(TCustomVumDocument& recorder, TCustomVumCanvas& canvas);

// Suspends recording for a scope: operations that draw through other
// recorded operations record only themselves.
class RecordingPause {
public:
    explicit RecordingPause(TCustomVum& document);
    explicit RecordingPause(const TCustomVumCanvas& canvas);
    ~RecordingPause();
    RecordingPause(const RecordingPause&) = delete;
    RecordingPause& operator=(const RecordingPause&) = delete;

private:
    TCustomVum& document_;
    bool wasEnabled_ = true;
};

} // namespace vum
