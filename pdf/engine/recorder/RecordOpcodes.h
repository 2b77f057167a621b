#pragma once

#include <cstdint>

namespace vum {

// The record kinds of the display list: one byte each, followed by its
// operands. The numbers are part of the list's format and never change.
enum RecordOpcode : uint8_t {
    opDocumentInfo = 0,
    opDocumentOrientation = 1,
    opDocumentEnd = 2,
    opNewPage = 3,
    opDrawPageCounter = 4,
    opSetPageNumberFormat = 5,
    opDeclareSymbolicFont = 6,
    opDefineName = 7,
    opSetBookmark = 8,
    opSetColorEx = 9,
    opSetLink = 10,
    opArc = 11,
    opChord = 12,
    opEllipse = 13,
    opFillRect = 14,
    opFrameRect = 15,
    opLineTo = 16,
    opMoveTo = 17,
    opPie = 18,
    opPolyBezier = 19,
    opPolygon = 20,
    opPolyline = 21,
    opRectangle = 22,
    opRoundRect = 23,
    opDrawImage = 24,
    opTextOut = 25,
    opImageCompressMode = 26,
    opJpegQuality = 27,
    opSmartStretchDraw = 28,
    opCharacterSpacing = 29,
    opLineSpacing = 30,
    opMetafileResolution = 31,
    opNoImageReuse = 32,
    opImageHorzAlign = 33,
    opImageVertAlign = 34,
    opFontCharset = 35,
    opFontColor = 36,
    opFontDegreeAngle = 37,
    opFontName = 38,
    opFontSize = 39,
    opFontStyle = 40,
    opBrushColor = 41,
    opBrushStyle = 42,
    opPenColor = 43,
    opPenStyle = 44,
    opPenWidth = 45,
    opDefineField = 46,
    opPutField = 47,
    opSetFieldProp = 48,
    opSetAction = 49,
    opDefineStyle = 50,
    opParagraphStyle = 51,
    opEndOfParagraphStyles = 52,
    opAnnotation = 53,
    opRubberStamp = 54,
};

// Type codes of a recorded variant value.
enum VariantCode : int32_t {
    vtSmallInt = 2,
    vtInteger = 3,
    vtSingle = 4,
    vtDouble = 5,
    vtCurrency = 6,
    vtDate = 7,
    vtOleText = 8,
    vtBoolean = 11,
    vtText = 256,
};

} // namespace vum
