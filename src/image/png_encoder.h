// Encodes a picture as a PNG file (8-bit RGB, no interlacing, the library's
// default compression), row by row, so that no second copy of a large
// picture is ever held. Through libpng where the build has it
// (DRAWING_HAVE_PNG), through the Windows Imaging Component on Windows
// (png_encoder_wic.cpp); otherwise every encode fails with a reason saying so.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_system.h"

namespace drawing::image {

// Whether this build can write PNG files at all.
bool PngAvailable();

// The reason given when PNG is asked of a build without it.
std::string PngUnavailableReason();

// Writes a `width` x `height` PNG to `file`. `row(y)` returns row y (top row
// first) as `width` pixels of 3 bytes in blue, green, red order, valid until
// the next call. False, with `reason` set, when the library or the file
// failed (`writeFailed` then tells which); the file is then neither
// committed nor discarded.
bool EncodePng(platform::OutputFile& file, int32_t width, int32_t height,
               const std::function<const uint8_t*(int32_t y)>& row, std::string& reason,
               bool& writeFailed);

}  // namespace drawing::image
