#pragma once
// Where a picture lands on printed pages, in printer pixels: the page counts
// of a multipage print, the printed size of a picture shrunk or fitted to
// one page, the bands of 100 picture rows a one-page print is sent in, and
// the pages of a multipage print. One picture pixel is one printer pixel
// unless the picture is scaled.
#include <cstdint>
#include <string>

#include "raster/rect.h"

namespace quorvane {

constexpr int kPrintAreaInset = 25;  // page size minus this is the printable area
constexpr int kPrintMargin = 5;      // the picture's distance from the left and top
constexpr int kPrintBandRows = 100;  // picture rows sent to the printer at once

// The printer's page in printer pixels.
struct TPrintPage {
  int Width = 0;
  int Height = 0;
};

// AreaW x AreaH: the page less 25 pixels each way, at least one pixel so
// that no page, however small, divides by zero.
struct TPrintArea {
  int Width = 0;
  int Height = 0;
  bool operator==(const TPrintArea&) const = default;
};
TPrintArea PrintableArea(const TPrintPage& page);

struct TPageCounts {
  int64_t X = 0;
  int64_t Y = 0;
  int64_t Total = 0;
  bool operator==(const TPageCounts&) const = default;
};
// ceil(width / AreaW) columns, ceil(height / AreaH) rows; all zero for an
// empty picture.
TPageCounts CountPages(int width, int height, const TPrintPage& page);
// "X: 2 Y: 1 Total: 2"
std::string PageCountsText(const TPageCounts& counts);

// The "Print Method" choices, in their order.
enum class TPrintMethod : uint8_t { ShrinkToPage = 0, FitToPage = 1, MultipagePrint = 2 };

struct TPrintScaling {
  bool Enlarge = false;  // a picture smaller than the area grows to fill it
  bool Shrink = false;   // a picture that does not fit shrinks to fit
};
// Shrink To Page shrinks only; Fit To Page also enlarges.
TPrintScaling ScalingFor(TPrintMethod method);

struct TPrintSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TPrintSize&) const = default;
};
// OutW x OutH. A picture that fits the area strictly (narrower and lower)
// is enlarged when asked: it fills the area's width when the spare height
// is the larger, else its height, cut to whole pixels; should that overrun
// the area the other way, it fills that way instead. A picture that does
// not fit is shrunk when asked: it fills the area's height when its
// height-to-width ratio exceeds the page's, else the area's width. Never
// less than one pixel either way; an empty picture stays 0 x 0.
TPrintSize PrintOutputSize(int width, int height, const TPrintPage& page, TPrintScaling scaling);

// One band of a one-page print: picture rows copied, stretched, onto a
// rectangle of the page, and the progress shown before it is sent.
struct TPrintBand {
  TRect Source;
  TRect Dest;
  int Progress = 0;  // trunc(first row / height * 100)
  bool operator==(const TPrintBand&) const = default;
};

// The bands of a one-page print, computed one at a time so that a tall
// picture needs no list of them.
class TBandPlan {
 public:
  TBandPlan(int width, int height, const TPrintPage& page, TPrintScaling scaling);
  TPrintSize Output() const { return output_; }
  // Printer rows of a full band, rounded half away from zero.
  int BandHeight() const { return band_height_; }
  int Count() const;
  // Band `index` from 0 to Count() - 1; an empty band outside that range.
  TPrintBand Band(int index) const;

 private:
  int PrinterRow(int64_t picture_row) const;
  int width_, height_;
  TPrintSize output_;
  int band_height_ = 0;
};

struct TFrameEdges {
  bool Left = false, Top = false, Right = false, Bottom = false;
  bool operator==(const TFrameEdges&) const = default;
};

// One page of a multipage print: an area-sized piece of the picture, cut
// at its right and bottom edges, printed at full size at the margin, and
// the edges of the whole picture's frame that fall on this page.
struct TPrintTile {
  int Column = 0, Row = 0;
  TRect Source;
  TRect Dest;
  std::string Title;  // "column row"
  int Progress = 0;   // trunc(pages before this one / total * 100)
  TFrameEdges Frame;
  bool operator==(const TPrintTile&) const = default;
};

// The pages of a multipage print, row by row, each column within a row.
class TTilePlan {
 public:
  TTilePlan(int width, int height, const TPrintPage& page);
  const TPageCounts& Counts() const { return counts_; }
  int64_t Count() const { return counts_.Total; }
  // Page `index` from 0 to Count() - 1; an empty page outside that range.
  TPrintTile Tile(int64_t index) const;

 private:
  int width_, height_;
  TPrintArea area_;
  TPageCounts counts_;
};

}  // namespace quorvane
