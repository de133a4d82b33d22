// The hosted host on a real X server: the program's device draws into the
// window it was given, at the window's size, through MIT-SHM or XPutImage,
// and a window that goes away under it ends the run without an X error.
#include "platform/hosts/x11/x11_hosted_host.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "x11_server.h"

namespace drawing::platform::x11 {
namespace {

intptr_t Quiet(void* /*context*/, Hwnd /*window*/, uint32_t /*message*/, uintptr_t /*wParam*/,
               intptr_t /*lParam*/) {
  return 0;
}

// A distinct colour per pixel and picture; the unused top byte left 0, as
// the device may leave it.
uint32_t Picture(uint32_t picture, uint32_t x, uint32_t y) {
  return picture << 16 | y << 8 | x;
}

// The program's side: the device the application would open on the host's
// one mode, and frames presented through it.
class Program {
 public:
  explicit Program(HostedHost& host) : platform_(host.GetPlatform()) {}
  ~Program() {
    if (device_ != nullptr) {
      device_->Release();
    }
    if (direct3d_ != nullptr) {
      direct3d_->Release();
    }
  }

  // Opens the device at the adapter's one mode, which it returns.
  DisplayMode Open() {
    DisplayMode& mode = mode_;
    WndClassEx windowClass;
    windowClass.windowProc = &Quiet;
    windowClass.className = "screen";
    EXPECT_TRUE(platform_.windowing.RegisterClassEx(windowClass));
    const Hwnd window = platform_.windowing.CreateWindowEx(0, "screen", "", 0, 0, 0, 1, 1, nullptr);
    EXPECT_TRUE(platform_.direct3d.LoadLibrary() && platform_.direct3d.GetProcAddress());
    direct3d_ = platform_.direct3d.Direct3DCreate9(32);
    if (direct3d_ == nullptr) {
      ADD_FAILURE() << "no Direct3D";
      return mode;
    }
    EXPECT_EQ(direct3d_->GetAdapterModeCount(0, Format::X8R8G8B8), 1u);
    EXPECT_EQ(direct3d_->EnumAdapterModes(0, Format::X8R8G8B8, 0, &mode), D3dResult::Ok);
    PresentParameters parameters;
    parameters.BackBufferWidth = mode.Width;
    parameters.BackBufferHeight = mode.Height;
    parameters.BackBufferFormat = Format::X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.hDeviceWindow = window;
    parameters.Flags = static_cast<uint32_t>(PresentFlag::LockableBackbuffer);
    EXPECT_EQ(direct3d_->CreateDevice(0, DevType::Hal, window,
                                      static_cast<uint32_t>(CreateFlag::SoftwareVertexProcessing),
                                      &parameters, &device_),
              D3dResult::Ok);
    return mode;
  }

  // Presents the back buffer as it is.
  D3dResult PresentUnchanged() {
    return device_ != nullptr ? device_->Present() : D3dResult::InvalidCall;
  }

  // Draws `picture` into the back buffer, or into `area` of it only, and
  // presents it.
  D3dResult Present(uint32_t picture, const Rect* area = nullptr) {
    if (device_ == nullptr) {
      return D3dResult::InvalidCall;
    }
    Surface* backBuffer = nullptr;
    LockedRect locked;
    if (device_->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer) != D3dResult::Ok ||
        backBuffer->LockRect(&locked, area, LockFlag::None) != D3dResult::Ok) {
      ADD_FAILURE() << "the back buffer cannot be drawn in";
      return D3dResult::InvalidCall;
    }
    const Rect all{0, 0, static_cast<int32_t>(mode_.Width), static_cast<int32_t>(mode_.Height)};
    const Rect drawn = area != nullptr ? *area : all;
    for (int32_t y = drawn.top; y < drawn.bottom; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) +
                                              static_cast<ptrdiff_t>(y - drawn.top) * locked.Pitch);
      for (int32_t x = drawn.left; x < drawn.right; ++x) {
        row[x - drawn.left] = Picture(picture, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
      }
    }
    backBuffer->UnlockRect();
    backBuffer->Release();
    return device_->Present();
  }

 private:
  Platform platform_;
  Direct3D* direct3d_ = nullptr;
  Device* device_ = nullptr;
  DisplayMode mode_;
};

struct Server {
  bool sharedMemory;
  int depth;
};
void PrintTo(const Server& server, std::ostream* out) {
  *out << (server.sharedMemory ? "MIT-SHM" : "no MIT-SHM") << ", depth " << server.depth;
}

