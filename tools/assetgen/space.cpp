#include "assetgen/space.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qbart {

namespace {

double Smooth(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

uint8_t Channel(double v) {
  return static_cast<uint8_t>(std::clamp(v, 0.0, 1.0) * 255 + 0.5);
}

// Adds light (premultiplied, additive) to one pixel.
void AddLight(uint32_t& pixel, Rgb colour) {
  const double a = ((pixel >> 24) & 0xFF) / 255.0;
  const double r = ((pixel >> 16) & 0xFF) / 255.0 + colour.r;
  const double g = ((pixel >> 8) & 0xFF) / 255.0 + colour.g;
  const double b = (pixel & 0xFF) / 255.0 + colour.b;
  const double alpha = std::max({a, std::min(1.0, r), std::min(1.0, g), std::min(1.0, b)});
  pixel = static_cast<uint32_t>(Channel(alpha)) << 24 | static_cast<uint32_t>(Channel(r)) << 16 |
          static_cast<uint32_t>(Channel(g)) << 8 | Channel(b);
}

}  // namespace

void FillSky(Canvas& canvas, Rgb top, Rgb bottom) {
  cairo_t* cr = canvas.cr();
  UsePattern(cr, VerticalGradient(0, canvas.height(), {{0, top}, {1, bottom}}));
  cairo_paint(cr);
}

void AddNebula(Canvas& canvas, uint64_t seed, const NebulaStyle& style, bool tile_y) {
  const int w = canvas.width();
  const int h = canvas.height();
  const double cell = w / style.scale;
  const int period_x = std::max(1, static_cast<int>(std::lround(style.scale)));
  const int period_y = tile_y ? std::max(1, static_cast<int>(std::lround(h / cell))) : 1 << 20;
  const double cell_y = tile_y ? static_cast<double>(h) / period_y : cell;
  const Noise shape(seed, period_x, period_y);
  const Noise tint(seed + 101, period_x, period_y);
  const Noise dust(seed + 202, period_x * 2, period_y * 2);
  // The gas is smooth at the scale of a pixel: work it out on every second pixel and blend.
  constexpr int kStep = 2;
  const int gw = w / kStep + 2;
  const int gh = h / kStep + 2;
  std::vector<Rgb> light(static_cast<size_t>(gw * gh));
  for (int gy = 0; gy < gh; ++gy) {
    for (int gx = 0; gx < gw; ++gx) {
      const double u = gx * kStep / cell;
      const double v = gy * kStep / cell_y;
      // A sum of octaves huddles round zero; spreading it gives clouds with clear sky between.
      const double n = shape.Fractal(u, v, 6, 0.55) * 0.8 + 0.5;
      const double density = Smooth(style.threshold, 1.0, n);
      Rgb& out = light[static_cast<size_t>(gy * gw + gx)];
      out = {0, 0, 0};
      if (density <= 0) {
        continue;
      }
      const double t = tint.Fractal(u * 1.5, v * 1.5, 3) * 0.5 + 0.5;
      const double lane = Smooth(0.45, 0.75, dust.Fractal(u * 2, v * 2, 4) * 0.5 + 0.5);
      const double strength = density * style.strength * (1 - style.dust * lane);
      out = Scale(Mix(style.outer, style.inner, Smooth(0.2, 0.9, t * 0.5 + density)), strength);
    }
  }
  uint32_t* pixels = canvas.pixels();
  const int stride = canvas.stride();
  for (int y = 0; y < h; ++y) {
    const int gy = y / kStep;
    const double fy = static_cast<double>(y % kStep) / kStep;
    for (int x = 0; x < w; ++x) {
      const int gx = x / kStep;
      const double fx = static_cast<double>(x % kStep) / kStep;
      const auto at = [&](int dx, int dy) {
        return light[static_cast<size_t>((gy + dy) * gw + gx + dx)];
      };
      const Rgb colour = Mix(Mix(at(0, 0), at(1, 0), fx), Mix(at(0, 1), at(1, 1), fx), fy);
      if (colour.r + colour.g + colour.b > 0) {
        AddLight(pixels[y * stride + x], colour);
      }
    }
  }
  cairo_surface_mark_dirty(canvas.surface());
}

void AddStars(Canvas& canvas, Rng& rng, int count, double brightness, bool tile_y) {
  cairo_t* cr = canvas.cr();
  const Rgb tints[] = {Hex(0xFFFFFF), Hex(0xCFE0FF), Hex(0xA8C8FF), Hex(0xFFF2D8), Hex(0xFFD8B0)};
  for (int i = 0; i < count; ++i) {
    const double x = rng.Range(0, canvas.width());
    const double y = rng.Range(0, canvas.height());
    const double roll = rng.Uniform();
    const double size = roll < 0.9    ? rng.Range(0.4, 1.0)
                        : roll < 0.99 ? rng.Range(1.0, 1.8)
                                      : rng.Range(1.8, 3.0);
    const double alpha = std::min(1.0, brightness * rng.Range(0.35, 1.0) * (0.6 + size * 0.3));
    const Rgb tint = tints[rng.Int(5)];
    const double copies[] = {0, tile_y ? -canvas.height() : 0.0, tile_y ? canvas.height() : 0.0};
    for (double shift : copies) {
      const double cy = y + shift;
      if (shift != 0 && (cy < -20 || cy > canvas.height() + 20)) {
        continue;
      }
      if (size > 1.0) {
        UsePattern(cr, RadialGradient(x, cy, 0, size * 4, {{0, tint, alpha * 0.5}, {1, tint, 0}}));
        cairo_arc(cr, x, cy, size * 4, 0, 2 * M_PI);
        cairo_fill(cr);
      }
      if (size > 2.2) {
        DrawFlare(canvas, x, cy, size * 5, tint, 0.7);
      }
      SetColour(cr, Mix(tint, Hex(0xFFFFFF), 0.5), alpha);
      cairo_arc(cr, x, cy, size * 0.6, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
}

void DrawFlare(Canvas& canvas, double cx, double cy, double size, Rgb colour, double spikes) {
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  UsePattern(
      cr, RadialGradient(
              cx, cy, 0, size,
              {{0, Hex(0xFFFFFF), 1}, {0.08, colour, 0.8}, {0.35, colour, 0.18}, {1, colour, 0}}));
  cairo_arc(cr, cx, cy, size, 0, 2 * M_PI);
  cairo_fill(cr);
  for (int arm = 0; arm < 4; ++arm) {
    const double length = size * (arm % 2 == 0 ? 2.2 : 1.6) * spikes;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, arm * M_PI / 2);
    cairo_pattern_t* ray = cairo_pattern_create_linear(0, 0, length, 0);
    cairo_pattern_add_color_stop_rgba(ray, 0, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(ray, 0.3, colour.r, colour.g, colour.b, 0.35);
    cairo_pattern_add_color_stop_rgba(ray, 1, colour.r, colour.g, colour.b, 0);
    UsePattern(cr, ray);
    cairo_move_to(cr, 0, -size * 0.06);
    cairo_line_to(cr, length, 0);
    cairo_line_to(cr, 0, size * 0.06);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

void DrawPlanet(Canvas& canvas, double cx, double cy, double radius, const PlanetStyle& style) {
  const Noise bands(style.seed, 64, 64);
  const Noise storms(style.seed + 7, 64, 64);
  uint32_t* pixels = canvas.pixels();
  const int stride = canvas.stride();
  const double lx = -0.55, ly = -0.5, lz = 0.67;  // light from the upper left, towards us
  const int x0 = std::max(0, static_cast<int>(cx - radius * 1.2));
  const int x1 = std::min(canvas.width(), static_cast<int>(cx + radius * 1.2) + 1);
  const int y0 = std::max(0, static_cast<int>(cy - radius * 1.2));
  const int y1 = std::min(canvas.height(), static_cast<int>(cy + radius * 1.2) + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      // Four samples per pixel near the rim for a clean edge, one elsewhere.
      const double centre = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
      const int samples = std::abs(centre - 1) * radius < 2 ? 4 : 1;
      double r = 0, g = 0, b = 0, a = 0;
      for (int s = 0; s < samples; ++s) {
        const double px = (samples == 1 ? x + 0.5 : x + 0.25 + 0.5 * (s % 2)) - cx;
        const double py = (samples == 1 ? y + 0.5 : y + 0.25 + 0.5 * (s / 2)) - cy;
        const double d2 = (px * px + py * py) / (radius * radius);
        if (d2 > 1) {
          // Thin atmosphere beyond the rim.
          const double halo = std::max(0.0, 1 - (std::sqrt(d2) - 1) / 0.12);
          const double lit = std::clamp(0.4 - (px * lx + py * ly) / radius, 0.0, 1.0);
          const double k = halo * halo * lit * 0.8;
          r += style.atmosphere.r * k;
          g += style.atmosphere.g * k;
          b += style.atmosphere.b * k;
          a += k;
          continue;
        }
        const double nx = px / radius;
        const double ny = py / radius;
        const double pz = std::sqrt(1 - d2);
        const double light = std::clamp(nx * lx + ny * ly + pz * lz, 0.0, 1.0);
        // Latitude bands wobbled by noise, read on the sphere so they curve with it.
        const double lat = std::asin(std::clamp(ny, -1.0, 1.0));
        const double lon = std::atan2(nx, pz);
        const double wobble = bands.Fractal(lon * 3 + 10, lat * 2 + 10, 4) * 0.35;
        const double band = 0.5 + 0.5 * std::sin((lat + wobble) * style.band_scale);
        const double storm = std::max(0.0, storms.Fractal(lon * 5 + 3, lat * 5 + 3, 3) - 0.25);
        Rgb surface = Mix(style.light, style.bands, band * 0.7);
        surface = Mix(surface, Hex(0xFFFFFF), storm * 0.6);
        Rgb shade = Mix(style.dark, surface, light);
        const double rim = std::pow(1 - pz, 3);
        shade = Mix(shade, style.atmosphere, rim * 0.7 * (0.3 + light));
        const double k = std::pow(light, 0.6) * 0.95 + 0.05;
        r += shade.r * k;
        g += shade.g * k;
        b += shade.b * k;
        a += 1;
      }
      Rgb colour{r / samples, g / samples, b / samples};
      const double alpha = std::min(1.0, a / samples);
      uint32_t& pixel = pixels[y * stride + x];
      // Over the existing pixel.
      const double keep = 1 - alpha;
      const double br = ((pixel >> 16) & 0xFF) / 255.0 * keep + colour.r;
      const double bg = ((pixel >> 8) & 0xFF) / 255.0 * keep + colour.g;
      const double bb = (pixel & 0xFF) / 255.0 * keep + colour.b;
      const double ba = ((pixel >> 24) & 0xFF) / 255.0 * keep + alpha;
      pixel = static_cast<uint32_t>(Channel(ba)) << 24 | static_cast<uint32_t>(Channel(br)) << 16 |
              static_cast<uint32_t>(Channel(bg)) << 8 | Channel(bb);
    }
  }
  cairo_surface_mark_dirty(canvas.surface());
}

void DrawQuasar(Canvas& canvas, double cx, double cy, double size, double tilt) {
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  // Outer glow.
  UsePattern(cr, RadialGradient(cx, cy, 0, size * 1.6,
                                {{0, Hex(0x9FD8FF), 0.55},
                                 {0.25, Hex(0x5A6CFF), 0.25},
                                 {0.6, Hex(0x8A2BE2), 0.08},
                                 {1, Hex(0x000000), 0}}));
  cairo_arc(cr, cx, cy, size * 1.6, 0, 2 * M_PI);
  cairo_fill(cr);
  // Jets, along the disc's axis.
  for (int side = -1; side <= 1; side += 2) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, tilt);
    cairo_pattern_t* jet = cairo_pattern_create_linear(0, 0, 0, side * size * 2.6);
    cairo_pattern_add_color_stop_rgba(jet, 0, 0.85, 0.95, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(jet, 0.4, 0.45, 0.6, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(jet, 1, 0.5, 0.2, 0.9, 0);
    UsePattern(cr, jet);
    cairo_move_to(cr, -size * 0.05, 0);
    cairo_curve_to(cr, -size * 0.12, side * size * 1.2, -size * 0.3, side * size * 2.0,
                   -size * 0.18, side * size * 2.6);
    cairo_line_to(cr, size * 0.18, side * size * 2.6);
    cairo_curve_to(cr, size * 0.3, side * size * 2.0, size * 0.12, side * size * 1.2, size * 0.05,
                   0);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  // Accretion disc: rings of hot gas squashed into an ellipse.
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, tilt + M_PI / 2);
  cairo_scale(cr, 1.0, 0.28);
  UsePattern(cr, RadialGradient(0, 0, size * 0.15, size * 1.25,
                                {{0, Hex(0xFFFFFF), 0.95},
                                 {0.15, Hex(0xFFE6A8), 0.8},
                                 {0.4, Hex(0xFF8A3C), 0.45},
                                 {0.75, Hex(0xB0307A), 0.18},
                                 {1, Hex(0x401060), 0}}));
  cairo_arc(cr, 0, 0, size * 1.25, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_restore(cr);
  DrawFlare(canvas, cx, cy, size * 0.55, Hex(0xBFE4FF), 1.4);
}

void DrawAsteroid(Canvas& canvas, double cx, double cy, double size, double angle, uint64_t seed) {
  const Noise outline(seed, 16, 1 << 20);
  const Noise surface(seed + 5, 16, 16);
  const double radius = size / 2;
  // The outline in the rock's own frame, as radius per direction.
  auto edge = [&](double direction) {
    const double t = direction / (2 * M_PI) * 16;
    return radius * (0.78 + 0.2 * outline.Fractal(t, 0.5, 3, 0.5));
  };
  Rng rng(seed + 11);
  struct Crater {
    double a, d, r;
  };
  std::vector<Crater> craters;
  for (int i = 0; i < 7; ++i) {
    craters.push_back({rng.Range(0, 2 * M_PI), rng.Range(0.0, 0.6), rng.Range(0.09, 0.2)});
  }
  uint32_t* pixels = canvas.pixels();
  const int stride = canvas.stride();
  const int x0 = std::max(0, static_cast<int>(cx - radius - 2));
  const int x1 = std::min(canvas.width(), static_cast<int>(cx + radius + 2));
  const int y0 = std::max(0, static_cast<int>(cy - radius - 2));
  const int y1 = std::min(canvas.height(), static_cast<int>(cy + radius + 2));
  const double lx = -0.6, ly = -0.55, lz = 0.58;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int s = 0; s < 4; ++s) {
        const double px = x + 0.25 + 0.5 * (s % 2) - cx;
        const double py = y + 0.25 + 0.5 * (s / 2) - cy;
        // Into the rock's frame.
        const double rx = px * std::cos(-angle) - py * std::sin(-angle);
        const double ry = px * std::sin(-angle) + py * std::cos(-angle);
        const double dir = std::atan2(ry, rx);
        const double limit = edge(dir < 0 ? dir + 2 * M_PI : dir);
        const double dist = std::hypot(rx, ry);
        if (dist > limit) {
          continue;
        }
        // A bumpy dome: height from the distance to the edge, normals from the noise.
        const double h = std::sqrt(std::max(0.0, 1 - (dist / limit) * (dist / limit)));
        const double nx0 = rx / limit, ny0 = ry / limit;
        const double bump = surface.Fractal(rx / radius * 3 + 8, ry / radius * 3 + 8, 4);
        double nx = nx0 + 0.35 * surface.Fractal(rx / radius * 4, ry / radius * 4 + 3, 3);
        double ny = ny0 + 0.35 * surface.Fractal(rx / radius * 4 + 3, ry / radius * 4, 3);
        double nz = h + 0.2;
        for (const Crater& crater : craters) {
          const double ccx = std::cos(crater.a) * crater.d;
          const double ccy = std::sin(crater.a) * crater.d;
          const double dx = rx / radius - ccx;
          const double dy = ry / radius - ccy;
          const double cd = std::hypot(dx, dy) / crater.r;
          if (cd < 1.0) {
            // Inside a crater the slope turns inward, with a raised rim near its edge.
            const double k = cd < 0.8 ? -0.9 : 1.2;
            nx += dx / (cd + 0.1) * k * 0.6;
            ny += dy / (cd + 0.1) * k * 0.6;
          }
        }
        // The light is fixed on screen: turn the normal back to screen space.
        const double sx = nx * std::cos(angle) - ny * std::sin(angle);
        const double sy = nx * std::sin(angle) + ny * std::cos(angle);
        const double len = std::sqrt(sx * sx + sy * sy + nz * nz);
        const double light = std::clamp((sx * lx + sy * ly + nz * lz) / len, 0.0, 1.0);
        const Rgb rock = Mix(Hex(0x5A4A40), Hex(0x8C7A68), bump * 0.5 + 0.5);
        const Rgb shade =
            Mix(Hex(0x100C10), Mix(rock, Hex(0xE8D8C0), light * light * 0.5), 0.12 + light * 0.95);
        r += shade.r;
        g += shade.g;
        b += shade.b;
        a += 1;
      }
      if (a == 0) {
        continue;
      }
      const double alpha = a / 4;
      uint32_t& pixel = pixels[y * stride + x];
      const double keep = 1 - alpha;
      const double br = ((pixel >> 16) & 0xFF) / 255.0 * keep + r / 4;
      const double bg = ((pixel >> 8) & 0xFF) / 255.0 * keep + g / 4;
      const double bb = (pixel & 0xFF) / 255.0 * keep + b / 4;
      const double ba = ((pixel >> 24) & 0xFF) / 255.0 * keep + alpha;
      pixel = static_cast<uint32_t>(Channel(ba)) << 24 | static_cast<uint32_t>(Channel(br)) << 16 |
              static_cast<uint32_t>(Channel(bg)) << 8 | Channel(bb);
    }
  }
  cairo_surface_mark_dirty(canvas.surface());
}

}  // namespace qbart
