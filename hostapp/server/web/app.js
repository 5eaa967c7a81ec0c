// Spiral in a browser: the page of `spiral-host serve`. Everything it shows
// of the plug-in comes from the host: the menu from the filters the plug-in
// registered, the dialogs from the host's dialog manager (every item at its
// own bounds), the drawing from the host's SVG writer.
'use strict';

const token = new URLSearchParams(location.search).get('token') || '';
const $ = (id) => document.getElementById(id);

const state = {
  session: null,        // id
  page: [612, 792],
  colorModel: 'rgb',
  filters: [],
  canUndo: false,
  hasRecord: false,
  dialog: null,         // the open options dialog: {json, items: Map id -> {json, el}}
  busy: false,          // a menu command is running
  ended: false,
  picking: null,        // the pick button waiting for a document point
};

// Counters the browser tests read.
window.spiral = { drawn: 0, answered: 0, sent: 0, dropped: 0 };

// ---- Talking to the server -------------------------------------------------

class SessionEnded extends Error {}

async function api(method, path, body) {
  const res = await fetch('/api/' + path, {
    method,
    headers: { 'X-Spiral-Token': token, 'Content-Type': 'application/json' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  let data;
  try {
    data = await res.json();
  } catch {
    data = { error: 'the server sent an unreadable answer (' + res.status + ')' };
  }
  if (data.sessionEnded) {
    sessionEnded(data.error);
    throw new SessionEnded(data.error);
  }
  if (!res.ok) throw new Error(data.error || ('status ' + res.status));
  return data;
}

const sessionPath = (op) => 'sessions/' + state.session + (op ? '/' + op : '');

function setStatus(text, error = false) {
  const el = $('status');
  el.textContent = text;
  el.classList.toggle('error', error);
}

// ---- The drawing -----------------------------------------------------------

const view = { zoom: 1, x: 0, y: 0, fitted: false };
let drawSerial = 0;

// Shows the SVG in the page: parsed and put in place at once, so the change
// is on screen in the next frame. The SVG is the host's own writer's, and a
// parsed document's scripts never run. A newer drawing supersedes one still
// being painted.
function showDrawing(svg) {
  if (typeof svg !== 'string') return;
  const serial = ++drawSerial;
  if (svg.length > kBigDrawing) {
    paintOnCanvas(svg, serial);
    return;
  }
  const parsed = new DOMParser().parseFromString(svg, 'image/svg+xml').documentElement;
  if (parsed.namespaceURI !== 'http://www.w3.org/2000/svg' || parsed.localName !== 'svg') return;
  const shown = $('drawing');
  shown.replaceChildren(document.importNode(parsed, true));
  shown.hidden = false;
  $('big-drawing').hidden = true;
  requestAnimationFrame(() => {
    if (serial === drawSerial) drawn(svg, serial);
  });
}

function drawn(svg, serial) {
  window.spiral.svg = svg;
  window.spiral.drawn++;
  window.dispatchEvent(new CustomEvent('spiral-drawn', { detail: { serial } }));
}

// A large drawing as an SVG image would be rasterised in one piece on the
// page's main thread and freeze it; a worker paints it instead (paint.js)
// and the page only shows the finished bitmap.
const kBigDrawing = 1 << 20;
let painter = null;

function paintOnCanvas(svg, serial) {
  if (!painter) {
    painter = new Worker('paint.js');
    painter.onmessage = (e) => {
      const { serial: done, bitmap } = e.data;
      if (done !== drawSerial) {
        bitmap.close();
        return;
      }
      const canvas = $('big-drawing');
      canvas.width = bitmap.width;
      canvas.height = bitmap.height;
      canvas.getContext('bitmaprenderer').transferFromImageBitmap(bitmap);
      canvas.hidden = false;
      $('drawing').hidden = true;
      drawn(painter.pending.get(done), done);
      painter.pending.clear();
    };
    painter.pending = new Map();
  }
  const [w, h] = state.page;
  const scale = Math.min(2 * (window.devicePixelRatio || 1), 8192 / Math.max(w, h));
  painter.pending.set(serial, svg);
  painter.postMessage({ svg, page: state.page, scale, serial });
}

function applyView() {
  const canvas = $('canvas');
  canvas.style.width = state.page[0] + 'px';
  canvas.style.height = state.page[1] + 'px';
  canvas.style.transform = `translate(${view.x}px, ${view.y}px) scale(${view.zoom})`;
  $('zoom-reset').textContent = Math.round(view.zoom * 100) + '%';
}

// Fits the page into the view, or into its left `width` pixels.
function fitView(width) {
  const box = $('view').getBoundingClientRect();
  const across = typeof width === 'number' ? width : box.width;
  const margin = 24;
  view.zoom = Math.max(0.05, Math.min((across - 2 * margin) / state.page[0], (box.height - 2 * margin) / state.page[1]));
  view.x = (across - state.page[0] * view.zoom) / 2;
  view.y = (box.height - state.page[1] * view.zoom) / 2;
  applyView();
}

function zoomAt(factor, cx, cy) {
  const zoom = Math.min(64, Math.max(0.02, view.zoom * factor));
  view.x = cx - (cx - view.x) * (zoom / view.zoom);
  view.y = cy - (cy - view.y) * (zoom / view.zoom);
  view.zoom = zoom;
  applyView();
}

// The document point (points, y up from the bottom left corner) under a
// mouse position.
function documentPoint(clientX, clientY) {
  const rect = $('canvas').getBoundingClientRect();
  const x = (clientX - rect.left) / rect.width * state.page[0];
  const y = state.page[1] - (clientY - rect.top) / rect.height * state.page[1];
  return { x: Math.round(x * 100) / 100, y: Math.round(y * 100) / 100 };
}

function setupView() {
  const el = $('view');
  let drag = null;
  el.addEventListener('wheel', (e) => {
    e.preventDefault();
    const box = el.getBoundingClientRect();
    zoomAt(e.deltaY < 0 ? 1.15 : 1 / 1.15, e.clientX - box.left, e.clientY - box.top);
  }, { passive: false });
  el.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    if (state.picking) {
      const p = documentPoint(e.clientX, e.clientY);
      const item = state.picking;
      stopPicking();
      dialogAction({ verb: 'pick', item, x: p.x, y: p.y });
      return;
    }
    drag = { x: e.clientX, y: e.clientY, vx: view.x, vy: view.y };
    el.setPointerCapture(e.pointerId);
    el.classList.add('panning');
  });
  el.addEventListener('pointermove', (e) => {
    const p = documentPoint(e.clientX, e.clientY);
    $('coords').textContent = `x ${p.x.toFixed(1)}  y ${p.y.toFixed(1)} pt`;
    if (!drag) return;
    view.x = drag.vx + e.clientX - drag.x;
    view.y = drag.vy + e.clientY - drag.y;
    applyView();
  });
  const endDrag = () => { drag = null; el.classList.remove('panning'); };
  el.addEventListener('pointerup', endDrag);
  el.addEventListener('pointercancel', endDrag);
  const centre = () => { const b = el.getBoundingClientRect(); return [b.width / 2, b.height / 2]; };
  $('zoom-in').onclick = () => zoomAt(1.25, ...centre());
  $('zoom-out').onclick = () => zoomAt(1 / 1.25, ...centre());
  $('zoom-reset').onclick = () => { const [cx, cy] = centre(); zoomAt(1 / view.zoom, cx, cy); };
  $('zoom-fit').onclick = () => fitView();
  window.addEventListener('resize', () => { if (!view.fitted) return; fitView(); });
}

// ---- Menus -----------------------------------------------------------------

function closeMenus() {
  document.querySelectorAll('.menu.open').forEach((m) => m.classList.remove('open'));
}

function buildMenus() {
  const bar = $('menubar');
  bar.textContent = '';
  const filter = state.filters[0];
  const plain = (title) => title.replace(/\.\.\.$|…$/, '');
  const menus = [
    ['File', [
      ['menu-new', 'New document…', newDocumentBox],
      ['menu-open-record', 'Open record…', () => $('record-file').click()],
      null,
      ['menu-save-svg', 'Download SVG', () => download('svg')],
      ['menu-save-json', 'Download JSON dump', () => download('json')],
      ['menu-save-record', 'Download record', () => download('record')],
      ['menu-save-record-json', 'Download record (JSON)', () => download('record-json')],
    ]],
    ['Edit', [
      ['menu-undo', 'Undo', undo, !state.canUndo],
    ]],
    ['Filter', [
      ['menu-repeat', filter ? 'Repeat ' + plain(filter.title) : 'Repeat', repeat, !filter || !state.hasRecord],
      null,
      ...groupByCategory(state.filters),
    ]],
    ['Help', [
      ['menu-about', filter ? 'About ' + plain(filter.title) + '…' : 'About the plug-in…', about],
    ]],
  ];
  for (const [name, entries] of menus) {
    const menu = document.createElement('div');
    menu.className = 'menu';
    const head = document.createElement('button');
    head.type = 'button';
    head.textContent = name;
    head.id = 'menu-' + name.toLowerCase();
    head.onclick = (e) => {
      e.stopPropagation();
      const open = menu.classList.contains('open');
      closeMenus();
      if (!open) menu.classList.add('open');
    };
    head.onmouseenter = () => {
      if (document.querySelector('.menu.open') && !menu.classList.contains('open')) {
        closeMenus();
        menu.classList.add('open');
      }
    };
    const list = document.createElement('div');
    list.className = 'menu-list';
    for (const entry of entries) {
      if (entry === null) {
        list.append(document.createElement('hr'));
      } else if (typeof entry === 'string') {
        const cat = document.createElement('div');
        cat.className = 'category';
        cat.textContent = entry;
        list.append(cat);
      } else {
        const [id, label, action, disabled] = entry;
        const b = document.createElement('button');
        b.type = 'button';
        b.id = id;
        b.textContent = label;
        b.disabled = !!disabled;
        b.onclick = () => { closeMenus(); action(); };
        list.append(b);
      }
    }
    menu.append(head, list);
    bar.append(menu);
  }
}

// The filters under their categories: a category line, then its titles.
function groupByCategory(filters) {
  const out = [];
  const categories = [...new Set(filters.map((f) => f.category))];
  for (const category of categories) {
    out.push(category);
    filters.forEach((f, index) => {
      if (f.category === category) out.push(['menu-filter-' + index, '  ' + f.title, chooseFilter]);
    });
  }
  if (!filters.length) out.push('(the plug-in registered no filter)');
  return out;
}

function blockMenus(blocked) {
  $('menubar').classList.toggle('blocked', blocked);
}

// ---- Answers ---------------------------------------------------------------

// Takes what every answer may hold: the drawing, the undo state, the record
// state, the dialogs and alerts the plug-in showed.
function takeAnswer(data) {
  window.spiral.answered++;
  if ('svg' in data) showDrawing(data.svg);
  let menusChanged = false;
  if ('canUndo' in data && data.canUndo !== state.canUndo) { state.canUndo = data.canUndo; menusChanged = true; }
  if ('hasRecord' in data && data.hasRecord !== state.hasRecord) { state.hasRecord = data.hasRecord; menusChanged = true; }
  if (data.filters) { state.filters = data.filters; menusChanged = true; }
  if (data.page) {
    const changed = data.page[0] !== state.page[0] || data.page[1] !== state.page[1];
    state.page = data.page;
    if (changed || !view.fitted) { view.fitted = true; fitView(); }
  }
  if (data.colorModel) state.colorModel = data.colorModel;
  if (menusChanged) buildMenus();
  for (const box of data.boxes || []) showBox(box);
}

function sessionEnded(reason) {
  if (state.ended) return;
  state.ended = true;
  closeDialog();
  blockMenus(true);
  setStatus('The session has ended.', true);
  const win = messageBox('Session ended', reason || 'the session has ended', [
    ['Start a new session', () => location.reload()],
  ]);
  win.id = 'session-ended';
}

function reportResult(data, what) {
  if (data.cancelled) setStatus(what + ': cancelled; the document is as it was.');
  else if (data.result && data.result !== 0) setStatus(what + ' failed with code ' + data.resultText + '.', true);
  else setStatus(what + ': done.');
}

// ---- Menu commands -----------------------------------------------------------

async function command(label, op, body) {
  if (state.busy || state.dialog || state.ended) return null;
  state.busy = true;
  setStatus(label + '…');
  try {
    const data = await api('POST', sessionPath(op), body || {});
    takeAnswer(data);
    return data;
  } catch (e) {
    if (!(e instanceof SessionEnded)) setStatus(label + ': ' + e.message, true);
    return null;
  } finally {
    state.busy = false;
  }
}

async function chooseFilter() {
  const filter = state.filters[0];
  const label = filter ? filter.title.replace(/\.\.\.$/, '') : 'Filter';
  const data = await command(label, 'filter');
  if (!data) return;
  if (data.dialog) openDialog(data.dialog, label);
  else reportResult(data, label);
}

async function repeat() {
  const data = await command('Repeat', 'repeat');
  if (data) reportResult(data, 'Repeat');
}

async function undo() {
  const data = await command('Undo', 'undo');
  if (data) setStatus('Undone.');
}

async function about() {
  const data = await command('About', 'about');
  if (data) setStatus('');
}

async function download(kind) {
  if (state.ended) return;
  try {
    const res = await fetch('/api/' + sessionPath('export/' + kind), { headers: { 'X-Spiral-Token': token } });
    if (!res.ok) {
      const data = await res.json().catch(() => ({}));
      if (data.sessionEnded) return sessionEnded(data.error);
      throw new Error(data.error || res.status);
    }
    const name = (/filename="([^"]+)"/.exec(res.headers.get('Content-Disposition') || '') || [])[1] || kind;
    const url = URL.createObjectURL(await res.blob());
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
    setStatus('Downloaded ' + name + '.');
  } catch (e) {
    setStatus('Download: ' + e.message, true);
  }
}

