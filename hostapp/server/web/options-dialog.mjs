// The plug-in's options dialog, live: every change goes to the host through
// the action queue, and the answer's changed items are shown again.
//
// `app` is the page's context (see app.mjs): ui, api, documentView, counters,
// setStatus, takeAnswer, reportResult, blockMenus, sessionPath, and
// `dialog`, the open dialog (null when none is open).
import { createActionQueue } from './action-queue.mjs';
import { fitFrame, fitText, placeItem, renderItem } from './dialog-items.mjs';
import { createSpinTyping } from './spin-typing.mjs';
import { dialogWindow } from './windows.mjs';
import { SessionEnded } from './api.mjs';

export function createOptionsDialog(app) {
  const { ui } = app;
  let picking = null;
  let onKey = null;
  const timers = {
    setTimeout: (fn, ms) => ui.win.setTimeout(fn, ms),
    clearTimeout: (t) => ui.win.clearTimeout(t),
  };

  const queue = createActionQueue({
    send: (action) => app.api.call('POST', app.sessionPath('action'), action),
    isOpen: () => app.dialog !== null,
    counters: app.counters,
    onAnswer(data, action) {
      app.takeAnswer(data);
      if (data.items) updateItems(data.items);
      // A typed value the host kept as it was (or clamped to what it was)
      // changes no item, but the field shows the host's text again.
      if (app.dialog && action.verb === 'set') app.dialog.refresh(action.item);
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
      app.setStatus(`Picked the point ${p.x.toFixed(1)}, ${p.y.toFixed(1)} pt.`);
    });
    app.setStatus('Click a point in the document to pick it (Esc: no pick).');
  }

  // Enter accepts (the dialog's default item) from anywhere in the dialog,
  // after the number being typed has gone; Escape drops an armed pick, else
  // cancels. A box over the dialog (an alert) takes its own keys.
  function accept() {
    const dialog = app.dialog;
    if (!dialog) return;
    stopPicking();
    const focused = ui.doc.activeElement;
    const id = Number(focused?.closest?.('#options-dialog [data-item-id]')?.dataset.itemId);
    if (id && focused.tagName === 'INPUT' && focused.type === 'text') dialog.commit(id, focused.value);
    queue.push({ verb: 'enter' });
  }

  function keyDown(e) {
    if (!app.dialog || e.defaultPrevented) return;
    if (e.target.closest && e.target.closest('.plugin-box, #session-ended')) return;
    if (e.key === 'Enter') {
      e.preventDefault();
      accept();
    } else if (e.key === 'Escape') {
      e.preventDefault();
      if (picking !== null) return stopPicking();
      queue.push({ verb: 'escape' });
    }
  }

  function close() {
    stopPicking();
    queue.clear();
    if (onKey) ui.doc.removeEventListener('keydown', onKey);
    onKey = null;
    const shown = ui.doc.getElementById('options-dialog');
    if (shown) shown.remove();
    app.dialog = null;
    app.blockMenus(app.ended);
  }

  function open(json, label) {
    close();
    app.blockMenus(true);
    const items = new Map();
    const typingOf = (id) => {
      const known = items.get(id);
      if (!known) return null;
      known.typing ||= createSpinTyping({
        hostText: known.json.text,
        timers,
        send: (text) => queue.push({ verb: 'set', item: id, value: text }),
      });
      return known.typing;
    };
    const spinInput = (known) => known.el.querySelector && known.el.querySelector('input[type=text]');
    const live = {
      label,
      json,
      items,
      action: (a) => queue.push(a),
      typed: (id, text) => typingOf(id)?.typed(text),
      commit: (id, text) => typingOf(id)?.commit(text),
      // Shows the host's state of an item. A spin edit being typed into, or
      // whose value is still on its way, keeps its text and caret.
      refresh(id) {
        const known = items.get(id);
        if (!known) return;
        const item = known.json;
        const input = spinInput(known);
        if (input) {
          const focused = ui.doc.activeElement === input;
          const shown = typingOf(id).hostShowed(item.text, focused || queue.involves(id), input.value);
          if (focused || shown !== item.text) {
            if (input.value !== shown) input.value = shown;
            placeItem(known.el, item);
            input.disabled = !item.enabled;
            for (const arrow of known.el.querySelectorAll('button')) arrow.disabled = !item.enabled;
            return;
          }
        }
        const fresh = renderItem(ui.doc, item, live);
        known.el.replaceWith(fresh);
        known.el = fresh;
        if (picking === id) fresh.classList.add('armed');
        fitText(fresh, json.width);
        fitFrame(body, json.width);
      },
      step(id, direction) {
        const known = items.get(id);
        if (!known) return;
        const waiting = queue.waitingValue(id);
        const input = spinInput(known);
        const current = Number(waiting !== undefined ? waiting : input.value);
        const next = (Number.isFinite(current) ? current : known.json.value) + direction;
        const text = next.toFixed(known.json.decimals || 0);
        input.value = text;
        typingOf(id).stepped(text);
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
    // The plug-in makes no OK item: the frame's own button is the default
    // item's action, as Enter is.
    const row = ui.doc.createElement('div');
    row.className = 'box-buttons frame-buttons';
    const ok = ui.doc.createElement('button');
    ok.type = 'button';
    ok.id = 'options-ok';
    ok.className = 'default';
    ok.textContent = 'OK';
    ok.title = 'Accept the options (Enter)';
    ok.onclick = accept;
    row.append(ok);
    box.append(row);
    onKey = keyDown;
    ui.doc.addEventListener('keydown', onKey);
    app.dialog = live;
    ui.layer.append(box);
    for (const { el } of items.values()) fitText(el, json.width);
    fitFrame(body, json.width);
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
