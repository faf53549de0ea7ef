#include "widgets/hint_geometry.h"

#include <gtest/gtest.h>

namespace nfp {
namespace {

struct CornerCase {
  const char* name;
  HintPoint pointer;
  ArrowCorner corner;
};

void PrintTo(const CornerCase& c, std::ostream* os) { *os << c.name; }

class HintCorner : public ::testing::TestWithParam<CornerCase> {};

TEST_P(HintCorner, QuadrantRule) {
  const CornerCase& c = GetParam();
  EXPECT_EQ(ChooseArrowCorner(c.pointer, 1024, 768), c.corner);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HintCorner,
    ::testing::Values(CornerCase{"TopLeftInside", {100, 100}, ArrowCorner::TopLeft},
                      CornerCase{"Origin", {0, 0}, ArrowCorner::TopLeft},
                      CornerCase{"JustLeftOfCentre", {511, 383}, ArrowCorner::TopLeft},
                      CornerCase{"CentreLineUpperHalf", {512, 100}, ArrowCorner::TopRight},
                      CornerCase{"TopRightCorner", {1023, 0}, ArrowCorner::TopRight},
                      CornerCase{"CentreLineLeftHalf", {100, 384}, ArrowCorner::BottomLeft},
                      CornerCase{"BottomLeft", {0, 767}, ArrowCorner::BottomLeft},
                      CornerCase{"Centre", {512, 384}, ArrowCorner::BottomRight},
                      CornerCase{"SecondMonitorRight", {1500, 100}, ArrowCorner::BottomRight},
                      CornerCase{"SecondMonitorLeft", {-300, 100}, ArrowCorner::BottomRight},
                      CornerCase{"AboveScreen", {100, -5}, ArrowCorner::BottomRight}),
    [](const ::testing::TestParamInfo<CornerCase>& info) { return info.param.name; });

TEST(HintGeometry, WindowRectPerCorner) {
  const HintPoint p{100, 100};
  EXPECT_EQ(HintWindowRect(ArrowCorner::TopLeft, p, 200, 40), (HintRect{112, 112, 312, 152}));
  EXPECT_EQ(HintWindowRect(ArrowCorner::TopRight, p, 200, 40), (HintRect{-105, 105, 95, 145}));
  EXPECT_EQ(HintWindowRect(ArrowCorner::BottomLeft, p, 200, 40), (HintRect{105, 55, 305, 95}));
  EXPECT_EQ(HintWindowRect(ArrowCorner::BottomRight, p, 200, 40), (HintRect{-105, 55, 95, 95}));
  // Off the primary screen the window goes above and to the left.
  const HintPoint far{1500, 100};
  EXPECT_EQ(HintWindowRect(ChooseArrowCorner(far, 1024, 768), far, 200, 40),
            (HintRect{1295, 55, 1495, 95}));
}

TEST(HintGeometry, SizeAndTextLimit) {
  EXPECT_EQ(HintTextLimit(200), 178);
  EXPECT_EQ(HintWindowSize(100, 13), (HintPoint{122, 19}));
  EXPECT_EQ(HintGap(ArrowCorner::TopLeft), 12);
  EXPECT_EQ(HintGap(ArrowCorner::TopRight), 5);
  EXPECT_EQ(HintGap(ArrowCorner::BottomLeft), 5);
  EXPECT_EQ(HintGap(ArrowCorner::BottomRight), 5);
}

TEST(HintGeometry, AreasAndAnchors) {
  const int w = 200;
  const int h = 40;
  struct Case {
    ArrowCorner corner;
    HintRect strip;
    HintRect textArea;
    HintRect textRect;
    HintPoint arrow;
  };
  for (const Case& c : {
           Case{ArrowCorner::TopLeft, {1, 1, 15, 39}, {15, 1, 199, 39}, {18, 2, 196, 38}, {3, 3}},
           Case{ArrowCorner::BottomLeft, {1, 1, 15, 39}, {15, 1, 199, 39}, {18, 2, 196, 38},
                {3, 36}},
           Case{ArrowCorner::TopRight, {185, 1, 199, 39}, {1, 1, 185, 39}, {4, 2, 182, 38},
                {196, 3}},
           Case{ArrowCorner::BottomRight, {185, 1, 199, 39}, {1, 1, 185, 39}, {4, 2, 182, 38},
                {196, 36}},
       }) {
    const HintLayout l = LayoutHint(c.corner, w, h);
    EXPECT_EQ(l.strip, c.strip);
    EXPECT_EQ(l.strip.Width(), 14);
    EXPECT_EQ(l.textArea, c.textArea);
    EXPECT_EQ(l.textRect, c.textRect);
    EXPECT_EQ(l.arrow, c.arrow);
    // As wide as the measured text; a pixel of slack above and below it.
    EXPECT_EQ(l.textRect.Width(), w - kHintHorizontalExtra);
    EXPECT_EQ(l.textRect.Height(), h - kHintVerticalExtra + 2);
  }
}

TEST(HintGeometry, ArrowPolylinePerCorner) {
  const HintLayout tl = LayoutHint(ArrowCorner::TopLeft, 100, 30);
  EXPECT_EQ(tl.arrowLine.front(), (HintPoint{3, 3}));
  EXPECT_EQ(tl.arrowLine[1], (HintPoint{3, 9}));
  EXPECT_EQ(tl.arrowLine[4], (HintPoint{9, 3}));
  EXPECT_EQ(tl.arrowLine.back(), (HintPoint{10, 9}));

  const HintLayout br = LayoutHint(ArrowCorner::BottomRight, 100, 30);
  EXPECT_EQ(br.arrowLine.front(), (HintPoint{96, 26}));
  EXPECT_EQ(br.arrowLine[1], (HintPoint{96, 20}));
  EXPECT_EQ(br.arrowLine[4], (HintPoint{90, 26}));
  EXPECT_EQ(br.arrowLine.back(), (HintPoint{89, 20}));

  const HintLayout tr = LayoutHint(ArrowCorner::TopRight, 100, 30);
  EXPECT_EQ(tr.arrowLine[8], (HintPoint{96 - 5, 3 + 7}));
  const HintLayout bl = LayoutHint(ArrowCorner::BottomLeft, 100, 30);
  EXPECT_EQ(bl.arrowLine[8], (HintPoint{3 + 5, 26 - 7}));
  // Every point stays inside the strip.
  for (const HintLayout* l : {&tl, &br, &tr, &bl})
    for (const HintPoint& p : l->arrowLine) {
      EXPECT_GE(p.x, l->strip.left);
      EXPECT_LT(p.x, l->strip.right);
      EXPECT_GE(p.y, l->strip.top);
      EXPECT_LT(p.y, l->strip.bottom);
    }
}

}  // namespace
}  // namespace nfp
