#pragma once
// One page as a list of drawing steps on the grid of 8 units per column and
// 16 per line: the paper (preview only), then every item in store order,
// the find marker last. The Qt page picture replays the list; keeping the
// geometry here keeps it free of any device.
#include <cstdint>
#include <string>
#include <vector>

#include "report/engine/report_types.h"

namespace nfp {

class TRelGrade;

enum class PictureMode { Print, Preview };

struct DrawOp {
    enum Kind {
        Fill,    // rectangle (x1, y1)-(x2, y2) filled with `fill`, no border
        Frame,   // rectangle outline in `color`, dotted or solid
        Line,    // (x1, y1)-(x2, y2) in `color`, dotted or solid
        Ellipse, // in the box (x1, y1)-(x2, y2), outline `color`, filled `fill`
        Text,    // `text` set in a cell of cellWidth x 16 (Courier New 10 pt)
                 // on `fill`, stretched into (x1, y1)-(x2, y2)
    };
    Kind kind = Fill;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    TColor color = clBlack;
    TColor fill = clWhite;
    bool dotted = false;
    std::string text;              // UTF-8, macros expanded
    std::uint8_t fontCode = 0;     // underline 4, bold 2, italic 1
    int cellWidth = 0;
};

struct PageDrawing {
    int width = 0;
    int height = 0;
    int offsetX = 0;
    int offsetY = 0;
    std::vector<DrawOp> ops;
    bool cancelled = false; // print mode: the rest of the page was left out
};

inline constexpr TColor kGuideSilver = 0xC0C0C0;
inline constexpr TColor kBandGreen = 0xE9FEEC;
inline constexpr TColor kMarkerYellow = 0xFFFF80;

// Picture size and page-area offset for a page of columns x lines.
PageDrawing EmptyPageDrawing(int columns, int lines, PictureMode mode, bool remalina);

// The rectangle a text of `length` characters, width factor f, is stretched
// into.
struct TextRect { int left, top, right, bottom; };
TextRect TextRectangle(PictureMode mode, bool remalina, int line, int column, int length, double f);

// Strokes of one box-drawing code in the cell whose left edge is x and top
// edge y; nothing for a character that is no box code.
std::vector<DrawOp> BoxStrokes(char code, int x, int y, TColor color);

// Draws page `page` of the engine's report (preview mode also makes it the
// current page). In print mode with MostrarProgresso a cancel between items
// stops the page.
PageDrawing DrawPage(TRelGrade& rel, int page, PictureMode mode);

// Round to nearest, halves to the even neighbour.
int RoundHalfEven(double v);

} // namespace nfp
