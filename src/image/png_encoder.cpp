#include "image/png_encoder.h"

#include <cstdio>

#ifdef DRAWING_HAVE_PNG
#include <png.h>
#endif

namespace drawing::image {

#ifdef DRAWING_HAVE_PNG
namespace {

// What the library's callbacks report back; plain data, because libpng
// leaves its error handler through longjmp.
struct PngSink {
  platform::OutputFile* file = nullptr;
  bool writeFailed = false;
  char message[160] = {};
};

PngSink& SinkOf(png_structp png) {
  return *static_cast<PngSink*>(png_get_error_ptr(png));
}

void WriteData(png_structp png, png_bytep data, size_t size) {
  PngSink& sink = SinkOf(png);
  if (!sink.file->Write(data, size)) {
    sink.writeFailed = true;
    png_error(png, "write failed");
  }
}

void FlushNothing(png_structp) {}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  PngSink& sink = SinkOf(png);
  snprintf(sink.message, sizeof sink.message, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Everything between setjmp and a possible longjmp: only plain locals, so
// that no destructor is skipped.
bool EncodeRows(png_structp png, png_infop info, int32_t width, int32_t height,
                const std::function<const uint8_t*(int32_t y)>& row) {
  if (setjmp(png_jmpbuf(png)) != 0) {
    return false;
  }
  png_set_write_fn(png, png_get_error_ptr(png), WriteData, FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  for (int32_t y = 0; y < height; ++y) {
    png_write_row(png, row(y));
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool PngAvailable() {
  return true;
}

bool EncodePng(platform::OutputFile& file, int32_t width, int32_t height,
               const std::function<const uint8_t*(int32_t y)>& row, std::string& reason,
               bool& writeFailed) {
  if (width <= 0 || height <= 0) {
    reason = "a PNG picture needs at least one pixel";
    return false;
  }
  PngSink sink;
  sink.file = &file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    reason = "not enough memory for the PNG encoder";
    return false;
  }
  const bool encoded = EncodeRows(png, info, width, height, row);
  png_destroy_write_struct(&png, &info);
  writeFailed = sink.writeFailed;
  if (!encoded) {
    reason = sink.writeFailed ? "write failed" : std::string("PNG encoder: ") + sink.message;
  }
  return encoded;
}

#elif !defined(_WIN32)  // Windows encodes with its own component: png_encoder_wic.cpp

bool PngAvailable() {
  return false;
}

bool EncodePng(platform::OutputFile&, int32_t, int32_t,
               const std::function<const uint8_t*(int32_t y)>&, std::string& reason,
               bool& writeFailed) {
  writeFailed = false;
  reason = PngUnavailableReason();
  return false;
}

#endif

std::string PngUnavailableReason() {
  return "PNG output needs libpng, which this build does not include; use a .bmp name";
}

}  // namespace drawing::image
