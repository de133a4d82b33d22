#include "input_world.h"

namespace drawing::input::testing {
namespace {

using DirectInputHolderTest = InputWorld;

TEST_F(DirectInputHolderTest, KeyboardAndMouseShareOneObject) {
  Open();
  EXPECT_EQ(input.directInput.Users(), 2);
  EXPECT_NE(input.directInput.Object(), nullptr);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::DirectInputCreateEx).size(), 1u);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::LoadLibrary).size(), 1u);
}

TEST_F(DirectInputHolderTest, ObjectIsCreatedForVersion7WithTheProgramsInstance) {
  platform::DirectInput* object = input.directInput.OpenDirectInput();
  EXPECT_NE(object, nullptr);
  const auto created = recorder.InputCallsOf(InputCallKind::DirectInputCreateEx);
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].value, 0x0700u);
  EXPECT_EQ(created[0].result, DiResult::Ok);
}

TEST_F(DirectInputHolderTest, LastCloseReleasesTheObjectAndFreesTheLibrary) {
  OpenAndBind();
  mouse().CloseMouse();
  EXPECT_TRUE(devices.ObjectAlive());
  EXPECT_TRUE(devices.LibraryLoaded());
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::FreeLibrary).empty());
  keyboard().CloseKeyboard();
  EXPECT_EQ(input.directInput.Users(), 0);
  EXPECT_EQ(input.directInput.Object(), nullptr);
  EXPECT_FALSE(devices.ObjectAlive());
  EXPECT_FALSE(devices.LibraryLoaded());
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::ObjectRelease).size(), 1u);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::FreeLibrary).size(), 1u);
}

TEST_F(DirectInputHolderTest, ShutdownOrderReleasesDevicesBeforeTheObject) {
  OpenAndBind();
  recorder.ClearInputCalls();
  Shutdown();
  std::vector<InputCallKind> kinds;
  for (const auto& call : recorder.InputCalls()) {
    kinds.push_back(call.kind);
  }
  const std::vector<InputCallKind> expected = {
      InputCallKind::DeviceRelease,  // mouse
      InputCallKind::Unacquire,      // keyboard
      InputCallKind::DeviceRelease, InputCallKind::ObjectRelease, InputCallKind::FreeLibrary};
  EXPECT_EQ(kinds, expected);
}

TEST_F(DirectInputHolderTest, MissingLibraryIsRetriedAtEveryOpenAndStillCounted) {
  devices.FailLoadLibrary(true);
  EXPECT_EQ(input.directInput.OpenDirectInput(), nullptr);
  EXPECT_EQ(input.directInput.OpenDirectInput(), nullptr);
  EXPECT_EQ(input.directInput.Users(), 2);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::LoadLibrary).size(), 2u);
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::GetProcAddress).empty());
  devices.FailLoadLibrary(false);
  EXPECT_NE(input.directInput.OpenDirectInput(), nullptr);
  EXPECT_EQ(input.directInput.Users(), 3);
}

TEST_F(DirectInputHolderTest, MissingEntryPointCreatesNothing) {
  devices.FailGetProcAddress(true);
  EXPECT_EQ(input.directInput.OpenDirectInput(), nullptr);
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::DirectInputCreateEx).empty());
  input.directInput.CloseDirectInput();
  EXPECT_EQ(input.directInput.Users(), 0);
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::ObjectRelease).empty());
}

TEST_F(DirectInputHolderTest, FailedObjectCreationLeavesKeyboardAndMouseAbsent) {
  devices.FailCreate(true);
  Open();
  EXPECT_EQ(keyboard().Status(), KeyboardStatus::KeyboardAbsent);
  EXPECT_EQ(mouse().Status(), MouseStatus::MouseAbsent);
  EXPECT_EQ(input.directInput.Users(), 2);
  Shutdown();
  EXPECT_EQ(input.directInput.Users(), 0);
}

TEST_F(DirectInputHolderTest, WithoutTheLibraryEveryQueryIsZeroAtEveryFrame) {
  devices.FailLoadLibrary(true);
  OpenAndBind();
  for (uint32_t frame = 1; frame <= 5; ++frame) {
    devices.AddEvent(frame, InputEvent::KeyDown(kKeyEscape));
    devices.AddEvent(frame, InputEvent::Move(10, 10));
    devices.AddEvent(frame, InputEvent::Button(1, true));
  }
  devices.AddEvent(3, InputEvent::Focus(false));
  devices.AddEvent(4, InputEvent::Focus(true));
  for (uint32_t frame = 1; frame <= 5; ++frame) {
    devices.BeginFrame(frame);
    EXPECT_EQ(keyboard().PollKeyboard(), 0);
    EXPECT_EQ(mouse().PollMouse(), 0);
    EXPECT_EQ(keyboard().KeyIsDown(AnyKey), 0);
    EXPECT_EQ(keyboard().KeyIsDown(kKeyEscape), 0);
    EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
    EXPECT_EQ(mouse().MouseMoveX(), 0);
    EXPECT_EQ(mouse().MouseMoveY(), 0);
    EXPECT_EQ(mouse().MouseButtonDown(1), 0);
    mouse().UnacquireMouse();
  }
  Shutdown();
  EXPECT_EQ(input.directInput.Users(), 0);
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::FreeLibrary).empty());
}

}  // namespace
}  // namespace drawing::input::testing
