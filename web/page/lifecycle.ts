// A page the browser froze (a hidden tab, to save power) or discarded (to
// save memory) says so when it comes back: a frozen race stood still, and
// a discarded one is gone, the page having started afresh.
export function watchLifecycle(say: (text: string) => void, racing: () => boolean): void {
  if ((document as Document & { wasDiscarded?: boolean }).wasDiscarded) {
    say('The browser closed this page in the background to save memory; it has started afresh.');
  }
  let frozenAt: number | null = null;
  let frozenRacing = false;
  document.addEventListener('freeze', () => {
    frozenAt = performance.now();
    frozenRacing = racing();
  });
  document.addEventListener('resume', () => {
    const seconds = frozenAt === null ? 0 : Math.round((performance.now() - frozenAt) / 1000);
    say(`The browser paused this page in the background for ${seconds} s` +
        (frozenRacing ? '; the race stood still meanwhile.' : '.'));
    frozenAt = null;
  });
}
