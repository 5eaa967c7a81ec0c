import assert from 'node:assert/strict';
import { test } from 'node:test';

import { StyledPainter, tracePath } from '../../../../hostapp/server/web/drawing-trace.mjs';

// A context that records the pen's moves.
function recorder() {
  const calls = [];
  return {
    calls,
    moveTo: (...a) => calls.push(['M', ...a]),
    bezierCurveTo: (...a) => calls.push(['C', ...a]),
    closePath: () => calls.push(['Z']),
  };
}

// Segments of a path through `anchors`, each handle a third of the way to
// its neighbour (straight pieces).
function through(anchors) {
  const segs = [];
  anchors.forEach(([x, y], i) => {
    const [px, py] = anchors[Math.max(0, i - 1)];
    const [nx, ny] = anchors[Math.min(anchors.length - 1, i + 1)];
    segs.push(x + (px - x) / 3, y + (py - y) / 3, x, y, x + (nx - x) / 3, y + (ny - y) / 3);
  });
  return new Float32Array(segs);
}

test('tolerance 0 traces every piece of open and closed paths, from the first anchor', () => {
  const segs = through([[0, 0], [10, 0], [10, 0], [10, 10]]);
  const open = recorder();
  assert.equal(tracePath(open, segs, false), 3);
  assert.deepEqual(open.calls[0], ['M', 0, 0]);
  assert.equal(open.calls.filter((c) => c[0] === 'C').length, 3);
  assert.deepEqual(open.calls.at(-1).slice(5), [10, 10]);
  const closed = recorder();
  assert.equal(tracePath(closed, segs, true), 4);
  // The closing piece runs from the last anchor's out handle back to the first anchor.
  const closing = closed.calls.at(-2);
  assert.deepEqual(closing, ['C', segs[22], segs[23], segs[0], segs[1], 0, 0]);
  assert.deepEqual(closed.calls.at(-1), ['Z']);
  assert.equal(tracePath(recorder(), new Float32Array(0), false), 0);
});

test('pieces within the tolerance of the pen are left out and the pen never drifts further', () => {
  // A spiral's end: many pieces that shrink to nothing at its centre.
  const anchors = [[0, 0], [100, 0], [100, 100]];
  for (let i = 0; i < 200; i++) anchors.push([50 + 0.001 * i, 50]);
  anchors.push([50, 50], [50, 50], [0, 100]);
  const segs = through(anchors);
  const exact = recorder();
  const all = tracePath(exact, segs, false);
  const thin = recorder();
  const tolerance = 0.25;
  const kept = tracePath(thin, segs, false, tolerance);
  assert.ok(kept < all / 10, `${kept} of ${all}`);
  // Every traced piece ends on an anchor of the path, and every anchor is
  // within the tolerance of some traced end (or the start).
  const ends = [[0, 0], ...thin.calls.filter((c) => c[0] === 'C').map((c) => [c[5], c[6]])];
  for (const [x, y] of anchors) {
    const f = [Math.fround(x), Math.fround(y)];
    assert.ok(ends.some(([ex, ey]) => Math.abs(ex - f[0]) <= tolerance && Math.abs(ey - f[1]) <= tolerance),
      `anchor ${x},${y} is drawn`);
  }
  // The last, long piece still reaches the path's end exactly.
  assert.deepEqual(ends.at(-1), [0, 100]);
});

test('a slow curve made of tiny pieces keeps its shape within the tolerance', () => {
  // 400 pieces of 0.1 along a line: each alone is within a quarter, together 40 long.
  const anchors = Array.from({ length: 401 }, (_, i) => [0.1 * i, 0.05 * i]);
  const segs = through(anchors);
  const thin = recorder();
  const kept = tracePath(thin, segs, false, 0.25);
  assert.ok(kept > 50 && kept < 200, `${kept} pieces`);
  let prev = [0, 0];
  for (const c of thin.calls.filter((c) => c[0] === 'C')) {
    assert.ok(Math.abs(c[5] - prev[0]) <= 0.5 && Math.abs(c[6] - prev[1]) <= 0.5, 'no piece skips a stretch');
    prev = [c[5], c[6]];
  }
  // It ends within the tolerance of the true end.
  assert.ok(Math.abs(prev[0] - 40) <= 0.25 && Math.abs(prev[1] - 20) <= 0.25, String(prev));
});

test('the painter sets paint state only when the style changes', () => {
  const sets = [];
  const ctx = new Proxy({ fill: () => sets.push('fill()'), stroke: () => sets.push('stroke()'),
    setLineDash: (d) => sets.push('dash ' + d.join(',')) }, {
    set(target, key, value) { sets.push(key + ' ' + value); target[key] = value; return true; },
  });
  const painter = new StyledPainter(ctx);
  const style = { opacity: 1, fill: '#ffffff', stroke: '#000000', width: 1, dashes: [], dashOffset: 0 };
  painter.paint(style);
  painter.paint({ ...style });
  assert.deepEqual(sets, ['globalAlpha 1', 'fillStyle #ffffff', 'fill()', 'strokeStyle #000000', 'lineWidth 1',
    'dash ', 'lineDashOffset 0', 'stroke()', 'fill()', 'stroke()']);
  sets.length = 0;
  painter.paint({ ...style, fill: null, width: 2, dashes: [3, 1] });
  assert.deepEqual(sets, ['lineWidth 2', 'dash 3,1', 'stroke()']);
  sets.length = 0;
  painter.reset();
  painter.paint({ ...style, stroke: null, opacity: 0.5 });
  assert.deepEqual(sets, ['globalAlpha 0.5', 'fillStyle #ffffff', 'fill()']);
});
