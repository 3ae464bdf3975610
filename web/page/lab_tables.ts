// The lab's tables as the C++ writes them (WriteTablesJson): headers, and
// rows of cells, each its text or its text with a kind that says how it is
// shown (the chart's colours for under- and overpriced, the game's own
// glyphs in Japanese).
export type Cell = string | { text: string; kind?: string };
export interface TableJson {
  headers: string[];
  rows: Cell[][];
}
export interface TablesJson {
  horses: TableJson;
  quinella: TableJson;
  winner_time: string;
}

// Kinds of cell written in the game's Japanese.
const japaneseKinds = new Set(['style', 'ja']);

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
    row.forEach((given, column) => {
      const { text, kind } = typeof given === 'string' ? { text: given, kind: undefined } : given;
      const cell = document.createElement(column === 0 ? 'th' : 'td');
      if (column === 0) cell.scope = 'row';
      cell.textContent = text.trim();
      // Each cell says its column's name, for the narrow page's folded rows.
      cell.dataset.column = data.headers[column];
      if (kind !== undefined) cell.dataset.kind = kind;
      if (kind !== undefined && japaneseKinds.has(kind)) cell.lang = 'ja';
      line.appendChild(cell);
    });
  }
}
