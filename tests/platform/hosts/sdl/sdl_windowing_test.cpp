// The screen window on SDL and the message pump's translation of SDL events.
// The window system's own rules are tested once, in soft_windowing_test.cpp.
#include "platform/hosts/sdl/sdl_windowing.h"

#include <string>

#include "sdl_fixture.h"

namespace drawing::platform::sdl {
namespace {

using testing::ProcedureLog;
using testing::PumpAll;
using testing::PushType;
using testing::PushWindowEvent;

constexpr auto kActivate = static_cast<uint32_t>(Wm::Activate);
constexpr auto kClose = static_cast<uint32_t>(Wm::Close);

class SdlWindowingTest : public testing::SdlTest {
 protected:
  void SetUp() override {
    SdlTest::SetUp();
    window_ = testing::MakeWindow(windowing_, log_);
    ASSERT_NE(window_, nullptr);
    sdl_ = windowing_.SdlWindow(window_);
    ASSERT_NE(sdl_, nullptr);
  }

  SdlWindowing windowing_;
  ProcedureLog log_;
  Hwnd window_ = nullptr;
  SDL_Window* sdl_ = nullptr;
};

TEST_F(SdlWindowingTest, TheWindowStartsHiddenAndBorderless) {
  const uint32_t flags = SDL_GetWindowFlags(sdl_);
  EXPECT_EQ(flags & SDL_WINDOW_SHOWN, 0u);
  EXPECT_NE(flags & SDL_WINDOW_BORDERLESS, 0u);
}

TEST_F(SdlWindowingTest, TitleAndSizeReachTheSdlWindow) {
  EXPECT_TRUE(windowing_.SetWindowText(window_, "drawing"));
  EXPECT_EQ(std::string(SDL_GetWindowTitle(sdl_)), "drawing");
  EXPECT_TRUE(windowing_.MoveWindow(window_, 0, 0, 320, 200, true));
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(sdl_, &width, &height);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 200);
}

TEST_F(SdlWindowingTest, ShowingReportsThePreviousVisibility) {
  EXPECT_FALSE(windowing_.ShowWindow(window_, ShowCommand::ShowMaximized));
  EXPECT_NE(SDL_GetWindowFlags(sdl_) & SDL_WINDOW_SHOWN, 0u);
  EXPECT_TRUE(windowing_.ShowWindow(window_, ShowCommand::Hide));
  EXPECT_EQ(SDL_GetWindowFlags(sdl_) & SDL_WINDOW_SHOWN, 0u);
}

TEST_F(SdlWindowingTest, UnknownWindowsHaveNoSdlWindow) {
  const auto stranger = reinterpret_cast<Hwnd>(&log_);
  EXPECT_FALSE(windowing_.SetWindowText(stranger, "x"));
  EXPECT_FALSE(windowing_.ShowWindow(stranger, ShowCommand::ShowMaximized));
  EXPECT_EQ(windowing_.SdlWindow(stranger), nullptr);
}

TEST_F(SdlWindowingTest, TheCursorCounterWorksLikeWindows) {
  EXPECT_EQ(windowing_.ShowCursor(false), -1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_EQ(windowing_.ShowCursor(false), -2);
  EXPECT_EQ(windowing_.ShowCursor(true), -1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_EQ(windowing_.ShowCursor(true), 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SdlWindowingTest, FocusChangesReachTheProcedureAsActivation) {
  PushWindowEvent(sdl_, SDL_WINDOWEVENT_FOCUS_GAINED);
  PushWindowEvent(sdl_, SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_EQ(PumpAll(windowing_), 2);
  ASSERT_EQ(log_.calls.size(), 2u);
  EXPECT_EQ(log_.calls[0].message, kActivate);
  EXPECT_EQ(log_.calls[0].wParam, static_cast<uintptr_t>(WindowActivation::Active));
  EXPECT_EQ(log_.calls[1].message, kActivate);
  EXPECT_EQ(log_.calls[1].wParam, static_cast<uintptr_t>(WindowActivation::Inactive));
}

TEST_F(SdlWindowingTest, MinimiseAndRestoreAreActivationChangesToo) {
  PushWindowEvent(sdl_, SDL_WINDOWEVENT_MINIMIZED);
  PushWindowEvent(sdl_, SDL_WINDOWEVENT_RESTORED);
  PumpAll(windowing_);
  ASSERT_EQ(log_.calls.size(), 2u);
  EXPECT_EQ(log_.calls[0].wParam, static_cast<uintptr_t>(WindowActivation::Inactive));
  EXPECT_EQ(log_.calls[1].wParam, static_cast<uintptr_t>(WindowActivation::Active));
}

TEST_F(SdlWindowingTest, QuitAndCloseRequestsBecomeCloseMessages) {
  PushType(SDL_QUIT);
  PushWindowEvent(sdl_, SDL_WINDOWEVENT_CLOSE);
  PumpAll(windowing_);
  ASSERT_EQ(log_.calls.size(), 2u);
  EXPECT_EQ(log_.calls[0].message, kClose);
  EXPECT_EQ(log_.calls[1].message, kClose);
  // The procedure swallowed them; the window is still there.
  EXPECT_NE(windowing_.SdlWindow(window_), nullptr);
}

TEST_F(SdlWindowingTest, OtherEventsGoOnlyToTheSinks) {
  struct Counter : SdlEventSink {
    void OnSdlEvent(const SDL_Event& event) override { types.push_back(event.type); }
    std::vector<uint32_t> types;
  } counter;
  windowing_.AddEventSink(&counter);
  PushType(SDL_RENDER_DEVICE_RESET);
  PushWindowEvent(sdl_, SDL_WINDOWEVENT_FOCUS_GAINED);
  EXPECT_EQ(PumpAll(windowing_), 1);
  ASSERT_EQ(counter.types.size(), 2u);
  EXPECT_EQ(counter.types[0], static_cast<uint32_t>(SDL_RENDER_DEVICE_RESET));
  EXPECT_EQ(log_.calls.size(), 1u);
}

TEST_F(SdlWindowingTest, AnEmptyQueueHasNoMessage) {
  Msg msg;
  EXPECT_FALSE(windowing_.PeekMessage(&msg));
}

TEST(SdlWindowingStart, WithoutAVideoDriverNoWindowIsMade) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "no such driver");
  SdlWindowing windowing;
  ProcedureLog log;
  EXPECT_EQ(testing::MakeWindow(windowing, log), nullptr);
  Msg msg;
  EXPECT_FALSE(windowing.PeekMessage(&msg));
  SDL_Quit();
}

}  // namespace
}  // namespace drawing::platform::sdl
