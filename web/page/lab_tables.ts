// The lab's tables as the C++ writes them (WriteTablesJson): headers, and
// rows of cells, each its text and the kind that says how it is shown: a
// row's label, a number, the game's style glyphs (in Japanese), or the
// verdict, underpriced, overpriced or within (in the chart's colours).
export interface Cell {
  text: string;
  kind: string;
}
export interface TableJson {
  headers: string[];
  rows: Cell[][];
}
export interface TablesJson {
  horses: TableJson;
  quinella: TableJson;
  winner_time: string;
}

export function fillTable(table: HTMLTableElement, data: TableJson): void {
  const caption = table.caption;
  table.replaceChildren(...(caption === null ? [] : [caption]));
  const head = table.createTHead().insertRow();
  for (const header of data.headers) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = header;
    head.appendChild(cell);
  }
  const body = table.createTBody();
  for (const row of data.rows) {
    const line = body.insertRow();
    row.forEach(({ text, kind }, column) => {
      const cell = document.createElement(column === 0 ? 'th' : 'td');
      if (column === 0) cell.scope = 'row';
      cell.textContent = text.trim();
      // Each cell says its column's name, for the narrow page's folded rows.
      cell.dataset.column = data.headers[column];
      cell.dataset.kind = kind;
      if (kind === 'style') cell.lang = 'ja';  // the game's glyphs in the panel's English
      line.appendChild(cell);
    });
  }
}
