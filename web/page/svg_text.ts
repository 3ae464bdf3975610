// A chart the C++ drew, as SVG text, made a node of the page: the lab's
// odds charts and the tickets' purse chart.
export function readSvg(svg: string): Node {
  const chart = new DOMParser().parseFromString(svg, 'image/svg+xml');
  if (chart.getElementsByTagName('parsererror').length > 0) throw new Error('the chart could not be read');
  return document.importNode(chart.documentElement, true);
}
