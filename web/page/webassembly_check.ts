// Whether this browser can run the game: WebAssembly with its SIMD and bulk
// memory, tried on the smallest modules that use them.
const simd = [0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11];
const bulkMemory = [0, 97, 115, 109, 1, 0, 0, 0, 1, 4, 1, 96, 0, 0, 3, 2, 1, 0, 5, 3, 1, 0, 1, 10, 14, 1, 12, 0,
                    65, 0, 65, 0, 65, 0, 252, 10, 0, 0, 11];

export function canRunWebAssembly(): boolean {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.validate !== 'function') return false;
  try {
    return WebAssembly.validate(new Uint8Array(simd)) && WebAssembly.validate(new Uint8Array(bulkMemory));
  } catch (error) {
    return false;
  }
}

// Whether the host forbids compiling WebAssembly (a Content-Security-Policy
// without 'wasm-unsafe-eval'), which validating a module does not show.
export function webAssemblyForbidden(): boolean {
  try {
    new WebAssembly.Module(new Uint8Array(simd));
    return false;
  } catch (error) {
    return !(error instanceof WebAssembly.CompileError) || /Content.Security.Policy|CSP/i.test((error as Error).message);
  }
}
