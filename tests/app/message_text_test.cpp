#include "app/message_text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace drawing::app
