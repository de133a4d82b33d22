#include "platform/headless/headless_input_script.h"

#include <gtest/gtest.h>

namespace drawing::platform::headless {
namespace {

TEST(InputScriptTest, EventsReachTheirFrames) {
  HeadlessInput input;
  const char* script =
      "# a click, then Escape\n"
      "3 press 1\n"
      "3 release 1   # same frame\n"
      "\n"
      "7 keydown 0x01\n"
      "9 keyup 1\n";
  ASSERT_EQ(LoadInputScript(script, input), 0);
  EXPECT_EQ(input.LastScriptedFrame(), 9u);
  input.BeginFrame(3);
  EXPECT_FALSE(input.ButtonHeld(1));
  input.BeginFrame(7);
  EXPECT_TRUE(input.KeyHeld(1));
  input.BeginFrame(9);
  EXPECT_FALSE(input.KeyHeld(1));
}

TEST(InputScriptTest, MotionAndFocusReachTheDevices) {
  HeadlessInput input;
  ASSERT_EQ(LoadInputScript("1 move -3 +4\n2 focus off\n4 focus on\n5 press 3", input), 0);
  DirectInput* object = nullptr;
  input.LoadLibrary();
  input.GetProcAddress();
  ASSERT_EQ(input.DirectInputCreateEx(nullptr, 0x0700, &object), DiResult::Ok);
  InputDevice* mouse = nullptr;
  ASSERT_EQ(object->CreateDeviceEx(DeviceGuid::SysMouse, &mouse), DiResult::Ok);
  DiObjectDataFormat row{ObjectGuid::XAxis, 0, 0x00FFFF03u, 0};
  DiDataFormat format{24, 16, 2, 16, 1, &row};
  ASSERT_EQ(mouse->SetDataFormat(format), DiResult::Ok);
  DiPropDword size{};
  size.dwData = 24;
  ASSERT_EQ(mouse->SetProperty(DiProperty::BufferSize, size), DiResult::Ok);
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  input.BeginFrame(1);
  EXPECT_EQ(input.Device(DeviceGuid::SysMouse)->QueuedRecords(), 2u);
  input.BeginFrame(2);
  EXPECT_FALSE(input.Focused());
  input.BeginFrame(4);
  EXPECT_TRUE(input.Focused());
  input.BeginFrame(5);
  EXPECT_TRUE(input.ButtonHeld(3));
}

TEST(InputScriptTest, BadLineIsNamedAndNothingIsAdded) {
  HeadlessInput input;
  EXPECT_EQ(LoadInputScript("1 keydown 30\n2 keydown 256\n", input), 2);
  EXPECT_EQ(input.LastScriptedFrame(), 0u);
  EXPECT_EQ(LoadInputScript("1 jump 3", input), 1);
  EXPECT_EQ(LoadInputScript("1 move 3", input), 1);
  EXPECT_EQ(LoadInputScript("\n\nx keyup 1", input), 3);
  EXPECT_EQ(LoadInputScript("-1 keyup 1", input), 1);
  EXPECT_EQ(LoadInputScript("1 press 5", input), 1);
  EXPECT_EQ(LoadInputScript("1 focus maybe", input), 1);
  EXPECT_EQ(LoadInputScript("4", input), 1);
  EXPECT_EQ(input.LastScriptedFrame(), 0u);
}

}  // namespace
}  // namespace drawing::platform::headless
