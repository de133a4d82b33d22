// The native DirectInput 7 adapter: DINPUT.DLL is loaded through its entry
// point, and the keyboard and mouse accept the data formats, the buffer size
// and report reads on an unacquired device the way the input module expects.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/win32_direct_input.h"
#include "platform/win32/win32_windowing.h"

namespace drawing::platform {
namespace {

std::vector<DiObjectDataFormat> KeyboardRows() {
  std::vector<DiObjectDataFormat> rows(256);
  for (uint32_t i = 0; i < 256; ++i) {
    rows[i] = {ObjectGuid::Key, i,
               static_cast<uint32_t>(Didft::Optional) | static_cast<uint32_t>(Didft::Button) |
                   DidftMakeInstance(i),
               0};
  }
  return rows;
}

const DiObjectDataFormat kMouseRows[] = {
    {ObjectGuid::XAxis, 0, 0x00FFFF03u, 0}, {ObjectGuid::YAxis, 4, 0x00FFFF03u, 0},
    {ObjectGuid::ZAxis, 8, 0x80FFFF03u, 0}, {ObjectGuid::None, 12, 0x00FFFF0Cu, 0},
    {ObjectGuid::None, 13, 0x00FFFF0Cu, 0}, {ObjectGuid::None, 14, 0x80FFFF0Cu, 0},
    {ObjectGuid::None, 15, 0x80FFFF0Cu, 0},
};

// DirectInput errors have the top bit set; successes (DI_BUFFEROVERFLOW too) do not.
bool IsError(DiResult result) {
  return (static_cast<uint32_t>(result) & 0x80000000u) != 0;
}

DiDataFormat Format(const DiObjectDataFormat* rows, uint32_t count, uint32_t dataSize) {
  DiDataFormat format;
  format.dwFlags = static_cast<uint32_t>(Didf::RelAxis);
  format.dwDataSize = dataSize;
  format.dwNumObjs = count;
  format.rgodf = rows;
  return format;
}

class Win32DirectInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module.LoadLibrary());
    ASSERT_TRUE(module.GetProcAddress());
    EXPECT_EQ(module.DirectInputCreateEx(windowing.GetModuleHandle(), 0x0700, &input),
              DiResult::Ok);
    ASSERT_NE(input, nullptr);
  }
  void TearDown() override {
    if (input != nullptr) {
      input->Release();
    }
    module.FreeLibrary();
  }

  win32::Win32Windowing windowing;
  win32::Win32DirectInputModule module;
  DirectInput* input = nullptr;
};

TEST(Win32DirectInputModuleTest, CreatingBeforeTheEntryPointIsFoundFails) {
  win32::Win32DirectInputModule module;
  DirectInput* input = reinterpret_cast<DirectInput*>(&module);
  EXPECT_TRUE(IsError(module.DirectInputCreateEx(nullptr, 0x0700, &input)));
  EXPECT_EQ(input, nullptr);
  EXPECT_FALSE(module.GetProcAddress());
}

TEST_F(Win32DirectInputTest, KeyboardTakesTheKeyFormatAndReadsNothingUnacquired) {
  InputDevice* keyboard = nullptr;
  ASSERT_EQ(input->CreateDeviceEx(DeviceGuid::SysKeyboard, &keyboard), DiResult::Ok);
  ASSERT_NE(keyboard, nullptr);
  const std::vector<DiObjectDataFormat> rows = KeyboardRows();
  EXPECT_EQ(keyboard->SetDataFormat(Format(rows.data(), 256, 256)), DiResult::Ok);
  unsigned char state[256] = {};
  EXPECT_EQ(keyboard->GetDeviceState(256, state), DiResult::NotAcquired);
  keyboard->Release();
}

TEST_F(Win32DirectInputTest, MouseTakesTheMouseFormatAndBufferSize) {
  InputDevice* mouse = nullptr;
  ASSERT_EQ(input->CreateDeviceEx(DeviceGuid::SysMouse, &mouse), DiResult::Ok);
  ASSERT_NE(mouse, nullptr);
  EXPECT_EQ(mouse->SetDataFormat(Format(kMouseRows, 7, 16)), DiResult::Ok);
  DiPropDword size;
  size.dwData = 24;
  EXPECT_EQ(mouse->SetProperty(DiProperty::BufferSize, size), DiResult::Ok);
  DiDeviceObjectData records[24];
  uint32_t count = 24;
  EXPECT_EQ(mouse->GetDeviceData(sizeof(DiDeviceObjectData), records, &count, 0),
            DiResult::NotAcquired);
  mouse->Release();
}

}  // namespace
}  // namespace drawing::platform
