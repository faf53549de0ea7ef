#pragma once
// Placement and drawing geometry of the hint window, kept free of Qt so the
// numbers can be checked exactly. Rectangles are (left, top, right, bottom)
// with right and bottom exclusive.

#include <array>

namespace nfp {

struct HintPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const HintPoint&, const HintPoint&) = default;
};

struct HintRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const HintRect&, const HintRect&) = default;
};

enum class ArrowCorner : int { TopRight = 0, TopLeft = 1, BottomRight = 2, BottomLeft = 3 };

inline constexpr int kHintHorizontalExtra = 22;  // strip and margins around the text
inline constexpr int kHintVerticalExtra = 6;
inline constexpr int kHintStripWidth = 14;
inline constexpr int kHintArrowPoints = 18;

// Corner from the pointer and the primary screen's size.
ArrowCorner ChooseArrowCorner(HintPoint pointer, int screenWidth, int screenHeight);

// Gap between pointer and window: larger only below-right of the pointer.
int HintGap(ArrowCorner corner);

// Window size from the measured text size.
HintPoint HintWindowSize(int textWidth, int textHeight);

// Width available to the text for a maximum window width.
int HintTextLimit(int maxHintWidth);

// Screen rectangle of a width x height window for the pointer and corner.
HintRect HintWindowRect(ArrowCorner corner, HintPoint pointer, int width, int height);

// Client-side areas of a width x height window.
struct HintLayout {
  HintRect strip;
  HintRect textArea;
  HintRect textRect;   // where the text is drawn
  HintPoint arrow;     // anchor of the arrow
  std::array<HintPoint, kHintArrowPoints> arrowLine;  // polyline points
};
HintLayout LayoutHint(ArrowCorner corner, int width, int height);

}  // namespace nfp
