// The test hook, window.trotixTest, made only under ?clock=scripted or
// ?test: the page's one global. It moves the scripted clock, reads the
// game's state, and reaches what the browser tests and the benchmark drive:
// the game's exports, the page's imports, the lab, the page's lines.
import type { GameExports, PageFacts, PageImports } from './game_module';
import type { Lab } from './lab_panel';
import { laidOutRatio } from './layout';
import type { RaceTimer } from './race_time';
import type { TicketsPanel } from './tickets_panel';

export interface TestHookParts {
  game: GameExports;
  facts: PageFacts;
  page: PageImports;
  timer: RaceTimer;
  lab: Lab;
  tickets: TicketsPanel;
  say(text: string): void;
  showNotice(text: string, name: string): void;
}

export function installTestHook(parts: TestHookParts): void {
  const { game, timer } = parts;
  const state = (): { phase: number; ticks: number; runEnabled: boolean; timerOn: boolean } => ({
    phase: game._trotix_phase(), ticks: game._trotix_ticks(), runEnabled: game._trotix_run_enabled() !== 0, timerOn: timer.on,
  });
  const hook = {
    ...parts,
    state,
    // Scripted clock: time moves on by `ms`, and a tick that falls due runs.
    advance(ms: number) {
      timer.advance(ms);
      return state();
    },
    layoutRatio: laidOutRatio,
  };
  (window as unknown as { trotixTest: typeof hook }).trotixTest = hook;
}