function toBase64(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text);
}

async function openRecordFile(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  const text = new TextDecoder().decode(bytes);
  let body;
  if (text.trimStart().startsWith('{')) {
    try {
      body = { json: JSON.parse(text) };
    } catch (e) {
      return setStatus(file.name + ' is not JSON: ' + e.message, true);
    }
  } else {
    body = { binary: toBase64(bytes) };
  }
  const data = await command('Open record', 'record', body);
  if (data) setStatus('The record of ' + file.name + ' is the filter\'s record now.');
}

function newDocumentBox() {
  const form = document.createElement('div');
  form.className = 'form';
  form.innerHTML =
    '<label for="new-width">Width (pt)</label><input id="new-width" type="number" min="1" step="any">' +
    '<label for="new-height">Height (pt)</label><input id="new-height" type="number" min="1" step="any">' +
    '<label for="new-color-model">Colour model</label><select id="new-color-model">' +
    '<option value="gray">Gray</option><option value="rgb">RGB</option><option value="cmyk">CMYK</option></select>';
  form.querySelector('#new-width').value = state.page[0];
  form.querySelector('#new-height').value = state.page[1];
  form.querySelector('#new-color-model').value = state.colorModel;
  const win = modalWindow('New document', form, [
    ['Cancel', () => true],
    ['OK', () => {
      const page = [Number(form.querySelector('#new-width').value), Number(form.querySelector('#new-height').value)];
      command('New document', 'document', { page, colorModel: form.querySelector('#new-color-model').value })
        .then((data) => { if (data) setStatus('A new document.'); });
      return true;
    }],
  ]);
  win.id = 'new-document';
}

