#include "input_script.h"

#include <gtest/gtest.h>

#include <istream>
#include <streambuf>

namespace drawing::app {
namespace {

using Kind = ScriptEvent::Kind;

// The first line after a UTF-8 byte-order mark, as Windows editors write it.
TEST(InputScript, EveryEventKind) {
  const InputScriptResult result = ParseInputScript(
      "\xEF\xBB\xBF"
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

// `line` over and over, `count` times or (0) for ever, as a huge file or a
// device would give it, without holding it in memory.
class RepeatingStream : public std::streambuf {
 public:
  RepeatingStream(std::string line, size_t count)
      : line_(std::move(line)), left_(count), endless_(count == 0) {}

 private:
  int_type underflow() override {
    if (!endless_ && left_-- == 0) {
      return traits_type::eof();
    }
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(line_[0]);
  }
  std::string line_;
  size_t left_;
  bool endless_;
};

TEST(InputScript, HugeScriptsAreReadAsAStreamWithinStatedLimits) {
  RepeatingStream zeros(std::string(1000, '\0'), 0);
  std::istream endless(&zeros);
  EXPECT_EQ(ReadInputScript(endless, "/dev/zero").error,
            "/dev/zero:1: line longer than 4096 bytes");

  RepeatingStream late("1 move 1 0\n9 move 1 0\n", kScriptEventLimit);
  std::istream lateInput(&late);
  const InputScriptResult kept = ReadInputScript(lateInput, "s", 1);
  EXPECT_EQ(kept.error, "") << "events after the last frame are not kept";
  EXPECT_EQ(kept.events.size(), kScriptEventLimit);

  RepeatingStream many("1 move 1 0\n", kScriptEventLimit + 1);
  std::istream manyInput(&many);
  const InputScriptResult refused = ReadInputScript(manyInput, "s");
  EXPECT_EQ(refused.error, "s:1000001: more than 1000000 events within the run");
  EXPECT_TRUE(refused.events.empty());
}

}  // namespace
}  // namespace drawing::app
