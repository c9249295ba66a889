#include "sdl/transformed_copies.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace engine::sdl {
namespace {

enum Kind : int32_t { kUpright = 1, kTurned = 2 };

// Pictures and copies above these sizes are drawn from the picture itself: their copies would
// take much room, and there are few of them in a frame.
constexpr int kLargestPicture = 128;   // texels a side
constexpr int32_t kLargestCopy = 192;  // pixels a side
// Copies kept beyond those the last few frames used.
constexpr size_t kSpareBytes = size_t{1} << 20;
constexpr uint64_t kRecentFrames = 2;

int32_t Bits(float value) {
  return std::bit_cast<int32_t>(value);
}

int32_t Nearest(double at) {
  return static_cast<int32_t>(std::floor(at + 0.5));
}

}  // namespace

bool PlainOffset(const pixman_f_transform& toTexels) {
  constexpr double kExact = 1e-6;
  const auto(&m)[3][3] = toTexels.m;
  return std::abs(m[0][0] - 1) < kExact && std::abs(m[1][1] - 1) < kExact &&
         std::abs(m[0][1]) < kExact && std::abs(m[1][0]) < kExact;
}

size_t TransformedCopies::KeyHash::operator()(const Key& key) const {
  size_t hash = key.id * 0x9E3779B97F4A7C15u ^ static_cast<size_t>(key.kind);
  for (const int32_t value : key.values) {
    hash = (hash ^ static_cast<uint32_t>(value)) * 0x100000001B3u;
  }
  return hash;
}

std::optional<TransformedCopies::Placed> TransformedCopies::For(const Quad& quad) {
  const pixman_f_transform& m = quad.toTexels;
  if (quad.width > kLargestPicture || quad.height > kLargestPicture || PlainOffset(m)) {
    return std::nullopt;
  }
  if (quad.upright) {
    // Only quads that keep the picture's rows as rows; one turned a quarter goes the other way.
    if (m.m[0][1] != 0 || m.m[1][0] != 0) {
      return std::nullopt;
    }
    const double spanX = quad.texelRight - quad.texelLeft, spanY = quad.texelBottom - quad.texelTop;
    const double wide = spanX / std::abs(m.m[0][0]), high = spanY / std::abs(m.m[1][1]);
    if (!(wide <= kLargestCopy && high <= kLargestCopy)) {
      return std::nullopt;
    }
    const int32_t width = std::max(1, Nearest(wide)), height = std::max(1, Nearest(high));
    const bool mirroredX = m.m[0][0] < 0, mirroredY = m.m[1][1] < 0;
    const Key key{quad.id,
                  kUpright,
                  {width, height, Bits(quad.texelLeft), Bits(quad.texelTop), Bits(quad.texelRight),
                   Bits(quad.texelBottom) ^ (mirroredX ? 1 << 30 : 0) ^ (mirroredY ? 1 << 29 : 0)}};
    pixman_f_transform copyToTexels;
    pixman_f_transform_init_identity(&copyToTexels);
    copyToTexels.m[0][0] = (mirroredX ? -spanX : spanX) / width;
    copyToTexels.m[0][2] = mirroredX ? quad.texelRight : quad.texelLeft;
    copyToTexels.m[1][1] = (mirroredY ? -spanY : spanY) / height;
    copyToTexels.m[1][2] = mirroredY ? quad.texelBottom : quad.texelTop;
    Copy* copy = Make(key, quad, width, height, copyToTexels, PIXMAN_REPEAT_PAD);
    if (!copy) {
      return std::nullopt;
    }
    return Placed{copy->image.get(), Nearest(quad.left), Nearest(quad.top), width, height};
  }
  // The picture's half extents on the screen, from its corners around its centre.
  const double det = m.m[0][0] * m.m[1][1] - m.m[0][1] * m.m[1][0];
  if (!std::isfinite(det) || std::abs(det) < 1e-9) {
    return std::nullopt;
  }
  const double i00 = m.m[1][1] / det, i01 = -m.m[0][1] / det, i10 = -m.m[1][0] / det,
               i11 = m.m[0][0] / det;
  const double halfW = quad.width / 2.0, halfH = quad.height / 2.0;
  const double extentX = std::abs(i00) * halfW + std::abs(i01) * halfH;
  const double extentY = std::abs(i10) * halfW + std::abs(i11) * halfH;
  if (!(extentX <= kLargestCopy && extentY <= kLargestCopy)) {
    return std::nullopt;
  }
  // A step in the map's entries moves the texel under a pixel at the copy's rim by the step
  // times the pixel's distance from the centre: at most a quarter of a texel, and at most a
  // quarter of a pixel for a picture drawn larger than its texels.
  const double radius = std::hypot(extentX, extentY);
  const double pixelsPerTexel = std::max(1.0, std::sqrt(1 / std::abs(det)));
  const int exponent = std::ilogb(std::max(1.0, 4 * radius * pixelsPerTexel)) + 1;
  const double step = std::ldexp(1.0, -exponent);
  const auto steps = [step](double entry) {
    return static_cast<int32_t>(std::lround(entry / step));
  };
  const Key key{
      quad.id,
      kTurned,
      {steps(m.m[0][0]), steps(m.m[0][1]), steps(m.m[1][0]), steps(m.m[1][1]), exponent, 0}};
  // One pixel of margin all round for the filtered edge.
  const int32_t width = 2 * static_cast<int32_t>(std::ceil(extentX + 1));
  const int32_t height = 2 * static_cast<int32_t>(std::ceil(extentY + 1));
  if (width > kLargestCopy || height > kLargestCopy) {
    return std::nullopt;
  }
  pixman_f_transform copyToTexels;
  pixman_f_transform_init_identity(&copyToTexels);
  const double q00 = key.values[0] * step, q01 = key.values[1] * step, q10 = key.values[2] * step,
               q11 = key.values[3] * step;
  copyToTexels.m[0][0] = q00;
  copyToTexels.m[0][1] = q01;
  copyToTexels.m[1][0] = q10;
  copyToTexels.m[1][1] = q11;
  copyToTexels.m[0][2] = halfW - (q00 * width + q01 * height) / 2;
  copyToTexels.m[1][2] = halfH - (q10 * width + q11 * height) / 2;
  Copy* copy = Make(key, quad, width, height, copyToTexels, PIXMAN_REPEAT_NONE);
  if (!copy) {
    return std::nullopt;
  }
  // Where the quad puts the picture's centre.
  const double dx = halfW - m.m[0][2], dy = halfH - m.m[1][2];
  const double centreX = i00 * dx + i01 * dy, centreY = i10 * dx + i11 * dy;
  return Placed{copy->image.get(), Nearest(centreX - width / 2.0), Nearest(centreY - height / 2.0),
                width, height};
}

