// drawing-render's outputs as other programs see them: PNG files read by
// ImageMagick, video streams read by ffmpeg, and the ends of a run (a closed
// pipe, a signal, too little memory) as a shell sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "render_tool.h"
#include "support/scratch_directory.h"

namespace drawing::scenarios {

using support::ReadAll;
using support::ScratchDirectory;
namespace {

// Runs `command` through the shell; its exit status.
int Shell(const std::string& command) {
  const int result = std::system(command.c_str());
#ifdef WEXITSTATUS
  return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
#else
  return result;
#endif
}

// Peak signal-to-noise ratio of `a` against `b` (same size), in dB.
double Psnr(const std::string& a, const std::string& b) {
  double squares = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<uint8_t>(a[i]) - static_cast<uint8_t>(b[i]);
    squares += d * d;
  }
  return squares == 0 ? 999
                      : 10 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / squares);
}

class RenderFiles : public ::testing::Test {
 protected:
  // Runs drawing-render through bash as `before PROGRAM arguments 2> err.txt
  // after`; the status of the whole, and standard error in `errors`.
  int InShell(const std::string& before, const std::string& arguments, const std::string& after) {
    const int status = Shell("bash -c '" + before + Quoted(RenderProgram().string()) + " " +
                             arguments + " 2> " + Quoted(scratch / "err.txt") + after + "'");
    errors = ReadAll(scratch / "err.txt");
    return status;
  }

  ScratchDirectory scratch;
  std::string errors;
};

TEST_F(RenderFiles, PngHasExactlyTheBmpsPixels) {
  const std::string convert = DRAWING_CONVERT;
  if (convert.empty()) {
    GTEST_SKIP() << "ImageMagick's convert is not runnable here";
  }
  const std::string common = "--size 150x97 --frames 120 --seed 3 ";
  ASSERT_EQ(Render(scratch, common + "--out " + Quoted(scratch / "c.bmp") + " --screen " +
                                Quoted(scratch / "s.bmp"))
                .status,
            0);
  const RenderRun png = Render(scratch, common + "--out " + Quoted(scratch / "c.PNG") +
                                            " --screen " + Quoted(scratch / "s.png"));
  ASSERT_EQ(png.status, 0) << png.errors;
  EXPECT_NE(png.errors.find("wrote " + (scratch / "c.PNG") + " (150x97)\n"), std::string::npos);
  for (const auto& [bmp, name] : {std::pair{"c.bmp", "c.PNG"}, std::pair{"s.bmp", "s.png"}}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ReadAll(scratch / name).substr(0, 8), "\x89PNG\r\n\x1a\n");
    for (const char* file : {bmp, name}) {
      ASSERT_EQ(Shell(convert + " " + Quoted(scratch / file) +
                      " rgb:" + Quoted(scratch / (std::string(file) + ".rgb"))),
                0);
    }
    const std::string pixels = ReadAll(scratch / (std::string(bmp) + ".rgb"));
    EXPECT_EQ(pixels.size(), 150u * 97u * 3u);
    EXPECT_TRUE(pixels == ReadAll(scratch / (std::string(name) + ".rgb")));
  }
}

// The stream's frames, checked against ffmpeg's own reading and conversions
// of the --screen picture of the same (last) frame.
TEST_F(RenderFiles, VideoStreamIsReadByFfmpegWithTheScreensColours) {
  const std::string ffmpeg = DRAWING_FFMPEG;
  if (ffmpeg.empty()) {
    GTEST_SKIP() << "ffmpeg is not runnable here";
  }
  constexpr int kWidth = 161, kHeight = 121, kFrames = 24;  // odd: half chroma blocks
  const RenderRun run =
      Render(scratch, "--size 161x121 --frames 24 --seed 8 --out " + Quoted(scratch / "c.bmp") +
                          " --screen " + Quoted(scratch / "s.bmp") + " --video " +
                          Quoted(scratch / "film.y4m"));
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.errors.find("wrote " + (scratch / "film.y4m") + " (161x121, 24 frames)\n"),
            std::string::npos)
      << run.errors;
  const std::string header = "YUV4MPEG2 W161 H121 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
  const size_t frameBytes = kWidth * kHeight + 2 * ((kWidth + 1) / 2) * ((kHeight + 1) / 2);
  const std::string stream = ReadAll(scratch / "film.y4m");
  ASSERT_EQ(stream.size(), header.size() + kFrames * (6 + frameBytes));
  EXPECT_EQ(stream.substr(0, header.size()), header);
  EXPECT_EQ(stream.substr(stream.size() - frameBytes - 6, 6), "FRAME\n");

  const std::string quiet = ffmpeg + " -v error -y -i ";
  ASSERT_EQ(
      Shell(quiet + Quoted(scratch / "film.y4m") + " -f null - 2> " + Quoted(scratch / "null.txt")),
      0);
  ASSERT_EQ(Shell(std::string(DRAWING_FFPROBE) +
                  " -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 " +
                  Quoted(scratch / "film.y4m") + " > " + Quoted(scratch / "count.txt")),
            0);
  EXPECT_EQ(PrintedText(scratch / "count.txt"), "24\n");

  // ffmpeg's BT.709 limited-range 4:2:0 of the screen picture: our last
  // frame differs from it by rounding and the chroma filter only.
  ASSERT_EQ(Shell(quiet + Quoted(scratch / "s.bmp") +
                  " -vf scale=out_color_matrix=bt709:out_range=tv:flags=accurate_rnd+full_chroma_"
                  "int,format=yuv420p -f rawvideo " +
                  Quoted(scratch / "s.yuv")),
            0);
  const std::string lastFrame = stream.substr(stream.size() - frameBytes);
  EXPECT_GT(Psnr(lastFrame, ReadAll(scratch / "s.yuv")), 40.0);
  // Back to RGB through ffmpeg: close to the screen; 4:2:0 halves the colour
  // resolution of thin coloured strokes, hence the lower bar.
  ASSERT_EQ(Shell(quiet + Quoted(scratch / "film.y4m") +
                  " -vf scale=in_color_matrix=bt709:in_range=tv:out_range=pc,format=rgb24 "
                  "-f rawvideo " +
                  Quoted(scratch / "film.rgb")),
            0);
  ASSERT_EQ(Shell(std::string(DRAWING_CONVERT) + " " + Quoted(scratch / "s.bmp") +
                  " rgb:" + Quoted(scratch / "s.rgb")),
            0);
  const std::string rgb = ReadAll(scratch / "film.rgb");
  const std::string screen = ReadAll(scratch / "s.rgb");
  ASSERT_EQ(rgb.size(), kFrames * screen.size());
  EXPECT_GT(Psnr(rgb.substr(rgb.size() - screen.size()), screen), 30.0);
}

