#include "app/input_script.h"

#include <gtest/gtest.h>

namespace drawing::app {
namespace {

using Kind = ScriptEvent::Kind;

TEST(InputScript, EveryEventKind) {
  const InputScriptResult result = ParseInputScript(
      "3 key 1 down\n"
      "3 key 31 up\n"
      "4 button 1 down\n"
      "4 button 3 up\n"
      "7 move -50 12\n"
      "9 focus lost\n"
      "10 focus gained\n",
      "s.txt");
  ASSERT_EQ(result.error, "");
  const std::vector<ScriptEvent> expected = {
      {3, Kind::Key, 1, 1},    {3, Kind::Key, 31, 0},    {4, Kind::Button, 1, 1},
      {4, Kind::Button, 3, 0}, {7, Kind::Move, -50, 12}, {9, Kind::Focus, 0, 0},
      {10, Kind::Focus, 1, 0},
  };
  EXPECT_EQ(result.events, expected);
}

TEST(InputScript, CommentsBlankLinesAndSpacingAreIgnored) {
  const InputScriptResult result = ParseInputScript(
      "# a run\n"
      "\n"
      "   \t\n"
      "  5\tkey   57 down   # space bar\r\n"
      "6 key 57 up#no space before the comment",
      "s.txt");
  ASSERT_EQ(result.error, "");
  ASSERT_EQ(result.events.size(), 2u);
  EXPECT_EQ(result.events[0], (ScriptEvent{5, Kind::Key, 57, 1}));
  EXPECT_EQ(result.events[1], (ScriptEvent{6, Kind::Key, 57, 0}));
}

TEST(InputScript, FileOrderIsKeptWithinAndAcrossFrames) {
  const InputScriptResult result = ParseInputScript("8 key 2 down\n2 key 2 up\n8 key 2 up\n", "f");
  ASSERT_EQ(result.events.size(), 3u);
  EXPECT_EQ(result.events[0].frame, 8u);
  EXPECT_EQ(result.events[1].frame, 2u);
  EXPECT_EQ(result.events[2].b, 0);
}

TEST(InputScript, ErrorsNameFileAndLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"0 key 1 down", "in.txt:1: bad frame '0'"},
      {"\n# c\n1 key 256 down", "in.txt:3: bad key code '256'"},
      {"1 key 1 pressed", "in.txt:1: bad key state 'pressed'"},
      {"1 key 1", "in.txt:1: 'key' takes"},
      {"1 button 4 down", "in.txt:1: bad button '4'"},
      {"1 button 0 up", "in.txt:1: bad button '0'"},
      {"1 move 5", "in.txt:1: 'move' takes"},
      {"1 move 5 x", "in.txt:1: bad move 'x'"},
      {"1 move 1 2 3", "in.txt:1: 'move' takes"},
      {"1 focus away", "in.txt:1: bad focus 'away'"},
      {"1 jump", "in.txt:1: unknown event 'jump'"},
      {"1", "in.txt:1: missing event"},
      {"x key 1 down", "in.txt:1: bad frame 'x'"},
      {"2 key 1 down\n-1 key 1 up", "in.txt:2: bad frame '-1'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const InputScriptResult result = ParseInputScript(c.text, "in.txt");
    EXPECT_EQ(result.error.rfind(c.error, 0), 0u) << result.error;
    EXPECT_EQ(result.error.find('\n'), std::string::npos);
    EXPECT_TRUE(result.events.empty());
  }
}

TEST(InputScript, EmptyScriptHasNoEvents) {
  const InputScriptResult result = ParseInputScript("", "e");
  EXPECT_EQ(result.error, "");
  EXPECT_TRUE(result.events.empty());
}

}  // namespace
}  // namespace drawing::app
