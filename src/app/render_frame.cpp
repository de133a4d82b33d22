// Application::RenderFrame: the Canvas and the particles' boxes on the
// screen, then this frame's strokes into the Canvas.
#include "app/application.h"
#include "app/particle.h"
#include "app/rounding.h"
#include "app/stroke.h"
#include "draw/image_target.h"
#include "draw/screen_target.h"
#include "runtime/element_list.h"

namespace drawing::app {
namespace {

constexpr int32_t CanvasImage = 0;
constexpr int32_t ScreenSprite = 0;

}  // namespace

void Application::RenderFrame() {
  display_.ClearBackBuffer(0);
  display_.ShowSprite(ScreenSprite, 0, 0);

  drawing_.BeginDraw(draw::ScreenTarget(drawing_, display_, platform_.gdi));
  drawing_.BlitImage(images_.ImageHandle(CanvasImage), 0, 0);
  runtime::ListRewind(state_.Swarm);
  while (auto* particle = static_cast<const Particle*>(runtime::ListNext(state_.Swarm))) {
    drawing_.DrawBox(Nearest(particle->x - 1), Nearest(particle->y - 1), BoxSize, BoxSize,
                     ParticleColour(*particle, 0));
  }
  drawing_.EndDraw();

  drawing_.BeginDraw(draw::ImageTarget(drawing_, images_, platform_.gdi, CanvasImage));
  drawing_.SetDrawMode(draw::DrawModeAlphaBlend);
  runtime::ListRewind(state_.Swarm);
  while (auto* particle = static_cast<const Particle*>(runtime::ListNext(state_.Swarm))) {
    const draw::Colour colour = ParticleColour(*particle, StrokeAlpha);
    const Stroke stroke = MakeStroke(*particle);
    if (stroke.Parallel()) {
      // One colour throughout: the order of the lines cannot change a pixel.
      const Line centre = stroke.LineAt(0);
      drawing_.DrawParallelLines(centre.x1, centre.y1, centre.x2, centre.y2, -StrokeHalfWidth,
                                 StrokeHalfWidth, colour);
      continue;
    }
    const auto draw = [&](int32_t offset) {
      const Line line = stroke.LineAt(offset);
      drawing_.DrawLine(line.x1, line.y1, line.x2, line.y2, colour);
    };
    draw(0);
    for (int32_t i = 1; i <= StrokeHalfWidth; ++i) {
      draw(-i);
      draw(i);
    }
  }
  drawing_.EndDraw();

  display_.PresentFrame();
}

}  // namespace drawing::app
