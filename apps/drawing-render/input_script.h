// Input scripts of drawing-render: text, one event per line, '#' starts a
// comment, blank lines are ignored.
//   FRAME key CODE down|up       DirectInput key code 0..255
//   FRAME button 1|2|3 down|up
//   FRAME move DX DY             relative mouse motion
//   FRAME focus lost|gained
// FRAME (1 and up) is the frame whose polls first see the event; events of
// one frame apply in file order. A script is read as a stream: its lines may
// be at most kScriptLineLimit bytes long, and at most kScriptEventLimit
// events may fall within the run (events after it are checked, not kept).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace drawing::app {

struct ScriptEvent {
  enum class Kind : uint8_t { Key, Button, Move, Focus };
  uint32_t frame = 0;
  Kind kind = Kind::Key;
  int32_t a = 0;  // key code, button, dx, focus gained (1) or lost (0)
  int32_t b = 0;  // down (1) or up (0) for keys and buttons; dy

  bool operator==(const ScriptEvent&) const = default;
};

struct InputScriptResult {
  std::vector<ScriptEvent> events;  // in file order
  std::string error;                // empty on success; else "FILE:LINE: problem"
};

inline constexpr size_t kScriptLineLimit = 4096;
inline constexpr size_t kScriptEventLimit = 1'000'000;

// Reads a script from `input`, keeping the events of frames up to
// `lastFrame`; `fileName` only names the file in the error message.
InputScriptResult ReadInputScript(std::istream& input, const std::string& fileName,
                                  uint32_t lastFrame = std::numeric_limits<uint32_t>::max());
// The same for a script held in memory.
InputScriptResult ParseInputScript(std::string_view text, const std::string& fileName);

}  // namespace drawing::app
