// The horse file the page keeps between visits, in the browser's storage
// for this page: its name and its first bytes as one entry, JSON of
// {name, bytes (base64)}, so that they are kept together or not at all.
//
// Storage is not the page's alone (every file:// page shares Chromium's;
// over http any page of the origin may write it), so whatever is read back
// is checked before it is used: sizes are bounded before anything is
// decoded, and an entry that cannot be read is dropped with one line, the
// field then being random. Nothing stored can stop the game from starting.
'use strict';
window.Trotix = window.Trotix || {};

Trotix.keptFile = (function () {
  const key = 'trotix.horseFile';
  // Earlier pages kept the name and the bytes apart, which could disagree.
  const oldKeys = ['trotix.horseFile.name', 'trotix.horseFile.bytes'];
  const maxName = 1024;  // characters; no file system's names come near
  const base64 = /^[A-Za-z0-9+/]*={0,2}$/;
  const unreadable = 'The horse file kept from an earlier visit could not be read and was dropped; the field is random.';

  const storage = () => {
    try {
      return window.localStorage;
    } catch (error) {
      return null;  // storage refused (cookies blocked for this page)
    }
  };
  const remove = (store, names) => {
    try {
      for (const name of names) store.removeItem(name);
    } catch (error) {
      // Nothing can be kept, so nothing is.
    }
  };

  // The bytes of a checked base64 text no longer than maxBytes decoded, or null.
  function decode(text, maxBytes) {
    if (text.length % 4 !== 0 || text.length > Math.ceil(maxBytes / 3) * 4 || !base64.test(text)) return null;
    let binary;
    try {
      binary = atob(text);
    } catch (error) {
      return null;
    }
    return binary.length > maxBytes ? null : Uint8Array.from(binary, (c) => c.charCodeAt(0));
  }
  function encode(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
  }

  // {name, bytes} from the entry's text, or null.
  function parse(text, maxBytes) {
    // JSON writes a character in at most six; the bytes' base64 adds a third.
    if (text.length > 32 + 6 * maxName + Math.ceil(maxBytes / 3) * 4) return null;
    let entry;
    try {
      entry = JSON.parse(text);
    } catch (error) {
      return null;
    }
    if (entry === null || typeof entry !== 'object' || typeof entry.name !== 'string' || typeof entry.bytes !== 'string' ||
        entry.name === '' || entry.name.length > maxName) return null;
    const bytes = decode(entry.bytes, maxBytes);
    return bytes === null ? null : { name: entry.name, bytes };
  }

  function read(store, name) {
    try {
      return store.getItem(name);
    } catch (error) {
      return null;
    }
  }

  function store(kept, name, bytes) {
    try {
      kept.setItem(key, JSON.stringify({ name, bytes: encode(bytes) }));
      return true;
    } catch (error) {
      return false;  // full, or refused
    }
  }

  return {
    // The kept file as {name, bytes} (at most maxBytes of them), or null.
    read(maxBytes, say) {
      const kept = storage();
      if (kept === null) return null;
      const text = read(kept, key);
      if (text === null) return this.readOld(kept, maxBytes, say);
      remove(kept, oldKeys);
      const file = parse(text, maxBytes);
      if (file === null) {
        remove(kept, [key]);
        say(unreadable);
      }
      return file;
    },
    // A name and bytes kept apart by an earlier page, moved into one entry.
    readOld(kept, maxBytes, say) {
      const [name, text] = oldKeys.map((oldKey) => read(kept, oldKey));
      if (name === null && text === null) return null;
      remove(kept, oldKeys);
      const bytes = name === null || text === null || name === '' || name.length > maxName ? null : decode(text, maxBytes);
      if (bytes === null) {
        say(unreadable);
        return null;
      }
      store(kept, name, bytes);
      return { name, bytes };
    },
    // Keeps a file the game took; says so when the browser will not, and
    // then keeps no earlier file either, so the next visit has a random field.
    keep(name, bytes, say) {
      const kept = storage();
      if (kept !== null && name.length <= maxName && store(kept, name, bytes)) return;
      if (kept !== null) remove(kept, [key]);
      say(`The browser could not keep the horse file ${Trotix.isolate(name)} (its storage for this page is full or ` +
          'refused): it holds for this visit only.');
    },
    forget() {
      const kept = storage();
      if (kept !== null) remove(kept, [key, ...oldKeys]);
    },
  };
})();
