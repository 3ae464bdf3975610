#include "chart_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "figure_text.h"
#include "numbers.h"
#include "svg_writer.h"
#include "texts.h"

namespace trotix::sim {

namespace {

constexpr double kWidth = 640.0;
constexpr double kPlotLeft = 160.0;
constexpr double kPlotRight = 470.0;
constexpr double kRowHeight = 30.0;
constexpr double kCellWidth = 74.0;
constexpr double kCellHeight = 40.0;
constexpr double kGridLeft = 90.0;

// The narrow chart is drawn 360 wide, a phone's width, with no text under
// 14 px: a phone's panel shows it some 310 px wide (less its margins and a
// scroll bar), where that text is still 12 CSS pixels or more.
constexpr double kNarrowWidth = 360.0;
constexpr double kNarrowPlotLeft = 24.0;
constexpr double kNarrowPlotRight = 336.0;
constexpr double kNarrowRowHeight = 46.0;
constexpr double kNarrowGridLeft = 30.0;
constexpr double kNarrowCellWidth = 64.0;
constexpr double kNarrowCellHeight = 58.0;
constexpr std::size_t kNarrowLineColumns = 42;  // of 14 px text, in terminal columns
constexpr std::size_t kWideLineColumns = 110;   // of 11 px text

// What the chart's words mean, for a reader new to betting.
constexpr const char* kNotes[] = {
    "The house's cut: the odds pay 0.7 of a fair price, so on average the house keeps 30 of every 100 staked.",
    "Implied chance: what the odds stand for, 0.7 / odds. True chance: how often the horse won these races.",
    "95% interval: the range the true chance lies in, 19 times in 20, after this many races.",
    "▲ underpriced: the horse wins more often than its price says, good for the one who backs it.",
    "▼ overpriced: the horse wins less often than its price says.",
    "A quinella cell: first line, how often the pair came first and second, in either order; then the pair's odds and the chance they imply.",
    "Styles: 逃 front-runner, 先 stalker, 差 closer, 追 deep closer.",
};

// How a mark shows its pricing: its colour, the tint of its quinella cell,
// and an arrow beside its share (▲ above what the odds imply, ▼ below).
struct Look {
  const char* colour;
  const char* tint;
  const char* arrow;
};

Look LookOf(Pricing pricing) {
  if (pricing == Pricing::kUnderpriced) return {kUnderColour, kUnderTint, "▲ "};
  if (pricing == Pricing::kOverpriced) return {kOverColour, kOverTint, "▼ "};
  return {kWithinColour, "#ffffff", ""};
}

// The true chance's mark at (x, y): a triangle pointing up or down when the
// odds misprice it, a dot when they may not.
void Mark(Svg& svg, double x, double y, Pricing pricing, const char* colour) {
  const std::string fill = std::string(" fill=\"") + colour + "\"/>\n";
  if (pricing == Pricing::kWithin) {
    svg.Raw("<circle class=\"true\" cx=\"" + Coord(x) + "\" cy=\"" + Coord(y) + "\" r=\"5\"" + fill);
    return;
  }
  const double tip = pricing == Pricing::kUnderpriced ? -6.0 : 6.0;
  svg.Raw("<path class=\"true\" d=\"M" + Coord(x) + " " + Coord(y + tip) + "L" + Coord(x + 6.0) + " " +
          Coord(y - tip) + "L" + Coord(x - 6.0) + " " + Coord(y - tip) + "Z\"" + fill);
}

// The scale's end: the largest figure drawn, up to the next 10% (20% past
// half), so small chances are not squeezed against the left edge.
struct Scale {
  double top = 0.1;
  double step = 0.1;
  double left = kPlotLeft;
  double right = kPlotRight;
  double X(double share) const { return left + (right - left) * std::clamp(share / top, 0.0, 1.0); }
};

Scale ScaleFor(const Figures& f, double left, double right) {
  double largest = 0.0;
  for (const HorseFigures& h : f.horses) largest = std::max({largest, h.win.interval.high, h.win.implied});
  constexpr double kHair = 1e-9;
  Scale s;
  s.left = left;
  s.right = right;
  if (largest > 0.5) {
    s.step = 0.2;
    s.top = std::ceil(largest * 5.0 - kHair) / 5.0;
  } else {
    s.top = std::max(1.0, std::ceil(largest * 10.0 - kHair)) / 10.0;
  }
  return s;
}

// The notes under the chart, in `size` px lines of `columns` at most;
// returns where the next line goes.
double DrawNotes(Svg& svg, double y, std::size_t columns, int size) {
  const double line = size + 4.0;
  for (const char* note : kNotes) {
    for (const std::string& text : Wrapped(note, columns)) {
      svg.Text(12, y, text, "font-size=\"" + std::to_string(size) + "\"");
      y += line;
    }
    y += 3.0;
  }
  return y + line;
}

void DrawLegend(Svg& svg, double y) {
  svg.Rect(12, y - 9, 22, 10, std::string("fill=\"") + kImpliedFill + "\"");
  svg.Text(40, y, "chance the odds imply (0.7 / odds)", "font-size=\"11\"");
  svg.Line(240, y - 4, 262, y - 4, "stroke=\"#222222\" stroke-width=\"2\"");
  svg.Raw("<circle cx=\"251\" cy=\"" + Coord(y - 4) + "\" r=\"4\" fill=\"#222222\"/>\n");
  svg.Text(268, y, "true chance, 95% interval", "font-size=\"11\"");
  svg.Text(420, y, "▲ underpriced", std::string("font-size=\"11\" fill=\"") + kUnderColour + "\"");
  svg.Text(520, y, "▼ overpriced", std::string("font-size=\"11\" fill=\"") + kOverColour + "\"");
}

// The narrow key: the same four signs in two lines of 14 px.
double DrawNarrowLegend(Svg& svg, double y) {
  svg.Rect(12, y - 9, 22, 10, std::string("fill=\"") + kImpliedFill + "\"");
  svg.Text(40, y, "chance the odds imply (0.7 / odds)", "font-size=\"14\"");
  y += 20.0;
  svg.Line(12, y - 4, 34, y - 4, "stroke=\"#222222\" stroke-width=\"2\"");
  svg.Raw("<circle cx=\"23\" cy=\"" + Coord(y - 4) + "\" r=\"4\" fill=\"#222222\"/>\n");
  svg.Text(40, y, "true chance, 95% interval", "font-size=\"14\"");
  y += 20.0;
  svg.Text(12, y, "▲ underpriced", std::string("font-size=\"14\" fill=\"") + kUnderColour + "\"");
  svg.Text(130, y, "▼ overpriced", std::string("font-size=\"14\" fill=\"") + kOverColour + "\"");
  return y;
}

// The scale's lines and their labels, from `first` - 14 down to `bottom`.
void DrawScale(Svg& svg, const Scale& scale, double first, double bottom, int size) {
  const int ticks = static_cast<int>(std::lround(scale.top / scale.step));
  for (int t = 0; t <= ticks; ++t) {
    const double share = scale.step * t;
    const double x = scale.X(share);
    svg.Line(x, first - 14.0, x, bottom, "stroke=\"#e2e2e2\"");
    svg.Text(x, bottom + 13.0, FormatMask(share * 100.0, "0") + "%",
             "font-size=\"" + std::to_string(size) + "\" text-anchor=\"middle\"");
  }
}

// A horse's plot at height y: the implied chance as a grey bar, the true
// chance as a mark on its interval.
void DrawChances(Svg& svg, const Scale& scale, const Chance& win, double y) {
  const Pricing pricing = PricingOf(win);
  const char* colour = LookOf(pricing).colour;
  svg.Rect(scale.left, y - 7.0, scale.X(win.implied) - scale.left, 14.0,
           std::string("class=\"implied\" fill=\"") + kImpliedFill + "\"");
  const double low = scale.X(win.interval.low);
  const double high = scale.X(win.interval.high);
  const std::string stroke = std::string("stroke=\"") + colour + "\" stroke-width=\"2\"";
  svg.Raw("<path class=\"interval\" d=\"M" + Coord(low) + " " + Coord(y - 5.0) + "V" + Coord(y + 5.0) + "M" +
          Coord(low) + " " + Coord(y) + "H" + Coord(high) + "M" + Coord(high) + " " + Coord(y - 5.0) + "V" +
          Coord(y + 5.0) + "\" fill=\"none\" " + stroke + "/>\n");
  Mark(svg, scale.X(win.share), y, pricing, colour);
}

std::string HorseLabel(const HorseFigures& h) {
  return HorseNumberText(h.number - 1) + std::string(StyleGlyph(h.style)) + " " + OddsText(h.win.posted_odds);
}

// One row a horse: its number, style and posted odds as the F7 listing
// shows them, its chances, and the share and the verdict in words at the right.
double DrawWin(Svg& svg, const Figures& f, double top) {
  const Scale scale = ScaleFor(f, kPlotLeft, kPlotRight);
  svg.Text(12, top, "Win", "font-size=\"13\" font-weight=\"bold\"");
  const double first = top + 22.0;
  const double bottom = first + kRowHeight * (kHorseCount - 1) + 14.0;
  DrawScale(svg, scale, first, bottom, 10);
  for (const HorseFigures& h : f.horses) {
    const double y = first + kRowHeight * (h.number - 1);
    const Pricing pricing = PricingOf(h.win);
    svg.Raw("<g class=\"horse\" data-number=\"" + std::to_string(h.number) + "\">\n");
    svg.Text(12, y + 5.0, HorseLabel(h), "font-size=\"13\"");
    DrawChances(svg, scale, h.win, y);
    svg.Text(548, y + 4.0, Percent(h.win.share), "font-size=\"12\" text-anchor=\"end\"");
    svg.Text(556, y + 4.0, PricingText(pricing), std::string("font-size=\"11\" fill=\"") + LookOf(pricing).colour + "\"");
    svg.Raw("</g>\n");
  }
  return bottom + 13.0;
}

// The narrow rows: the label, the share and the verdict on one line, the
// chances across the whole width beneath.
double DrawNarrowWin(Svg& svg, const Figures& f, double top) {
  const Scale scale = ScaleFor(f, kNarrowPlotLeft, kNarrowPlotRight);
  svg.Text(12, top, "Win", "font-size=\"14\" font-weight=\"bold\"");
  const double first = top + 24.0;
  const double bottom = first + kNarrowRowHeight * (kHorseCount - 1) + 32.0;
  DrawScale(svg, scale, first + 18.0, bottom, 14);
  for (const HorseFigures& h : f.horses) {
    const double y = first + kNarrowRowHeight * (h.number - 1);
    const Pricing pricing = PricingOf(h.win);
    svg.Raw("<g class=\"horse\" data-number=\"" + std::to_string(h.number) + "\">\n");
    svg.Text(12, y, HorseLabel(h), "font-size=\"14\"");
    svg.Text(226, y, Percent(h.win.share), "font-size=\"14\" text-anchor=\"end\"");
    svg.Text(234, y, PricingText(pricing), std::string("font-size=\"14\" fill=\"") + LookOf(pricing).colour + "\"");
    DrawChances(svg, scale, h.win, y + 18.0);
    svg.Raw("</g>\n");
  }
  return bottom + 13.0;
}

// One cell of the quinella grid: how often the pair came first and second,
// its posted odds and the implied chance, in one or two lines beneath.
void DrawPair(Svg& svg, const PairFigures& pair, double x, double y, double width, double height, bool narrow) {
  const Look look = LookOf(PricingOf(pair.hit));
  const double centre = x + width / 2.0;
  svg.Raw("<g class=\"pair\" data-pair=\"" + Escaped(pair.label) + "\">\n");
  svg.Rect(x, y, width, height, std::string("fill=\"") + look.tint + "\" stroke=\"" + look.colour + "\"");
  const std::string size = narrow ? "font-size=\"14\"" : "font-size=\"12\"";
  svg.Text(centre, y + 17.0, look.arrow + Percent(pair.hit.share),
           size + " text-anchor=\"middle\" fill=\"" + look.colour + "\"");
  if (narrow) {
    const std::string grey = size + " text-anchor=\"middle\" fill=\"" + kGreyText + "\"";
    svg.Text(centre, y + 33.0, OddsText(pair.hit.posted_odds), grey);
    svg.Text(centre, y + 49.0, Percent(pair.hit.implied), grey);
  } else {
    svg.Text(centre, y + 32.0, OddsText(pair.hit.posted_odds) + " " + Percent(pair.hit.implied),
             std::string("font-size=\"10\" text-anchor=\"middle\" fill=\"") + kGreyText + "\"");
  }
  svg.Raw("</g>\n");
}

// The quinella as a grid: the pair of row a and column b (a < b) shows how
// often those two finished first and second, and beneath it the posted odds
// and the implied chance; the tint and the arrow say how the odds stand.
double DrawQuinella(Svg& svg, const Figures& f, double top) {
  svg.Text(12, top, std::string(kQuinellaName) + " (quinella): the first two in either order",
           "font-size=\"13\" font-weight=\"bold\"");
  const double grid_top = top + 26.0;
  for (std::size_t i = 0; i < kHorseCount; ++i) {
    const double centre = kGridLeft + kCellWidth * (static_cast<double>(i) + 0.5);
    const std::string number = HorseNumberText(static_cast<int>(i));
    svg.Text(centre, grid_top - 6.0, number, "font-size=\"12\" text-anchor=\"middle\"");
    svg.Text(kGridLeft - 8.0, grid_top + kCellHeight * (static_cast<double>(i) + 0.5) + 4.0, number,
             "font-size=\"12\" text-anchor=\"end\"");
  }
  for (std::size_t a = 0; a < kHorseCount; ++a) {
    for (std::size_t b = 0; b < kHorseCount; ++b) {
      const double x = kGridLeft + kCellWidth * static_cast<double>(b);
      const double y = grid_top + kCellHeight * static_cast<double>(a);
      if (a >= b) {
        svg.Rect(x, y, kCellWidth, kCellHeight, "fill=\"#f0f0f0\" stroke=\"#d0d0d0\"");
        if (a == b) {
          svg.Text(x + kCellWidth / 2.0, y + 25.0, std::string(StyleGlyph(f.horses[a].style)),
                   "font-size=\"14\" text-anchor=\"middle\" fill=\"#707070\"");
        }
        continue;
      }
      DrawPair(svg, f.pairs[PairSlot(a, b)], x, y, kCellWidth, kCellHeight, false);
    }
  }
  return grid_top + kCellHeight * kHorseCount + 18.0;
}

// The narrow grid: rows horses 1 to 5, columns horses 2 to 6, so that the
// fifteen pairs fill a triangle of cells wide enough for 14 px text.
double DrawNarrowQuinella(Svg& svg, const Figures& f, double top) {
  svg.Text(12, top, std::string(kQuinellaName) + " (quinella):", "font-size=\"14\" font-weight=\"bold\"");
  svg.Text(12, top + 18.0, "the first two in either order", "font-size=\"14\"");
  const double grid_top = top + 44.0;
  for (std::size_t i = 0; i + 1 < kHorseCount; ++i) {
    const double centre = kNarrowGridLeft + kNarrowCellWidth * (static_cast<double>(i) + 0.5);
    svg.Text(centre, grid_top - 6.0, HorseNumberText(static_cast<int>(i) + 1), "font-size=\"14\" text-anchor=\"middle\"");
    svg.Text(kNarrowGridLeft - 6.0, grid_top + kNarrowCellHeight * (static_cast<double>(i) + 0.5) + 4.0,
             HorseNumberText(static_cast<int>(i)), "font-size=\"14\" text-anchor=\"end\"");
  }
  for (std::size_t a = 0; a + 1 < kHorseCount; ++a) {
    for (std::size_t b = 1; b < kHorseCount; ++b) {
      const double x = kNarrowGridLeft + kNarrowCellWidth * static_cast<double>(b - 1);
      const double y = grid_top + kNarrowCellHeight * static_cast<double>(a);
      if (a >= b) {
        svg.Rect(x, y, kNarrowCellWidth, kNarrowCellHeight, "fill=\"#f0f0f0\" stroke=\"#d0d0d0\"");
        continue;
      }
      DrawPair(svg, f.pairs[PairSlot(a, b)], x, y, kNarrowCellWidth, kNarrowCellHeight, true);
    }
  }
  return grid_top + kNarrowCellHeight * (kHorseCount - 1) + 24.0;
}

}  // namespace

std::string ChartSvg(const Figures& f, ChartLayout layout) {
  const bool narrow = layout == ChartLayout::kNarrow;
  const double width = narrow ? kNarrowWidth : kWidth;
  Svg body;
  const std::string races = Grouped(f.races) + " races, seed " + std::to_string(f.seed);
  const std::string heading = "Trotix: true chances against the odds, " + races;
  double y = 46.0;
  if (narrow) {
    body.Text(12, 22, "Trotix: true chances against the odds,", "font-size=\"15\" font-weight=\"bold\"");
    body.Text(12, 40, races, "font-size=\"15\" font-weight=\"bold\"");
    y = 64.0;
  } else {
    body.Text(12, 22, heading, "font-size=\"15\" font-weight=\"bold\"");
  }
  if (!f.random_fields && narrow) {
    y = DrawNarrowLegend(body, y);
    y = DrawNarrowWin(body, f, y + 30.0);
    y = DrawNarrowQuinella(body, f, y + 24.0);
    y = DrawNotes(body, y, kNarrowLineColumns, 14);
  } else if (!f.random_fields) {
    DrawLegend(body, y);
    y = DrawWin(body, f, y + 28.0);
    y = DrawQuinella(body, f, y + 24.0);
    y = DrawNotes(body, y, kWideLineColumns, 11);
  }
  const std::string time = WinnerTimeText(f.winner_time);
  if (narrow) {
    body.Text(12, y, "Winner's time on the board:", "font-size=\"14\"");
    y += 18.0;
    body.Text(12, y, time, "font-size=\"14\"");
  } else {
    body.Text(12, y, "Winner's time on the board: " + time, "font-size=\"12\"");
  }
  const double height = y + 14.0;

  return SvgDocument(width, height, "trotix-chart", heading, "", body.text());
}

}  // namespace trotix::sim
