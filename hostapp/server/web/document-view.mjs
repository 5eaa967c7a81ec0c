// The document: the host's drawing on a page that zooms and pans. Clicks go
// to a pick waiting for a document point, otherwise they pan.
import { cssTransform, fitPage, pagePointAt, zoomAbout } from './view-math.mjs';

// A drawing over 1 MiB of SVG would be rasterised in one piece on the page's
// main thread and freeze it; a worker paints it instead (paint.mjs). Larger
// drawings come as their serial only: the worker fetches their binary form
// and paints it as it arrives, onto the page's canvas handed over to it.
const kBigDrawing = 1 << 20;

// els: view, canvas, drawing, bigDrawing, progress, coords, zoomIn, zoomOut,
// zoomReset, zoomFit. `counters` gets the drawn count, the last SVG shown
// (null for a binary drawing), the last binary drawing's size and timing, and
// the binary drawings dropped for newer ones before they came whole.
// `drawingSource(serial)` gives the URL and headers of a binary drawing.
export function createDocumentView({ doc, win, els, counters, drawingSource }) {
  const view = { zoom: 1, x: 0, y: 0, fitted: false };
  let page = null;
  let drawSerial = 0;
  let painter = null;
  let picker = null;
  const writes = new Map();  // SVG files asked of the worker, by number
  let writeCount = 0;

  // Device pixels of the big drawing's canvas per point: the page's CSS
  // pixels times the display's ratio, more when zoomed in.
  const wantedScale = () =>
    Math.min((win.devicePixelRatio || 1) * Math.max(1, view.zoom), 8192 / Math.max(page[0], page[1]));
  let paintedScale = 0;
  let rescaleTimer = 0;
  // Zoomed in past what the canvas holds: the worker paints it again, once
  // the zooming pauses.
  function sharpen() {
    if (!painter || els.bigDrawing.hidden || wantedScale() <= paintedScale * 1.05) return;
    win.clearTimeout(rescaleTimer);
    rescaleTimer = win.setTimeout(() => {
      painter.worker.postMessage({ type: 'rescale', scale: wantedScale(), serial: drawSerial });
    }, 150);
  }

  function apply() {
    if (!page) return;
    sharpen();
    els.canvas.style.width = page[0] + 'px';
    els.canvas.style.height = page[1] + 'px';
    els.canvas.style.transform = cssTransform(view);
    els.zoomReset.textContent = Math.round(view.zoom * 100) + '%';
  }

  function set(next) {
    Object.assign(view, next);
    apply();
  }

  // Fits the page into the view, or into its left `width` pixels.
  function fit(width) {
    if (!page) return;
    const box = els.view.getBoundingClientRect();
    set(fitPage(page, typeof width === 'number' ? width : box.width, box.height));
  }

  const zoomAt = (factor, cx, cy) => set(zoomAbout(view, factor, cx, cy));

  // The document point under a mouse position.
  const pointAt = (clientX, clientY) => pagePointAt(els.canvas.getBoundingClientRect(), page, clientX, clientY);

  function drawn(svg, serial) {
    counters.svg = svg;
    counters.drawn++;
    win.dispatchEvent(new win.CustomEvent('spiral-drawn', { detail: { serial } }));
  }

  function progress(text) {
    els.progress.textContent = text || '';
    els.progress.hidden = !text;
  }

  // Shows an answer's drawing: its SVG, parsed and put in place at once, so
  // the change is on screen in the next frame (the SVG is the host's own
  // writer's, and a parsed document's scripts never run), or its binary form
  // ("drawing"). A newer drawing supersedes one still being painted.
  function show(data) {
    if (data.drawing && typeof data.drawing.serial === 'number') {
      const serial = ++drawSerial;
      paint({ type: 'drawing', ...drawingSource(data.drawing.serial), bytes: data.drawing.bytes,
        keep: !!data.drawing.saveAs }, serial, null);
      return;
    }
    const svg = data.svg;
    if (typeof svg !== 'string') return;
    const serial = ++drawSerial;
    if (svg.length > kBigDrawing) {
      paint({ type: 'svg', svg }, serial, svg);
      return;
    }
    const parsed = new win.DOMParser().parseFromString(svg, 'image/svg+xml').documentElement;
    if (parsed.namespaceURI !== 'http://www.w3.org/2000/svg' || parsed.localName !== 'svg') return;
    if (painter) painter.worker.postMessage({ type: 'cancel' });
    progress('');
    els.drawing.replaceChildren(doc.importNode(parsed, true));
    els.drawing.hidden = false;
    els.bigDrawing.hidden = true;
    win.requestAnimationFrame(() => {
      if (serial === drawSerial) drawn(svg, serial);
    });
  }

  function paint(job, serial, svg) {
    if (!painter) {
      painter = { worker: new win.Worker('paint.mjs', { type: 'module' }), svg: null };
      const canvas = els.bigDrawing.transferControlToOffscreen();
      painter.worker.postMessage({ canvas }, [canvas]);
      painter.worker.onmessage = (e) => {
        const m = e.data;
        if ('wrote' in m) {
          const asked = writes.get(m.wrote);
          writes.delete(m.wrote);
          if (asked) m.blob ? asked.resolve(m.blob) : asked.reject(new Error(m.failed));
          return;
        }
        // A stream that ended before the drawing was whole: dropped by the
        // worker, or cut short by the server, for a newer one (or failed).
        if (m.abandoned || (m.failed && 'bytesRead' in m)) {
          counters.abandoned.push({ serial: m.serial, bytesRead: m.bytesRead });
        }
        if ('rescaled' in m) {
          if (m.serial !== drawSerial) return;
          counters.bigScale = paintedScale = m.rescaled;
          sharpen();  // zoomed further meanwhile
          return;
        }
        if (m.serial !== drawSerial) return;
        if ('progress' in m) {
          progress('Drawing… ' + Math.floor(m.progress * 100) + ' %');
        } else if (m.done) {
          progress('');
          // How long from the answer to the drawing painted whole.
          const ms = win.performance.now() - painter.started;
          counters.lastDrawing = { serial: m.serial, paths: m.paths, segments: m.segments, ms, timing: m.timing };
          counters.bigScale = paintedScale;
          sharpen();
          drawn(painter.svg, m.serial);
        } else if (m.failed) {
          progress(m.superseded ? '' : 'The drawing could not be shown: ' + m.failed);
        }
      };
    }
    const scale = wantedScale();
    paintedScale = scale;
    win.clearTimeout(rescaleTimer);
    painter.svg = svg;
    painter.started = win.performance.now();
    els.bigDrawing.hidden = false;
    els.drawing.hidden = true;
    progress(svg === null ? 'Drawing… 0 %' : '');
    painter.worker.postMessage({ ...job, page, scale, serial });
  }

  function listen() {
    const el = els.view;
    let drag = null;
    el.addEventListener('wheel', (e) => {
      e.preventDefault();
      const box = el.getBoundingClientRect();
      zoomAt(e.deltaY < 0 ? 1.15 : 1 / 1.15, e.clientX - box.left, e.clientY - box.top);
    }, { passive: false });
    el.addEventListener('pointerdown', (e) => {
      if (e.button !== 0) return;
      if (picker) {
        picker(pointAt(e.clientX, e.clientY));
        return;
      }
      drag = { x: e.clientX, y: e.clientY, vx: view.x, vy: view.y };
      el.setPointerCapture(e.pointerId);
      el.classList.add('panning');
    });
    el.addEventListener('pointermove', (e) => {
      if (!page) return;
      const p = pointAt(e.clientX, e.clientY);
      els.coords.textContent = `x ${p.x.toFixed(1)}  y ${p.y.toFixed(1)} pt`;
      if (!drag) return;
      set({ x: drag.vx + e.clientX - drag.x, y: drag.vy + e.clientY - drag.y });
    });
    const endDrag = () => { drag = null; el.classList.remove('panning'); };
    el.addEventListener('pointerup', endDrag);
    el.addEventListener('pointercancel', endDrag);
    const centre = () => { const b = el.getBoundingClientRect(); return [b.width / 2, b.height / 2]; };
    els.zoomIn.onclick = () => zoomAt(1.25, ...centre());
    els.zoomOut.onclick = () => zoomAt(1 / 1.25, ...centre());
    els.zoomReset.onclick = () => zoomAt(1 / view.zoom, ...centre());
    els.zoomFit.onclick = () => fit();
    win.addEventListener('resize', () => { if (view.fitted) fit(); });
  }

  return {
    element: els.view,
    listen,
    show,
    fit,
    get page() {
      return page;
    },
    // A new page size refits the view (as does the first one).
    setPage(size) {
      const changed = !page || size[0] !== page[0] || size[1] !== page[1];
      page = size;
      if (changed || !view.fitted) {
        view.fitted = true;
        fit();
      }
    },
    // The worker need no longer keep the last binary drawing.
    forgetDrawing() {
      if (painter) painter.worker.postMessage({ type: 'forget' });
    },
    // The last binary drawing (the server's `serial`), if it came whole, as an
    // SVG file (a Blob) with `saveAs`'s metadata and layers.
    svgOfDrawing(serial, saveAs) {
      if (!painter) return Promise.reject(new Error('no drawing was painted'));
      const id = ++writeCount;
      return new Promise((resolve, reject) => {
        writes.set(id, { resolve, reject });
        painter.worker.postMessage({ type: 'write-svg', id, serial, layers: saveAs.layers, metadata: saveAs.metadata });
      });
    },
    // The page's right edge in client pixels.
    pageRight() {
      return els.view.getBoundingClientRect().left + view.x + page[0] * view.zoom;
    },
    // While `handler` is set, a click in the document gives it the point
    // instead of panning.
    setPicker(handler) {
      picker = handler;
      els.view.classList.toggle('picking', !!handler);
    },
  };
}
