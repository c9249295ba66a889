#include "core/text_layout.h"

#include "core/screen_space.h"

namespace engine {

TextRun LayOutText(const PrintedText& text, ResourceId font) {
  const Vec2f origin = PrintToScreen(text.position.x, text.position.y);
  TextRun run;
  run.font = font;
  run.text = text.text;
  run.left = origin.x;
  run.baseline = origin.y;
  run.cellWidth = text.scale.x * kPrintPixels;
  run.cellHeight = text.scale.y * kPrintPixels;
  run.advance = (text.scale.x + text.spacing * text.scale.x / 2) * kPrintPixels;
  run.colour = text.colour;
  return run;
}

}  // namespace engine