// ---- Plain modal windows (host boxes) ----------------------------------------

function modalWindow(caption, content, buttons) {
  const shade = document.createElement('div');
  shade.className = 'shade';
  const win = document.createElement('div');
  win.className = 'window';
  win.setAttribute('role', 'dialog');
  win.setAttribute('aria-modal', 'true');
  const title = document.createElement('div');
  title.className = 'title';
  title.textContent = caption;
  const row = document.createElement('div');
  row.className = 'box-buttons';
  const close = () => { shade.remove(); win.remove(); };
  for (const [label, action] of buttons) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = label;
    b.onclick = () => { if (action() !== false) close(); };
    row.append(b);
  }
  win.append(title, content, row);
  $('layer').append(shade, win);
  centreWindow(win);
  makeDraggable(win, title);
  const last = row.lastElementChild;
  if (last) last.focus();
  return win;
}

function messageBox(caption, text, buttons) {
  const body = document.createElement('div');
  body.className = 'box-text';
  body.textContent = text;
  return modalWindow(caption, body, buttons || [['OK', () => true]]);
}

// A dialog or alert the plug-in showed (the About box, the error dialog):
// the host acknowledged it for the plug-in; the page shows it until the user
// closes it.
function showBox(box) {
  if (box.alert) {
    messageBox(box.caption || 'Alert', box.text).classList.add('plugin-box');
    return;
  }
  const shade = document.createElement('div');
  shade.className = 'shade';
  const win = dialogWindow(box);
  win.classList.add('plugin-box');
  const close = () => { shade.remove(); win.remove(); };
  let hasButton = false;
  for (const el of win.querySelectorAll('button')) {
    hasButton = true;
    el.onclick = close;
  }
  if (!hasButton) {
    const row = document.createElement('div');
    row.className = 'box-buttons';
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.textContent = 'OK';
    ok.onclick = close;
    row.append(ok);
    win.append(row);
  }
  win.addEventListener('keydown', (e) => { if (e.key === 'Enter' || e.key === 'Escape') close(); });
  $('layer').append(shade, win);
  centreWindow(win);
  const first = win.querySelector('button');
  if (first) first.focus();
}

