// The pixel rules as small function objects, one per mode row and pixel size,
// so that a span or a line chooses its rule once and then runs a tight loop
// over pixel addresses. Each gives the same bytes as ApplyPixelRule.
#pragma once

#include <cstdint>
#include <cstring>

#include "draw/blend_runs.h"
#include "draw/fast_blend.h"
#include "draw/pixel_rule.h"
#include "draw/raster_backend.h"

namespace drawing::draw {

template <int32_t Bytes>
struct XorRule {
  static constexpr int32_t bytes = Bytes;
  SourceChannels s;
  void operator()(uint8_t* p) const { XorPixel(p, s); }
};

template <int32_t Bytes>
struct PlainRule {
  static constexpr int32_t bytes = Bytes;
  SourceChannels s;
  void operator()(uint8_t* p) const { PlainPixel(p, s); }
};

struct AlphaChannelRule {
  static constexpr int32_t bytes = 4;
  uint8_t alpha;
  void operator()(uint8_t* p) const { p[3] = alpha; }
};

// Opaque destinations take the exact division-free forms, two pixels at a
// time where the loop can hand over two; any other alpha the general rule.
template <bool UpdateAlpha>
struct BlendRule4 {
  static constexpr int32_t bytes = 4;
  void operator()(uint8_t* p) const { BlendRuns(blend, UpdateAlpha).Pixel(p); }
  // Two different pixels.
  void operator()(uint8_t* a, uint8_t* b) const { BlendRuns(blend, UpdateAlpha).Pair(a, b); }

  const OpaqueBlendSet& blend;
};

struct BlendRule3 {
  static constexpr int32_t bytes = 3;
  SourceChannels s;
  void operator()(uint8_t* p) const { FastBlendPixel3(p, s); }
};

// Calls `visit(rule)` with the rule of the context's mode for its pixel size;
// not at all when the rule leaves every pixel as it is (the alpha channel of
// 3-byte pixels). Only for modes without gradient and custom function.
template <class Visit>
void WithSpanRule(const RasterBackend& context, Visit&& visit) {
  const OpaqueBlendSet& blend = context.FrontBlend();
  const SourceChannels& s = blend.s;
  if (context.BytesPerPixel() == 4) {
    switch (context.Rule()) {
      case PixelRow::Xor:
        return visit(XorRule<4>{s});
      case PixelRow::AlphaChannel:
        return visit(AlphaChannelRule{static_cast<uint8_t>(s.alpha)});
      case PixelRow::Blend:
        return visit(BlendRule4<true>{blend});
      case PixelRow::BlendKeep:
        return visit(BlendRule4<false>{blend});
      case PixelRow::Plain:
        return visit(PlainRule<4>{s});
    }
    return;
  }
  switch (context.Rule()) {
    case PixelRow::Xor:
      return visit(XorRule<3>{s});
    case PixelRow::AlphaChannel:
      return;
    case PixelRow::Blend:
    case PixelRow::BlendKeep:
      return visit(BlendRule3{s});
    case PixelRow::Plain:
      return visit(PlainRule<3>{s});
  }
}

}  // namespace drawing::draw
