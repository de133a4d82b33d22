// drawing-render as a user runs it: options, input scripts, output files,
// exit statuses, and pictures that never change for the same arguments.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "render_tool.h"
#include "support/scratch_directory.h"

namespace drawing::scenarios {

using support::ReadAll;
using support::ScratchDirectory;
namespace {

namespace fs = std::filesystem;

constexpr const char* kScript =
    "# add particles, wander the mouse left, save on the way\n"
    "30 button 1 down\n"
    "45 button 1 up\n"
    "60 move -20 -5\n"
    "90 key 31 down\n"
    "95 key 31 up\n"
    "120 button 1 down\n"
    "121 button 1 up\n";

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Files(const ScratchDirectory& scratch) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(scratch.Path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class RenderTool : public ::testing::Test {
 protected:
  std::string Arguments(const std::string& extra) {
    return "--out " + Quoted(scratch / "out.bmp") + " " + extra;
  }

  ScratchDirectory scratch;
};

TEST_F(RenderTool, SameArgumentsWriteTheSameBytes) {
  WriteText(scratch / "script.txt", kScript);
  const std::string common =
      "--size 320x240 --frames 200 --seed 1 --input " + Quoted(scratch / "script.txt");
  const RenderRun first = Render(scratch, common + " --out " + Quoted(scratch / "a.bmp") +
                                              " --screen " + Quoted(scratch / "a-screen.bmp"));
  const RenderRun second = Render(scratch, common + " --out " + Quoted(scratch / "b.bmp") +
                                               " --screen " + Quoted(scratch / "b-screen.bmp"));
  ASSERT_EQ(first.status, 0) << first.errors;
  ASSERT_EQ(second.status, 0) << second.errors;
  EXPECT_EQ(first.errors.find('\r'), std::string::npos) << "no progress bar in a file";
  const std::string canvas = ReadAll(scratch / "a.bmp");
  EXPECT_EQ(canvas.size(), 54u + 960u * 240u);
  EXPECT_EQ(canvas, ReadAll(scratch / "b.bmp"));
  EXPECT_EQ(ReadAll(scratch / "a-screen.bmp"), ReadAll(scratch / "b-screen.bmp"));
}

// Pictures pinned so that later changes (speed-ups above all) cannot alter
// what the program paints. A change here must be a deliberate one.
TEST_F(RenderTool, PinnedPictures) {
  WriteText(scratch / "script.txt", kScript);
  struct Case {
    std::string arguments;
    uint64_t canvas;
    uint64_t screen;
  };
  const Case cases[] = {
      {"--size 320x240 --frames 200 --seed 1 --input " + Quoted(scratch / "script.txt"),
       0xf5ea3f0944242ce7ull, 0xd33f3cecb8f0ac49ull},
      {"--size 200x150 --frames 600 --seed 12345", 0x15c16108306572feull, 0xfa20b80ed1886942ull},
      {"--size 97x61 --frames 1000 --seed -1", 0xdaf3b5e01492276aull, 0x954c999f341b8adbull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const RenderRun run =
        Render(scratch, Arguments(c.arguments + " --screen " + Quoted(scratch / "screen.bmp")));
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(Fingerprint(ReadAll(scratch / "out.bmp")), c.canvas)
        << std::hex << Fingerprint(ReadAll(scratch / "out.bmp"));
    EXPECT_EQ(Fingerprint(ReadAll(scratch / "screen.bmp")), c.screen)
        << std::hex << Fingerprint(ReadAll(scratch / "screen.bmp"));
  }
}

TEST_F(RenderTool, FilesOpenInAnIndependentReader) {
  const std::string identify = DRAWING_IDENTIFY;
  if (identify.empty()) {
    GTEST_SKIP() << "ImageMagick's identify is not runnable here";
  }
  const RenderRun run = Render(scratch, Arguments("--size 123x45 --frames 30 --seed 9 --screen " +
                                                  Quoted(scratch / "screen.bmp")));
  ASSERT_EQ(run.status, 0) << run.errors;
  for (const char* name : {"out.bmp", "screen.bmp"}) {
    SCOPED_TRACE(name);
    const std::string command = identify + " -format \"%m %w %h %z\" " + Quoted(scratch / name) +
                                " > " + Quoted(scratch / "id.txt");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadAll(scratch / "id.txt"), "BMP3 123 45 8");
  }
}

TEST_F(RenderTool, AnEndThroughTheInputWritesThatFramesCanvas) {
  // Ending in frame 10 leaves the Canvas as ten full frames leave it: the
  // last frame's strokes are in, only its simulation step is missing.
  WriteText(scratch / "escape.txt", "10 key 1 down\n");
  const RenderRun ended = Render(
      scratch, "--size 160x120 --seed 4 --input " + Quoted(scratch / "escape.txt") + " --out " +
                   Quoted(scratch / "ended.bmp") + " --screen " + Quoted(scratch / "ended-s.bmp"));
  const RenderRun counted = Render(scratch, "--size 160x120 --seed 4 --frames 10 --out " +
                                                Quoted(scratch / "counted.bmp") + " --screen " +
                                                Quoted(scratch / "counted-s.bmp"));
  ASSERT_EQ(ended.status, 0) << ended.errors;
  ASSERT_EQ(counted.status, 0) << counted.errors;
  EXPECT_EQ(ReadAll(scratch / "ended.bmp"), ReadAll(scratch / "counted.bmp"));
  EXPECT_EQ(ReadAll(scratch / "ended-s.bmp"), ReadAll(scratch / "counted-s.bmp"));
  const RenderRun longer = Render(
      scratch, "--size 160x120 --seed 4 --frames 11 --out " + Quoted(scratch / "longer.bmp"));
  EXPECT_NE(ReadAll(scratch / "longer.bmp"), ReadAll(scratch / "counted.bmp"));
}

TEST_F(RenderTool, EventsAfterTheLastFrameAreIgnored) {
  WriteText(scratch / "late.txt", "50 key 1 down\n51 move 100 100\n");
  const RenderRun withScript =
      Render(scratch, "--size 64x48 --seed 2 --frames 20 --input " + Quoted(scratch / "late.txt") +
                          " --out " + Quoted(scratch / "a.bmp"));
  const RenderRun without =
      Render(scratch, "--size 64x48 --seed 2 --frames 20 --out " + Quoted(scratch / "b.bmp"));
  ASSERT_EQ(withScript.status, 0) << withScript.errors;
  ASSERT_EQ(without.status, 0);
  EXPECT_EQ(ReadAll(scratch / "a.bmp"), ReadAll(scratch / "b.bmp"));
}

TEST_F(RenderTool, ZeroFramesWriteABlackCanvasAndScreen) {
  const RenderRun run = Render(
      scratch, Arguments("--size 5x3 --frames 0 --screen " + Quoted(scratch / "screen.bmp")));
  ASSERT_EQ(run.status, 0) << run.errors;
  for (const char* name : {"out.bmp", "screen.bmp"}) {
    SCOPED_TRACE(name);
    const std::string bytes = ReadAll(scratch / name);
    ASSERT_EQ(bytes.size(), 54u + 16u * 3u);  // stride 16 for a width of 5
    for (size_t row = 0; row < 3; ++row) {
      for (size_t at = 0; at < 15; ++at) {
        EXPECT_EQ(bytes[54 + row * 16 + at], 0);
      }
    }
  }
}

TEST_F(RenderTool, SavingWithSGoesToTheWorkingDirectory) {
  WriteText(scratch / "save.txt", "3 key 31 down\n4 key 31 up\n");
  const RenderRun run =
      Render(scratch, "--size 40x30 --frames 8 --seed 1 --input save.txt --out final.bmp",
             scratch.Path().string());
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_TRUE(fs::exists(scratch.Path() / "bild.bmp"));
  EXPECT_TRUE(fs::exists(scratch.Path() / "final.bmp"));
  EXPECT_EQ(run.errors,
            "drawing-render: wrote bild.bmp (40x30)\ndrawing-render: wrote final.bmp (40x30)\n");
  EXPECT_NE(ReadAll(scratch / "bild.bmp"), ReadAll(scratch / "final.bmp"));
}

// The film command of the README leaves the S key's bild.bmp alone.
TEST_F(RenderTool, OnlyTheFilesTheCommandLineNamesAreWritten) {
  WriteText(scratch / "bild.bmp", "kept");
  const std::string work = scratch.Path().string();
  RenderRun run =
      Render(scratch, "--size 16x16 --frames 2 --seed 1 --video film.y4m --quiet", work);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(ReadAll(scratch / "bild.bmp"), "kept");
  EXPECT_EQ(Files(scratch), (std::vector<std::string>{"bild.bmp", "film.y4m"}));
  run = Render(scratch, "--size 16x16 --frames 2", work);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors,
            "drawing-render: nothing to write: name the canvas's file with --out FILE, or give "
            "--screen FILE or --video FILE\n");
}

// Refused before the run, the files compared and not their spellings; and a
// picture name the program cannot write.
TEST_F(RenderTool, OutputsThatWouldOverwriteEachOtherAreRefused) {
  WriteText(scratch / "s.txt", "5 key 31 down\n");
  WriteText(scratch / "x.bmp", "old");
  std::vector<std::string> cases = {"--out x.bmp --screen ./x.bmp",
                                    "--out new.bmp --video ./new.bmp", "--input s.txt --out s.txt",
                                    "--out pic.jpg"};
#ifndef _WIN32
  fs::create_hard_link(scratch / "x.bmp", scratch / "hard.bmp");
  fs::create_symlink("x.bmp", scratch / "link.bmp");
  cases.insert(cases.end(), {"--out x.bmp --screen hard.bmp", "--screen link.bmp --video x.bmp"});
#endif
  const std::vector<std::string> before = Files(scratch);
  for (const std::string& arguments : cases) {
    SCOPED_TRACE(arguments);
    const RenderRun run =
        Render(scratch, "--size 16x16 --frames 9 " + arguments, scratch.Path().string());
    EXPECT_EQ(run.status, 2);
    const std::string expected = arguments.ends_with(".jpg")
                                     ? "cannot write 'pic.jpg': pictures are written as "
                                     : "' name the same file\n";
    EXPECT_NE(run.errors.find(expected), std::string::npos) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    EXPECT_EQ(Files(scratch), before);
    EXPECT_EQ(ReadAll(scratch / "x.bmp"), "old");
    EXPECT_EQ(ReadAll(scratch / "s.txt"), "5 key 31 down\n");
  }
}

TEST_F(RenderTool, AFailedSaveWithSExitsWithOne) {
  WriteText(scratch / "save.txt", "3 key 31 down\n4 key 31 up\n");
  fs::create_directory(scratch / "bild.bmp");
  const RenderRun run =
      Render(scratch, "--size 16x16 --frames 8 --seed 1 --input save.txt --out c.bmp",
             scratch.Path().string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors.rfind("drawing-render: cannot save 'bild.bmp': ", 0), 0u) << run.errors;
  EXPECT_NE(run.errors.find("drawing-render: wrote c.bmp (16x16)\n"), std::string::npos);
}

TEST_F(RenderTool, BadOptionsExitWithTwoAndWriteNothing) {
  const char* bad[] = {"--size 0x10",  "--size 640", "--frames -3", "--seed 4294967296",
                       "--colour red", "stray",      "--frames"};
  for (const char* arguments : bad) {
    SCOPED_TRACE(arguments);
    const RenderRun run = Render(scratch, Arguments(arguments));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors.rfind("drawing-render: ", 0), 0u) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    EXPECT_EQ(Files(scratch), std::vector<std::string>{});
  }
}

TEST_F(RenderTool, BadScriptLinesAreNamedWithFileAndLine) {
  WriteText(scratch / "bad.txt", "# fine\n1 key 1 down\n\n4 button 7 down\n");
  const RenderRun run = Render(scratch, Arguments("--input " + Quoted(scratch / "bad.txt")));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors, "drawing-render: " + (scratch / "bad.txt") +
                            ":4: bad button '7': expected 1, 2 or 3\n");
  EXPECT_EQ(Files(scratch), std::vector<std::string>{"bad.txt"});
}

