#pragma once

// Little-endian numbers of the picture files tests build and edit (TIFF
// directories, bitmap headers): numbers of at most 4 bytes.
#include <cstddef>
#include <cstdint>
#include <string>

// `v` as `bytes` little-endian bytes, zero past the fourth.
std::string le(uint32_t v, int bytes);

// The number of `bytes` little-endian bytes at `at` of `b`.
uint32_t readLe(const std::string& b, std::size_t at, int bytes);

// Writes `v` over the `bytes` bytes at `at` of `b`, little end first.
void putLe(std::string& b, std::size_t at, uint32_t v, int bytes);
