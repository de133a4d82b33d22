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
void Application::RenderFrame() {
  if (shutDown_) {
    return;  // the display, the images and the swarm are gone
  }
  display_.ClearBackBuffer(0);
  display_.ShowSprite(ScreenSprite, 0, 0);

  drawing_.BeginDraw(draw::ScreenTarget(drawing_, display_, platform_.gdi));
  drawing_.BlitImage(images_.ImageHandle(CanvasImage), 0, 0);
  const runtime::ListView<Particle> swarm = SwarmOf(state_);
  swarm.Rewind();
  while (const Particle* particle = swarm.Next()) {
    drawing_.DrawBox(Nearest(particle->x - 1), Nearest(particle->y - 1), kBoxSize, kBoxSize,
                     ParticleColour(*particle, 0));
  }
  drawing_.EndDraw();

  drawing_.BeginDraw(draw::ImageTarget(drawing_, images_, platform_.gdi, CanvasImage));
  drawing_.SetDrawMode(draw::DrawModeAlphaBlend);
  swarm.Rewind();
  while (const Particle* particle = swarm.Next()) {
    DrawStroke(drawing_, MakeStroke(*particle), ParticleColour(*particle, StrokeAlpha));
  }
  drawing_.EndDraw();

  display_.PresentFrame();
}

}  // namespace drawing::app