class X11HostedHostTest : public testing::XServerTest,
                          public ::testing::WithParamInterface<Server> {
 protected:
  bool ServerSharesMemory() const override { return GetParam().sharedMemory; }

  // The host's side of window `id`; null, with the reason, when it cannot
  // be opened.
  static std::unique_ptr<X11Window> OpenWindow(XWindowId id) {
    std::string error;
    auto window = X11Window::Open(static_cast<uint32_t>(id), &error);
    if (window == nullptr) {
      ADD_FAILURE() << error;
    }
    return window;
  }

  // `picture` in the window, and `inside` in `area` when one is named.
  void ExpectShown(XWindowId id, uint32_t picture, uint32_t width, uint32_t height,
                   const Rect& area = {}, uint32_t inside = 0) {
    const uint32_t alpha = GetParam().depth == 32 ? 0xFF000000u : 0;
    std::vector<uint32_t> expected;
    for (uint32_t y = 0; y < height; ++y) {
      for (uint32_t x = 0; x < width; ++x) {
        const bool in =
            static_cast<int32_t>(x) >= area.left && static_cast<int32_t>(x) < area.right &&
            static_cast<int32_t>(y) >= area.top && static_cast<int32_t>(y) < area.bottom;
        expected.push_back(alpha | Picture(in ? inside : picture, x, y));
      }
    }
    EXPECT_EQ(Read(id, width, height), expected);
  }
};

// A resize ends the run; the next host, on the same window, is at the new size.
TEST_P(X11HostedHostTest, TheFrameFillsTheWindowAndTheNextHostTakesItsNewSize) {
  const XWindowId id = MakeWindow(64, 48, GetParam().depth);
  const auto window = OpenWindow(id);
  ASSERT_NE(window, nullptr);
  {
    HostedHost host(*window);
    Program program(host);
    const DisplayMode mode = program.Open();
    EXPECT_EQ(mode.Width, 64u);
    EXPECT_EQ(mode.Height, 48u);
    EXPECT_EQ(host.Display().SharedMemory(), GetParam().sharedMemory);
    EXPECT_EQ(program.Present(1), D3dResult::Ok);
    ExpectShown(id, 1, 64, 48);
  }
  Configure(id, 0, 0, 81, 37);
  ASSERT_EQ(window->Poll(), WindowChange::Resized);
  HostedHost host(*window);
  Program program(host);
  const DisplayMode mode = program.Open();
  EXPECT_EQ(mode.Width, 81u);
  EXPECT_EQ(mode.Height, 37u);
  // A second frame: the device draws where the host lends it after a present.
  EXPECT_EQ(program.Present(2), D3dResult::Ok);
  EXPECT_EQ(program.Present(3), D3dResult::Ok);
  ExpectShown(id, 3, 81, 37);
}

// A frame puts only what changed, and what the server lost of the window
// (a window over it that went away) is put again with the next frame.
TEST_P(X11HostedHostTest, AFramePutsWhatChangedAndWhatTheWindowLost) {
  const XWindowId id = MakeWindow(64, 48, GetParam().depth);
  const auto window = OpenWindow(id);
  ASSERT_NE(window, nullptr);
  HostedHost host(*window);
  Program program(host);
  program.Open();
  ASSERT_EQ(program.Present(1), D3dResult::Ok);
  const Rect changed{40, 30, 50, 41};
  ASSERT_EQ(program.Present(2, &changed), D3dResult::Ok);
  ExpectShown(id, 1, 64, 48, changed, 2);

  Destroy(MakeWindow(20, 10));  // painted black over ours, then gone
  ASSERT_EQ(window->Poll(), WindowChange::Unchanged);
  ASSERT_EQ(program.PresentUnchanged(), D3dResult::Ok);
  ExpectShown(id, 1, 64, 48, changed, 2);
}

INSTANTIATE_TEST_SUITE_P(Servers, X11HostedHostTest,
                         ::testing::Values(Server{true, 24}, Server{false, 24}, Server{true, 32},
                                           Server{false, 32}),
                         [](const ::testing::TestParamInfo<Server>& server) {
                           return std::string(server.param.sharedMemory ? "Shm" : "PutImage") +
                                  std::to_string(server.param.depth);
                         });

using X11HostedHostEndTest = testing::XServerTest;

// The owner destroys its window while a device presents to it, or between a
// resize and the next host's device: presents stay Ok and the window reads
// as gone, so the run ends at the next frame; no X error ends the process.
TEST_F(X11HostedHostEndTest, AWindowDestroyedUnderTheHostEndsTheRunQuietly) {
  for (const bool beforeTheDevice : {false, true}) {
    const XWindowId id = MakeWindow(32, 24);
    std::string error;
    const auto window = X11Window::Open(static_cast<uint32_t>(id), &error);
    ASSERT_NE(window, nullptr) << error;
    HostedHost host(*window);
    if (beforeTheDevice) {
      Destroy(id);
    }
    Program program(host);
    program.Open();
    if (!beforeTheDevice) {
      EXPECT_EQ(program.Present(1), D3dResult::Ok);
      Destroy(id);
    }
    EXPECT_EQ(program.Present(2), D3dResult::Ok);
    EXPECT_TRUE(window->Gone()) << beforeTheDevice;
    const uint32_t presented = host.Display().PresentedCount();
    EXPECT_EQ(program.Present(3), D3dResult::Ok);
    EXPECT_EQ(host.Display().PresentedCount(), presented) << "a present to a gone window";
    EXPECT_EQ(window->Poll(), WindowChange::Gone);
  }
}

}  // namespace
}  // namespace drawing::platform::x11
