// What the lab's SVG charts share: their colours, coordinates written by
// integer arithmetic, escaped text with the game's Japanese marked
// lang="ja", and the document around a chart's body. Only the numbers of
// arithmetic go into them (no logarithms, no printf, no locale), so a
// WebAssembly build writes the same bytes as a native one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace trotix::sim {

// Okabe and Ito's blue and vermillion, told apart by every common kind of
// colour blindness, darkened so that their words read at 4.5:1 or better on
// white and on their tints; every mark in these colours also has a shape
// and a word of its own, so the colour is never the only sign.
inline constexpr const char* kUnderColour = "#005f94";
inline constexpr const char* kOverColour = "#9a4200";
inline constexpr const char* kWithinColour = "#222222";
inline constexpr const char* kUnderTint = "#d6e8f5";
inline constexpr const char* kOverTint = "#f7dcc9";
inline constexpr const char* kImpliedFill = "#c4c4c4";
inline constexpr const char* kGreyText = "#505050";

// A coordinate to one decimal, by integer arithmetic: "12", "12.5", "-3.1".
std::string Coord(double value);

// Text for XML: & < > and " escaped.
std::string Escaped(const std::string& text);

// Words cut into lines of at most `columns` terminal columns.
std::vector<std::string> Wrapped(const std::string& words, std::size_t columns);

// A chart's body, element by element.
class Svg {
 public:
  // A text's Japanese is marked lang="ja": the whole text when it holds no
  // English word, else each run of Japanese among the English words.
  void Text(double x, double y, const std::string& text, const std::string& attributes = {});
  void Rect(double x, double y, double w, double h, const std::string& attributes);
  void Line(double x1, double y1, double x2, double y2, const std::string& attributes);
  void Raw(const std::string& text) { out_ += text; }
  const std::string& text() const { return out_; }

 private:
  std::string out_;
};

// The whole SVG document, `width` x `height`, on white: an image for screen
// readers labelled by `title`, described by `desc` when it is not "";
// `id` names the title (and "-desc" the description) for aria.
std::string SvgDocument(double width, double height, const std::string& id, const std::string& title,
                        const std::string& desc, const std::string& body);

}  // namespace trotix::sim
