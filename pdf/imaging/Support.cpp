#include "imaging/Support.h"

#include "imaging/Errors.h"

namespace vum {

void RaiseCompressionError(const std::string& message)
{
    throw EGraphicCompression(message);
}

void RaiseGraphicError(const std::string& message)
{
    throw EInvalidGraphic(message);
}

std::string FormatMessage(const std::string& message, const std::string& arg1,
                          const std::string& arg2)
{
    std::string out;
    const std::string* args[] = {&arg1, &arg2};
    std::size_t next = 0;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '%' && i + 1 < message.size() && message[i + 1] == 's' && next < 2) {
            out += *args[next++];
            ++i;
        } else {
            out += message[i];
        }
    }
    return out;
}

void RaiseGraphicErrorFmt(const std::string& message, const std::string& arg1,
                          const std::string& arg2)
{
    throw EInvalidGraphic(FormatMessage(message, arg1, arg2));
}

void SwapWords(void* p, std::size_t count)
{
    auto* b = static_cast<uint8_t*>(p);
    for (std::size_t i = 0; i < count; ++i, b += 2)
        std::swap(b[0], b[1]);
}

void SwapLongs(void* p, std::size_t count)
{
    auto* b = static_cast<uint8_t*>(p);
    for (std::size_t i = 0; i < count; ++i, b += 4) {
        std::swap(b[0], b[3]);
        std::swap(b[1], b[2]);
    }
}

uint32_t SwapLong(uint32_t value)
{
    return __builtin_bswap32(value);
}

static void undoPredictor(uint8_t* line, std::size_t count, std::size_t stride)
{
    for (std::size_t k = stride; k < stride * (count + 1); ++k)
        line[k] = static_cast<uint8_t>(line[k] + line[k - stride]);
}

void UndoPredictor8(uint8_t* line, std::size_t count) { undoPredictor(line, count, 1); }
void UndoPredictor24(uint8_t* line, std::size_t count) { undoPredictor(line, count, 3); }
void UndoPredictor32(uint8_t* line, std::size_t count) { undoPredictor(line, count, 4); }

} // namespace vum
