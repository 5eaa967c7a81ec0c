// Spiral in a browser: the page of `spiral-host serve`. Everything it shows
// of the plug-in comes from the host: the menu from the filters the plug-in
// registered, the dialogs from the host's dialog manager (every item at its
// own bounds), the drawing from the host's SVG writer. Everything it offers
// comes from the session's state: the downloads, the operations, the colour
// models and page sizes of a new document.
//
// startPage builds the page's context (`app`), which every part receives;
// the page keeps no state outside it.
import { createApi } from './api.mjs';
import { createCommands, reportResult } from './commands.mjs';
import { createDocumentView } from './document-view.mjs';
import { buildMenus, closeMenus, menuModel } from './menus.mjs';
import { createOptionsDialog } from './options-dialog.mjs';
import { messageBox, showPluginBox } from './windows.mjs';

// What the page knows of its session before the first answer.
function emptySession() {
  return {
    id: null,
    filters: [],
    exports: [],
    operations: [],
    colorModels: [],
    colorModel: null,
    defaultPage: null,
    pageLimits: null,
    canUndo: false,
    hasRecord: false,
  };
}

export function startPage(doc, win) {
  const $ = (id) => doc.getElementById(id);
  // Counters (and the last drawing) the browser tests read.
  const counters = { drawn: 0, answered: 0, sent: 0, dropped: 0, abandoned: [] };
  win.spiral = counters;

  const ui = { doc, win, layer: $('layer') };
  const app = { ui, counters, session: emptySession(), dialog: null, busy: false, ended: false, lastSvg: '',
    lastBig: null };
  const token = new URLSearchParams(win.location.search).get('token') || '';
  app.api = createApi({ token, fetch: win.fetch.bind(win), onSessionEnded: (reason) => sessionEnded(reason) });
  app.sessionPath = (op) => 'sessions/' + app.session.id + (op ? '/' + op : '');
  app.setStatus = (text, error = false) => {
    const el = $('status');
    el.textContent = text;
    el.classList.toggle('error', error);
  };
  app.blockMenus = (blocked) => $('menubar').classList.toggle('blocked', blocked);
  app.reportResult = (data, what) => reportResult(app, data, what);
  app.documentView = createDocumentView({
    doc,
    win,
    counters,
    drawingSource: (serial) => ({ url: '/api/' + app.sessionPath('drawing/' + serial), headers: app.api.headers }),
    els: {
      view: $('view'), canvas: $('canvas'), drawing: $('drawing'), bigDrawing: $('big-drawing'), coords: $('coords'),
      progress: $('drawing-progress'),
      zoomIn: $('zoom-in'), zoomOut: $('zoom-out'), zoomReset: $('zoom-reset'), zoomFit: $('zoom-fit'),
    },
  });
  app.optionsDialog = createOptionsDialog(app);
  const commands = createCommands(app);
  const rebuildMenus = () => buildMenus(doc, $('menubar'), menuModel(app.session, commands));

  // Takes what an answer may hold: the drawing, the session's state (undo,
  // record, filters, page, what the server offers), the dialogs and alerts
  // the plug-in showed.
  app.takeAnswer = (data) => {
    counters.answered++;
    const session = app.session;
    if (data.page) app.documentView.setPage(data.page);
    if ('svg' in data || data.drawing) {
      app.documentView.show(data);
      // A drawing sent in its binary form has no SVG to keep: the one kept
      // before is no longer the last drawing.
      // A large one the worker keeps once it came whole and can write, given
      // its metadata. A preview (in the dialog, nothing to save) leaves the
      // last drawing as it was.
      if (data.drawing && data.drawing.saveAs) {
        app.lastSvg = '';
        app.lastBig = { serial: data.drawing.serial, ...data.drawing.saveAs };
      } else if (data.savable && typeof data.svg === 'string') {
        app.lastSvg = data.svg;
        if (app.lastBig) app.documentView.forgetDrawing();
        app.lastBig = null;
      }
    }
    let menusChanged = false;
    for (const key of ['canUndo', 'hasRecord']) {
      if (key in data && data[key] !== session[key]) {
        session[key] = data[key];
        menusChanged = true;
      }
    }
    for (const key of ['filters', 'exports', 'operations']) {
      if (data[key]) {
        session[key] = data[key];
        menusChanged = true;
      }
    }
    for (const key of ['colorModel', 'colorModels', 'defaultPage', 'pageLimits']) {
      if (data[key]) session[key] = data[key];
    }
    if (menusChanged) rebuildMenus();
    for (const shown of data.boxes || []) showPluginBox(ui, shown);
  };

  function sessionEnded(reason) {
    // Before the page has its session (a kept one that ended), a new one opens instead.
    if (app.ended || !app.session.id) return;
    app.ended = true;
    app.optionsDialog.close();
    app.blockMenus(true);
    app.setStatus('The session has ended.', true);
    // The last drawing outside the options dialog is not lost with its
    // session: it can still be saved, record and all.
    const keep = app.lastSvg || app.lastBig ? [['Download the last drawing', () => { commands.downloadLastDrawing(); return false; }]] : [];
    const box = messageBox(ui, 'Session ended', reason || 'the session has ended', [
      ...keep,
      ['Start a new session', () => win.location.reload()],
    ]);
    box.id = 'session-ended';
  }

  async function start() {
    app.documentView.listen();
    rebuildMenus();
    doc.addEventListener('click', () => closeMenus(doc));
    $('record-file').addEventListener('change', (e) => {
      const file = e.target.files[0];
      e.target.value = '';
      if (file) commands.openRecordFile(file);
    });
    if (!token) {
      app.setStatus('Open the URL that spiral-host serve printed: it carries the token.', true);
      return;
    }
    try {
      const data = await keptOrNewSession();
      app.session.id = data.id;
      app.takeAnswer(data);
      const filter = app.session.filters[0];
      if (data.dialog) app.optionsDialog.open(data.dialog, filter ? filter.title.replace(/\.\.\.$/, '') : 'Filter');
      else app.setStatus('Ready: choose the filter from the Filter menu.');
      counters.sessionId = data.id;
      counters.ready = true;
    } catch (e) {
      app.setStatus('No session: ' + e.message, true);
    }
    // The page says it is still open; the server ends the session of a
    // closed tab a minute after its last heartbeat (a reload keeps it).
    const beat = () => {
      if (app.session.id && !app.ended) app.api.call('POST', app.sessionPath('heartbeat')).catch(() => {});
    };
    beat();
    win.setInterval(beat, 15000);
  }

  // A reload finds its session again: the tab keeps the id in sessionStorage.
  async function keptOrNewSession() {
    const key = 'spiral-session:' + token;
    const kept = win.sessionStorage && win.sessionStorage.getItem(key);
    if (kept) {
      try {
        return { ...(await app.api.call('GET', 'sessions/' + kept)), id: kept };
      } catch {
        // ended or unknown: a new one
      }
    }
    const data = await app.api.call('POST', 'sessions');
    if (win.sessionStorage) win.sessionStorage.setItem(key, data.id);
    return data;
  }

  start();
  return app;
}
