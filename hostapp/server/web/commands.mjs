// The menus' commands. Each is one request to the session; while one runs,
// or while the options dialog is open, the others wait. `app` is the page's
// context (see app.mjs).
import { SessionEnded } from './api.mjs';
import { modalWindow } from './windows.mjs';

export function reportResult(app, data, what) {
  if (data.cancelled) app.setStatus(what + ': cancelled; the document is as it was.');
  else if (data.result && data.result !== 0) app.setStatus(what + ' failed with code ' + data.resultText + '.', true);
  else app.setStatus(what + ': done.');
}

async function command(app, label, op, body) {
  if (app.busy || app.dialog || app.ended) return null;
  app.busy = true;
  app.setStatus(label + '…');
  try {
    const data = await app.api.call('POST', app.sessionPath(op), body || {});
    app.takeAnswer(data);
    return data;
  } catch (e) {
    if (!(e instanceof SessionEnded)) app.setStatus(label + ': ' + e.message, true);
    return null;
  } finally {
    app.busy = false;
  }
}

function toBase64(win, bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return win.btoa(text);
}

// Why a page size is refused, or null when it is one. `limits` [min, max]
// are the host's: a side is above min (as the float the host stores it
// as) and at most max.
export function pageSizeProblem(width, height, limits) {
  const [min, max] = limits || [0, Infinity];
  for (const [name, v] of [['width', width], ['height', height]]) {
    if (!Number.isFinite(v) || !(v >= min) || !(Math.fround(v) > 0) || v > max) {
      return `The ${name} is a number of points from ${min} to ${max.toLocaleString('en')}.`;
    }
  }
  return null;
}

export function createCommands(app) {
  const { ui } = app;
  const filterLabel = () => {
    const filter = app.session.filters[0];
    return filter ? filter.title.replace(/\.\.\.$/, '') : 'Filter';
  };

  async function chooseFilter() {
    const label = filterLabel();
    const data = await command(app, label, 'filter');
    if (!data) return;
    if (data.dialog) app.optionsDialog.open(data.dialog, label);
    else reportResult(app, data, label);
  }

  async function repeat() {
    const data = await command(app, 'Repeat', 'repeat');
    if (data) reportResult(app, data, 'Repeat');
  }

  async function undo() {
    if (await command(app, 'Undo', 'undo')) app.setStatus('Undone.');
  }

  async function about() {
    if (await command(app, 'About', 'about')) app.setStatus('');
  }

  function save(name, blob) {
    const url = ui.win.URL.createObjectURL(blob);
    const a = ui.doc.createElement('a');
    a.href = url;
    a.download = name;
    ui.doc.body.append(a);
    a.click();
    a.remove();
    ui.win.setTimeout(() => ui.win.URL.revokeObjectURL(url), 10000);
    app.setStatus('Downloaded ' + name + '.');
  }

  // One of the session's exports ({ kind, file }), saved by the browser.
  async function download(exported) {
    if (app.ended) return;
    try {
      const { name, blob } = await app.api.file(app.sessionPath('export/' + exported.kind), exported.file || exported.kind);
      save(name, blob);
    } catch (e) {
      if (!(e instanceof SessionEnded)) app.setStatus('Download: ' + e.message, true);
    }
  }

  // The last drawing the page received, as Download SVG wrote it then: what
  // can still be saved once the session has ended. Its metadata holds the
  // record, so `spiral-host draw --params` re-makes the rest.
  // A large drawing is written from the binary form the page painted.
  function downloadLastDrawing() {
    const svg = app.session.exports.find((e) => e.kind === 'svg');
    const name = (svg && svg.file) || 'spirals.svg';
    if (app.lastSvg) {
      save(name, new ui.win.Blob([app.lastSvg], { type: 'image/svg+xml' }));
    } else if (app.lastBig) {
      app.documentView.svgOfDrawing(app.lastBig.serial, app.lastBig)
        .then((blob) => save(name, blob))
        .catch((e) => app.setStatus('The last drawing cannot be saved: ' + e.message, true));
    }
  }

  // A record file, binary or JSON, becomes the filter's record. The host
  // reads it as `draw --params` reads a file, and names what it refuses.
  async function openRecordFile(file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const data = await command(app, 'Open record', 'record', { file: toBase64(ui.win, bytes), name: file.name });
    if (data) app.setStatus('The record of ' + file.name + ' is the filter\'s record now.');
  }

  // The New document box: the page size (the server's default and limits)
  // and one of the server's colour models.
  function newDocument() {
    const { doc } = ui;
    const session = app.session;
    const [min, max] = session.pageLimits || [];
    const form = doc.createElement('div');
    form.className = 'form';
    const field = (id, text, input) => {
      const label = doc.createElement('label');
      label.htmlFor = id;
      label.textContent = text;
      input.id = id;
      form.append(label, input);
      return input;
    };
    const size = (id, text, value) => {
      const input = doc.createElement('input');
      input.type = 'number';
      input.step = 'any';
      if (min !== undefined) input.min = min;
      if (max !== undefined) input.max = max;
      input.value = value;
      return field(id, text, input);
    };
    const page = session.defaultPage || app.documentView.page;
    const width = size('new-width', 'Width (pt)', page[0]);
    const height = size('new-height', 'Height (pt)', page[1]);
    const model = field('new-color-model', 'Colour model', doc.createElement('select'));
    for (const name of session.colorModels) {
      const option = doc.createElement('option');
      option.value = name;
      option.textContent = name;
      model.append(option);
    }
    model.value = session.colorModel;
    const problem = doc.createElement('div');
    problem.className = 'limits';
    problem.id = 'new-problem';
    problem.setAttribute('role', 'alert');
    form.append(problem);
    const box = modalWindow(ui, 'New document', form, [
      ['Cancel', () => true],
      ['OK', () => {
        const page = [Number(width.value), Number(height.value)];
        const refused = width.value.trim() === '' || height.value.trim() === '' ? 'Give the width and the height in points.'
          : pageSizeProblem(page[0], page[1], session.pageLimits);
        if (refused) {
          problem.textContent = refused;
          return false;
        }
        command(app, 'New document', 'document', { page, colorModel: model.value })
          .then((data) => { if (data) app.setStatus('A new document.'); });
        return true;
      }],
    ]);
    box.id = 'new-document';
  }

  return {
    chooseFilter,
    repeat,
    undo,
    about,
    download,
    downloadLastDrawing,
    openRecordFile,
    newDocument,
    openRecord: () => ui.doc.getElementById('record-file').click(),
  };
}
