// Writes the lab's worker as one JavaScript string, for a Blob URL: a page
// opened from file:// cannot load a worker from a file. With it, its
// digest, which the build stamps into the page that goes with it
// (web/tools/stamp_lab_digest.mjs), so that a page left open over a release
// never runs the next release's workers.
//
//   node embed_worker.mjs OUTPUT MODULE_JS WORKER_JS
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';

const [output, ...inputs] = process.argv.slice(2);
const text = inputs.map((file) => readFileSync(file, 'utf8')).join('\n');
writeFileSync(output, '// Made at build time from the lab\'s WebAssembly module and web/lab/lab_worker.js.\n' +
                      `var trotixLabWorkerText = ${JSON.stringify(text)};\n` +
                      `var trotixLabWorkerDigest = '${createHash('sha256').update(text).digest('hex').slice(0, 32)}';\n`);