function centreWindow(win) {
  const w = win.offsetWidth, h = win.offsetHeight;
  win.style.left = Math.max(0, (innerWidth - w) / 2) + 'px';
  win.style.top = Math.max(0, (innerHeight - h) / 3) + 'px';
}

function makeDraggable(win, handle) {
  handle.addEventListener('pointerdown', (e) => {
    const start = { x: e.clientX, y: e.clientY, left: win.offsetLeft, top: win.offsetTop };
    handle.setPointerCapture(e.pointerId);
    const move = (ev) => {
      win.style.left = Math.max(0, start.left + ev.clientX - start.x) + 'px';
      win.style.top = Math.max(0, start.top + ev.clientY - start.y) + 'px';
    };
    const up = () => { handle.removeEventListener('pointermove', move); handle.removeEventListener('pointerup', up); };
    handle.addEventListener('pointermove', move);
    handle.addEventListener('pointerup', up);
  });
}

// ---- Dialogs from the dialog manager -------------------------------------------

function dialogWindow(dialog) {
  const win = document.createElement('div');
  win.className = 'window';
  win.setAttribute('role', 'dialog');
  win.dataset.dialog = dialog.name;
  const title = document.createElement('div');
  title.className = 'title';
  title.textContent = dialog.caption || dialog.name;
  const body = document.createElement('div');
  body.className = 'body';
  body.style.width = dialog.width + 'px';
  body.style.height = dialog.height + 'px';
  for (const item of dialog.items) body.append(renderItem(item, null));
  win.append(title, body);
  makeDraggable(win, title);
  return win;
}

