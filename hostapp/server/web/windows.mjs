// Windows over the page: plain modal boxes (messages, forms), the dialogs
// and alerts the plug-in showed, and the frame of a dialog drawn from the
// dialog manager. `ui` is { doc, win, layer }.
import { fitText, renderItem } from './dialog-items.mjs';

export function centreWindow(ui, box) {
  const w = box.offsetWidth, h = box.offsetHeight;
  box.style.left = Math.max(0, (ui.win.innerWidth - w) / 2) + 'px';
  box.style.top = Math.max(0, (ui.win.innerHeight - h) / 3) + 'px';
}

export function makeDraggable(box, handle) {
  handle.addEventListener('pointerdown', (e) => {
    const start = { x: e.clientX, y: e.clientY, left: box.offsetLeft, top: box.offsetTop };
    handle.setPointerCapture(e.pointerId);
    const move = (ev) => {
      box.style.left = Math.max(0, start.left + ev.clientX - start.x) + 'px';
      box.style.top = Math.max(0, start.top + ev.clientY - start.y) + 'px';
    };
    const up = () => { handle.removeEventListener('pointermove', move); handle.removeEventListener('pointerup', up); };
    handle.addEventListener('pointermove', move);
    handle.addEventListener('pointerup', up);
  });
}

function titleBar(doc, caption) {
  const title = doc.createElement('div');
  title.className = 'title';
  title.textContent = caption;
  return title;
}

function shade(doc) {
  const el = doc.createElement('div');
  el.className = 'shade';
  return el;
}

// A modal window with `content` and a row of [label, action] buttons; an
// action that returns false keeps the window open.
export function modalWindow(ui, caption, content, buttons) {
  const { doc } = ui;
  const under = shade(doc);
  const box = doc.createElement('div');
  box.className = 'window';
  box.setAttribute('role', 'dialog');
  box.setAttribute('aria-modal', 'true');
  const title = titleBar(doc, caption);
  const row = doc.createElement('div');
  row.className = 'box-buttons';
  const close = () => { under.remove(); box.remove(); };
  for (const [label, action] of buttons) {
    const b = doc.createElement('button');
    b.type = 'button';
    b.textContent = label;
    b.onclick = () => { if (action() !== false) close(); };
    row.append(b);
  }
  box.append(title, content, row);
  ui.layer.append(under, box);
  centreWindow(ui, box);
  makeDraggable(box, title);
  const last = row.lastElementChild;
  if (last) last.focus();
  return box;
}

export function messageBox(ui, caption, text, buttons) {
  const body = ui.doc.createElement('div');
  body.className = 'box-text';
  body.textContent = text;
  return modalWindow(ui, caption, body, buttons || [['OK', () => true]]);
}

// A dialog from the dialog manager: its caption and its items at their
// bounds in a body of the dialog's size.
export function dialogWindow(ui, dialog, live = null) {
  const { doc } = ui;
  const box = doc.createElement('div');
  box.className = 'window';
  box.setAttribute('role', 'dialog');
  box.dataset.dialog = dialog.name;
  const title = titleBar(doc, dialog.caption || dialog.name);
  const body = doc.createElement('div');
  body.className = 'body';
  body.style.width = dialog.width + 'px';
  body.style.height = dialog.height + 'px';
  for (const item of dialog.items) body.append(renderItem(doc, item, live));
  box.append(title, body);
  makeDraggable(box, title);
  return box;
}

// A dialog or alert the plug-in showed (the About box, the error dialog):
// the host acknowledged it for the plug-in; the page shows it until the user
// closes it.
export function showPluginBox(ui, shown) {
  const { doc } = ui;
  if (shown.alert) {
    messageBox(ui, shown.caption || 'Alert', shown.text).classList.add('plugin-box');
    return;
  }
  const under = shade(doc);
  const box = dialogWindow(ui, shown);
  box.classList.add('plugin-box');
  const close = () => { under.remove(); box.remove(); };
  let hasButton = false;
  for (const el of box.querySelectorAll('button')) {
    hasButton = true;
    el.onclick = close;
  }
  if (!hasButton) {
    const row = doc.createElement('div');
    row.className = 'box-buttons';
    const ok = doc.createElement('button');
    ok.type = 'button';
    ok.textContent = 'OK';
    ok.onclick = close;
    row.append(ok);
    box.append(row);
  }
  box.addEventListener('keydown', (e) => {
    if (e.key === 'Enter' || e.key === 'Escape') {
      e.preventDefault();
      close();
    }
  });
  ui.layer.append(under, box);
  for (const el of box.querySelectorAll('[data-item-id]')) fitText(el, shown.width);
  centreWindow(ui, box);
  const first = box.querySelector('button');
  if (first) first.focus();
}
