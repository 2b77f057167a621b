#pragma once

#include "engine/util/Colors.h"

#include <cstdint>
#include <string>

namespace vum {

// Colour operands for one of brush, pen or font. SetColorEx stores a colour
// model and its components; otherwise the bound object's own colour is used.
class TPdfColor {
public:
    // Stores the model and components; `resulting` is the colour the bound
    // object was given for them, so that a later change of the object's
    // colour through its property wins over the stored model.
    void Set(int model, int32_t v1, int32_t v2, int32_t v3, int32_t v4, TColor resulting);
    void Reset() { model_ = 0; }

    // "r g b rg", "c m y k k" or "g g", upper-case operators for stroking,
    // or the operands alone.
    std::string Encode(TColor bound, bool stroke, bool withOperator = true) const;

private:
    int model_ = 0;
    int32_t v_[4] = {0, 0, 0, 0};
    TColor resulting_ = 0;
};

} // namespace vum
