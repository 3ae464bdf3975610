// Writes the site's service worker: web/page/sw.js after this release's
// name and the digest of every other file of the built site, so that a
// release that changes any file is a new worker with a cache of its own.
//
//   node make_sw.mjs SW_SOURCE OUTPUT SITE_FOLDER FILE...
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

// The first 128 bits of the SHA-256, in hex; the worker checks each file it
// keeps against it.
export const digest = (bytes) => createHash('sha256').update(bytes).digest('hex').slice(0, 32);

// { release, siteFiles }: the digest of each of the site's files, and the
// release named after all of them together.
export function releaseOf(site, names) {
  const siteFiles = Object.fromEntries([...names].sort().map((name) => [name, digest(readFileSync(path.join(site, name)))]));
  return { release: digest(JSON.stringify(siteFiles)).slice(0, 16), siteFiles };
}

export function serviceWorkerText(source, site, names) {
  const { release, siteFiles } = releaseOf(site, names);
  return `// Written by the build: this release and its files (web/tools/make_sw.mjs).\n` +
         `const release = '${release}';\nconst siteFiles = ${JSON.stringify(siteFiles, null, 1)};\n${source}`;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [source, output, site, ...names] = process.argv.slice(2);
  writeFileSync(output, serviceWorkerText(readFileSync(source, 'utf8'), site, names));
}
