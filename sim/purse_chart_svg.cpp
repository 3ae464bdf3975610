#include "purse_chart_svg.h"

#include <algorithm>
#include <cstdint>

#include "figure_text.h"
#include "svg_writer.h"
#include "ticket_book.h"

namespace trotix::sim {

namespace {

// Where things go in either layout. The narrow one is 360 wide with no text
// under 14 px, as the odds chart's.
struct Frame {
  double width;
  double left;    // the plot's edges
  double right;
  double height;  // the plot's
  int size;       // of the labels and the legend, px
  std::size_t columns;  // of a summary line, in terminal columns
};

constexpr Frame kWideFrame{640.0, 96.0, 612.0, 220.0, 11, 100};
constexpr Frame kNarrowFrame{360.0, 84.0, 344.0, 200.0, 14, 42};

constexpr const char* kTitle = "Trotix: the purse after each race";
constexpr const char* kStartFill = "#707070";

// The purse's scale: steps of 1, 2 or 5 times a power of ten, at most five
// of them to a top at or above the largest purse. Integers only.
struct PurseScale {
  std::int64_t top = 0;
  std::int64_t step = 1;
};

PurseScale ScaleOf(std::int64_t largest) {
  for (std::int64_t power = 1;; power *= 10) {
    for (const std::int64_t times : {1, 2, 5}) {
      const std::int64_t step = times * power;
      if (step * 5 >= largest) return {(largest + step - 1) / step * step, step};
    }
  }
}

struct Plot {
  const Frame& frame;
  PurseScale scale;
  double top = 0.0;
  std::size_t races = 0;
  double bottom() const { return top + frame.height; }
  // Point 0 is the new purse, point i the purse after the ledger's line i.
  double X(std::size_t point) const {
    const double share = static_cast<double>(point) / static_cast<double>(std::max<std::size_t>(races, 1));
    return frame.left + (frame.right - frame.left) * share;
  }
  double Y(std::int64_t purse) const {
    return bottom() - frame.height * (static_cast<double>(purse) / static_cast<double>(scale.top));
  }
};

std::string FontSize(int size) { return "font-size=\"" + std::to_string(size) + "\""; }

std::string Counted(std::size_t n, const std::string& one, const std::string& many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

struct Counts {
  std::size_t seen = 0;
  std::size_t unsettled = 0;
  std::size_t refilled = 0;  // races with a refill before them
};

Counts CountsOf(const std::vector<LedgerEntry>& entries) {
  Counts c;
  int refills = 0;
  for (const LedgerEntry& e : entries) {
    c.seen += e.saw_chances ? 1 : 0;
    c.unsettled += e.settled ? 0 : 1;
    c.refilled += e.refills > refills ? 1 : 0;
    refills = e.refills;
  }
  return c;
}

// The chart's summary in plain words, shown under the title and read by a
// screen reader.
std::string Summary(const std::vector<LedgerEntry>& entries) {
  if (entries.empty()) return "No race run with tickets yet. " + PurseText(kPurseStart, 0) + ".";
  const Counts c = CountsOf(entries);
  std::string text = Counted(entries.size(), "race", "races") + " run with tickets. ";
  text += PurseText(entries.back().purse, entries.back().refills) + ". The chances seen before " +
          std::to_string(c.seen) + " of them";
  if (c.unsettled > 0) text += "; " + std::to_string(c.unsettled) + " unsettled, the game closed during the race";
  return text + ".";
}

std::string Description() {
  const std::string start = Grouped(static_cast<std::uint64_t>(kPurseStart));
  return " Each point is the purse after a race, from the new purse of " + start +
         " at the left; a filled dot is a race run with the chances seen, a hollow one a race without them, a"
         " square a race left unsettled. A dashed line across marks the start at " + start +
         ", and a dashed line down a refill of " + start + " into an empty purse.";
}

// A race's mark centred at (x, y): a circle when it was settled, a square
// when not; filled blue when it was run with the chances seen.
void RaceMark(Svg& svg, double x, double y, bool settled, bool seen) {
  const std::string fill = seen ? kUnderColour : "#ffffff";
  if (!settled) {
    svg.Rect(x - 5, y - 5, 10, 10,
             "fill=\"" + fill + "\" stroke=\"" + std::string(kOverColour) + "\" stroke-width=\"1.5\"");
    return;
  }
  svg.Raw("<circle cx=\"" + Coord(x) + "\" cy=\"" + Coord(y) + "\" r=\"" + (seen ? "5" : "4") + "\" fill=\"" + fill +
          "\" stroke=\"" + (seen ? kUnderColour : kWithinColour) + "\" stroke-width=\"1.5\"/>\n");
}

std::string Dashes(const char* pattern) {
  return std::string("stroke=\"") + kGreyText + "\" stroke-dasharray=\"" + pattern + "\"";
}

// The five signs: in one line, or (narrow) two to a line.
double DrawLegend(Svg& svg, const Frame& frame, double y) {
  const bool narrow = frame.size > 12;
  const std::string size = FontSize(frame.size);
  const std::string start = Grouped(static_cast<std::uint64_t>(kPurseStart));
  constexpr double kWideX[] = {12, 124, 236, 332, 472};
  const auto at = [&](int sign, double& x) {
    x = narrow ? (sign % 2 == 0 ? 12.0 : 180.0) : kWideX[sign];
    return narrow ? y + 22.0 * (sign / 2) : y;
  };
  double x = 0;
  double line = at(0, x);
  RaceMark(svg, x + 6, line - 4, true, true);
  svg.Text(x + 16, line, "chances seen", size);
  line = at(1, x);
  RaceMark(svg, x + 6, line - 4, true, false);
  svg.Text(x + 16, line, "without them", size);
  line = at(2, x);
  RaceMark(svg, x + 6, line - 4, false, false);
  svg.Text(x + 16, line, "unsettled", size + " fill=\"" + kOverColour + "\"");
  line = at(3, x);
  svg.Line(x + 6, line - 11, x + 6, line + 2, Dashes("3 2"));
  svg.Text(x + 16, line, "refill of " + start, size);
  line = at(4, x);
  svg.Line(x, line - 4, x + 12, line - 4, Dashes("6 4"));
  svg.Text(x + 16, line, "the start, " + start, size);
  return line;
}

// The purse's scale across the plot, and the dashed line of the start.
void DrawScale(Svg& svg, const Plot& plot) {
  const std::string label = FontSize(plot.frame.size) + " text-anchor=\"end\"";
  for (std::int64_t purse = 0; purse <= plot.scale.top; purse += plot.scale.step) {
    const double y = plot.Y(purse);
    svg.Line(plot.frame.left, y, plot.frame.right, y, "stroke=\"#e2e2e2\"");
    svg.Text(plot.frame.left - 6, y + 4, Grouped(static_cast<std::uint64_t>(purse)), label);
  }
  const double start = plot.Y(kPurseStart);
  svg.Line(plot.frame.left, start, plot.frame.right, start, "class=\"start\" " + Dashes("6 4"));
}

// A race's point: a circle when settled, a square when not; filled blue when
// it was run with the chances seen. Its title tells the ledger's line.
void DrawRace(Svg& svg, const Plot& plot, const LedgerEntry& e, std::size_t number) {
  const double x = plot.X(number);
  const double y = plot.Y(e.purse);
  svg.Raw("<g class=\"race\" data-race=\"" + std::to_string(number) + "\" data-settled=\"" + (e.settled ? "1" : "0") +
          "\" data-chances=\"" + (e.saw_chances ? "1" : "0") + "\">\n");
  std::string title = "Race " + std::to_string(number) + ", " + e.date + ": purse " +
                      Grouped(static_cast<std::uint64_t>(e.purse));
  if (e.saw_chances) title += ", chances seen";
  if (!e.settled) title += ", unsettled";
  svg.Raw("<title>" + Escaped(title) + "</title>\n");
  RaceMark(svg, x, y, e.settled, e.saw_chances);
  svg.Raw("</g>\n");
}

// The purse from the start, race by race: level until a race, then straight
// to the purse after it. Refills are dashed lines down the plot.
void DrawPurse(Svg& svg, const Plot& plot, const std::vector<LedgerEntry>& entries) {
  int refills = 0;
  // Appended piece by piece: GCC's optimiser misreads a chain of + here as
  // an overlapping copy.
  std::string path = "M";
  path += Coord(plot.X(0));
  path += ' ';
  path += Coord(plot.Y(kPurseStart));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const LedgerEntry& e = entries[i];
    const double x = plot.X(i + 1);
    path += 'H';
    path += Coord(x);
    path += 'V';
    path += Coord(plot.Y(e.purse));
    if (e.refills > refills) {
      svg.Line(x, plot.top, x, plot.bottom(),
               "class=\"refill\" data-race=\"" + std::to_string(i + 1) + "\" " + Dashes("3 2"));
    }
    refills = e.refills;
  }
  svg.Raw("<path class=\"purse\" d=\"" + path + "\" fill=\"none\" stroke=\"" + kWithinColour +
          "\" stroke-width=\"2\"/>\n");
  svg.Raw("<circle class=\"new-purse\" cx=\"" + Coord(plot.X(0)) + "\" cy=\"" + Coord(plot.Y(kPurseStart)) +
          "\" r=\"3\" fill=\"" + kStartFill + "\"/>\n");
  for (std::size_t i = 0; i < entries.size(); ++i) DrawRace(svg, plot, entries[i], i + 1);
}

}  // namespace

std::string PurseChartSvg(const std::vector<LedgerEntry>& entries, ChartLayout layout) {
  const Frame& frame = layout == ChartLayout::kNarrow ? kNarrowFrame : kWideFrame;
  const bool narrow = layout == ChartLayout::kNarrow;
  Svg body;
  body.Text(12, 22, kTitle, "font-size=\"15\" font-weight=\"bold\"");
  const std::string summary = Summary(entries);
  double y = 22.0;
  for (const std::string& line : Wrapped(summary, frame.columns)) {
    y += frame.size + 6.0;
    body.Text(12, y, line, FontSize(narrow ? 14 : 12));
  }
  y = DrawLegend(body, frame, y + 24.0);

  std::int64_t largest = kPurseStart;
  for (const LedgerEntry& e : entries) largest = std::max(largest, e.purse);
  const Plot plot{frame, ScaleOf(largest), y + 30.0, entries.size()};
  DrawScale(body, plot);
  DrawPurse(body, plot, entries);
  const double axis = plot.bottom() + frame.size + 8.0;
  const std::string label = FontSize(frame.size);
  body.Text(plot.X(0), axis, "start", label + " text-anchor=\"middle\"");
  if (!entries.empty()) {
    body.Text(frame.right, axis, "race " + std::to_string(entries.size()), label + " text-anchor=\"end\"");
  }
  return SvgDocument(frame.width, axis + 14.0, "trotix-purse", kTitle, summary + Description(), body.text());
}

}  // namespace trotix::sim
