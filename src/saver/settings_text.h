// What the screen saver's settings dialog says: the program, what it does,
// its keys and where S saves the picture. There is nothing to set.
#pragma once

#include <string>
#include <string_view>

namespace drawing::saver {

inline constexpr const char* kSettingsTitle = "drawing screen saver";

// `picturesFolder` is where S saves bild.bmp while the saver runs (UTF-8).
std::string SettingsText(std::string_view picturesFolder);

}  // namespace drawing::saver
