// Over http(s) the page names its manifest, so that the browser can install
// it as an app, and registers its service worker (sw.js), which keeps the
// page's files so that after one visit it plays with the network gone. A
// page opened from file:// has neither: browsers allow no service worker
// there and refuse to read its manifest, and it plays from the disk as it is.
import { say } from './page_lines';

export function offerOffline(): void {
  if (location.protocol !== 'https:' && location.protocol !== 'http:') return;
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.append(manifest);
  if (!('serviceWorker' in navigator)) return;
  // A worker that cannot keep a release (a file missing on the host) says
  // why; the one before it, if any, keeps serving.
  navigator.serviceWorker.addEventListener('message', (event: MessageEvent) => {
    const why: unknown = event.data?.trotixOffline;
    if (typeof why === 'string') say(`This page cannot be kept for playing offline: ${why}.`);
  });
  navigator.serviceWorker.startMessages();
  addEventListener('load', () => {
    navigator.serviceWorker.register('sw.js').catch((error: Error) => {
      say(`This page cannot be kept for playing offline: ${error.message}`);
    });
  });
}
