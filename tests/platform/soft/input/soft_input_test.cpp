// The software DirectInput's device rules, shared by every host, driven
// through the scriptable headless host.
#include <gtest/gtest.h>

#include <array>

#include "platform/hosts/headless/headless_input.h"
#include "support/emulation_recorder.h"

namespace drawing::platform::headless {
namespace {

class SoftInputTest : public ::testing::Test {
 protected:
  SoftInputTest() {
    EXPECT_TRUE(input.LoadLibrary());
    EXPECT_TRUE(input.GetProcAddress());
    EXPECT_EQ(input.DirectInputCreateEx(nullptr, 0x0700, &object), DiResult::Ok);
  }

  InputDevice* Create(DeviceGuid kind) {
    InputDevice* device = nullptr;
    EXPECT_EQ(object->CreateDeviceEx(kind, &device), DiResult::Ok);
    return device;
  }

  InputDevice* Keyboard() {
    InputDevice* device = Create(DeviceGuid::SysKeyboard);
    EXPECT_EQ(device->SetDataFormat(KeyboardFormat()), DiResult::Ok);
    EXPECT_EQ(device->SetCooperativeLevel(
                  Window(), DisclBits(Discl::NonExclusive, Discl::Foreground, Discl::NoWinKey)),
              DiResult::Ok);
    return device;
  }

  InputDevice* Mouse(uint32_t bufferSize = 24) {
    InputDevice* device = Create(DeviceGuid::SysMouse);
    EXPECT_EQ(device->SetDataFormat(MouseFormat()), DiResult::Ok);
    EXPECT_EQ(device->SetCooperativeLevel(Window(), DisclBits(Discl::Exclusive, Discl::Foreground)),
              DiResult::Ok);
    DiPropDword property{};
    property.dwData = bufferSize;
    EXPECT_EQ(device->SetProperty(DiProperty::BufferSize, property), DiResult::Ok);
    return device;
  }

  // A one-row format is enough for the device; only the data size matters.
  static DiDataFormat Format(uint32_t dataSize, const DiObjectDataFormat* row) {
    return {24, 16, 2, dataSize, 1, row};
  }
  DiDataFormat KeyboardFormat() { return Format(256, &keyRow); }
  DiDataFormat MouseFormat() { return Format(16, &axisRow); }
  Hwnd Window() { return reinterpret_cast<Hwnd>(&windowTag); }

  DiResult Read(InputDevice* device, uint32_t* count) {
    *count = static_cast<uint32_t>(records.size());
    return device->GetDeviceData(sizeof(DiDeviceObjectData), records.data(), count, 0);
  }

  HeadlessInput input;
  DirectInput* object = nullptr;
  DiObjectDataFormat keyRow{ObjectGuid::Key, 0, 0x8000000Cu, 0};
  DiObjectDataFormat axisRow{ObjectGuid::XAxis, 0, 0x00FFFF03u, 0};
  std::array<DiDeviceObjectData, 24> records{};
  int windowTag = 0;
};

TEST_F(SoftInputTest, KeyboardStateShowsHeldKeys) {
  InputDevice* keyboard = Keyboard();
  ASSERT_EQ(keyboard->Acquire(), DiResult::Ok);
  input.KeyDown(1);
  input.KeyDown(200);
  std::array<uint8_t, 256> state{};
  ASSERT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::Ok);
  EXPECT_EQ(state[1], 0x80);
  EXPECT_EQ(state[200], 0x80);
  EXPECT_EQ(state[2], 0);
  input.KeyUp(1);
  ASSERT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::Ok);
  EXPECT_EQ(state[1], 0);
}

TEST_F(SoftInputTest, KeyboardReadsOnlyWhileAcquiredAndFocused) {
  InputDevice* keyboard = Keyboard();
  std::array<uint8_t, 256> state{};
  EXPECT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::NotAcquired);
  ASSERT_EQ(keyboard->Acquire(), DiResult::Ok);
  input.SetFocus(false);
  EXPECT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::InputLost);
  EXPECT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::NotAcquired);
  EXPECT_EQ(keyboard->Acquire(), DiResult::OtherAppHasPrio);
  input.SetFocus(true);
  EXPECT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::NotAcquired);
  ASSERT_EQ(keyboard->Acquire(), DiResult::Ok);
  EXPECT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::Ok);
}

TEST_F(SoftInputTest, BackgroundDeviceKeepsReadingWithoutFocus) {
  InputDevice* keyboard = Create(DeviceGuid::SysKeyboard);
  ASSERT_EQ(keyboard->SetDataFormat(KeyboardFormat()), DiResult::Ok);
  input.SetFocus(false);
  ASSERT_EQ(keyboard->Acquire(), DiResult::Ok);
  std::array<uint8_t, 256> state{};
  EXPECT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::Ok);
}

