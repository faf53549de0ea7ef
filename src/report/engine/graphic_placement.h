#pragma once
// Where a page goes on a printer page: inside the margins (less the strips
// the printer cannot print), at its natural size from the pitch and line
// spacing, reduced by one common factor when it does not fit, never
// enlarged.
#include "report/engine/report_types.h"

namespace nfp {

struct DeviceMetrics {
    int physicalWidth = 0, physicalHeight = 0;   // pixels
    int printableWidth = 0, printableHeight = 0; // pixels
    int dpiX = 0, dpiY = 0;
    int offsetX = 0, offsetY = 0; // top-left of the printable area on the sheet
};

struct Placement {
    int left = 0, top = 0; // within the printable area
    int width = 0, height = 0;
    int naturalWidth = 0, naturalHeight = 0;
    double scale = 1; // the reduction (1 when the page fits)
    int availableWidth = 0, availableHeight = 0;
};

Placement PlacePage(const DeviceMetrics& m, const TMargens& margens, int columns, int lines, TSize size,
                    TLinha spacing);

} // namespace nfp
