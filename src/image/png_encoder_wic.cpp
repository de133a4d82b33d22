// EncodePng on Windows: the Windows Imaging Component's PNG encoder (there is
// no libpng for mingw-w64), writing through a stream that hands each block
// straight to the output file, so no copy of the encoded picture is held.
#ifdef _WIN32

#include <objidl.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdio>

#include "image/png_encoder.h"

namespace drawing::image {
namespace {

// A write-only IStream over an OutputFile. The encoder writes front to back;
// it may ask where it is, which is all a Seek can answer here.
class OutputFileStream final : public IStream {
 public:
  explicit OutputFileStream(platform::OutputFile& file) : file_(file) {}

  bool WriteFailed() const { return writeFailed_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_ISequentialStream || id == IID_IStream) {
      *object = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the encoding function's stack: the count is not what frees it.
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  HRESULT STDMETHODCALLTYPE Read(void*, ULONG, ULONG* read) override {
    if (read != nullptr) {
      *read = 0;
    }
    return STG_E_ACCESSDENIED;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override {
    if (written != nullptr) {
      *written = 0;
    }
    if (writeFailed_ || !file_.Write(data, size)) {
      writeFailed_ = true;
      return STG_E_WRITEFAULT;
    }
    position_ += size;
    if (written != nullptr) {
      *written = size;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* newPosition) override {
    const bool stays = move.QuadPart == 0 ? origin != STREAM_SEEK_END
                                          : origin == STREAM_SEEK_SET &&
                                                static_cast<ULONGLONG>(move.QuadPart) == position_;
    if (!stays) {
      return STG_E_INVALIDFUNCTION;
    }
    if (newPosition != nullptr) {
      newPosition->QuadPart = position_;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                   ULARGE_INTEGER*) override {
    return STG_E_INVALIDFUNCTION;
  }
  // The file commits (and flushes) only when the whole picture is written.
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = position_;
    stat->grfMode = STGM_WRITE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override {
    *clone = nullptr;
    return STG_E_INVALIDFUNCTION;
  }

 private:
  platform::OutputFile& file_;
  ULONGLONG position_ = 0;
  ULONG references_ = 1;
  bool writeFailed_ = false;
};

// Releases a COM pointer when the scope ends.
template <typename T>
struct Held {
  T* pointer = nullptr;
  ~Held() {
    if (pointer != nullptr) {
      pointer->Release();
    }
  }
  T** Out() { return &pointer; }
  T* operator->() const { return pointer; }
};

// COM for this thread, unless the thread already has it in any model.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) {
      CoUninitialize();
    }
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

std::string Failure(const char* step, HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof text, "PNG encoder: %s failed (0x%08lx)", step,
                static_cast<unsigned long>(result));
  return text;
}

// The encoder's steps in order; each failure names its step.
bool EncodeRows(IWICImagingFactory& factory, IStream& stream, int32_t width, int32_t height,
                const std::function<const uint8_t*(int32_t y)>& row, std::string& reason) {
  Held<IWICBitmapEncoder> encoder;
  HRESULT result = factory.CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out());
  if (FAILED(result)) {
    reason = Failure("creating the encoder", result);
    return false;
  }
  if (FAILED(result = encoder->Initialize(&stream, WICBitmapEncoderNoCache))) {
    reason = Failure("starting the file", result);
    return false;
  }
  Held<IWICBitmapFrameEncode> frame;
  if (FAILED(result = encoder->CreateNewFrame(frame.Out(), nullptr)) ||
      FAILED(result = frame->Initialize(nullptr))) {
    reason = Failure("starting the picture", result);
    return false;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(result = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) ||
      FAILED(result = frame->SetPixelFormat(&format))) {
    reason = Failure("setting the size", result);
    return false;
  }
  if (format != GUID_WICPixelFormat24bppBGR) {
    reason = "PNG encoder: 24-bit BGR pixels are not accepted";
    return false;
  }
  const UINT stride = static_cast<UINT>(width) * 3;
  for (int32_t y = 0; y < height; ++y) {
    // WritePixels takes no const buffer but only reads it.
    auto* pixels = const_cast<BYTE*>(row(y));
    if (FAILED(result = frame->WritePixels(1, stride, stride, pixels))) {
      reason = Failure("writing a row", result);
      return false;
    }
  }
  result = frame->Commit();
  if (SUCCEEDED(result)) {
    result = encoder->Commit();
  }
  if (FAILED(result)) {
    reason = Failure("finishing the file", result);
  }
  return SUCCEEDED(result);
}

}  // namespace

bool EncodePng(platform::OutputFile& file, int32_t width, int32_t height,
               const std::function<const uint8_t*(int32_t y)>& row, std::string& reason,
               bool& writeFailed) {
  writeFailed = false;
  // An empty picture is refused by the encoder's SetSize.
  const ComScope com;
  if (!com.Usable()) {
    reason = "PNG encoder: COM cannot start on this thread";
    return false;
  }
  Held<IWICImagingFactory> factory;
  const HRESULT created =
      CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                       IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
  if (FAILED(created)) {
    reason = Failure("finding the Windows Imaging Component", created);
    return false;
  }
  OutputFileStream stream(file);
  const bool encoded = EncodeRows(*factory.pointer, stream, width, height, row, reason);
  writeFailed = stream.WriteFailed();
  if (!encoded && writeFailed) {
    reason = "write failed";
  }
  return encoded;
}

bool PngAvailable() {
  return true;
}

}  // namespace drawing::image

#endif
