#include "report/engine/page_drawing.h"

#include <cmath>
#include <cstdio>

#include "report/engine/control_sequences.h"
#include "report/engine/page_item.h"
#include "report/engine/printer_text.h"
#include "report/engine/rel_grade.h"
#include "util/text_codec.h"

namespace nfp {

int RoundHalfEven(double v) {
    const double r = std::nearbyint(v); // default rounding mode: to nearest even
    return static_cast<int>(r);
}

PageDrawing EmptyPageDrawing(int columns, int lines, PictureMode mode, bool remalina) {
    PageDrawing d;
    if (mode == PictureMode::Print) {
        d.width = columns * 8;
        d.height = lines * 16;
    } else if (remalina) {
        d.width = columns * 8 + 70;
        d.height = lines * 16;
        d.offsetX = 70;
    } else {
        d.width = columns * 8 + 30;
        d.height = lines * 16 + 30;
        d.offsetX = 30;
        d.offsetY = 30;
    }
    return d;
}

TextRect TextRectangle(PictureMode mode, bool remalina, int line, int column, int length, double f) {
    const double right = (length * f + column - 1) * 8;
    if (mode == PictureMode::Print)
        return {(column - 1) * 8, (line - 1) * 16, RoundHalfEven(right), line * 16};
    if (remalina)
        return {(column - 1) * 8 + 36, (line - 1) * 16, RoundHalfEven(right + 36), line * 16};
    return {(column - 1) * 8 + 15, (line - 1) * 16 + 15, RoundHalfEven(right + 16), line * 16 + 16};
}

namespace {

struct Arms { int left = 0, right = 0, up = 0, down = 0; }; // 0 none, 1 single, 2 double

Arms ArmsOf(char c) {
    switch (c) {
    case '=': return {2, 2, 0, 0};
    case '-': return {1, 1, 0, 0};
    case 'I': return {0, 0, 2, 2};
    case 'i': return {0, 0, 1, 1};
    case 'A': return {0, 2, 0, 2};
    case 'a': return {0, 1, 0, 1};
    case 'B': return {2, 0, 0, 2};
    case 'b': return {1, 0, 0, 1};
    case 'C': return {2, 0, 2, 0};
    case 'c': return {1, 0, 1, 0};
    case 'D': return {0, 2, 2, 0};
    case 'd': return {0, 1, 1, 0};
    case 'T': return {2, 2, 0, 2};
    case 't': return {1, 1, 0, 1};
    case 'V': return {2, 2, 2, 0};
    case 'v': return {1, 1, 1, 0};
    case '[': return {0, 2, 2, 2};
    case '<': return {0, 1, 1, 1};
    case ']': return {2, 0, 2, 2};
    case '>': return {1, 0, 1, 1};
    case '#': return {2, 2, 2, 2};
    case '+': return {1, 1, 1, 1};
    default: return {};
    }
}

void AddLine(std::vector<DrawOp>& ops, int x1, int y1, int x2, int y2, TColor color) {
    if (x1 == x2 && y1 == y2) return;
    DrawOp op;
    op.kind = DrawOp::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.color = color;
    ops.push_back(op);
}

} // namespace

std::vector<DrawOp> BoxStrokes(char code, int x, int y, TColor color) {
    const Arms a = ArmsOf(code);
    std::vector<DrawOp> ops;
    if (!a.left && !a.right && !a.up && !a.down) return ops;
    if (a.left == 1 || a.right == 1) AddLine(ops, x + (a.left ? 0 : 4), y + 7, x + (a.right ? 8 : 4), y + 7, color);
    if (a.up == 1 || a.down == 1) AddLine(ops, x + 4, y + (a.up ? 0 : 7), x + 4, y + (a.down ? 16 : 7), color);
    if (a.left == 2 || a.right == 2) {
        const bool l = a.left == 2, r = a.right == 2;
        // Upper line (5 below the top): broken where a double arm goes up.
        for (const auto& [row, broken] : {std::pair{5, a.up == 2}, std::pair{8, a.down == 2}}) {
            if (broken) {
                if (l) AddLine(ops, x, y + row, x + 3, y + row, color);
                if (r) AddLine(ops, x + 6, y + row, x + 8, y + row, color);
            } else {
                AddLine(ops, x + (l ? 0 : 3), y + row, x + (r ? 8 : 6), y + row, color);
            }
        }
    }
    if (a.up == 2 || a.down == 2) {
        const bool u = a.up == 2, d = a.down == 2;
        for (const auto& [col, broken] : {std::pair{3, a.left == 2}, std::pair{6, a.right == 2}}) {
            if (broken) {
                if (u) AddLine(ops, x + col, y, x + col, y + 5, color);
                if (d) AddLine(ops, x + col, y + 8, x + col, y + 16, color);
            } else {
                AddLine(ops, x + col, y + (u ? 0 : 5), x + col, y + (d ? 16 : 8), color);
            }
        }
    }
    return ops;
}

PageDrawing DrawPage(TRelGrade& rel, int page, PictureMode mode) {
    const bool preview = mode == PictureMode::Preview;
    const bool remalina = rel.OpcoesPreview.Remalina;
    const bool zebra = rel.OpcoesPreview.PaginaZebrada;
    const int lines = rel.TamanhoQteLinhas;
    PageDrawing d = EmptyPageDrawing(rel.TamanhoQteColunas, lines, mode, remalina);
    if (preview) rel.SetCurrentPage(page);
    const TColor paper = preview ? rel.OpcoesPreview.CorPapelPreview : clWhite;

    std::vector<std::string> items;
    if (const PageStore* store = rel.Store()) {
        for (auto& s : store->ItemsOfPage(page))
            if (s.size() < 14 || s[13] != 'C') items.push_back(std::move(s));
    }
    const auto& marker = rel.State().findMarker;
    if (marker && marker->size() >= 4) {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%04d", page);
        if (marker->compare(0, 4, prefix) == 0) items.push_back(*marker);
    }

    const auto fill = [&](int x1, int y1, int x2, int y2, TColor c) {
        DrawOp op;
        op.kind = DrawOp::Fill;
        op.x1 = x1; op.y1 = y1; op.x2 = x2; op.y2 = y2;
        op.fill = c;
        d.ops.push_back(op);
    };
    const auto line = [&](int x1, int y1, int x2, int y2, TColor c, bool dotted) {
        DrawOp op;
        op.kind = DrawOp::Line;
        op.x1 = x1; op.y1 = y1; op.x2 = x2; op.y2 = y2;
        op.color = c;
        op.dotted = dotted;
        d.ops.push_back(op);
    };

    if (!preview) {
        fill(0, 0, d.width, d.height, clWhite);
    } else if (remalina) {
        fill(0, 0, d.width, d.height, paper);
        line(31, 0, 31, d.height, kGuideSilver, true);
        line(d.width - 32, 0, d.width - 32, d.height, kGuideSilver, true);
        for (int k = 1; k <= lines / 3; ++k) {
            const int y = (k - 1) * 48 + 20;
            for (const int x : {10, d.width - 21}) {
                DrawOp op;
                op.kind = DrawOp::Ellipse;
                op.x1 = x; op.y1 = y; op.x2 = x + 11; op.y2 = y + 11;
                op.color = kGuideSilver;
                op.fill = clBtnFace;
                d.ops.push_back(op);
            }
        }
        if (zebra)
            for (int k = 1; k <= lines - 1; k += 2) fill(33, (k - 1) * 16, d.width - 33, k * 16 + 1, kBandGreen);
    } else {
        fill(0, 0, d.width, d.height, paper);
        DrawOp frame;
        frame.kind = DrawOp::Frame;
        frame.x1 = 0; frame.y1 = 0; frame.x2 = d.width; frame.y2 = d.height;
        frame.color = clBlack;
        d.ops.push_back(frame);
        frame.x1 = 12; frame.y1 = 12; frame.x2 = d.width - 13; frame.y2 = d.height - 13;
        frame.color = kGuideSilver;
        frame.dotted = true;
        d.ops.push_back(frame);
        if (zebra)
            for (int k = 1; k <= lines - 1; k += 2)
                fill(15, (k - 1) * 16 + 15, d.width - 16, k * 16 + 16, kBandGreen);
    }

    const auto& factors = rel.State().font.widthFactors;
    for (const auto& stored : items) {
        if (!preview && rel.MostrarProgresso && rel.CheckCancel()) {
            d.cancelled = true;
            break;
        }
        const auto item = rel.ReadBack(stored);
        if (!item) continue;
        if (item->kind == 'B') {
            const std::string codes = ToWindows1252Lossy(item->text);
            for (std::size_t i = 0; i < codes.size(); ++i) {
                const int x = d.offsetX / 2 + (item->column + static_cast<int>(i) + 1 - 2) * 8;
                const int bottom = d.offsetY / 2 + item->line * 16;
                for (auto& op : BoxStrokes(codes[i], x, bottom - 16, item->color)) d.ops.push_back(std::move(op));
            }
            continue;
        }
        const int length = static_cast<int>(Utf8Length(item->text));
        if (length == 0) continue;
        const TextRect r = TextRectangle(mode, remalina, item->line, item->column, length,
                                         WidthFactor(item->fontCode, factors));
        DrawOp op;
        op.kind = DrawOp::Text;
        op.x1 = r.left; op.y1 = r.top; op.x2 = r.right; op.y2 = r.bottom;
        op.color = item->color;
        op.text = item->text;
        op.fontCode = item->fontCode;
        op.cellWidth = length * 8;
        // Green text backgrounds belong with the bands, which only the
        // preview paints.
        op.fill = item->kind == 'M' ? kMarkerYellow : (preview && zebra && item->line % 2 == 1) ? kBandGreen : paper;
        d.ops.push_back(std::move(op));
    }
    return d;
}

} // namespace nfp
