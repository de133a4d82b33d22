// SDL's events as the software DirectInput's keyboard, mouse and focus, fed
// with synthetic SDL events through the message pump. The device rules
// themselves are tested once, in soft_input_test.cpp.
#include <array>

#include "platform/hosts/sdl/sdl_input.h"
#include "sdl_fixture.h"

namespace drawing::platform::sdl {
namespace {

using testing::ProcedureLog;
using testing::PumpAll;
using testing::PushButton;
using testing::PushKey;
using testing::PushMotion;
using testing::PushWindowEvent;

constexpr uint32_t kKeyboardLevel =
    DisclBits(Discl::NonExclusive, Discl::Foreground, Discl::NoWinKey);
constexpr uint32_t kMouseLevel = DisclBits(Discl::Exclusive, Discl::Foreground);

DiDataFormat FormatOfSize(uint32_t size) {
  DiDataFormat format;
  format.dwFlags = static_cast<uint32_t>(Didf::RelAxis);
  format.dwDataSize = size;
  return format;
}

class SdlInputTest : public testing::SdlTest {
 protected:
  void SetUp() override {
    SdlTest::SetUp();
    window_ = testing::MakeWindow(windowing_, log_);
    ASSERT_NE(window_, nullptr);
    windowing_.AddEventSink(&input_);
    ASSERT_TRUE(input_.LoadLibrary());
    ASSERT_TRUE(input_.GetProcAddress());
    ASSERT_EQ(input_.DirectInputCreateEx(nullptr, 0x0700, &object_), DiResult::Ok);
    ASSERT_EQ(object_->CreateDeviceEx(DeviceGuid::SysKeyboard, &keyboard_), DiResult::Ok);
    ASSERT_EQ(object_->CreateDeviceEx(DeviceGuid::SysMouse, &mouse_), DiResult::Ok);
    ASSERT_EQ(keyboard_->SetDataFormat(FormatOfSize(256)), DiResult::Ok);
    ASSERT_EQ(mouse_->SetDataFormat(FormatOfSize(16)), DiResult::Ok);
    ASSERT_EQ(keyboard_->SetCooperativeLevel(window_, kKeyboardLevel), DiResult::Ok);
    ASSERT_EQ(mouse_->SetCooperativeLevel(window_, kMouseLevel), DiResult::Ok);
    DiPropDword bufferSize;
    bufferSize.dwData = 24;
    ASSERT_EQ(mouse_->SetProperty(DiProperty::BufferSize, bufferSize), DiResult::Ok);
  }

  void TearDown() override {
    keyboard_->Release();
    mouse_->Release();
    object_->Release();
    input_.FreeLibrary();
    SdlTest::TearDown();
  }