TEST_F(SoftInputTest, AcquireNeedsADataFormatAndLevelsMustBeWhole) {
  InputDevice* keyboard = Create(DeviceGuid::SysKeyboard);
  EXPECT_EQ(keyboard->Acquire(), DiResult::InvalidParam);
  EXPECT_EQ(
      keyboard->SetCooperativeLevel(Window(), DisclBits(Discl::Exclusive, Discl::NonExclusive)),
      DiResult::InvalidParam);
  EXPECT_EQ(keyboard->SetCooperativeLevel(nullptr, DisclBits(Discl::Exclusive, Discl::Foreground)),
            DiResult::InvalidParam);
  DirectInput* other = nullptr;
  EXPECT_EQ(input.DirectInputCreateEx(nullptr, 0x0800, &other), DiResult::InvalidParam);
  EXPECT_EQ(other, nullptr);
}

TEST_F(SoftInputTest, MouseQueuesRecordsOnlyWhileAcquired) {
  InputDevice* mouse = Mouse();
  input.Move(5, 5);
  uint32_t count = 0;
  EXPECT_EQ(Read(mouse, &count), DiResult::NotAcquired);
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  input.Move(3, 0);
  input.Move(0, -2);
  input.Button(1, true);
  ASSERT_EQ(Read(mouse, &count), DiResult::Ok);
  ASSERT_EQ(count, 3u);
  EXPECT_EQ(records[0].dwOfs, 0u);
  EXPECT_EQ(records[0].dwData, 3u);
  EXPECT_EQ(records[1].dwOfs, 4u);
  EXPECT_EQ(static_cast<int32_t>(records[1].dwData), -2);
  EXPECT_EQ(records[2].dwOfs, 12u);
  EXPECT_EQ(records[2].dwData, 0x80u);
  EXPECT_LT(records[0].dwSequence, records[2].dwSequence);
  ASSERT_EQ(Read(mouse, &count), DiResult::Ok);
  EXPECT_EQ(count, 0u);
}

TEST_F(SoftInputTest, FullBufferKeepsTheOldestRecordsAndReportsOverflowOnce) {
  InputDevice* mouse = Mouse();
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  for (int32_t i = 1; i <= 25; ++i) {
    input.Move(i, 0);
  }
  auto* headless = input.Device(DeviceGuid::SysMouse);
  EXPECT_EQ(headless->QueuedRecords(), 24u);
  EXPECT_TRUE(headless->Overflowed());
  uint32_t count = 0;
  ASSERT_EQ(Read(mouse, &count), DiResult::BufferOverflow);
  ASSERT_EQ(count, 24u);
  EXPECT_EQ(records[0].dwData, 1u);
  EXPECT_EQ(records[23].dwData, 24u);
  EXPECT_EQ(Read(mouse, &count), DiResult::Ok);
  EXPECT_EQ(count, 0u);
}

TEST_F(SoftInputTest, FocusLossUnacquiresTheExclusiveMouse) {
  InputDevice* mouse = Mouse();
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  input.Move(1, 0);
  input.SetFocus(false);
  input.Move(1, 0);
  uint32_t count = 0;
  EXPECT_EQ(Read(mouse, &count), DiResult::InputLost);
  EXPECT_EQ(Read(mouse, &count), DiResult::NotAcquired);
  EXPECT_EQ(mouse->Acquire(), DiResult::OtherAppHasPrio);
  input.SetFocus(true);
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  ASSERT_EQ(Read(mouse, &count), DiResult::Ok);
  EXPECT_EQ(count, 0u);  // nothing from before the loss survives
}

TEST_F(SoftInputTest, UnacquireBeforeTheFocusLossReportsNotAcquired) {
  InputDevice* mouse = Mouse();
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  mouse->Unacquire();
  input.SetFocus(false);
  uint32_t count = 0;
  EXPECT_EQ(Read(mouse, &count), DiResult::NotAcquired);
}

TEST_F(SoftInputTest, FocusListenerHearsChangesOnly) {
  std::vector<bool> heard;
  input.SetFocusListener([&heard](bool focused) { heard.push_back(focused); });
  input.SetFocus(true);  // already focused
  input.SetFocus(false);
  input.SetFocus(false);
  input.SetFocus(true);
  EXPECT_EQ(heard, (std::vector<bool>{false, true}));
}

TEST_F(SoftInputTest, TimelineAppliesAFramesEventsInOrder) {
  InputDevice* mouse = Mouse();
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  input.AddEvent(2, InputEvent::KeyDown(30));
  input.AddEvent(2, InputEvent::Button(1, true));
  input.AddEvent(2, InputEvent::Button(1, false));
  input.AddEvent(5, InputEvent::KeyUp(30));
  EXPECT_EQ(input.LastScriptedFrame(), 5u);
  input.BeginFrame(1);
  EXPECT_FALSE(input.KeyHeld(30));
  input.BeginFrame(2);
  EXPECT_TRUE(input.KeyHeld(30));
  EXPECT_FALSE(input.ButtonHeld(1));
  uint32_t count = 0;
  ASSERT_EQ(Read(mouse, &count), DiResult::Ok);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(records[0].dwData, 0x80u);
  EXPECT_EQ(records[1].dwData, 0u);
  EXPECT_EQ(records[0].dwTimeStamp, 2u);
  input.BeginFrame(5);
  EXPECT_FALSE(input.KeyHeld(30));
}

