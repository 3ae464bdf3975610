// Writes the lab's worker as one JavaScript string, for a Blob URL: a page
// opened from file:// cannot load a worker from a file.
//
//   node embed_worker.mjs OUTPUT MODULE_JS WORKER_JS
import { readFileSync, writeFileSync } from 'node:fs';

const [output, ...inputs] = process.argv.slice(2);
const text = inputs.map((file) => readFileSync(file, 'utf8')).join('\n');
writeFileSync(output, '// Made at build time from the lab\'s WebAssembly module and web/lab/lab_worker.js.\n' +
                      `var trotixLabWorkerText = ${JSON.stringify(text)};\n`);
