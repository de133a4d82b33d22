#include "saver/settings_text.h"

namespace drawing::saver {

std::string SettingsText(std::string_view picturesFolder) {
  std::string text =
      "drawing: a swarm of particles chases a wandering point and paints "
      "coloured ribbons into a picture that is never cleared, in slowly "
      "drifting colours.\n\n"
      "While it runs:\n"
      "  Left mouse button: more particles.\n"
      "  S: saves the picture as bild.bmp in\n    ";
  text += picturesFolder;
  text +=
      ".\n"
      "  Any other key, or moving the mouse right or down: ends it.\n\n"
      "drawing has no settings; nothing is stored.";
  return text;
}

}  // namespace drawing::saver
