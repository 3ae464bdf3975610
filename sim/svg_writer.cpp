#include "svg_writer.h"

#include <cctype>
#include <cmath>

#include "utf8.h"

namespace trotix::sim {

namespace {

// The game's own Japanese: the brackets, kana and kanji, and the half-width
// katakana of the margins.
bool IsJapanese(char32_t c) {
  return (c >= 0x3000 && c <= 0x30ff) || (c >= 0x4e00 && c <= 0x9fff) || (c >= 0xff00 && c <= 0xffef);
}

// A text's content with its Japanese marked lang="ja": the whole text when
// it holds no English word (a horse's number, its style and its odds), else
// each run of Japanese among the English words.
struct Marked {
  bool japanese = false;
  std::string content;
};

Marked MarkJapanese(const std::string& text) {
  Marked marked;
  bool japanese = false, english = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    japanese = IsJapanese(NextUtf8(text, pos)) || japanese;
    english = english || (pos < text.size() && std::isalpha(static_cast<unsigned char>(text[start])) &&
                          std::isalpha(static_cast<unsigned char>(text[pos])));
  }
  marked.japanese = japanese && !english;
  if (marked.japanese || !japanese) {
    marked.content = Escaped(text);
    return marked;
  }
  bool in_run = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const bool in_japanese = IsJapanese(NextUtf8(text, pos));
    if (in_japanese != in_run) marked.content += in_japanese ? "<tspan lang=\"ja\">" : "</tspan>";
    in_run = in_japanese;
    marked.content += Escaped(text.substr(start, pos - start));
  }
  if (in_run) marked.content += "</tspan>";
  return marked;
}

}  // namespace

// A coordinate to one decimal, by integer arithmetic: no printf, no locale.
std::string Coord(double value) {
  const long long tenths = std::llround(value * 10.0);
  const long long whole = (tenths < 0 ? -tenths : tenths) / 10;
  const long long tenth = (tenths < 0 ? -tenths : tenths) % 10;
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(whole);
  if (tenth != 0) {
    text += '.';
    text += std::to_string(tenth);
  }
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

// Words cut into lines of at most `columns` terminal columns.
std::vector<std::string> Wrapped(const std::string& words, std::size_t columns) {
  std::vector<std::string> lines(1);
  for (std::size_t from = 0; from < words.size();) {
    std::size_t to = words.find(' ', from);
    if (to == std::string::npos) to = words.size();
    const std::string word = words.substr(from, to - from);
    if (!lines.back().empty() && DisplayWidth(lines.back()) + 1 + DisplayWidth(word) > columns) lines.emplace_back();
    lines.back() += (lines.back().empty() ? "" : " ") + word;
    from = to + 1;
  }
  return lines;
}

void Svg::Text(double x, double y, const std::string& text, const std::string& attributes) {
  const Marked marked = MarkJapanese(text);
  out_ += "<text x=\"" + Coord(x) + "\" y=\"" + Coord(y) + "\"" + (attributes.empty() ? "" : " " + attributes) +
          (marked.japanese ? " lang=\"ja\">" : ">") + marked.content + "</text>\n";
}

void Svg::Rect(double x, double y, double w, double h, const std::string& attributes) {
  out_ += "<rect x=\"" + Coord(x) + "\" y=\"" + Coord(y) + "\" width=\"" + Coord(w) + "\" height=\"" + Coord(h) +
          "\" " + attributes + "/>\n";
}

void Svg::Line(double x1, double y1, double x2, double y2, const std::string& attributes) {
  out_ += "<line x1=\"" + Coord(x1) + "\" y1=\"" + Coord(y1) + "\" x2=\"" + Coord(x2) + "\" y2=\"" + Coord(y2) +
          "\" " + attributes + "/>\n";
}

std::string SvgDocument(double width, double height, const std::string& id, const std::string& title,
                        const std::string& desc, const std::string& body) {
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Coord(width) + "\" height=\"" +
                    Coord(height) + "\" viewBox=\"0 0 " + Coord(width) + " " + Coord(height) +
                    "\" role=\"img\" aria-labelledby=\"" + id + "-title\" ";
  if (!desc.empty()) svg += "aria-describedby=\"" + id + "-desc\" ";
  svg += "font-family=\"IPAPGothic, IPAGothic, sans-serif\">\n";
  svg += "<title id=\"" + id + "-title\">" + Escaped(title) + "</title>\n";
  if (!desc.empty()) svg += "<desc id=\"" + id + "-desc\">" + Escaped(desc) + "</desc>\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += body;
  return svg + "</svg>\n";
}

}  // namespace trotix::sim
