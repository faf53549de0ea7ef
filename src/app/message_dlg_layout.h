#pragma once
// Geometry of the message dialog in dialog units of its font; plain C++ so
// the numbers can be checked without a screen.

#include <string>
#include <string_view>
#include <vector>

namespace nfp {

struct DlgRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const DlgRect&, const DlgRect&) = default;
};

// Integer a*b/c rounded to the nearest, as dialog-unit conversion wants it.
int MulDivRound(int a, int b, int c);

struct MessageDlgUnits {
  int horzMargin = 0;
  int vertMargin = 0;
  int horzSpacing = 0;
  int vertSpacing = 0;
  int buttonWidth = 0;    // before widening for long captions
  int buttonHeight = 0;
  int buttonSpacing = 0;
};
// avgCharWidth: width of "A..Za..z" / 52; charHeight: the font's height.
MessageDlgUnits DialogUnits(int avgCharWidth, int charHeight);

inline constexpr int kMessageIconSize = 32;

struct MessageDlgLayoutInput {
  int avgCharWidth = 0;
  int charHeight = 0;
  int textWidth = 0;     // measured wrapped within half the screen width
  int textHeight = 0;
  bool hasIcon = true;
  std::vector<int> captionWidths;  // standard captions, one per button, bit order
  int screenWidth = 0;
  int screenHeight = 0;
};

struct MessageDlgLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  DlgRect icon;                   // empty without icon
  DlgRect text;
  std::vector<DlgRect> buttons;   // bit order, left to right
  int left = 0;                   // window position, centred on the screen
  int top = 0;
};
MessageDlgLayout LayoutMessageDialog(const MessageDlgLayoutInput& in);

// Expands tabs to 8-column stops and turns CR, LF and CR LF into LF.
std::string NormalizeMessageText(std::string_view text);

}  // namespace nfp