TransformedCopies::Copy* TransformedCopies::Make(const Key& key, const Quad& quad, int32_t width,
                                                 int32_t height,
                                                 const pixman_f_transform& copyToTexels,
                                                 pixman_repeat_t repeat) {
  if (const auto found = copies_.find(key); found != copies_.end()) {
    found->second.lastUsed = frame_;
    return &found->second;
  }
  Copy copy;
  copy.width = width;
  copy.height = height;
  copy.lastUsed = frame_;
  copy.pixels.assign(static_cast<size_t>(width) * height, 0);
  copy.image.reset(
      pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, copy.pixels.data(), width * 4));
  pixman_transform_t fixed;
  if (!copy.image || !pixman_transform_from_pixman_f_transform(&fixed, &copyToTexels)) {
    return nullptr;
  }
  pixman_image_set_transform(quad.picture, &fixed);
  pixman_image_set_repeat(quad.picture, repeat);
  pixman_image_set_filter(quad.picture, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_component_alpha(quad.picture, false);
  pixman_image_composite32(PIXMAN_OP_SRC, quad.picture, nullptr, copy.image.get(), 0, 0, 0, 0, 0, 0,
                           width, height);
  pixman_image_set_transform(quad.picture, nullptr);
  bytes_ += copy.pixels.size() * 4;
  return &copies_.emplace(key, std::move(copy)).first->second;
}

void TransformedCopies::Forget(ResourceId id) {
  std::erase_if(copies_, [&](const auto& entry) {
    if (entry.first.id != id) {
      return false;
    }
    bytes_ -= entry.second.pixels.size() * 4;
    return true;
  });
}

void TransformedCopies::NextFrame() {
  ++frame_;
  if (bytes_ <= kSpareBytes) {
    return;
  }
  std::erase_if(copies_, [&](const auto& entry) {
    if (entry.second.lastUsed + kRecentFrames >= frame_) {
      return false;
    }
    bytes_ -= entry.second.pixels.size() * 4;
    return true;
  });
}

}  // namespace engine::sdl