TEST_F(RenderTool, MissingScriptIsNamed) {
  const RenderRun run = Render(scratch, Arguments("--input " + Quoted(scratch / "none.txt")));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.errors.find("cannot read input script"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("none.txt"), std::string::npos);
  EXPECT_EQ(Files(scratch), std::vector<std::string>{});
}

TEST_F(RenderTool, UnwritableOutputExitsWithOneAndLeavesNoFile) {
  const std::string missing = scratch / "no/such/dir/out.bmp";
  RenderRun run = Render(scratch, "--frames 3 --size 32x32 --out " + Quoted(missing));
  EXPECT_EQ(run.status, 1);
  // The system's reason follows, in its own words.
  const std::string start = "drawing-render: cannot write '" + missing + "': ";
  EXPECT_EQ(run.errors.rfind(start, 0), 0u) << run.errors;
  EXPECT_GT(run.errors.size(), start.size() + 1);
  run = Render(scratch,
               Arguments("--frames 3 --size 32x32 --screen " + Quoted(scratch.Path().string())));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
  EXPECT_EQ(Files(scratch), std::vector<std::string>{});
}

TEST_F(RenderTool, HelpGoesToStandardOutput) {
  const RenderRun run = Render(scratch, "--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("usage: drawing-render"), std::string::npos);
  EXPECT_EQ(run.errors, "");
}

}  // namespace
}  // namespace drawing::scenarios
