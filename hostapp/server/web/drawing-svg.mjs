// Writes a drawing the page holds in its binary form (drawing-decoder.mjs)
// as an SVG file, as the host's SVG writer writes it: its numbers, its
// elements, its metadata (the record that re-makes the drawing). The binary
// form has each path's geometry and style; the layers (name, number of
// paths) come with the answer. An envelope's art comes flattened, as curves
// rather than the writer's straight pieces.

// A float32 with three decimals at most, trailing zeros dropped, ties to
// even: a float32 times 1000 is exact in a double, so rounding it is exact.
export function fixed3(value) {
  if (!Number.isFinite(value)) value = 0;
  if (Math.abs(value) >= 1e15) return shortestFloat(value);
  const t = value * 1000;
  let r = Math.round(t);
  if (r - t === 0.5 && r % 2 !== 0) r -= 1;  // Math.round takes ties up
  const negative = r < 0;
  const magnitude = Math.abs(r);
  let text = (negative ? '-' : '') + Math.floor(magnitude / 1000);
  let fraction = magnitude % 1000;
  if (fraction !== 0) {
    text += '.' + String(fraction).padStart(3, '0').replace(/0+$/, '');
  }
  return text;
}

// The shortest text that reads back as the same float32, in exponent form
// (as the writer gives numbers beyond 1e15).
function shortestFloat(value) {
  for (let digits = 1; digits <= 9; digits++) {
    const text = value.toExponential(digits - 1);
    if (Math.fround(Number(text)) === value) return text;
  }
  return String(value);
}

export function escapeText(text, quotes = true) {
  return text.replace(/[&<>"]/g, (c) => (c === '"' && !quotes ? c : { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' }[c]));
}

function pathData(segs, closed) {
  const n = segs.length / 6;
  const parts = ['M ', fixed3(segs[2]), ' ', fixed3(segs[3])];
  const curve = (a, b) => {
    parts.push(' C ', fixed3(segs[a + 4]), ' ', fixed3(segs[a + 5]), ' ', fixed3(segs[b]), ' ', fixed3(segs[b + 1]),
      ' ', fixed3(segs[b + 2]), ' ', fixed3(segs[b + 3]));
  };
  for (let i = 1; i < n; i++) curve((i - 1) * 6, i * 6);
  if (closed) {
    curve((n - 1) * 6, 0);
    parts.push(' Z');
  }
  return parts.join('');
}

function styleAttributes(p) {
  let text = ' fill="' + (p.fill || 'none') + '" stroke="' + (p.stroke || 'none') + '"';
  if (p.stroke) {
    text += ' stroke-width="' + fixed3(p.width) + '"';
    if (p.dashes.length) {
      text += ' stroke-dasharray="' + p.dashes.map(fixed3).join(' ') + '"';
      if (p.dashOffset !== 0) text += ' stroke-dashoffset="' + fixed3(p.dashOffset) + '"';
    }
  }
  if (p.opacity < 1) text += ' opacity="' + fixed3(Math.min(1, Math.max(0, p.opacity))) + '"';
  return text;
}

// The SVG file as a list of strings (one a path: a big drawing makes more
// text than one string may hold). `drawing`: { page: [w, h], paths }; `layers`:
// [name, number of paths] bottom first; `metadata`: the record's text.
export function svgParts(drawing, layers, metadata) {
  const [w, h] = drawing.page.map(fixed3);
  const parts = [
    '<?xml version="1.0" encoding="UTF-8"?>\n',
    `<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="${w}pt" height="${h}pt" viewBox="0 0 ${w} ${h}">\n`,
  ];
  if (metadata) parts.push('  <metadata id="spiral-drawing">' + escapeText(metadata, false) + '</metadata>\n');
  parts.push(`  <g transform="matrix(1 0 0 -1 0 ${h})">\n`);
  let next = 0;
  layers.forEach(([name, count], k) => {
    parts.push(`    <g id="layer-${k + 1}" data-name="${escapeText(name)}">\n`);
    for (const end = Math.min(drawing.paths.length, next + count); next < end; next++) {
      const p = drawing.paths[next];
      if (p.segs.length === 0) continue;
      parts.push(`      <path id="art-${next + 1}" d="${pathData(p.segs, p.closed)}"${styleAttributes(p)}/>\n`);
    }
    parts.push('    </g>\n');
  });
  parts.push('  </g>\n</svg>\n');
  return parts;
}
