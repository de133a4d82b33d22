#include "app/message_text.h"

#include <gtest/gtest.h>

#include "app/input_script.h"
#include "app/render_options.h"

namespace drawing::app {
namespace {

TEST(MessageText, ControlCharactersAreEscapedAndLongValuesCut) {
  EXPECT_EQ(Quoted("bild.bmp"), "'bild.bmp'");
  EXPECT_EQ(Quoted("\x1b[2J\n\r\t\x7f"), "'\\x1b[2J\\n\\r\\t\\x7f'");
  EXPECT_EQ(MessageText("gr\xc3\xbc\xc3\x9f \xe2\x82\xac"), "gr\xc3\xbc\xc3\x9f \xe2\x82\xac")
      << "printable UTF-8 stays";
  EXPECT_EQ(MessageText("\xc2\x9b"
                        "2J \xff \xc3"),
            "\\xc2\\x9b2J \\xff \\xc3")
      << "C1 controls and stray bytes";
  EXPECT_EQ(MessageText(std::string(100000, 'x')),
            std::string(kShownValueLimit, 'x') + "... (100000 bytes)");
}

// The messages that repeat what the user gave use it.
TEST(MessageText, OptionAndScriptMessagesAreOneSafeLine) {
  const std::string bad = "\x1b[2J\nx" + std::string(100000, '9');
  for (const std::string& error :
       {ParseRenderOptions({"--size", bad}).error, ParseRenderOptions({bad}).error,
        ParseInputScript("1 key " + bad + " down", bad).error}) {
    EXPECT_EQ(error.find_first_of("\x1b\n"), std::string::npos) << error;
    EXPECT_LT(error.size(), 2 * kShownValueLimit + 100);
  }
}

}  // namespace
}  // namespace drawing::app
