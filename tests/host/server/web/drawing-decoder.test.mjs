import assert from 'node:assert/strict';
import { test } from 'node:test';

import { DrawingDecoder, colourText } from '../../../../hostapp/server/web/drawing-decoder.mjs';

// Bytes of a drawing as the session process writes them.
function encode(paths, { serial = 7, page = [612, 792], magic = 'SPD1', declared } = {}) {
  const words = [];
  const u32 = (v) => words.push(['u', v]);
  const f32 = (v) => words.push(['f', v]);
  const segments = paths.reduce((n, p) => n + p.segs.length / 6, 0);
  for (const c of magic) words.push(['b', c.charCodeAt(0)]);
  u32(serial); f32(page[0]); f32(page[1]); u32(declared ?? paths.length); u32(segments); u32(0); u32(0);
  for (const p of paths) {
    const dashes = p.dashes || [];
    u32((p.closed ? 1 : 0) | (p.fill ? 2 : 0) | (p.stroke ? 4 : 0) | (dashes.length << 8));
    u32(p.fill || 0); u32(p.stroke || 0); f32(p.width ?? 1); f32(p.opacity ?? 1); f32(p.dashOffset ?? 0);
    for (const d of dashes) f32(d);
    u32(p.segs.length / 6);
    for (const v of p.segs) f32(v);
  }
  const size = words.filter(([k]) => k !== 'b').length * 4 + 4;
  const out = new DataView(new ArrayBuffer(size));
  let at = 0;
  for (const [k, v] of words) {
    if (k === 'b') out.setUint8(at++, v);
    else if (k === 'u') { out.setUint32(at, v, true); at += 4; }
    else { out.setFloat32(at, v, true); at += 4; }
  }
  return new Uint8Array(out.buffer);
}

const spiral = {
  closed: false, stroke: 0xff0000ff, width: 0.5, opacity: 1, dashes: [3, 1.5], dashOffset: 2,
  segs: [0, 0, 10, 10, 20, 20, 1.5, 2.25, 30.125, 40, 50, 60],
};
const square = { closed: true, fill: 0xff336699, opacity: 0.25, segs: [1, 1, 1, 1, 1, 1, 9, 1, 9, 1, 9, 1] };

test('a drawing cut anywhere reads as the same paths in paint order', () => {
  const bytes = encode([spiral, square]);
  for (let cut = 0; cut <= bytes.length; cut++) {
    const decoder = new DrawingDecoder();
    const paths = [...decoder.push(bytes.subarray(0, cut)), ...decoder.push(bytes.subarray(cut))];
    assert.equal(paths.length, 2, `cut at ${cut}`);
    assert.ok(decoder.complete);
    assert.deepEqual(decoder.header, { serial: 7, page: [612, 792], paths: 2, segments: 4, bytes: 0 });
    const [a, b] = paths;
    assert.deepEqual([a.closed, a.fill, a.stroke, a.width, a.dashes, a.dashOffset], [false, null, '#ff0000', 0.5, [3, 1.5], 2]);
    assert.deepEqual(Array.from(a.segs), spiral.segs);
    assert.deepEqual([b.closed, b.fill, b.stroke, b.opacity], [true, '#996633', null, 0.25]);
    assert.deepEqual(Array.from(b.segs), square.segs);
  }
});

test('bytes one at a time give each path once it is whole', () => {
  const bytes = encode([spiral, square]);
  const decoder = new DrawingDecoder();
  const whenWhole = [];
  for (let k = 0; k < bytes.length; k++) {
    if (decoder.push(bytes.subarray(k, k + 1)).length) whenWhole.push(k + 1);
  }
  assert.equal(whenWhole.length, 2);
  assert.equal(whenWhole[1], bytes.length);
  assert.ok(whenWhole[0] < bytes.length && whenWhole[0] > 32);
  assert.equal(decoder.bytesRead, bytes.length);
  assert.equal(decoder.segmentsRead, 4);
});

test('coordinates keep their float32 values', () => {
  const odd = { stroke: 0xff000000, segs: [0.1, 1e-7, 123456.789, -3.3, 1 / 3, 2 / 3] };
  const [p] = new DrawingDecoder().push(encode([odd]));
  assert.deepEqual(Array.from(p.segs), Array.from(new Float32Array(odd.segs)));
});

test('a drawing cut short is not complete; a foreign or overlong one is refused', () => {
  const bytes = encode([spiral, square]);
  const short = new DrawingDecoder();
  assert.equal(short.push(bytes.subarray(0, bytes.length - 3)).length, 1);
  assert.equal(short.complete, false);
  assert.throws(() => new DrawingDecoder().push(encode([spiral], { magic: 'SVG<' })), /not a drawing/);
  assert.throws(() => new DrawingDecoder().push(encode([spiral, square], { declared: 1 })), /more paths/);
  assert.equal(new DrawingDecoder().push(encode([], {})).length, 0);
});

test('colours are CSS hex, red in the low byte, no paint for 0', () => {
  assert.equal(colourText(0), null);
  assert.equal(colourText(0xff0a0b0c), '#0c0b0a');
  assert.equal(colourText(0xffffffff), '#ffffff');
});
