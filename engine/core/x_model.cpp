#include "core/x_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace engine {
namespace {

constexpr int32_t kMaxPositions = 65536;
constexpr int32_t kMaxFaces = 65536;
constexpr int32_t kMaxFaceCorners = 64;
constexpr int kMaxFrameDepth = 32;

// Splits the text into words and braces. Commas and semicolons only separate list items, and
// the counts in front of every list tell us the structure, so they are dropped like spaces.
// GUIDs and quoted strings are dropped too: nothing we read needs them.
class Tokens {
 public:
  explicit Tokens(std::string_view text) : text_(text) {}

  // The next token, or an empty view at the end.
  std::string_view Next() {
    for (;;) {
      SkipSeparators();
      if (position_ >= text_.size()) {
        return {};
      }
      const char c = text_[position_];
      if (c == '<' || c == '"') {
        const size_t end = text_.find(c == '<' ? '>' : '"', position_ + 1);
        position_ = end == std::string_view::npos ? text_.size() : end + 1;
        continue;
      }
      if (c == '{' || c == '}') {
        return text_.substr(position_++, 1);
      }
      const size_t start = position_;
      while (position_ < text_.size() && !IsSeparator(text_[position_]) &&
             std::string_view("{}<\"").find(text_[position_]) == std::string_view::npos) {
        ++position_;
      }
      return text_.substr(start, position_ - start);
    }
  }

  bool Int(int32_t& value) {
    const std::string_view word = Next();
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return !word.empty() && error == std::errc() && end == word.data() + word.size();
  }

  bool Float(float& value) {
    const std::string_view word = Next();
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return !word.empty() && error == std::errc() && end == word.data() + word.size() &&
           std::isfinite(value);
  }

  // Consumes tokens up to and including the brace that closes the block whose '{' was just read.
  bool SkipBlock() {
    for (int depth = 1; depth > 0;) {
      const std::string_view word = Next();
      if (word.empty()) {
        return false;
      }
      depth += word == "{" ? 1 : word == "}" ? -1 : 0;
    }
    return true;
  }

 private:
  static bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';';
  }

  void SkipSeparators() {
    while (position_ < text_.size()) {
      const char c = text_[position_];
      if (IsSeparator(c)) {
        ++position_;
      } else if (c == '#' || text_.substr(position_, 2) == "//") {
        const size_t end = text_.find('\n', position_);
        position_ = end == std::string_view::npos ? text_.size() : end + 1;
      } else {
        return;
      }
    }
  }

  std::string_view text_;
  size_t position_ = 0;
};

// Reads "identifier [name] {" after the identifier; false when no brace follows.
bool OpenBlock(Tokens& tokens) {
  std::string_view word = tokens.Next();
  if (word != "{") {
    word = tokens.Next();
  }
  return word == "{";
}

bool ReadTextureCoords(Tokens& tokens, Model& model) {
  int32_t count;
  if (!OpenBlock(tokens) || !tokens.Int(count) ||
      count != static_cast<int32_t>(model.positions.size())) {
    return false;
  }
  model.uvs.resize(static_cast<size_t>(count));
  for (Vec2f& uv : model.uvs) {
    if (!tokens.Float(uv.x) || !tokens.Float(uv.y)) {
      return false;
    }
  }
  return tokens.Next() == "}";
}

// The body of a Mesh block, after its '{', up to and including its '}'.
bool ReadMesh(Tokens& tokens, Model& model) {
  int32_t positions;
  if (!tokens.Int(positions) || positions < 3 || positions > kMaxPositions) {
    return false;
  }
  model.positions.resize(static_cast<size_t>(positions));
  for (Vec3f& p : model.positions) {
    if (!tokens.Float(p.x) || !tokens.Float(p.y) || !tokens.Float(p.z)) {
      return false;
    }
  }
  int32_t faces;
  if (!tokens.Int(faces) || faces < 1 || faces > kMaxFaces) {
    return false;
  }
  for (int32_t f = 0; f < faces; ++f) {
    int32_t corners;
    if (!tokens.Int(corners) || corners < 3 || corners > kMaxFaceCorners) {
      return false;
    }
    int32_t first = 0, previous = 0;
    for (int32_t c = 0; c < corners; ++c) {
      int32_t index;
      if (!tokens.Int(index) || index < 0 || index >= positions) {
        return false;
      }
      if (c == 0) {
        first = index;
      } else if (c >= 2) {
        model.triangles.insert(model.triangles.end(), {first, previous, index});
      }
      previous = index;
    }
  }
  for (;;) {
    const std::string_view word = tokens.Next();
    if (word == "}") {
      return !model.uvs.empty();
    }
    if (word.empty()) {
      return false;
    }
    if (word == "MeshTextureCoords") {
      if (!ReadTextureCoords(tokens, model)) {
        return false;
      }
    } else if (word == "{" ? !tokens.SkipBlock() : !OpenBlock(tokens) || !tokens.SkipBlock()) {
      return false;
    }
  }
}

// Looks for the first Mesh among the blocks that follow, descending into Frames. Stops at the
// end of the text or at the '}' that closes the enclosing block.
bool FindMesh(Tokens& tokens, Model& model, int depth) {
  for (;;) {
    const std::string_view word = tokens.Next();
    if (word.empty() || word == "}") {
      return false;
    }
    if (word == "{") {
      if (!tokens.SkipBlock()) {
        return false;
      }
      continue;
    }
    if (!OpenBlock(tokens)) {
      return false;
    }
    if (word == "Mesh") {
      return ReadMesh(tokens, model);
    }
    if (word == "Frame" && depth < kMaxFrameDepth) {
      if (FindMesh(tokens, model, depth + 1)) {
        return true;
      }
      continue;
    }
    if (!tokens.SkipBlock()) {
      return false;
    }
  }
}

}  // namespace

std::optional<Model> ReadXModel(std::string_view text) {
  // "xof 0302txt 0032": magic, version, format, float size.
  if (text.size() < 16 || text.substr(0, 4) != "xof " || text.substr(8, 4) != "txt ") {
    return std::nullopt;
  }
  Tokens tokens(text.substr(16));
  Model model;
  if (!FindMesh(tokens, model, 0)) {
    return std::nullopt;
  }
  model.min = model.max = model.positions.front();
  for (const Vec3f& p : model.positions) {
    model.min = {std::min(model.min.x, p.x), std::min(model.min.y, p.y),
                 std::min(model.min.z, p.z)};
    model.max = {std::max(model.max.x, p.x), std::max(model.max.y, p.y),
                 std::max(model.max.z, p.z)};
  }
  return model;
}

}  // namespace engine