  void Focus(bool focused) {
    PushWindowEvent(windowing_.SdlWindow(window_),
                    focused ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
    PumpAll(windowing_);
  }

  DiResult ReadKeys() { return keyboard_->GetDeviceState(256, keys_.data()); }

  DiResult ReadMouse(uint32_t* count) {
    *count = static_cast<uint32_t>(records_.size());
    return mouse_->GetDeviceData(sizeof(DiDeviceObjectData), records_.data(), count, 0);
  }

  SdlWindowing windowing_;
  ProcedureLog log_;
  Hwnd window_ = nullptr;
  SdlInput input_;
  DirectInput* object_ = nullptr;
  InputDevice* keyboard_ = nullptr;
  InputDevice* mouse_ = nullptr;
  std::array<uint8_t, 256> keys_{};
  std::array<DiDeviceObjectData, 24> records_{};
};

TEST_F(SdlInputTest, ForegroundDevicesCannotBeAcquiredWithoutTheFocus) {
  EXPECT_EQ(keyboard_->Acquire(), DiResult::OtherAppHasPrio);
  EXPECT_EQ(mouse_->Acquire(), DiResult::OtherAppHasPrio);
  EXPECT_EQ(ReadKeys(), DiResult::NotAcquired);
}

TEST_F(SdlInputTest, HeldKeysReadAsBitSevenAtTheirDirectInputCode) {
  Focus(true);
  ASSERT_EQ(keyboard_->Acquire(), DiResult::Ok);
  PushKey(SDL_SCANCODE_S, true);
  PushKey(SDL_SCANCODE_ESCAPE, true);
  PumpAll(windowing_);
  ASSERT_EQ(ReadKeys(), DiResult::Ok);
  EXPECT_EQ(keys_[31], 0x80);
  EXPECT_EQ(keys_[1], 0x80);
  EXPECT_EQ(keys_[30], 0);

  PushKey(SDL_SCANCODE_S, false);
  PumpAll(windowing_);
  ASSERT_EQ(ReadKeys(), DiResult::Ok);
  EXPECT_EQ(keys_[31], 0);
  EXPECT_EQ(keys_[1], 0x80);
}

TEST_F(SdlInputTest, AKeyPressedAndReleasedBetweenReadsIsNeverSeenHeld) {
  Focus(true);
  ASSERT_EQ(keyboard_->Acquire(), DiResult::Ok);
  PushKey(SDL_SCANCODE_A, true);
  PushKey(SDL_SCANCODE_A, true, /*repeat=*/true);
  PushKey(SDL_SCANCODE_A, false);
  PumpAll(windowing_);
  ASSERT_EQ(ReadKeys(), DiResult::Ok);
  EXPECT_EQ(keys_[30], 0);
}

TEST_F(SdlInputTest, LosingTheFocusEndsTheAcquisitionAndForgetsHeldKeys) {
  Focus(true);
  ASSERT_EQ(keyboard_->Acquire(), DiResult::Ok);
  PushKey(SDL_SCANCODE_W, true);
  Focus(false);
  EXPECT_EQ(ReadKeys(), DiResult::InputLost);

  // A key held when the focus went is not held any more when it returns.
  Focus(true);
  ASSERT_EQ(keyboard_->Acquire(), DiResult::Ok);
  ASSERT_EQ(ReadKeys(), DiResult::Ok);
  EXPECT_EQ(keys_[0x11], 0);
}

TEST_F(SdlInputTest, MinimisingCountsAsLosingTheFocus) {
  Focus(true);
  ASSERT_EQ(mouse_->Acquire(), DiResult::Ok);
  PushWindowEvent(windowing_.SdlWindow(window_), SDL_WINDOWEVENT_MINIMIZED);
  PumpAll(windowing_);
  EXPECT_FALSE(input_.Focused());
  uint32_t count = 0;
  EXPECT_EQ(ReadMouse(&count), DiResult::InputLost);
}

TEST_F(SdlInputTest, MotionBecomesSignedAxisRecords) {
  Focus(true);
  ASSERT_EQ(mouse_->Acquire(), DiResult::Ok);
  PushMotion(3, 0);
  PushMotion(-1, -4);
  PumpAll(windowing_);
  uint32_t count = 0;
  ASSERT_EQ(ReadMouse(&count), DiResult::Ok);
  ASSERT_EQ(count, 3u);
  EXPECT_EQ(records_[0].dwOfs, 0u);
  EXPECT_EQ(static_cast<int32_t>(records_[0].dwData), 3);
  EXPECT_EQ(records_[1].dwOfs, 0u);
  EXPECT_EQ(static_cast<int32_t>(records_[1].dwData), -1);
  EXPECT_EQ(records_[2].dwOfs, 4u);
  EXPECT_EQ(static_cast<int32_t>(records_[2].dwData), -4);
  EXPECT_LT(records_[0].dwSequence, records_[2].dwSequence);
}

TEST_F(SdlInputTest, ButtonsBecomeRecordsAtTheirOffsets) {
  Focus(true);
  ASSERT_EQ(mouse_->Acquire(), DiResult::Ok);
  PushButton(SDL_BUTTON_LEFT, true);
  PushButton(SDL_BUTTON_RIGHT, true);
  PushButton(SDL_BUTTON_MIDDLE, true);
  PushButton(SDL_BUTTON_LEFT, false);
  PumpAll(windowing_);
  uint32_t count = 0;
  ASSERT_EQ(ReadMouse(&count), DiResult::Ok);
  ASSERT_EQ(count, 4u);
  EXPECT_EQ(records_[0].dwOfs, 12u);
  EXPECT_EQ(records_[0].dwData, 0x80u);
  EXPECT_EQ(records_[1].dwOfs, 13u);
  EXPECT_EQ(records_[2].dwOfs, 14u);
  EXPECT_EQ(records_[3].dwOfs, 12u);
  EXPECT_EQ(records_[3].dwData & 0x80u, 0u);
}

TEST(SdlInputModule, WithoutAVideoDriverTheLibraryDoesNotLoad) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "no such driver");
  SdlInput input;
  EXPECT_FALSE(input.LoadLibrary());
  EXPECT_FALSE(input.GetProcAddress());
  DirectInput* object = nullptr;
  EXPECT_NE(input.DirectInputCreateEx(nullptr, 0x0700, &object), DiResult::Ok);
  EXPECT_EQ(object, nullptr);
  SDL_Quit();
}

}  // namespace
}  // namespace drawing::platform::sdl