TEST_F(SoftInputTest, FaultsFailTheGivenNumberOfCalls) {
  input.Faults(DeviceGuid::SysMouse).acquire = 2;
  InputDevice* mouse = Mouse();
  EXPECT_EQ(mouse->Acquire(), DiResult::Fail);
  EXPECT_EQ(mouse->Acquire(), DiResult::Fail);
  EXPECT_EQ(mouse->Acquire(), DiResult::Ok);
  input.Faults(DeviceGuid::SysMouse).reads = kFailAlways;
  input.Faults(DeviceGuid::SysMouse).readCode = DiResult::OtherAppHasPrio;
  uint32_t count = 0;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Read(mouse, &count), DiResult::OtherAppHasPrio);
  }
}

TEST_F(SoftInputTest, DeviceCreationFaultIsPerDevice) {
  input.Faults(DeviceGuid::SysMouse).createDevice = true;
  InputDevice* device = reinterpret_cast<InputDevice*>(&windowTag);
  EXPECT_EQ(object->CreateDeviceEx(DeviceGuid::SysMouse, &device), DiResult::Fail);
  EXPECT_EQ(device, nullptr);
  EXPECT_NE(Create(DeviceGuid::SysKeyboard), nullptr);
}

TEST_F(SoftInputTest, ModuleFaultsLeaveTheObjectNull) {
  HeadlessInput other;
  other.FailCreate(true);
  EXPECT_TRUE(other.LoadLibrary());
  EXPECT_TRUE(other.GetProcAddress());
  DirectInput* created = nullptr;
  EXPECT_NE(other.DirectInputCreateEx(nullptr, 0x0700, &created), DiResult::Ok);
  EXPECT_EQ(created, nullptr);
  other.FailGetProcAddress(true);
  EXPECT_FALSE(other.GetProcAddress());
  other.FailLoadLibrary(true);
  EXPECT_FALSE(other.LoadLibrary());
}

// As DirectInput: a device's set-up is fixed while it is acquired.
TEST_F(SoftInputTest, SetUpIsRefusedWhileAcquired) {
  InputDevice* mouse = Mouse();
  const uint32_t bufferSize = input.Device(DeviceGuid::SysMouse)->BufferSize();
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  EXPECT_NE(mouse->SetDataFormat(MouseFormat()), DiResult::Ok);
  DiPropDword property{};
  property.dwData = bufferSize + 8;
  EXPECT_EQ(mouse->SetProperty(DiProperty::BufferSize, property), DiResult::Acquired);
  EXPECT_EQ(input.Device(DeviceGuid::SysMouse)->BufferSize(), bufferSize);
  EXPECT_EQ(mouse->SetCooperativeLevel(Window(), DisclBits(Discl::Exclusive, Discl::Foreground)),
            DiResult::Acquired);
  EXPECT_TRUE(input.Device(DeviceGuid::SysMouse)->Acquired());
  mouse->Unacquire();
  EXPECT_EQ(mouse->SetProperty(DiProperty::BufferSize, property), DiResult::Ok);
  EXPECT_EQ(input.Device(DeviceGuid::SysMouse)->BufferSize(), bufferSize + 8);
}

TEST_F(SoftInputTest, CallsReachOnlyAnAttachedObserver) {
  InputDevice* keyboard = Keyboard();
  ASSERT_EQ(keyboard->Acquire(), DiResult::Ok);
  support::EmulationRecorder log;
  input.SetObserver(&log);
  std::array<uint8_t, 256> state{};
  EXPECT_EQ(keyboard->GetDeviceState(256, state.data()), DiResult::Ok);
  keyboard->Unacquire();
  input.SetObserver(nullptr);
  EXPECT_EQ(keyboard->Acquire(), DiResult::Ok);
  ASSERT_EQ(log.InputCalls().size(), 2u);
  EXPECT_EQ(log.InputCallsOf(InputCallKind::Unacquire, DeviceGuid::SysKeyboard).size(), 1u);
}

TEST_F(SoftInputTest, ReleasedDevicesReceiveNothing) {
  InputDevice* mouse = Mouse();
  ASSERT_EQ(mouse->Acquire(), DiResult::Ok);
  EXPECT_EQ(mouse->Release(), 0u);
  input.Move(1, 1);
  auto* headless = input.Device(DeviceGuid::SysMouse);
  EXPECT_TRUE(headless->Released());
  EXPECT_EQ(headless->QueuedRecords(), 0u);
}

}  // namespace
}  // namespace drawing::platform::headless
