// The SDL scancode to DirectInput key code table.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "platform/hosts/sdl/key_table.h"

namespace drawing::platform::sdl {
namespace {

TEST(SdlKeyTable, KeysTheProgramTestsHaveTheirDirectInputCodes) {
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_ESCAPE), 1);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_S), 31);
}

TEST(SdlKeyTable, MainBlockFollowsThePcScanCodes) {
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_A), 30);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_Q), 0x10);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_Z), 0x2C);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_1), 2);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_0), 11);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_RETURN), 28);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_SPACE), 0x39);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_BACKSPACE), 0x0E);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_TAB), 0x0F);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_GRAVE), 0x29);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_SLASH), 0x35);
}

TEST(SdlKeyTable, ModifiersTellLeftFromRight) {
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_LSHIFT), 0x2A);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_RSHIFT), 0x36);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_LCTRL), 0x1D);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_RCTRL), 0x9D);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_LALT), 0x38);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_RALT), 0xB8);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_LGUI), 0xDB);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_RGUI), 0xDC);
}

TEST(SdlKeyTable, NavigationBlockUsesTheExtendedCodes) {
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_UP), 0xC8);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_DOWN), 0xD0);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_LEFT), 0xCB);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_RIGHT), 0xCD);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_HOME), 0xC7);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_END), 0xCF);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_PAGEUP), 0xC9);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_PAGEDOWN), 0xD1);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_INSERT), 0xD2);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_DELETE), 0xD3);
}

TEST(SdlKeyTable, KeypadHasItsOwnCodes) {
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_KP_DIVIDE), 0xB5);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_KP_MULTIPLY), 0x37);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_KP_MINUS), 0x4A);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_KP_PLUS), 0x4E);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_KP_0), 0x52);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_KP_7), 0x47);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_KP_PERIOD), 0x53);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_NUMLOCKCLEAR), 0x45);
}

TEST(SdlKeyTable, FunctionKeysOneToFifteen) {
  const std::vector<std::pair<SDL_Scancode, uint8_t>> keys = {
      {SDL_SCANCODE_F1, 0x3B},  {SDL_SCANCODE_F10, 0x44}, {SDL_SCANCODE_F11, 0x57},
      {SDL_SCANCODE_F12, 0x58}, {SDL_SCANCODE_F13, 0x64}, {SDL_SCANCODE_F15, 0x66}};
  for (const auto& [scancode, code] : keys) {
    EXPECT_EQ(DirectInputKeyCode(scancode), code) << SDL_GetScancodeName(scancode);
  }
}

TEST(SdlKeyTable, EveryKeyOfAStandardKeyboardHasACode) {
  std::vector<SDL_Scancode> standard;
  for (int s = SDL_SCANCODE_A; s <= SDL_SCANCODE_KP_PERIOD; ++s) {
    standard.push_back(static_cast<SDL_Scancode>(s));  // letters .. keypad
  }
  for (int s = SDL_SCANCODE_F13; s <= SDL_SCANCODE_F15; ++s) {
    standard.push_back(static_cast<SDL_Scancode>(s));
  }
  for (int s = SDL_SCANCODE_LCTRL; s <= SDL_SCANCODE_RGUI; ++s) {
    standard.push_back(static_cast<SDL_Scancode>(s));
  }
  standard.push_back(SDL_SCANCODE_NONUSBACKSLASH);
  standard.push_back(SDL_SCANCODE_APPLICATION);
  for (SDL_Scancode scancode : standard) {
    EXPECT_NE(DirectInputKeyCode(scancode), 0) << SDL_GetScancodeName(scancode);
  }
}

TEST(SdlKeyTable, MediaKeysSdlKnowsAreMapped) {
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_AUDIOPLAY), 0xA2);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_AUDIONEXT), 0x99);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_VOLUMEUP), 0xB0);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_VOLUMEDOWN), 0xAE);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_MUTE), 0xA0);
}

TEST(SdlKeyTable, NoTwoKeysShareACodeExceptOnePhysicalKeyWithTwoNames) {
  const std::set<std::set<SDL_Scancode>> intended = {
      {SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_NONUSHASH},
      {SDL_SCANCODE_MUTE, SDL_SCANCODE_AUDIOMUTE}};
  std::map<uint8_t, std::set<SDL_Scancode>> byCode;
  std::set<SDL_Scancode> scancodes;
  for (const KeyMapping& mapping : KeyMappings()) {
    EXPECT_NE(mapping.code, 0);
    EXPECT_TRUE(scancodes.insert(mapping.scancode).second)
        << "listed twice: " << SDL_GetScancodeName(mapping.scancode);
    byCode[mapping.code].insert(mapping.scancode);
  }
  for (const auto& [code, sharing] : byCode) {
    if (sharing.size() > 1) {
      EXPECT_TRUE(intended.contains(sharing)) << "code " << int{code};
    }
  }
}

TEST(SdlKeyTable, TheLookupAgreesWithTheList) {
  for (const KeyMapping& mapping : KeyMappings()) {
    EXPECT_EQ(DirectInputKeyCode(mapping.scancode), mapping.code);
  }
}

TEST(SdlKeyTable, KeysWithoutACodeGiveZero) {
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(DirectInputKeyCode(SDL_SCANCODE_F24), 0);
  EXPECT_EQ(DirectInputKeyCode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES + 5)), 0);
}

}  // namespace
}  // namespace drawing::platform::sdl
