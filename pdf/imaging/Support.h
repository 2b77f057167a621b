#pragma once

// Small routines the picture readers share.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vum {

[[noreturn]] void RaiseGraphicError(const std::string& message);
// Replaces every "%s" of the message, in order, with the arguments given.
[[noreturn]] void RaiseGraphicErrorFmt(const std::string& message, const std::string& arg1,
                                       const std::string& arg2 = {});
std::string FormatMessage(const std::string& message, const std::string& arg1,
                          const std::string& arg2 = {});

void SwapWords(void* p, std::size_t count);
void SwapLongs(void* p, std::size_t count);
uint32_t SwapLong(uint32_t value);

// Undo the horizontal predictor; count is the number of pixels after the first.
void UndoPredictor8(uint8_t* line, std::size_t count);
void UndoPredictor24(uint8_t* line, std::size_t count);
void UndoPredictor32(uint8_t* line, std::size_t count);

// The texts of the readers' errors.
namespace msg {
inline constexpr const char* InvalidFormat = "Cannot load image. Invalid or unexpected %s image format.";
inline constexpr const char* NotSupportedFor = "Cannot load image. %s not supported for %s files.";
inline constexpr const char* CompressionScheme = "The compression scheme is";
inline constexpr const char* CrcError = "Cannot load image. CRC error found in %s file.";
inline constexpr const char* CompressionError = "Cannot load image. Compression error found in %s file.";
inline constexpr const char* ExtraData = "Cannot load image. Extra compressed data found in %s file.";
inline constexpr const char* InvalidPalette = "Cannot load image. Palette in %s file is invalid.";
inline constexpr const char* InvalidColorFormat = "Invalid color format in %s file.";
inline constexpr const char* CriticalChunk = "Cannot load PNG image. Unexpected but critical chunk detected.";
inline constexpr const char* RegisterTwice = "Attempt to register %s twice.";
inline constexpr const char* StreamRead = "Stream read error";
inline constexpr const char* PictureTooLarge = "Cannot load image. The picture is too large.";
inline constexpr const char* InvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* InvalidIcon = "Icon image is not valid";
inline constexpr const char* NoMetafilePlayer = "Metafiles cannot be played on this system";
} // namespace msg

} // namespace vum
