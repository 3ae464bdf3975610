// What the host's Content-Security-Policy refuses the page, in words a
// player can pass on to whoever runs the host. The game needs WebAssembly
// compiled ('wasm-unsafe-eval' in script-src) and the lab and the race's
// timer need workers made from blob: URLs (worker-src blob:).
let refused = '';

export function watchHostPolicy(): void {
  document.addEventListener('securitypolicyviolation', (event) => {
    const what = /^[a-z-]+$/.test(event.blockedURI) ? `${event.blockedURI}: URLs` : event.blockedURI || 'it';
    refused = `the host's Content-Security-Policy (${event.effectiveDirective}) refuses ${what}`;
  });
}

// Why a worker with no message of its own failed, as best the page knows.
export const workerRefusal = (): string =>
  refused || "its script could not start, as where the host's Content-Security-Policy forbids blob: workers";
