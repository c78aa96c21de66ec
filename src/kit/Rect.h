// Plain geometry values shared by the layout and painting code. Edges are int32 like the
// system's RECT; right and bottom are exclusive. Widths are returned in 64 bits because
// rectangles built from another process's data may span more than an int32 can hold.
#pragma once
#include <cstdint>
#include <limits>

namespace vt {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  constexpr std::int64_t Width() const { return std::int64_t{right} - left; }
  constexpr std::int64_t Height() const { return std::int64_t{bottom} - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  // The system's point-in-rectangle rule: left and top inside, right and bottom outside.
  constexpr bool Contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// Narrows a 64-bit intermediate to int32, pinning it at the ends instead of wrapping.
constexpr std::int32_t SaturateInt32(std::int64_t v) {
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

constexpr Rect MakeRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
  return Rect{SaturateInt32(left), SaturateInt32(top), SaturateInt32(right), SaturateInt32(bottom)};
}

}  // namespace vt
