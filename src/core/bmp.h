#pragma once
// Reading and writing the slot icons' BMP file images.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/errors.h"
#include "core/slot_icon.h"

namespace quenda {

// The 630-byte, 4-bit, 16-colour image of an icon.
void AppendIconBmp(const IconBitmap& icon, std::vector<std::uint8_t>& out);

// Reads one BMP file image starting at bytes[pos], sizing it by its own headers, and advances
// pos past it. Any valid image becomes a 32 x 32 icon (its top-left corner on white). On
// failure `icon` is untouched; pos may have moved.
MaybeError ReadIconBmp(std::span<const std::uint8_t> bytes, std::size_t& pos, IconBitmap& icon);

}  // namespace quenda