// Text with the dialog convention of '&' marks: "&OK" shows OK with the O
// underlined, "&&" a plain '&'.
function setLabel(el, text) {
  el.textContent = '';
  const parts = String(text).split(/(&&|&.)/);
  for (const part of parts) {
    if (part === '&&') {
      el.append('&');
    } else if (part.length === 2 && part[0] === '&') {
      const u = document.createElement('u');
      u.textContent = part[1];
      el.append(u);
    } else if (part) {
      el.append(part);
    }
  }
}

function place(el, item) {
  const [l, t, r, b] = item.bounds;
  el.style.left = l + 'px';
  el.style.top = t + 'px';
  el.style.width = Math.max(0, r - l) + 'px';
  el.style.height = Math.max(0, b - t) + 'px';
  el.classList.add('item', 'item-' + item.kind);
  el.classList.toggle('hidden', !item.visible);
  el.classList.toggle('bold', item.font === 5);
  el.classList.toggle('disabled', !item.enabled);
  el.dataset.itemId = item.id;
}

// One item as an element; `live` (the open options dialog) wires its actions.
function renderItem(item, live) {
  let el;
  switch (item.kind) {
    case 'spin': {
      el = document.createElement('div');
      const input = document.createElement('input');
      input.type = 'text';
      input.inputMode = 'decimal';
      input.value = item.text;
      input.disabled = !item.enabled;
      input.setAttribute('aria-label', 'item ' + item.id);
      const arrows = document.createElement('div');
      arrows.className = 'arrows';
      const up = document.createElement('button');
      up.type = 'button';
      up.textContent = '▲';
      up.tabIndex = -1;
      up.className = 'up';
      const down = document.createElement('button');
      down.type = 'button';
      down.textContent = '▼';
      down.tabIndex = -1;
      down.className = 'down';
      up.disabled = down.disabled = !item.enabled;
      arrows.append(up, down);
      el.append(input, arrows);
      if (live) {
        input.addEventListener('input', () => {
          const text = input.value.trim();
          if (text !== '' && Number.isFinite(Number(text))) live.action({ verb: 'set', item: item.id, value: text });
        });
        input.addEventListener('blur', () => live.refresh(item.id));
        input.addEventListener('keydown', (e) => {
          if (e.key === 'ArrowUp' || e.key === 'ArrowDown') {
            e.preventDefault();
            live.step(item.id, e.key === 'ArrowUp' ? 1 : -1);
          }
        });
        up.onclick = () => live.step(item.id, 1);
        down.onclick = () => live.step(item.id, -1);
      }
      break;
    }
    case 'check': {
      el = document.createElement('label');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = !!item.value;
      box.disabled = !item.enabled;
      const text = document.createElement('span');
      setLabel(text, item.text);
      el.append(box, text);
      if (live) box.onchange = () => live.action({ verb: 'check', item: item.id, value: box.checked });
      break;
    }
    case 'popup': {
      el = document.createElement('select');
      (item.entries || []).forEach((entry, index) => {
        const option = document.createElement('option');
        option.value = index;
        option.textContent = entry;
        el.append(option);
      });
      el.value = item.value;
      el.disabled = !item.enabled;
      if (live) el.onchange = () => live.action({ verb: 'choose', item: item.id, value: Number(el.value) });
      break;
    }
    case 'button':
    case 'picture-button': {
      el = document.createElement('button');
      el.type = 'button';
      setLabel(el, item.kind === 'button' ? item.text : '');
      el.disabled = !item.enabled;
      if (item.picks) {
        el.classList.add('picks');
        el.title = 'Pick a value: then click a point in the document';
      }
      if (live) {
        el.onclick = () => {
          if (item.picks) live.startPick(item.id);
          else live.action({ verb: 'press', item: item.id });
        };
      }
      break;
    }
    case 'edit':
      el = document.createElement('input');
      el.type = 'text';
      el.value = item.text;
      el.readOnly = true;
      break;
    case 'frame':
      el = document.createElement('div');
      break;
    default:
      el = document.createElement('div');
      setLabel(el, item.text);
      break;
  }
  place(el, item);
  return el;
}

