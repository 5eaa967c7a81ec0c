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
// The last binary drawing that came whole of those the page asked to keep
// (outside the options dialog): { serial (the server's), page, paths }, to be
// written as SVG on demand (after the session ended).
let kept = null;
// What the canvas shows whole, to paint it again at another scale:
// { page, paths, paintOf(ctx, painter, scale) giving the painter of a path }.
let shown = null;

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

const pixels = (page, scale) => [Math.max(1, Math.round(page[0] * scale)), Math.max(1, Math.round(page[1] * scale))];

// Clears a context of the page's size at `scale` for painting in artwork
// coordinates.
function setUp(c, page, scale) {
  const [w, h] = pixels(page, scale);
  if (c.canvas.width !== w) c.canvas.width = w;
  if (c.canvas.height !== h) c.canvas.height = h;
  c.setTransform(1, 0, 0, 1, 0, 0);
  c.globalAlpha = 1;
  c.clearRect(0, 0, w, h);
  // Artwork y points up: the one flip.
  c.setTransform(scale, 0, 0, -scale, 0, page[1] * scale);
  c.miterLimit = 4;
  c.lineCap = 'butt';
  c.lineJoin = 'miter';
}

function begin(page, scale) {
  setUp(ctx, page, scale);
  painter.reset();
}

// How one decoded path is painted on `c` at `scale`.
function binaryPathPainter(c, p2, scale) {
  const tolerance = kTolerancePx / scale;
  return (p) => {
    c.beginPath();
    tracePath(c, p.segs, p.closed, tolerance);
    p2.paint(p);
  };
}
const svgPathPainter = (p2) => (p) => p2.paint(p, new Path2D(p.d));

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

async function paintDrawing(me, { url, headers, page, scale, bytes, keep }) {
  const decoder = new DrawingDecoder();
  me.decoder = decoder;
  const res = await fetch(url, { headers, signal: me.abort.signal });
  if (!res.ok) {
    const data = await res.json().catch(() => ({}));
    throw Object.assign(new Error(data.error || 'status ' + res.status), { superseded: res.status === 409 });
  }
  begin(page, scale);
  const paintOne = binaryPathPainter(ctx, painter, scale);
  const timing = { firstByte: 0 };
  const all = [];
  const reader = res.body.getReader();
  let reported = 0;
  for (;;) {
    const { value, done } = await reader.read();
    if (job !== me) return;
    if (done) { timing.lastByte = now(); break; }
    if (!timing.firstByte) timing.firstByte = now();
    const paths = decoder.push(value);
    for (const p of paths) all.push(p);
    if (!(await paintAll(me, paths, paintOne))) return;
    // The first paths on the page: the frame after they were painted.
    if (!timing.firstPaths && paths.length) {
      timing.firstPaths = -1;
      nextFrame().then(() => { timing.firstPaths = now(); });
    }
    const at = performance.now();
    if (at - reported > 50) {
      reported = at;
      post({ serial: me.serial, progress: Math.min(1, decoder.bytesRead / Math.max(1, bytes)) });
    }
  }
  if (!decoder.complete) throw new Error('the drawing came cut short');
  if (keep) kept = { serial: decoder.header.serial, page: decoder.header.page, paths: all };
  shown = { page, paths: all, paintOf: binaryPathPainter };
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
  if (!(await paintAll(me, paths, svgPathPainter(painter)))) return;
  shown = { page, paths, paintOf: (c, p2) => svgPathPainter(p2) };
  post({ serial: me.serial, done: true, paths: paths.length });
}

// The drawing shown, painted again at `scale` (zoomed in) apart from the
// canvas, which takes it whole at the end.
async function rescale(me, scale, serial) {
  const { page, paths, paintOf } = shown;
  const buffer = new OffscreenCanvas(...pixels(page, scale));
  const c = buffer.getContext('2d');
  setUp(c, page, scale);
  if (!(await paintAll(me, paths, paintOf(c, new StyledPainter(c), scale)))) return;
  canvas.width = buffer.width;
  canvas.height = buffer.height;
  ctx.drawImage(buffer, 0, 0);
  painter.reset();
  post({ rescaled: scale, serial });
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
  if (m.type === 'forget') {
    kept = null;
    return;
  }
  if (m.type === 'rescale') {
    // Only a drawing shown whole; one still coming is asked again when done.
    if (job || !shown) return;
    const me = { serial: null, abort: new AbortController() };
    job = me;
    await rescale(me, m.scale, m.serial);
    if (job === me) job = null;
    return;
  }
  shown = null;
  if (m.canvas) {
    canvas = m.canvas;
    ctx = canvas.getContext('2d');
    painter = new StyledPainter(ctx);
  }
  if (job) {
    // Dropped for a newer one: its stream is cut off where it was.
    job.abort.abort();
    if (job.decoder && !job.decoder.complete) post({ serial: job.serial, abandoned: true, bytesRead: job.decoder.bytesRead });
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
