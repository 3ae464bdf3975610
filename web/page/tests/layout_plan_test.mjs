// The window's place on whole device pixels, at phone and desktop sizes
// and ratios, with the panel below it or beside it.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { gap, labPlace, plan } from '../layout_plan';

const whole = (css, ratio) => Math.abs(css * ratio - Math.round(css * ratio)) < 1e-9;
const sizes = [[360, 640, 1], [360, 640, 3], [390, 844, 3], [844, 390, 2], [768, 1024, 2], [700, 500, 1], [480, 400, 1],
               [700, 500, 2], [1920, 1080, 1], [1366, 768, 1.5], [412, 915, 2.625], [100, 80, 1.25]];

for (const [width, height, ratio] of sizes) {
  test(`at ${width} x ${height}, ratio ${ratio}`, () => {
    const page = { width, height, ratio, windowWidth: 187, windowHeight: 150, panelBelow: 120, panelShown: true };
    const at = plan(page);
    assert.ok(Number.isInteger(at.scale) && at.scale >= 1, `scale ${at.scale}`);
    assert.ok(whole(at.left, ratio) && whole(at.top, ratio), `corner ${at.left}, ${at.top}`);
    assert.equal(at.width * ratio, 187 * at.scale);
    // The panel never over the window.
    if (at.beside) assert.ok(at.panelLeft >= at.left + at.width);
    else assert.ok(at.panelTop >= at.top + at.height);
    // No larger whole scale would fit beside or below.
    const fits = (scale) => 187 * scale / ratio <= width && 150 * scale / ratio + page.panelBelow <= height ||
                            187 * scale / ratio + 200 + gap <= width && 150 * scale / ratio <= height;
    if (at.scale > 1) assert.ok(fits(at.scale));
    assert.ok(!fits(at.scale + 1));
  });
}

test('the lab stands under both, within the page', () => {
  assert.deepEqual(labPlace(360, 300.2), { left: 8, width: 344, top: 309 });
  assert.deepEqual(labPlace(1920, 500), { left: 580, width: 760, top: 508 });
});
