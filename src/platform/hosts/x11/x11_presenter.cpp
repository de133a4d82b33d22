#include "platform/hosts/x11/x11_presenter.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstring>
#include <vector>

namespace drawing::platform::x11 {

// The back buffer as an XImage of the window's visual, with a graphics
// context to put it with; its memory shared with the server where it can be.
class X11Presenter::WindowImage {
 public:
  explicit WindowImage(X11Window& window) : window_(window) {}
  ~WindowImage() { Free(); }
  WindowImage(const WindowImage&) = delete;
  WindowImage& operator=(const WindowImage&) = delete;

  bool Make(uint32_t width, uint32_t height) {
    if (!MakeShared(width, height) && !MakeOwn(width, height)) {
      return false;
    }
    gc_ = XCreateGC(window_.Connection(), window_.Id(), 0, nullptr);
    return image_->bits_per_pixel == 32;
  }

  uint32_t Width() const { return static_cast<uint32_t>(image_->width); }
  uint32_t Height() const { return static_cast<uint32_t>(image_->height); }
  uint8_t* Pixels() const { return reinterpret_cast<uint8_t*>(image_->data); }
  int32_t Pitch() const { return image_->bytes_per_line; }
  bool Shared() const { return shared_; }

  void Put(const Rect& part) {
    ::Display* display = window_.Connection();
    const auto width = static_cast<unsigned>(part.right - part.left);
    const auto height = static_cast<unsigned>(part.bottom - part.top);
    if (shared_) {
      XShmPutImage(display, window_.Id(), gc_, image_, part.left, part.top, part.left, part.top,
                   width, height, False);
    } else {
      XPutImage(display, window_.Id(), gc_, image_, part.left, part.top, part.left, part.top, width,
                height);
    }
  }

 private:
  Visual* WindowVisual() const { return static_cast<Visual*>(window_.WindowVisual()); }
  unsigned Depth() const { return static_cast<unsigned>(window_.Depth()); }

  bool MakeShared(uint32_t width, uint32_t height) {
    ::Display* display = window_.Connection();
    if (!XShmQueryExtension(display)) {
      return false;
    }
    image_ = XShmCreateImage(display, WindowVisual(), Depth(), ZPixmap, nullptr, &segment_, width,
                             height);
    if (image_ == nullptr) {
      return false;
    }
    const size_t bytes = static_cast<size_t>(image_->bytes_per_line) * height;
    segment_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment_.shmid >= 0) {
      void* address = shmat(segment_.shmid, nullptr, 0);
      if (address != reinterpret_cast<void*>(-1)) {
        segment_.shmaddr = static_cast<char*>(address);
        segment_.readOnly = False;
        image_->data = segment_.shmaddr;
        XShmAttach(display, &segment_);
        // A server on another machine cannot attach our memory.
        shared_ = window_.Sync();
      }
      // Freed once both sides have let go of it, whatever becomes of us.
      shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    if (!shared_) {
      Free();
    }
    return shared_;
  }

  bool MakeOwn(uint32_t width, uint32_t height) {
    image_ = XCreateImage(window_.Connection(), WindowVisual(), Depth(), ZPixmap, 0, nullptr, width,
                          height, 32, 0);
    if (image_ == nullptr) {
      return false;
    }
    // Our pixels are X8R8G8B8 in this machine's byte order; Xlib swaps them
    // for a server that wants the other order.
    image_->byte_order = LSBFirst;
    ownPixels_.assign(static_cast<size_t>(image_->bytes_per_line) * height, 0);
    image_->data = ownPixels_.data();
    return true;
  }

  void Free() {
    ::Display* display = window_.Connection();
    if (shared_) {
      XShmDetach(display, &segment_);
      window_.Sync();
      shared_ = false;
    }
    if (image_ != nullptr) {
      if (segment_.shmaddr != nullptr) {
        shmdt(segment_.shmaddr);
        segment_.shmaddr = nullptr;
      }
      // The pixel memory is not Xlib's to free.
      image_->data = nullptr;
      XDestroyImage(image_);
      image_ = nullptr;
    }
    ownPixels_.clear();
    if (gc_ != nullptr) {
      XFreeGC(display, gc_);
      gc_ = nullptr;
    }
  }