// ---- The options dialog, live ---------------------------------------------------

// Actions go to the host one at a time. While one is on its way, newer
// changes wait; a newer value for the same item replaces the waiting one, so
// the newest wins and no stale preview is ever asked for.
const queue = { inFlight: false, pending: [] };

function dialogAction(action) {
  if (!state.dialog) return;
  if (action.verb === 'set') {
    const waiting = queue.pending.find((a) => a.verb === 'set' && a.item === action.item);
    if (waiting) {
      waiting.value = action.value;
      window.spiral.dropped++;
      return;
    }
  }
  queue.pending.push(action);
  pump();
}

async function pump() {
  if (queue.inFlight || !queue.pending.length || !state.dialog) return;
  const action = queue.pending.shift();
  queue.inFlight = true;
  window.spiral.sent++;
  try {
    const data = await api('POST', sessionPath('action'), action);
    takeAnswer(data);
    if (data.items) updateItems(data.items);
    if ('dialog' in data && data.dialog === null) {
      const label = state.dialog.label;
      closeDialog();
      reportResult(data, label);
    }
  } catch (e) {
    if (!(e instanceof SessionEnded)) {
      setStatus(e.message, true);
      // The host refused the action: show its values again.
      if (state.dialog) for (const id of state.dialog.items.keys()) state.dialog.refresh(id);
    }
  } finally {
    queue.inFlight = false;
    pump();
  }
}

function updateItems(items) {
  const dialog = state.dialog;
  if (!dialog) return;
  for (const item of items) {
    const known = dialog.items.get(item.id);
    if (!known) continue;
    known.json = item;
    dialog.refresh(item.id);
  }
}

