// The plug-in's options dialog, live: every change goes to the host through
// the action queue, and the answer's changed items are shown again.
//
// `app` is the page's context (see app.mjs): ui, api, documentView, counters,
// setStatus, takeAnswer, reportResult, blockMenus, sessionPath, and
// `dialog`, the open dialog (null when none is open).
import { createActionQueue } from './action-queue.mjs';
import { placeItem, renderItem } from './dialog-items.mjs';
import { dialogWindow } from './windows.mjs';
import { SessionEnded } from './api.mjs';

export function createOptionsDialog(app) {
  const { ui } = app;
  let picking = null;

  const queue = createActionQueue({
    send: (action) => app.api.call('POST', app.sessionPath('action'), action),
    isOpen: () => app.dialog !== null,
    counters: app.counters,
    onAnswer(data) {
      app.takeAnswer(data);
      if (data.items) updateItems(data.items);
      if ('dialog' in data && data.dialog === null) {
        const label = app.dialog.label;
        close();
        app.reportResult(data, label);
      }
    },
    onFailure(e) {
      if (e instanceof SessionEnded) return;
      app.setStatus(e.message, true);
      // The host refused the action: show its values again.
      if (app.dialog) for (const id of app.dialog.items.keys()) app.dialog.refresh(id);
    },
  });

  function updateItems(items) {
    const dialog = app.dialog;
    if (!dialog) return;
    for (const item of items) {
      const known = dialog.items.get(item.id);
      if (!known) continue;
      known.json = item;
      dialog.refresh(item.id);
    }
  }

  function stopPicking() {
    if (app.dialog && picking !== null) {
      const known = app.dialog.items.get(picking);
      if (known) known.el.classList.remove('armed');
    }
    picking = null;
    app.documentView.setPicker(null);
  }

  function startPicking(id) {
    picking = id;
    app.dialog.items.get(id).el.classList.add('armed');
    app.documentView.setPicker((p) => {
      stopPicking();
      queue.push({ verb: 'pick', item: id, x: p.x, y: p.y });
    });
    app.setStatus('Click a point in the document to pick it (Esc: no pick).');
  }

  // A number still being typed goes before the Enter that follows it.
  function flushTyping(target) {
    if (!target || target.tagName !== 'INPUT' || target.type !== 'text') return;
    const id = Number(target.closest('[data-item-id]')?.dataset.itemId);
    const text = target.value.trim();
    if (id && text !== '' && Number.isFinite(Number(text))) queue.push({ verb: 'set', item: id, value: text });
  }

  function close() {
    stopPicking();
    queue.clear();
    const shown = ui.doc.getElementById('options-dialog');
    if (shown) shown.remove();
    app.dialog = null;
    app.blockMenus(app.ended);
  }

  function open(json, label) {
    close();
    app.blockMenus(true);
    const items = new Map();
    const live = {
      label,
      json,
      items,
      action: (a) => queue.push(a),
      // Shows the host's state of an item, except the text of a spin edit
      // the user is typing into (it catches up when the field loses focus).
      refresh(id) {
        const known = items.get(id);
        if (!known) return;
        const item = known.json;
        const input = known.el.querySelector && known.el.querySelector('input[type=text]');
        const typing = input && ui.doc.activeElement === input;
        if (typing && queue.isWaiting(id)) return;
        if (typing) {
          // Keep the focus and the caret: change the element in place.
          input.value = item.text;
          placeItem(known.el, item);
          input.disabled = !item.enabled;
          return;
        }
        const fresh = renderItem(ui.doc, item, live);
        known.el.replaceWith(fresh);
        known.el = fresh;
      },
      step(id, direction) {
        const known = items.get(id);
        if (!known) return;
        const waiting = queue.waitingValue(id);
        const input = known.el.querySelector('input');
        const current = Number(waiting !== undefined ? waiting : input.value);
        const next = (Number.isFinite(current) ? current : known.json.value) + direction;
        const text = next.toFixed(known.json.decimals || 0);
        input.value = text;
        queue.push({ verb: 'set', item: id, value: text });
      },
      startPick: startPicking,
    };
    const box = dialogWindow(ui, { ...json, items: [] });
    box.id = 'options-dialog';
    const body = box.querySelector('.body');
    for (const item of json.items) {
      const el = renderItem(ui.doc, item, live);
      items.set(item.id, { json: item, el });
      body.append(el);
    }
    box.addEventListener('keydown', (e) => {
      if (e.key === 'Enter' && e.target.tagName !== 'BUTTON' && e.target.tagName !== 'SELECT') {
        e.preventDefault();
        flushTyping(e.target);
        queue.push({ verb: 'enter' });
      } else if (e.key === 'Escape') {
        e.preventDefault();
        if (picking !== null) return stopPicking();
        queue.push({ verb: 'escape' });
      }
    });
    app.dialog = live;
    ui.layer.append(box);
    const view = app.documentView.element.getBoundingClientRect();
    box.style.left = Math.max(0, view.right - box.offsetWidth - 16) + 'px';
    box.style.top = (view.top + 16) + 'px';
    // The page moves left of the dialog when it would be under it.
    const free = box.offsetLeft - view.left - 8;
    if (app.documentView.pageRight() > box.offsetLeft && free > 240) app.documentView.fit(free);
    app.setStatus(label + ': the options dialog is open.');
    const first = box.querySelector('.item-spin-edit:not(.hidden) input');
    if (first) first.focus();
  }

  return { open, close };
}
