#pragma once
// PNG pictures, decoded by libpng.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/Picture.h"

namespace quillet {

// The picture in a PNG file with its alpha: an alpha channel, or the tRNS
// chunk's alpha of palette entries or its one transparent grey or colour.
// Every colour type and depth; 16-bit samples are scaled to 8; interlaced
// files too. Nothing when the data is not a PNG, is damaged (a bad CRC, a
// cut-short image), or when IHDR's size passes the picture limits or
// `room` bytes of pixels (checked before anything is allocated).
std::optional<Picture> ReadPng(std::span<const uint8_t> data, uint64_t room = Picture::kAnyRoom);

}  // namespace quillet
