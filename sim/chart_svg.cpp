#include "chart_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "figure_text.h"
#include "numbers.h"
#include "texts.h"

namespace trotix::sim {

namespace {

// Okabe and Ito's blue and vermillion, told apart by every common kind of
// colour blindness, darkened so that their words read at 4.5:1 or better on
// white and on their tints; each also has its own mark (triangle up or
// down) and word, so the colour is never the only sign.
constexpr const char* kUnderColour = "#005f94";
constexpr const char* kOverColour = "#9a4200";
constexpr const char* kWithinColour = "#222222";
constexpr const char* kUnderTint = "#d6e8f5";
constexpr const char* kOverTint = "#f7dcc9";
constexpr const char* kImpliedFill = "#c4c4c4";

constexpr double kWidth = 640.0;
constexpr double kPlotLeft = 160.0;
constexpr double kPlotRight = 470.0;
constexpr double kRowHeight = 30.0;
constexpr double kCellWidth = 74.0;
constexpr double kCellHeight = 40.0;
constexpr double kGridLeft = 90.0;

// A coordinate to one decimal, by integer arithmetic: no printf, no locale.
std::string Coord(double value) {
  const long long tenths = std::llround(value * 10.0);
  const long long whole = (tenths < 0 ? -tenths : tenths) / 10;
  const long long tenth = (tenths < 0 ? -tenths : tenths) % 10;
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(whole);
  if (tenth != 0) text += "." + std::to_string(tenth);
  return text;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

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

class Svg {
 public:
  void Text(double x, double y, const std::string& text, const std::string& attributes = {}) {
    out_ += "<text x=\"" + Coord(x) + "\" y=\"" + Coord(y) + "\"" + (attributes.empty() ? "" : " " + attributes) + ">" +
            Escaped(text) + "</text>\n";
  }
  void Rect(double x, double y, double w, double h, const std::string& attributes) {
    out_ += "<rect x=\"" + Coord(x) + "\" y=\"" + Coord(y) + "\" width=\"" + Coord(w) + "\" height=\"" + Coord(h) +
            "\" " + attributes + "/>\n";
  }
  void Line(double x1, double y1, double x2, double y2, const std::string& attributes) {
    out_ += "<line x1=\"" + Coord(x1) + "\" y1=\"" + Coord(y1) + "\" x2=\"" + Coord(x2) + "\" y2=\"" + Coord(y2) +
            "\" " + attributes + "/>\n";
  }
  // The true chance's mark at (x, y): a triangle pointing up or down when the
  // odds misprice it, a dot when they may not.
  void Mark(double x, double y, Pricing pricing, const char* colour) {
    const std::string fill = std::string(" fill=\"") + colour + "\"/>\n";
    if (pricing == Pricing::kWithin) {
      out_ += "<circle class=\"true\" cx=\"" + Coord(x) + "\" cy=\"" + Coord(y) + "\" r=\"5\"" + fill;
      return;
    }
    const double tip = pricing == Pricing::kUnderpriced ? -6.0 : 6.0;
    out_ += "<path class=\"true\" d=\"M" + Coord(x) + " " + Coord(y + tip) + "L" + Coord(x + 6.0) + " " +
            Coord(y - tip) + "L" + Coord(x - 6.0) + " " + Coord(y - tip) + "Z\"" + fill;
  }
  void Raw(const std::string& text) { out_ += text; }
  const std::string& text() const { return out_; }

 private:
  std::string out_;
};

// The scale's end: the largest figure drawn, up to the next 10% (20% past
// half), so small chances are not squeezed against the left edge.
struct Scale {
  double top = 0.1;
  double step = 0.1;
  double X(double share) const { return kPlotLeft + (kPlotRight - kPlotLeft) * std::clamp(share / top, 0.0, 1.0); }
};

Scale ScaleFor(const Figures& f) {
  double largest = 0.0;
  for (const HorseFigures& h : f.horses) largest = std::max({largest, h.win.interval.high, h.win.implied});
  constexpr double kHair = 1e-9;
  Scale s;
  if (largest > 0.5) {
    s.step = 0.2;
    s.top = std::ceil(largest * 5.0 - kHair) / 5.0;
  } else {
    s.top = std::max(1.0, std::ceil(largest * 10.0 - kHair)) / 10.0;
  }
  return s;
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

// One row a horse: its number, style and posted odds as the F7 listing
// shows them, the implied chance as a grey bar, the true chance as a mark on
// its interval, and the share and the verdict in words at the right.
double DrawWin(Svg& svg, const Figures& f, double top) {
  const Scale scale = ScaleFor(f);
  svg.Text(12, top, "Win", "font-size=\"13\" font-weight=\"bold\"");
  const double first = top + 22.0;
  const double bottom = first + kRowHeight * (kHorseCount - 1) + 14.0;
  const int ticks = static_cast<int>(std::lround(scale.top / scale.step));
  for (int t = 0; t <= ticks; ++t) {
    const double share = scale.step * t;
    const double x = scale.X(share);
    svg.Line(x, first - 14.0, x, bottom, "stroke=\"#e2e2e2\"");
    svg.Text(x, bottom + 13.0, FormatMask(share * 100.0, "0") + "%", "font-size=\"10\" text-anchor=\"middle\"");
  }
  for (const HorseFigures& h : f.horses) {
    const double y = first + kRowHeight * (h.number - 1);
    const Pricing pricing = PricingOf(h.win);
    const char* colour = LookOf(pricing).colour;
    svg.Raw("<g class=\"horse\" data-number=\"" + std::to_string(h.number) + "\">\n");
    svg.Text(12, y + 5.0, HorseNumberText(h.number - 1) + std::string(StyleGlyph(h.style)) + " " + OddsText(h.win.posted_odds),
             "font-size=\"13\"");
    svg.Rect(kPlotLeft, y - 7.0, scale.X(h.win.implied) - kPlotLeft, 14.0,
             std::string("class=\"implied\" fill=\"") + kImpliedFill + "\"");
    const double low = scale.X(h.win.interval.low);
    const double high = scale.X(h.win.interval.high);
    const std::string stroke = std::string("stroke=\"") + colour + "\" stroke-width=\"2\"";
    svg.Raw("<path class=\"interval\" d=\"M" + Coord(low) + " " + Coord(y - 5.0) + "V" + Coord(y + 5.0) + "M" +
            Coord(low) + " " + Coord(y) + "H" + Coord(high) + "M" + Coord(high) + " " + Coord(y - 5.0) + "V" +
            Coord(y + 5.0) + "\" fill=\"none\" " + stroke + "/>\n");
    svg.Mark(scale.X(h.win.share), y, pricing, colour);
    svg.Text(548, y + 4.0, Percent(h.win.share), "font-size=\"12\" text-anchor=\"end\"");
    svg.Text(556, y + 4.0, PricingText(pricing), std::string("font-size=\"11\" fill=\"") + colour + "\"");
    svg.Raw("</g>\n");
  }
  return bottom + 13.0;
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
      const PairFigures& pair = f.pairs[PairSlot(a, b)];
      const Look look = LookOf(PricingOf(pair.hit));
      svg.Raw("<g class=\"pair\" data-pair=\"" + Escaped(pair.label) + "\">\n");
      svg.Rect(x, y, kCellWidth, kCellHeight, std::string("fill=\"") + look.tint + "\" stroke=\"" + look.colour + "\"");
      svg.Text(x + kCellWidth / 2.0, y + 17.0, look.arrow + Percent(pair.hit.share),
               std::string("font-size=\"12\" text-anchor=\"middle\" fill=\"") + look.colour + "\"");
      svg.Text(x + kCellWidth / 2.0, y + 32.0, OddsText(pair.hit.posted_odds) + " " + Percent(pair.hit.implied),
               "font-size=\"10\" text-anchor=\"middle\" fill=\"#505050\"");
      svg.Raw("</g>\n");
    }
  }
  return grid_top + kCellHeight * kHorseCount + 18.0;
}

}  // namespace

std::string ChartSvg(const Figures& f) {
  Svg body;
  const std::string heading = "Trotix: true chances against the odds, " + Grouped(f.races) + " races, seed " +
                              std::to_string(f.seed);
  body.Text(12, 22, heading, "font-size=\"15\" font-weight=\"bold\"");
  double y = 46.0;
  if (!f.random_fields) {
    DrawLegend(body, y);
    y = DrawWin(body, f, y + 28.0);
    y = DrawQuinella(body, f, y + 24.0);
  }
  body.Text(12, y, "Winner's time on the board: " + WinnerTimeText(f.winner_time), "font-size=\"12\"");
  const double height = y + 14.0;

  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Coord(kWidth) + "\" height=\"" +
                    Coord(height) + "\" viewBox=\"0 0 " + Coord(kWidth) + " " + Coord(height) +
                    "\" role=\"img\" aria-labelledby=\"trotix-chart-title\" "
                    "font-family=\"IPAPGothic, IPAGothic, sans-serif\">\n";
  svg += "<title id=\"trotix-chart-title\">" + Escaped(heading) + "</title>\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += body.text();
  return svg + "</svg>\n";
}

}  // namespace trotix::sim
