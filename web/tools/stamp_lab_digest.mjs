// Stamps the digest of the lab's worker text (as embed_worker.mjs wrote it
// into lab_worker_text.js) into the bundled page, in place of its mark, so
// that the page runs only the workers of its own release.
//
//   node stamp_lab_digest.mjs PAGE_JS LAB_WORKER_TEXT_JS
import { readFileSync, writeFileSync } from 'node:fs';

const [page, labText] = process.argv.slice(2);
const digest = readFileSync(labText, 'utf8').match(/var trotixLabWorkerDigest = '([0-9a-f]+)';/)?.[1];
const bundle = readFileSync(page, 'utf8');
if (!digest || !bundle.includes('@LAB_WORKER_DIGEST@')) {
  console.error(`stamp_lab_digest: no digest in ${labText}, or no mark in ${page}`);
  process.exit(1);
}
writeFileSync(page, bundle.replaceAll('@LAB_WORKER_DIGEST@', digest));
