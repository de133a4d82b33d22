// An independent reader: ImageMagick must read our files as we meant them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "image/image_writer.h"
#include "image_test_support.h"
#include "platform/hosts/headless/local_file_system.h"

namespace drawing::image {
namespace {

// Empty when the build cannot run ImageMagick (cross builds).
const std::string kConvert = DRAWING_CONVERT;
const std::string kIdentify = DRAWING_IDENTIFY;

std::string RunToText(const std::string& command, const std::filesystem::path& output) {
  if (std::system((command + " > \"" + output.string() + "\" 2>&1").c_str()) != 0) {
    return {};
  }
  std::ifstream in(output);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// "x,y" -> "#RRGGBB" from ImageMagick's text format.
std::map<std::string, std::string> PixelsOf(const std::string& text) {
  std::map<std::string, std::string> pixels;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t colon = line.find(':');
    const size_t hash = line.find('#');
    if (line.empty() || line[0] == '#' || colon == std::string::npos || hash == std::string::npos) {
      continue;
    }
    pixels[line.substr(0, colon)] = line.substr(hash, 7);
  }
  return pixels;
}

class BmpImageMagick : public testing::ImageWorld {
 protected:
  void SetUp() override {
    if (kConvert.empty() || kIdentify.empty()) {
      GTEST_SKIP() << "ImageMagick is not runnable here (scripts/install-deps.sh installs it)";
    }
  }

  void Set(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    uint8_t* p = Pixel(0, x, y);
    p[0] = b, p[1] = g, p[2] = r, p[3] = a;
  }

  support::ScratchDirectory directory;
  platform::headless::LocalFileSystem files;
  ImageWriter writer{images, gdi, heap, files};
};

TEST_F(BmpImageMagick, ReadsSizeAndPixels) {
  images.NewImage(0, 7, 5, 32);
  Set(0, 0, 255, 0, 0, 255);  // top-left red
  Set(1, 2, 0x12, 0x34, 0x56, 255);
  Set(6, 4, 0, 0, 255, 255);  // bottom-right blue
  Set(3, 1, 200, 10, 10, 0);  // transparent: white
  const std::string name = directory.File("canvas.bmp");
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);

  const std::string size =
      RunToText(kIdentify + " -format \"%w %h\" \"" + name + "\"", directory.Path() / "size.txt");
  EXPECT_EQ(size, "7 5");
  const auto pixels =
      PixelsOf(RunToText(kConvert + " \"" + name + "\" txt:-", directory.Path() / "pixels.txt"));
  ASSERT_EQ(pixels.size(), 35u);
  EXPECT_EQ(pixels.at("0,0"), "#FF0000");
  EXPECT_EQ(pixels.at("1,2"), "#123456");
  EXPECT_EQ(pixels.at("6,4"), "#0000FF");
  EXPECT_EQ(pixels.at("3,1"), "#FFFFFF");
  EXPECT_EQ(pixels.at("5,3"), "#000000");
}

TEST_F(BmpImageMagick, ReadsConvertedShallowImages) {
  images.NewImage(0, 5, 3, 16);
  const uint16_t green = 31u << 5;
  std::memcpy(Pixel(0, 4, 0), &green, 2);
  const std::string name = directory.File("sixteen.bmp");
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  const auto pixels =
      PixelsOf(RunToText(kConvert + " \"" + name + "\" txt:-", directory.Path() / "pixels.txt"));
  ASSERT_EQ(pixels.size(), 15u);
  EXPECT_EQ(pixels.at("4,0"), "#00FF00");
  EXPECT_EQ(pixels.at("0,0"), "#000000");
}

}  // namespace
}  // namespace drawing::image
