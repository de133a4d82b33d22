#include "draw/drawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_system.h"

namespace drawing::draw {
namespace {

// A back-end that logs every slot it is asked to run.
struct Log {
  std::vector<std::string> calls;
  bool destroyed = false;
};

class LoggingContext : public DrawContext {
 public:
  LoggingContext(Log& log, intptr_t beginResult) : log_(log), beginResult_(beginResult) {}
  ~LoggingContext() override { log_.destroyed = true; }

  void SetFrontColor(Colour colour) override {
    log_.calls.push_back("SetFrontColor " + std::to_string(colour));
  }
  void DrawBox(int32_t x, int32_t y, int32_t w, int32_t h) override {
    log_.calls.push_back("DrawBox " + std::to_string(x) + " " + std::to_string(y) + " " +
                         std::to_string(w) + " " + std::to_string(h));
  }
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    log_.calls.push_back("DrawLine " + std::to_string(x1) + " " + std::to_string(y1) + " " +
                         std::to_string(x2) + " " + std::to_string(y2));
  }
  void SetDrawMode(DrawMode mode) override {
    log_.calls.push_back("SetDrawMode " + std::to_string(DrawModeBits(mode)));
  }
  void BlitImage(platform::Hbitmap, int32_t x, int32_t y) override {
    log_.calls.push_back("BlitImage " + std::to_string(x) + " " + std::to_string(y));
  }
  intptr_t BeginTarget() override {
    log_.calls.push_back("BeginTarget");
    return beginResult_;
  }
  void EndTarget() override { log_.calls.push_back("EndTarget"); }
  void ReleaseTarget(bool ending) override {
    log_.calls.push_back(ending ? "ReleaseTarget 1" : "ReleaseTarget 0");
  }

 private:
  Log& log_;
  intptr_t beginResult_;
};

class DrawingTest : public ::testing::Test {
 protected:
  DrawingTest() : drawing(heap, system) { drawing.InitDrawing(); }

  runtime::MainHeap heap;
  testing::FakeSystem system;
  Drawing drawing;
  Log log;
};

TEST_F(DrawingTest, NewContextIsCurrentAndMirroredInTheThreadSlot) {
  EXPECT_EQ(system.tlsAllocations, 1);
  auto* context = drawing.NewDrawContext<LoggingContext>(log, 5);
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(drawing.CurrentDrawContext(), context);
  EXPECT_EQ(context->frontColor, 0xFFFFFFFFu);
  EXPECT_EQ(context->backColor, 0xFFFFFFFFu);
  EXPECT_EQ(context->gradientColor1, 0u);
  EXPECT_EQ(heap.LiveBlockCount(), 1u);
  ASSERT_EQ(system.stored.size(), 1u);
  EXPECT_EQ(system.stored[0].index, 7u);
  EXPECT_EQ(system.stored[0].value, context);
}

TEST_F(DrawingTest, RefusedBlockGivesNoContext) {
  heap.FailRequestsAbove(0);
  EXPECT_EQ(drawing.NewDrawContext<LoggingContext>(log, 5), nullptr);
  EXPECT_EQ(drawing.CurrentDrawContext(), nullptr);
}

TEST_F(DrawingTest, BeginAndEndRunTheTargetHooksInOrderAndFreeTheContext) {
  auto* context = drawing.NewDrawContext<LoggingContext>(log, 42);
  EXPECT_EQ(drawing.BeginDraw(context), 42);
  EXPECT_EQ(drawing.CurrentDrawContext(), context);
  drawing.EndDraw();
  EXPECT_EQ(log.calls, (std::vector<std::string>{"BeginTarget", "EndTarget", "ReleaseTarget 1"}));
  EXPECT_TRUE(log.destroyed);
  EXPECT_EQ(drawing.CurrentDrawContext(), nullptr);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
  ASSERT_EQ(system.stored.size(), 2u);
  EXPECT_EQ(system.stored[1].value, nullptr);
}

TEST_F(DrawingTest, FailingBeginReleasesWithoutEnding) {
  auto* context = drawing.NewDrawContext<LoggingContext>(log, 0);
  EXPECT_EQ(drawing.BeginDraw(context), 0);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"BeginTarget", "ReleaseTarget 0"}));
  EXPECT_EQ(drawing.CurrentDrawContext(), nullptr);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
  EXPECT_EQ(system.stored.back().value, nullptr);
}

TEST_F(DrawingTest, BeginOfNullAndEndWithoutContextDoNothing) {
  EXPECT_EQ(drawing.BeginDraw(nullptr), 0);
  drawing.EndDraw();
  drawing.EndDraw();
  EXPECT_TRUE(system.stored.empty());
  EXPECT_EQ(drawing.CurrentDrawContext(), nullptr);
}

TEST_F(DrawingTest, SecondEndDrawIsHarmless) {
  drawing.BeginDraw(drawing.NewDrawContext<LoggingContext>(log, 1));
  drawing.EndDraw();
  drawing.EndDraw();
  EXPECT_EQ(log.calls, (std::vector<std::string>{"BeginTarget", "EndTarget", "ReleaseTarget 1"}));
}

