#pragma once

#include <array>

// A 5 x 5 colour matrix: m[i][j] is the weight with which input component i
// (0 red, 1 green, 2 blue, 3 alpha, 4 the constant 1) enters output component j.
struct ColorMatrix {
    std::array<std::array<float, 5>, 5> m{};

    static ColorMatrix identity()
    {
        ColorMatrix c;
        for (int i = 0; i < 5; ++i)
            c.m[i][i] = 1.0f;
        return c;
    }
    bool isIdentity() const { return *this == identity(); }
    bool operator==(const ColorMatrix&) const = default;
};