  X11Window& window_;
  XImage* image_ = nullptr;
  GC gc_ = nullptr;
  XShmSegmentInfo segment_{};
  bool shared_ = false;
  std::vector<char> ownPixels_;
};

X11Presenter::X11Presenter(X11Window& window, soft::PaceClock& clock)
    : window_(window), pacer_(clock) {
  pacer_.SetRefreshRate(window.RefreshRate());
}

X11Presenter::~X11Presenter() = default;

void X11Presenter::DeviceReleased() {
  image_.reset();
}

bool X11Presenter::SharedMemory() const {
  return image_ != nullptr && image_->Shared();
}

DisplayMode X11Presenter::WindowMode() const {
  return DisplayMode{window_.Width(), window_.Height(), window_.RefreshRate()};
}

D3dResult X11Presenter::CreateDevice(const PresentParameters& parameters) {
  if (image_ != nullptr) {
    return D3dResult::NotAvailable;
  }
  image_ = std::make_unique<WindowImage>(window_);
  if (!image_->Make(parameters.BackBufferWidth, parameters.BackBufferHeight)) {
    image_.reset();
    return D3dResult::NotAvailable;
  }
  return D3dResult::Ok;
}

D3dResult X11Presenter::Reset(const PresentParameters& parameters) {
  image_ = std::make_unique<WindowImage>(window_);
  if (!image_->Make(parameters.BackBufferWidth, parameters.BackBufferHeight)) {
    image_.reset();
    return D3dResult::DeviceLost;
  }
  return D3dResult::Ok;
}

soft::BackBufferLease* X11Presenter::LendBackBuffer(const PresentParameters& parameters) {
  if (image_ == nullptr || parameters.BackBufferWidth != image_->Width() ||
      parameters.BackBufferHeight != image_->Height() ||
      parameters.BackBufferFormat != Format::X8R8G8B8) {
    return nullptr;
  }
  return this;
}

Rows X11Presenter::Pixels() {
  if (image_ == nullptr) {
    return {};
  }
  return Rows::TopDown(image_->Pixels(), image_->Pitch(), static_cast<int32_t>(image_->Width()),
                       static_cast<int32_t>(image_->Height()), PixelLayout::Bgrx32);
}

D3dResult X11Presenter::Present(const ConstRows& backBuffer, const soft::Damage& changed) {
  if (image_ == nullptr || static_cast<uint32_t>(backBuffer.width) != image_->Width() ||
      static_cast<uint32_t>(backBuffer.height) != image_->Height()) {
    return D3dResult::InvalidCall;
  }
  if (window_.Gone()) {
    return D3dResult::Ok;
  }
  // What changed, and what the server lost of the window since.
  const std::vector<Rect> lost = window_.TakeExposed();
  std::vector<Rect> parts;
  if (lost.empty()) {
    parts = changed.Rects();
  } else {
    soft::Damage shown = changed;
    for (const Rect& area : lost) {
      shown.Add(area);
    }
    parts = shown.Rects();
  }
  const Rows image = Pixels();
  for (const Rect& part : parts) {
    const size_t bytes = static_cast<size_t>(part.right - part.left) * 4;
    for (int32_t y = part.top; y < part.bottom; ++y) {
      uint8_t* row = image.Pixel(part.left, y);
      if (backBuffer.first != image.first) {
        std::memcpy(row, backBuffer.Pixel(part.left, y), bytes);
      }
      if (window_.Depth() == 32) {
        // A 32-bit visual reads the fourth byte as alpha; the device leaves
        // it undefined, and a compositor would show the drawing see-through.
        for (size_t x = 3; x < bytes; x += 4) {
          row[x] = 0xFF;
        }
      }
    }
    image_->Put(part);
  }
  // Once the sync returns the server has read the memory, and the device
  // may draw the next frame in it.
  window_.Sync();
  ++presented_;
  pacer_.FramePresented();
  return D3dResult::Ok;
}

}  // namespace drawing::platform::x11
