#include "core/euler.h"

#include <cmath>
#include <numbers>
#include <string_view>

namespace engine {
namespace {

using Matrix = std::array<float, 9>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix m{};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      for (int k = 0; k < 3; ++k) {
        m[row * 3 + column] += a[row * 3 + k] * b[k * 3 + column];
      }
    }
  }
  return m;
}

Matrix AboutAxis(char axis, float degrees) {
  const double radians = std::isfinite(degrees) ? degrees * std::numbers::pi / 180 : 0;
  const auto c = static_cast<float>(std::cos(radians));
  const auto s = static_cast<float>(std::sin(radians));
  switch (axis) {
    case 'x':
      return {1, 0, 0, 0, c, -s, 0, s, c};
    case 'y':
      return {c, 0, s, 0, 1, 0, -s, 0, c};
    default:
      return {c, -s, 0, s, c, 0, 0, 0, 1};
  }
}

bool IsAxisOrder(std::string_view order) {
  return order.size() == 3 && order.find('x') != std::string_view::npos &&
         order.find('y') != std::string_view::npos && order.find('z') != std::string_view::npos;
}

}  // namespace

std::array<float, 9> EulerRotation(float x, float y, float z, const char* order) {
  const std::string_view axes = order && IsAxisOrder(order) ? order : "xyz";
  Matrix m{1, 0, 0, 0, 1, 0, 0, 0, 1};
  for (const char axis : axes) {
    m = Multiply(AboutAxis(axis, axis == 'x' ? x : axis == 'y' ? y : z), m);
  }
  return m;
}

}  // namespace engine
