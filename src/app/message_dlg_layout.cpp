#include "app/message_dlg_layout.h"

#include <algorithm>

namespace nfp {

int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  long long p = static_cast<long long>(a) * b;
  long long d = c;
  const bool negative = (p < 0) != (d < 0);
  if (p < 0) p = -p;
  if (d < 0) d = -d;
  const long long q = (p + d / 2) / d;
  return static_cast<int>(negative ? -q : q);
}

MessageDlgUnits DialogUnits(int avgCharWidth, int charHeight) {
  MessageDlgUnits u;
  u.horzMargin = MulDivRound(8, avgCharWidth, 4);
  u.vertMargin = MulDivRound(8, charHeight, 8);
  u.horzSpacing = MulDivRound(10, avgCharWidth, 4);
  u.vertSpacing = MulDivRound(10, charHeight, 8);
  u.buttonWidth = MulDivRound(50, avgCharWidth, 4);
  u.buttonHeight = MulDivRound(14, charHeight, 8);
  u.buttonSpacing = MulDivRound(4, avgCharWidth, 4);
  return u;
}

MessageDlgLayout LayoutMessageDialog(const MessageDlgLayoutInput& in) {
  const MessageDlgUnits u = DialogUnits(in.avgCharWidth, in.charHeight);
  int buttonWidth = u.buttonWidth;
  for (const int w : in.captionWidths) buttonWidth = std::max(buttonWidth, w + 8);

  int blockWidth = in.textWidth;
  int blockHeight = in.textHeight;
  if (in.hasIcon) {
    blockWidth += kMessageIconSize + u.horzSpacing;
    blockHeight = std::max(blockHeight, kMessageIconSize);
  }
  const int n = static_cast<int>(in.captionWidths.size());
  const int rowWidth = n > 0 ? n * buttonWidth + (n - 1) * u.buttonSpacing : 0;

  MessageDlgLayout out;
  out.clientWidth = std::max(blockWidth, rowWidth) + 2 * u.horzMargin;
  out.clientHeight = blockHeight + u.buttonHeight + u.vertSpacing + 2 * u.vertMargin;
  if (in.hasIcon) {
    out.icon = {u.horzMargin, u.vertMargin, kMessageIconSize, kMessageIconSize};
    out.text = {u.horzMargin + kMessageIconSize + u.horzSpacing, u.vertMargin, in.textWidth,
                in.textHeight};
  } else {
    out.text = {u.horzMargin, u.vertMargin, in.textWidth, in.textHeight};
  }
  int x = (out.clientWidth - rowWidth) / 2;
  const int y = blockHeight + u.vertMargin + u.vertSpacing;
  for (int i = 0; i < n; ++i) {
    out.buttons.push_back({x, y, buttonWidth, u.buttonHeight});
    x += buttonWidth + u.buttonSpacing;
  }
  out.left = in.screenWidth / 2 - out.clientWidth / 2;
  out.top = in.screenHeight / 2 - out.clientHeight / 2;
  return out;
}

std::string NormalizeMessageText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t column = 0;  // in code points, for the tab stops
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += '\n';
      column = 0;
    } else if (c == '\n') {
      out += '\n';
      column = 0;
    } else if (c == '\t') {
      const std::size_t spaces = 8 - column % 8;
      out.append(spaces, ' ');
      column += spaces;
    } else {
      out += c;
      if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
    }
  }
  return out;
}

}  // namespace nfp
