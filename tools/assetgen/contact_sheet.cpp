// The contact sheet: every picture the generator drew, in the order drawn, each captioned.
#include <algorithm>
#include <cmath>

#include "assetgen/art.h"
#include "assetgen/fonts.h"

namespace qbart {

namespace {

constexpr int kSheetWidth = 2400;
constexpr int kGap = 14;
constexpr int kCaption = 16;

// Big pictures are shown at half size; small ones are enlarged to be seen.
double ShownScale(const Canvas& picture) {
  if (picture.width() >= 300 || picture.height() >= 300) {
    return 0.5;
  }
  if (picture.width() <= 40 && picture.height() <= 40) {
    return 2.0;
  }
  return 1.0;
}

struct Placed {
  double x, y, scale;
};

std::vector<Placed> Layout(const std::vector<Output::Shown>& shown, int& height) {
  std::vector<Placed> places;
  double x = kGap, y = kGap, row_height = 0;
  for (const Output::Shown& item : shown) {
    const double scale = ShownScale(item.picture);
    const double w = std::max(item.picture.width() * scale, 90.0);
    const double h = item.picture.height() * scale + kCaption;
    if (x + w > kSheetWidth - kGap) {
      x = kGap;
      y += row_height + kGap;
      row_height = 0;
    }
    places.push_back({x, y, scale});
    x += w + kGap;
    row_height = std::max(row_height, h);
  }
  height = static_cast<int>(y + row_height + kGap);
  return places;
}

}  // namespace

Canvas ContactSheet(const Output& out) {
  int height = 0;
  const std::vector<Placed> places = Layout(out.shown(), height);
  Canvas sheet(kSheetWidth, height);
  cairo_t* cr = sheet.cr();
  cairo_set_source_rgb(cr, 0.16, 0.17, 0.2);
  cairo_paint(cr);
  for (size_t i = 0; i < places.size(); ++i) {
    const Canvas& picture = out.shown()[i].picture;
    const Placed& at = places[i];
    const double w = picture.width() * at.scale;
    const double h = picture.height() * at.scale;
    // A checkerboard behind each picture shows its transparent parts.
    cairo_save(cr);
    cairo_rectangle(cr, at.x, at.y, w, h);
    cairo_clip(cr);
    for (int cy = 0; cy * 8 < h; ++cy) {
      for (int cx = 0; cx * 8 < w; ++cx) {
        const double shade = (cx + cy) % 2 == 0 ? 0.09 : 0.13;
        cairo_set_source_rgb(cr, shade, shade, shade + 0.02);
        cairo_rectangle(cr, at.x + cx * 8, at.y + cy * 8, 8, 8);
        cairo_fill(cr);
      }
    }
    cairo_restore(cr);
    sheet.Paint(picture, at.x, at.y, at.scale);
    cairo_set_source_rgb(cr, 0.85, 0.88, 0.95);
    UseFont(cr, Face::kText, 11);
    DrawText(cr, out.shown()[i].name, at.x, at.y + h + 12, Align::kLeft);
  }
  return sheet;
}

}  // namespace qbart
