#include "widgets/hint_geometry.h"

namespace nfp {

ArrowCorner ChooseArrowCorner(HintPoint p, int sw, int sh) {
  const int hw = sw / 2;
  const int hh = sh / 2;
  const auto inside = [&p](int l, int t, int r, int b) {
    return p.x >= l && p.x < r && p.y >= t && p.y < b;
  };
  if (inside(0, 0, hw, hh)) return ArrowCorner::TopLeft;
  if (inside(hw, 0, sw, hh)) return ArrowCorner::TopRight;
  if (inside(0, hh, hw, sh)) return ArrowCorner::BottomLeft;
  return ArrowCorner::BottomRight;  // also any point off the primary screen
}

int HintGap(ArrowCorner corner) { return corner == ArrowCorner::TopLeft ? 12 : 5; }

HintPoint HintWindowSize(int textWidth, int textHeight) {
  return {textWidth + kHintHorizontalExtra, textHeight + kHintVerticalExtra};
}

int HintTextLimit(int maxHintWidth) { return maxHintWidth - kHintHorizontalExtra; }

HintRect HintWindowRect(ArrowCorner corner, HintPoint p, int w, int h) {
  const int g = HintGap(corner);
  int left = 0;
  int top = 0;
  switch (corner) {
    case ArrowCorner::TopLeft: left = p.x + g; top = p.y + g; break;
    case ArrowCorner::TopRight: left = p.x - w - g; top = p.y + g; break;
    case ArrowCorner::BottomLeft: left = p.x + g; top = p.y - h - g; break;
    case ArrowCorner::BottomRight: left = p.x - w - g; top = p.y - h - g; break;
  }
  return {left, top, left + w, top + h};
}

HintLayout LayoutHint(ArrowCorner corner, int w, int h) {
  HintLayout out;
  const bool leftStrip = corner == ArrowCorner::TopLeft || corner == ArrowCorner::BottomLeft;
  if (leftStrip) {
    out.strip = {1, 1, 1 + kHintStripWidth, h - 1};
    out.textArea = {1 + kHintStripWidth, 1, w - 1, h - 1};
  } else {
    out.strip = {w - 1 - kHintStripWidth, 1, w - 1, h - 1};
    out.textArea = {1, 1, w - 1 - kHintStripWidth, h - 1};
  }
  out.textRect = {out.textArea.left + 3, out.textArea.top + 1, out.textArea.right - 3,
                  out.textArea.bottom - 1};

  const HintRect& s = out.strip;
  switch (corner) {
    case ArrowCorner::TopRight: out.arrow = {s.right - 3, s.top + 2}; break;
    case ArrowCorner::TopLeft: out.arrow = {s.left + 2, s.top + 2}; break;
    case ArrowCorner::BottomRight: out.arrow = {s.right - 3, s.bottom - 3}; break;
    case ArrowCorner::BottomLeft: out.arrow = {s.left + 2, s.bottom - 3}; break;
  }
  const int sx = leftStrip ? 1 : -1;
  const int sy = corner == ArrowCorner::BottomRight || corner == ArrowCorner::BottomLeft ? -1 : 1;
  static constexpr std::array<HintPoint, kHintArrowPoints> kFigure{{
      {0, 0}, {0, 6}, {1, 6}, {1, 0}, {6, 0}, {6, 1}, {2, 1}, {2, 4}, {5, 7},
      {6, 7}, {3, 4}, {3, 3}, {6, 6}, {7, 6}, {3, 2}, {4, 2}, {7, 5}, {7, 6},
  }};
  for (std::size_t i = 0; i < kFigure.size(); ++i)
    out.arrowLine[i] = {out.arrow.x + sx * kFigure[i].x, out.arrow.y + sy * kFigure[i].y};
  return out;
}

}  // namespace nfp