#ifndef _WIN32
TEST_F(RenderFiles, ClosedPipeEndsWithStatusOneAndOneLine) {
  EXPECT_EQ(
      InShell("",
              "--size 64x48 --frames 100000 --seed 1 --video - --out " + Quoted(scratch / "c.bmp"),
              " | head -c 100 > /dev/null; exit ${PIPESTATUS[0]}"),
      1);
  EXPECT_NE(errors.find("\ndrawing-render: cannot write the video to standard output: "),
            std::string::npos)
      << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << "the canvas' line and this";
}

TEST_F(RenderFiles, SignalWritesWhatThereIsAndSaysSo) {
  for (const int signal : {15, 1}) {  // SIGTERM, and SIGHUP as when the terminal closes
    SCOPED_TRACE(signal);
    EXPECT_EQ(
        InShell("", "--size 64x48 --frames 10000000 --seed 1 --out " + Quoted(scratch / "c.bmp"),
                " & sleep 1; kill -" + std::to_string(signal) + " $!; wait $!"),
        128 + signal);
    EXPECT_NE(errors.find("drawing-render: interrupted at frame "), std::string::npos) << errors;
    EXPECT_NE(errors.find(" of 10000000\n"), std::string::npos) << errors;
    EXPECT_EQ(ReadAll(scratch / "c.bmp").size(), 54u + 192u * 48u);
    std::filesystem::remove(scratch / "c.bmp");
  }
}

// The final write waits on a reader that takes its time (as a poster's long
// write would); a second signal ends the program at once, by the first
// signal, without waiting for it.
TEST_F(RenderFiles, ASecondSignalEndsTheFinalWriteAtOnce) {
  const std::string pipe = Quoted(scratch / "pipe");
  EXPECT_EQ(InShell("mkfifo " + pipe + "; (exec sleep 30) <" + pipe + " & reader=$!; ",
                    "--size 512x512 --frames 100000000 --seed 1 --out " + pipe,
                    " & sleep 1; kill -TERM $!; sleep 1; kill -INT $!; wait $!; status=$?; "
                    "kill $reader; exit $status"),
            128 + 15);
  EXPECT_NE(errors.find("drawing-render: stopped at once; the file being written is left\n"),
            std::string::npos)
      << errors;
}

#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer needs more address space
TEST_F(RenderFiles, TooLittleMemorySaysHowMuchIsNeeded) {
  EXPECT_EQ(
      InShell("ulimit -v 1000000; ",
              "--size 16384x16384 --frames 1 --seed 1 --out " + Quoted(scratch / "c.bmp"), ""),
      1);
  EXPECT_EQ(errors,
            "drawing-render: not enough memory for a 16384x16384 canvas: it needs about 4.3 GB\n");
  // Under a gigabyte, in a unit that does not round it to nothing.
  EXPECT_EQ(InShell("ulimit -v 40000; ",
                    "--size 2048x2048 --frames 1 --seed 1 --out " + Quoted(scratch / "c.bmp"), ""),
            1);
  EXPECT_EQ(errors,
            "drawing-render: not enough memory for a 2048x2048 canvas: it needs about 67 MB\n");
}
#endif
#endif

TEST_F(RenderFiles, FreshSeedsArePrintedAndMakeThePictureAgain) {
  const std::string common = "--size 64x48 --frames 30 --out ";
  const RenderRun first = Render(scratch, common + Quoted(scratch / "a.bmp"));
  const RenderRun second = Render(scratch, common + Quoted(scratch / "b.bmp"));
  ASSERT_EQ(first.status, 0) << first.errors;
  ASSERT_EQ(first.errors.rfind("drawing-render: seed ", 0), 0u) << first.errors;
  const auto seedOf = [](const std::string& text) {
    return text.substr(21, text.find('\n') - 21);  // after "drawing-render: seed "
  };
  const std::string seed = seedOf(first.errors);
  EXPECT_NE(seedOf(second.errors), seed);
  const RenderRun again =
      Render(scratch, "--seed " + seed + " --quiet " + common + Quoted(scratch / "c.bmp"));
  EXPECT_EQ(again.errors, "");
  EXPECT_EQ(ReadAll(scratch / "c.bmp"), ReadAll(scratch / "a.bmp"));
}

}  // namespace
}  // namespace drawing::scenarios