TEST_F(DrawingTest, WrappersIgnoreCallsWithoutAContext) {
  EXPECT_FALSE(drawing.BlitImage(nullptr, 0, 0));
  EXPECT_FALSE(drawing.DrawBox(0, 0, 3, 3, 0x123456));
  EXPECT_FALSE(drawing.SetDrawMode(DrawModeAlphaBlend));
  EXPECT_FALSE(drawing.DrawLine(0, 0, 5, 5, 0x96000000u));
  EXPECT_FALSE(drawing.DrawParallelLines(0, 0, 5, 5, -1, 1, 0x96000000u));
}

// A context without a band of its own draws the lines one by one, first
// offset first; offsets that are reversed or leave the 32-bit range draw
// nothing.
TEST_F(DrawingTest, ParallelLinesAreTheLinesOneByOne) {
  drawing.BeginDraw(drawing.NewDrawContext<LoggingContext>(log, 1));
  EXPECT_TRUE(drawing.DrawParallelLines(1, 10, 4, 20, -1, 1, 0x0000FF));
  EXPECT_FALSE(drawing.DrawParallelLines(1, 10, 4, 20, 1, -1, 0x0000FF));
  EXPECT_FALSE(drawing.DrawParallelLines(0, 2147483640, 0, 0, 0, 8, 0x0000FF));
  EXPECT_FALSE(drawing.DrawParallelLines(0, 0, 0, -2147483640, -9, 0, 0x0000FF));
  EXPECT_TRUE(drawing.DrawParallelLines(0, 2147483640, 0, -2147483640, -8, 7, 0x00FF00));
  EXPECT_EQ(log.calls[0], "BeginTarget");
  EXPECT_EQ(log.calls[1], "SetFrontColor 255");
  EXPECT_EQ(log.calls[2], "DrawLine 1 9 4 19");
  EXPECT_EQ(log.calls[3], "DrawLine 1 10 4 20");
  EXPECT_EQ(log.calls[4], "DrawLine 1 11 4 21");
  EXPECT_EQ(log.calls[5], "SetFrontColor 65280");
  EXPECT_EQ(log.calls[6], "DrawLine 0 2147483632 0 -2147483648");
  ASSERT_EQ(log.calls.size(), 6u + 16u);
  EXPECT_EQ(log.calls.back(), "DrawLine 0 2147483647 0 -2147483633");
  drawing.EndDraw();
}

TEST_F(DrawingTest, EqualColoursSetTheFrontColourOnce) {
  auto* context = drawing.NewDrawContext<LoggingContext>(log, 1);
  drawing.BeginDraw(context);
  EXPECT_TRUE(drawing.DrawBox(1, 2, 3, 3, 0x00FF00));
  EXPECT_TRUE(drawing.DrawBox(4, 5, 3, 3, 0x00FF00));
  EXPECT_TRUE(drawing.DrawLine(0, 0, 9, 9, 0x0000FF));
  EXPECT_EQ(context->frontColor, 0x0000FFu);
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{"BeginTarget", "SetFrontColor 65280", "DrawBox 1 2 3 3",
                                      "DrawBox 4 5 3 3", "SetFrontColor 255", "DrawLine 0 0 9 9"}));
  drawing.EndDraw();
}

TEST_F(DrawingTest, ColourEqualToTheStoredFrontColourSkipsSetFrontColor) {
  auto* context = drawing.NewDrawContext<LoggingContext>(log, 1);
  context->frontColor = 0;
  drawing.BeginDraw(context);
  drawing.DrawLine(1, 1, 2, 2, 0);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"BeginTarget", "DrawLine 1 1 2 2"}));
  drawing.EndDraw();
}

TEST_F(DrawingTest, ModeAndBlitReachTheirSlots) {
  drawing.BeginDraw(drawing.NewDrawContext<LoggingContext>(log, 1));
  EXPECT_TRUE(drawing.SetDrawMode(DrawModeAlphaBlend));
  EXPECT_TRUE(drawing.BlitImage(nullptr, 3, 4));
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{"BeginTarget", "SetDrawMode 16", "BlitImage 3 4"}));
  drawing.EndDraw();
}

TEST_F(DrawingTest, ANewTargetReplacesTheCurrentOne) {
  Log other;
  auto* first = drawing.NewDrawContext<LoggingContext>(log, 1);
  auto* second = drawing.NewDrawContext<LoggingContext>(other, 1);
  EXPECT_NE(first, second);
  EXPECT_EQ(drawing.CurrentDrawContext(), second);
  drawing.EndDraw();
  EXPECT_TRUE(other.destroyed);
  EXPECT_FALSE(log.destroyed);
  EXPECT_EQ(heap.LiveBlockCount(), 1u);
}

}  // namespace
}  // namespace drawing::draw