function openDialog(json, label) {
  closeDialog();
  blockMenus(true);
  const items = new Map();
  const live = {
    label,
    json,
    items,
    action: dialogAction,
    // Shows the host's state of an item, except the text of a spin edit the
    // user is typing into (it catches up when the field loses focus).
    refresh(id) {
      const known = items.get(id);
      if (!known) return;
      const item = known.json;
      const input = known.el.querySelector && known.el.querySelector('input[type=text]');
      if (input && document.activeElement === input && queue.pending.some((a) => a.item === id)) return;
      const typing = input && document.activeElement === input;
      const fresh = renderItem(item, live);
      if (typing) {
        // Keep the focus and the caret: change the element in place.
        input.value = item.text;
        place(known.el, item);
        input.disabled = !item.enabled;
        return;
      }
      known.el.replaceWith(fresh);
      known.el = fresh;
    },
    step(id, direction) {
      const known = items.get(id);
      if (!known) return;
      const pending = queue.pending.find((a) => a.verb === 'set' && a.item === id);
      const input = known.el.querySelector('input');
      const current = Number(pending ? pending.value : input.value);
      const next = (Number.isFinite(current) ? current : known.json.value) + direction;
      const text = next.toFixed(known.json.decimals || 0);
      input.value = text;
      dialogAction({ verb: 'set', item: id, value: text });
    },
    startPick(id) {
      state.picking = id;
      const el = items.get(id).el;
      el.classList.add('armed');
      $('view').classList.add('picking');
      setStatus('Click a point in the document to pick it (Esc: no pick).');
    },
  };
  const win = dialogWindow({ ...json, items: [] });
  win.id = 'options-dialog';
  const body = win.querySelector('.body');
  for (const item of json.items) {
    const el = renderItem(item, live);
    items.set(item.id, { json: item, el });
    body.append(el);
  }
  win.addEventListener('keydown', (e) => {
    if (e.key === 'Enter' && e.target.tagName !== 'BUTTON' && e.target.tagName !== 'SELECT') {
      e.preventDefault();
      flushTyping(e.target);
      dialogAction({ verb: 'enter' });
    } else if (e.key === 'Escape') {
      e.preventDefault();
      if (state.picking) return stopPicking();
      dialogAction({ verb: 'escape' });
    }
  });
  state.dialog = live;
  $('layer').append(win);
  const box = $('view').getBoundingClientRect();
  win.style.left = Math.max(0, box.right - win.offsetWidth - 16) + 'px';
  win.style.top = (box.top + 16) + 'px';
  // The page moves left of the dialog when it would be under it.
  const free = win.offsetLeft - box.left - 8;
  const pageRight = box.left + view.x + state.page[0] * view.zoom;
  if (pageRight > win.offsetLeft && free > 240) fitView(free);
  setStatus(label + ': the options dialog is open.');
  const first = win.querySelector('.item-spin:not(.hidden) input');
  if (first) first.focus();
}

// A number still being typed goes before the Enter that follows it.
function flushTyping(target) {
  if (!target || target.tagName !== 'INPUT' || target.type !== 'text') return;
  const id = Number(target.closest('[data-item-id]')?.dataset.itemId);
  const text = target.value.trim();
  if (id && text !== '' && Number.isFinite(Number(text))) dialogAction({ verb: 'set', item: id, value: text });
}

function stopPicking() {
  if (state.dialog && state.picking !== null) {
    const known = state.dialog.items.get(state.picking);
    if (known) known.el.classList.remove('armed');
  }
  state.picking = null;
  $('view').classList.remove('picking');
}

function closeDialog() {
  stopPicking();
  queue.pending.length = 0;
  const win = $('options-dialog');
  if (win) win.remove();
  state.dialog = null;
  blockMenus(state.ended);
}

// ---- Start -----------------------------------------------------------------------

async function start() {
  setupView();
  buildMenus();
  document.addEventListener('click', closeMenus);
  $('record-file').addEventListener('change', (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (file) openRecordFile(file);
  });
  if (!token) {
    setStatus('Open the URL that spiral-host serve printed: it carries the token.', true);
    return;
  }
  try {
    const data = await api('POST', 'sessions');
    state.session = data.id;
    takeAnswer(data);
    buildMenus();
    setStatus('Ready: choose the filter from the Filter menu.');
    window.spiral.ready = true;
  } catch (e) {
    setStatus('No session: ' + e.message, true);
  }
  window.addEventListener('pagehide', () => {
    if (state.session && !state.ended) {
      fetch('/api/' + sessionPath(), { method: 'DELETE', headers: { 'X-Spiral-Token': token }, keepalive: true });
    }
  });
}

start();
