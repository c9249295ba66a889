// Rotation matrices from Euler angles as the game gives them: degrees and an axis order.
#pragma once

#include <array>

namespace engine {

// Row-major 3 x 3 matrix rotating first about the first axis of `order` ("xyz", "zyx", ...),
// then the second, then the third; positive angles turn counter-clockwise seen from the positive
// axis, so a positive z angle turns a picture counter-clockwise on the screen. An order that is
// not a permutation of x, y and z counts as "xyz".
std::array<float, 9> EulerRotation(float x, float y, float z, const char* order);

}  // namespace engine
