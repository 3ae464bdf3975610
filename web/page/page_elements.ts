// The page's elements by id, typed: index.html holds every one of them.
export function byId<T extends HTMLElement = HTMLElement>(id: string): T {
  const element = document.getElementById(id);
  if (element === null) throw new Error(`the page has no #${id}`);
  return element as T;
}
