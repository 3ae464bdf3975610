#include "text_table.h"

#include <algorithm>

#include "utf8.h"

namespace trotix::sim {

void TextTable::AddRow(std::vector<std::string> cells, std::string tail, std::vector<std::string> kinds) {
  cells.resize(columns_.size());
  kinds.resize(columns_.size());
  rows_.push_back({std::move(cells), std::move(tail), std::move(kinds)});
}

std::string TextTable::kind(std::size_t row, std::size_t column) const {
  const std::string& own = rows_[row].kinds[column];
  return own.empty() ? columns_[column].kind : own;
}

void TextTable::Write(std::ostream& out) const {
  std::vector<std::size_t> widths;
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const std::size_t gap = columns_[c].left ? 0 : 1;
    std::size_t width = std::max(columns_[c].min_width, DisplayWidth(columns_[c].header) + gap);
    for (const Row& row : rows_) width = std::max(width, DisplayWidth(row.cells[c]) + gap);
    widths.push_back(width);
  }
  const auto line = [&](const std::vector<std::string>& cells, const std::string& tail) {
    std::string text;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      const std::string padding(widths[c] - DisplayWidth(cells[c]), ' ');
      text += columns_[c].left ? cells[c] + padding : padding + cells[c];
    }
    text += tail;
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << "\n";
  };
  std::vector<std::string> headers;
  for (const TextColumn& column : columns_) headers.push_back(column.header);
  line(headers, {});
  for (const Row& row : rows_) line(row.cells, row.tail);
}

}  // namespace trotix::sim
