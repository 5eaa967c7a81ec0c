import assert from 'node:assert/strict';
import { test } from 'node:test';

import { escapeText, fixed3, svgParts } from '../../../../hostapp/server/web/drawing-svg.mjs';

const f = Math.fround;

test('numbers: three decimals of the float32, trailing zeros dropped, ties to even', () => {
  const cases = [
    [0, '0'], [100, '100'], [f(2.5), '2.5'], [f(1.25), '1.25'], [f(-45), '-45'],
    [f(0.1), '0.1'], [f(33.3), '33.3'], [f(206.679), '206.679'], [f(-0.0001), '0'],
    // Exact ties in thousandths: to the even one, either sign.
    [0.0625, '0.062'], [0.1875, '0.188'], [-0.0625, '-0.062'], [-0.1875, '-0.188'], [1.0625, '1.062'],
    // Not a tie once the float32 is exact: 0.0005 is a little over.
    [f(0.0005), '0.001'], [f(-0.0005), '-0.001'],
    [f(1e-7), '0'], [f(123456.789), '123456.789'], [NaN, '0'], [Infinity, '0'],
    [f(1e20), '1e+20'], [f(-3.5e15), '-3.5e+15'],
  ];
  for (const [value, text] of cases) assert.equal(fixed3(value), text, String(value));
});

test('text is escaped as the writer escapes it, quotes only in attributes', () => {
  assert.equal(escapeText('a<b>&"c"'), 'a&lt;b&gt;&amp;&quot;c&quot;');
  assert.equal(escapeText('{"k":"<v>"}', false), '{"k":"&lt;v&gt;"}');
});

test('the file: header, metadata, layers with their paths numbered in order, styles', () => {
  const segs = (...xs) => new Float32Array(xs);
  const drawing = {
    page: [612, 792],
    paths: [
      { closed: false, fill: '#ffffff', stroke: '#000000', width: 1, opacity: 1, dashes: [], dashOffset: 0,
        segs: segs(0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10) },
      { closed: true, fill: null, stroke: '#ff0000', width: f(0.3), opacity: f(0.5), dashes: [2, f(1.5)], dashOffset: 1,
        segs: segs(1, 1, 1, 1, 1, 1) },
      { closed: false, fill: '#00ff00', stroke: null, width: 4, opacity: 1, dashes: [3], dashOffset: 2,
        segs: segs(0, 0, 0, 0, 0, 0) },
    ],
  };
  const text = svgParts(drawing, [['Layer 1', 2], ['Top "one"', 1]], '{"record":{"armCount":7}}').join('');
  assert.equal(text, [
    '<?xml version="1.0" encoding="UTF-8"?>',
    '<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="612pt" height="792pt" viewBox="0 0 612 792">',
    '  <metadata id="spiral-drawing">{"record":{"armCount":7}}</metadata>',
    '  <g transform="matrix(1 0 0 -1 0 792)">',
    '    <g id="layer-1" data-name="Layer 1">',
    '      <path id="art-1" d="M 1 2 C 3 4 5 6 7 8" fill="#ffffff" stroke="#000000" stroke-width="1"/>',
    '      <path id="art-2" d="M 1 1 C 1 1 1 1 1 1 Z" fill="none" stroke="#ff0000" stroke-width="0.3"' +
      ' stroke-dasharray="2 1.5" stroke-dashoffset="1" opacity="0.5"/>',
    '    </g>',
    '    <g id="layer-2" data-name="Top &quot;one&quot;">',
    // Dashes belong to a stroke: an unstroked path has none.
    '      <path id="art-3" d="M 0 0" fill="#00ff00" stroke="none"/>',
    '    </g>',
    '  </g>',
    '</svg>',
    '',
  ].join('\n'));
  // Without metadata (a preview) there is no metadata element.
  assert.doesNotMatch(svgParts(drawing, [['Layer 1', 3]], '').join(''), /metadata/);
});
