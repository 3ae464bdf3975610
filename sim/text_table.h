// A table of text for a terminal: every column as wide as its widest cell,
// so no two columns ever run together, whatever the numbers.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace trotix::sim {

struct TextColumn {
  std::string header;
  std::size_t min_width = 0;  // in terminal columns, as the usual figures look best
  bool left = false;          // the first column may be aligned left; the rest are right
  // How a page shows the column's cells (WriteTablesJson): "number", "label",
  // "style" (the game's glyphs), or a row's own kind where it gives one.
  const char* kind = "number";
};

class TextTable {
 public:
  explicit TextTable(std::vector<TextColumn> columns) : columns_(std::move(columns)) {}
  // One cell per column, and what follows the last one (a bar) as it is.
  // `kinds`, where given and not empty, overrides a column's kind.
  void AddRow(std::vector<std::string> cells, std::string tail = {}, std::vector<std::string> kinds = {});
  // The header line and the rows. Each right-aligned column keeps at least
  // one blank before its widest cell.
  void Write(std::ostream& out) const;

  const std::vector<TextColumn>& columns() const { return columns_; }
  std::size_t row_count() const { return rows_.size(); }
  const std::vector<std::string>& cells(std::size_t row) const { return rows_[row].cells; }
  std::string kind(std::size_t row, std::size_t column) const;

 private:
  struct Row {
    std::vector<std::string> cells;
    std::string tail;
    std::vector<std::string> kinds;
  };
  std::vector<TextColumn> columns_;
  std::vector<Row> rows_;
};

}  // namespace trotix::sim
