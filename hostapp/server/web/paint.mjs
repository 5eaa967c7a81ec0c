// Paints large drawings apart from the page, onto the page's canvas handed
// over to this worker. A drawing in its binary form is fetched here and
// painted path by path as its pieces arrive, a few milliseconds at a time, so
// the canvas shows it growing; a drawing still coming or being painted is
// dropped as soon as a newer one (or a cancel) arrives. An SVG text (the
// writer's paths, under one y flip; symbols in <defs> are not placed) is
// painted the same way.
import { DrawingDecoder } from './drawing-decoder.mjs';
import { svgParts } from './drawing-svg.mjs';
import { StyledPainter, tracePath } from './drawing-trace.mjs';

let canvas = null;
let ctx = null;
let painter = null;
let job = null;  // the drawing being painted: { serial, abort }
// The last binary drawing that came whole: { serial (the server's), page,
// paths }, kept to be written as SVG on demand (after the session ended).
let kept = null;

// Pieces of a path that stay within this many device pixels of the pen are
// left out (drawing-trace.mjs): a difference below a pixel.
const kTolerancePx = 0.25;

// A moment comparable with the page's clock.
const now = () => performance.timeOrigin + performance.now();
// After the next frame: what was painted is on the page.
const nextFrame = () => new Promise((resolve) =>
  (typeof requestAnimationFrame === 'function' ? requestAnimationFrame(() => resolve()) : setTimeout(resolve, 0)));

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
  painter.reset();
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
  me.decoder = decoder;
  const res = await fetch(url, { headers, signal: me.abort.signal });
  if (!res.ok) {
    const data = await res.json().catch(() => ({}));
    throw Object.assign(new Error(data.error || 'status ' + res.status), { superseded: res.status === 409 });
  }
  begin(page, scale);
  const tolerance = kTolerancePx / scale;
  const timing = { firstByte: 0 };
  const all = [];
  const reader = res.body.getReader();
  let reported = 0;
  for (;;) {
    const { value, done } = await reader.read();
    if (job !== me) return;
    if (done) break;
    if (!timing.firstByte) timing.firstByte = now();
    const paths = decoder.push(value);
    for (const p of paths) all.push(p);
    const paintOne = (p) => {
      ctx.beginPath();
      tracePath(ctx, p.segs, p.closed, tolerance);
      painter.paint(p);
    };
    if (!(await paintAll(me, paths, paintOne))) return;
    const at = performance.now();
    if (at - reported > 50) {
      reported = at;
      post({ serial: me.serial, progress: Math.min(1, decoder.bytesRead / Math.max(1, bytes)) });
    }
  }
  if (!decoder.complete) throw new Error('the drawing came cut short');
  kept = { serial: decoder.header.serial, page: decoder.header.page, paths: all };
  await nextFrame();
  if (job !== me) return;
  timing.painted = now();
  post({ serial: me.serial, done: true, paths: decoder.pathsRead, segments: decoder.segmentsRead, timing });
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
  if (!(await paintAll(me, paths, (p) => painter.paint(p, new Path2D(p.d))))) return;
  post({ serial: me.serial, done: true, paths: paths.length });
}

// The kept drawing as an SVG file, if it is the one asked for.
function writeSvg({ id, serial, layers, metadata }) {
  if (!kept || kept.serial !== serial) {
    post({ wrote: id, failed: 'the drawing did not come whole' });
    return;
  }
  post({ wrote: id, blob: new Blob(svgParts(kept, layers, metadata), { type: 'image/svg+xml' }) });
}

self.onmessage = async (event) => {
  const m = event.data;
  if (m.type === 'write-svg') {
    writeSvg(m);
    return;
  }
  // A drawing in another form replaces the kept one.
  if (m.type === 'cancel' || m.type === 'svg') kept = null;
  if (m.canvas) {
    canvas = m.canvas;
    ctx = canvas.getContext('2d');
    painter = new StyledPainter(ctx);
  }
  if (job) {
    // Dropped for a newer one: its stream is cut off where it was.
    job.abort.abort();
    if (job.decoder) post({ serial: job.serial, abandoned: true, bytesRead: job.decoder.bytesRead });
  }
  job = null;
  if (m.type !== 'drawing' && m.type !== 'svg') return;
  const me = { serial: m.serial, abort: new AbortController() };
  job = me;
  try {
    await (m.type === 'drawing' ? paintDrawing(me, m) : paintSvg(me, m));
  } catch (err) {
    if (job === me) {
      post({ serial: me.serial, failed: String(err.message || err), superseded: !!err.superseded,
        bytesRead: me.decoder ? me.decoder.bytesRead : 0 });
    }
  }
  if (job === me) job = null;
};
