// Paints large drawings apart from the page, onto the page's canvas handed
// over to this worker. A drawing in its binary form is fetched here and
// painted path by path as its pieces arrive, a few milliseconds at a time, so
// the canvas shows it growing; a drawing still coming or being painted is
// dropped as soon as a newer one (or a cancel) arrives. An SVG text (the
// writer's paths, under one y flip; symbols in <defs> are not placed) is
// painted the same way.
import { DrawingDecoder } from './drawing-decoder.mjs';

let canvas = null;
let ctx = null;
let job = null;  // the drawing being painted: { serial, abort }

// Work done before the worker lets the canvas show it.
const kSliceMs = 8;

function post(message) {
  self.postMessage(message);
}

function begin(page, scale) {
  const w = Math.max(1, Math.round(page[0] * scale));
  const h = Math.max(1, Math.round(page[1] * scale));
  if (canvas.width !== w) canvas.width = w;
  if (canvas.height !== h) canvas.height = h;
  ctx.setTransform(1, 0, 0, 1, 0, 0);
  ctx.globalAlpha = 1;
  ctx.clearRect(0, 0, w, h);
  // Artwork y points up: the one flip.
  ctx.setTransform(scale, 0, 0, -scale, 0, page[1] * scale);
  ctx.miterLimit = 4;
  ctx.lineCap = 'butt';
  ctx.lineJoin = 'miter';
}

function strokeAndFill(target, p) {
  ctx.globalAlpha = p.opacity;
  if (p.fill) {
    ctx.fillStyle = p.fill;
    target ? ctx.fill(target) : ctx.fill();
  }
  if (p.stroke && p.width > 0) {
    ctx.strokeStyle = p.stroke;
    ctx.lineWidth = p.width;
    ctx.setLineDash([]);
    if (p.dashes.length) ctx.setLineDash(p.dashes);
    ctx.lineDashOffset = p.dashOffset;
    target ? ctx.stroke(target) : ctx.stroke();
  }
}

export function tracePath(c, segs, closed) {
  const n = segs.length / 6;
  c.beginPath();
  c.moveTo(segs[2], segs[3]);
  for (let i = 1; i < n; i++) {
    const a = (i - 1) * 6, b = i * 6;
    c.bezierCurveTo(segs[a + 4], segs[a + 5], segs[b], segs[b + 1], segs[b + 2], segs[b + 3]);
  }
  if (closed) {
    const a = (n - 1) * 6;
    c.bezierCurveTo(segs[a + 4], segs[a + 5], segs[0], segs[1], segs[2], segs[3]);
    c.closePath();
  }
}

const pause = () => new Promise((resolve) => setTimeout(resolve, 0));

// Paints `paths` (calling paintOne on each) in slices; false once superseded.
async function paintAll(me, paths, paintOne) {
  let start = performance.now();
  for (const p of paths) {
    paintOne(p);
    if (performance.now() - start > kSliceMs) {
      await pause();
      if (job !== me) return false;
      start = performance.now();
    }
  }
  return true;
}

async function paintDrawing(me, { url, headers, page, scale, bytes }) {
  const decoder = new DrawingDecoder();
  const res = await fetch(url, { headers, signal: me.abort.signal });
  if (!res.ok) {
    const data = await res.json().catch(() => ({}));
    throw Object.assign(new Error(data.error || 'status ' + res.status), { superseded: res.status === 409 });
  }
  begin(page, scale);
  const reader = res.body.getReader();
  let reported = 0;
  for (;;) {
    const { value, done } = await reader.read();
    if (job !== me) return;
    if (done) break;
    const paths = decoder.push(value);
    if (!(await paintAll(me, paths, (p) => { tracePath(ctx, p.segs, p.closed); strokeAndFill(null, p); }))) return;
    const now = performance.now();
    if (now - reported > 50) {
      reported = now;
      post({ serial: me.serial, progress: Math.min(1, decoder.bytesRead / Math.max(1, bytes)) });
    }
  }
  if (!decoder.complete) throw new Error('the drawing came cut short');
  post({ serial: me.serial, done: true, paths: decoder.pathsRead, segments: decoder.segmentsRead });
}

function attribute(attrs, name) {
  const m = new RegExp('\\s' + name + '="([^"]*)"').exec(attrs);
  return m ? m[1] : null;
}

async function paintSvg(me, { svg, page, scale }) {
  begin(page, scale);
  const body = svg.replace(/<defs>[\s\S]*?<\/defs>/, '');
  const paths = [];
  for (const m of body.matchAll(/<path\b([^>]*)\/>/g)) {
    const attrs = m[1];
    const d = attribute(attrs, 'd');
    if (!d) continue;
    const fill = attribute(attrs, 'fill');
    const stroke = attribute(attrs, 'stroke');
    const dashes = attribute(attrs, 'stroke-dasharray');
    paths.push({
      d,
      fill: fill && fill !== 'none' ? fill : null,
      stroke: stroke && stroke !== 'none' ? stroke : null,
      width: Number(attribute(attrs, 'stroke-width') ?? 1),
      opacity: Number(attribute(attrs, 'opacity') ?? 1),
      dashes: dashes ? dashes.split(/[ ,]+/).map(Number) : [],
      dashOffset: Number(attribute(attrs, 'stroke-dashoffset') ?? 0),
    });
  }
  if (!(await paintAll(me, paths, (p) => strokeAndFill(new Path2D(p.d), p)))) return;
  post({ serial: me.serial, done: true, paths: paths.length });
}

self.onmessage = async (event) => {
  const m = event.data;
  if (m.canvas) {
    canvas = m.canvas;
    ctx = canvas.getContext('2d');
  }
  if (job) job.abort.abort();
  job = null;
  if (m.type !== 'drawing' && m.type !== 'svg') return;
  const me = { serial: m.serial, abort: new AbortController() };
  job = me;
  try {
    await (m.type === 'drawing' ? paintDrawing(me, m) : paintSvg(me, m));
  } catch (err) {
    if (job === me) post({ serial: me.serial, failed: String(err.message || err), superseded: !!err.superseded });
  }
  if (job === me) job = null;
};
