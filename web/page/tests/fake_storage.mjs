// A page's storage for the tests: a map, which may be full.
export function fakeStorage(entries = {}, { full = false } = {}) {
  const items = new Map(Object.entries(entries));
  return {
    items,
    getItem: (key) => items.get(key) ?? null,
    setItem: (key, value) => {
      if (full) throw new Error('QuotaExceededError');
      items.set(key, value);
    },
    removeItem: (key) => items.delete(key),
  };
}
