// Dialog items as the host's dialog manager describes them: each at its own
// bounds, each kind as its own element. `live` (the open options dialog)
// wires an item's actions; without it the item only shows.

// The kinds on the wire and how each is built. An unknown kind shows its
// text, as a static text does.
const kKinds = {
  'spin edit': spinEdit,
  'popup list': popupList,
  'static text': staticText,
  'text button': button,
  'picture button': button,
  'check box': checkBox,
  'text edit': textEdit,
  'frame': box,
  'picture': staticText,
};

export const itemKinds = Object.keys(kKinds);

// The class of a kind's elements: "spin edit" -> "item-spin-edit".
export const kindClass = (kind) => 'item-' + String(kind).replace(/\s+/g, '-');

const kBoldFont = 5;

// Where an item goes and how it looks, from its JSON alone.
export function itemLayout(item) {
  const [l, t, r, b] = item.bounds;
  return {
    left: l,
    top: t,
    width: Math.max(0, r - l),
    height: Math.max(0, b - t),
    className: kindClass(item.kind),
    hidden: !item.visible,
    bold: item.font === kBoldFont,
    disabled: !item.enabled,
  };
}

export function placeItem(el, item) {
  const at = itemLayout(item);
  el.style.left = at.left + 'px';
  el.style.top = at.top + 'px';
  el.style.width = at.width + 'px';
  el.style.height = at.height + 'px';
  el.classList.add('item', at.className);
  el.classList.toggle('hidden', at.hidden);
  el.classList.toggle('bold', at.bold);
  el.classList.toggle('disabled', at.disabled);
  el.dataset.itemId = item.id;
  el.dataset.kind = item.kind;
}

// Text with the dialog convention of '&' marks: "&OK" is OK with the O
// marked, "&&" a plain '&'. Parts are { text } or { mark }.
export function labelParts(text) {
  const parts = [];
  for (const part of String(text).split(/(&&|&.)/)) {
    if (part === '&&') parts.push({ text: '&' });
    else if (part.length === 2 && part[0] === '&') parts.push({ mark: part[1] });
    else if (part) parts.push({ text: part });
  }
  return parts;
}

export function setLabel(doc, el, text) {
  el.textContent = '';
  for (const part of labelParts(text)) {
    if (part.mark === undefined) {
      el.append(part.text);
    } else {
      const u = doc.createElement('u');
      u.textContent = part.mark;
      el.append(u);
    }
  }
}

export function renderItem(doc, item, live) {
  const el = (kKinds[item.kind] || staticText)(doc, item, live);
  placeItem(el, item);
  return el;
}

function arrowButton(doc, text, className) {
  const b = doc.createElement('button');
  b.type = 'button';
  b.textContent = text;
  b.tabIndex = -1;
  b.className = className;
  return b;
}

function spinEdit(doc, item, live) {
  const el = doc.createElement('div');
  const input = doc.createElement('input');
  input.type = 'text';
  input.inputMode = 'decimal';
  input.value = item.text;
  input.disabled = !item.enabled;
  input.setAttribute('aria-label', 'item ' + item.id);
  const arrows = doc.createElement('div');
  arrows.className = 'arrows';
  const up = arrowButton(doc, '▲', 'up');
  const down = arrowButton(doc, '▼', 'down');
  up.disabled = down.disabled = !item.enabled;
  arrows.append(up, down);
  el.append(input, arrows);
  if (live) {
    // The text is the person's while they type: it goes to the host after a
    // pause, on Enter, Tab or leaving the field (live.typed / live.commit).
    input.addEventListener('input', () => live.typed(item.id, input.value));
    input.addEventListener('change', () => live.commit(item.id, input.value));
    input.addEventListener('blur', () => {
      live.commit(item.id, input.value);
      live.refresh(item.id);
    });
    input.addEventListener('keydown', (e) => {
      if (e.key === 'ArrowUp' || e.key === 'ArrowDown') {
        e.preventDefault();
        live.step(item.id, e.key === 'ArrowUp' ? 1 : -1);
      }
    });
    // An arrow takes no focus, so a click on it is never lost to the field
    // losing focus (and being drawn again) under the pointer; it gives the
    // focus to its own field, which the host's answers then update in place.
    for (const [arrow, direction] of [[up, 1], [down, -1]]) {
      arrow.addEventListener('mousedown', (e) => e.preventDefault());
      arrow.onclick = () => {
        if (doc.activeElement !== input && input.focus) input.focus();
        live.step(item.id, direction);
      };
    }
  }
  return el;
}

function checkBox(doc, item, live) {
  const el = doc.createElement('label');
  const check = doc.createElement('input');
  check.type = 'checkbox';
  check.checked = !!item.value;
  check.disabled = !item.enabled;
  const text = doc.createElement('span');
  setLabel(doc, text, item.text);
  el.append(check, text);
  if (live) check.onchange = () => live.action({ verb: 'check', item: item.id, value: check.checked });
  return el;
}

function popupList(doc, item, live) {
  const el = doc.createElement('select');
  (item.entries || []).forEach((entry, index) => {
    const option = doc.createElement('option');
    option.value = index;
    option.textContent = entry;
    el.append(option);
  });
  el.value = item.value;
  el.disabled = !item.enabled;
  if (live) el.onchange = () => live.action({ verb: 'choose', item: item.id, value: Number(el.value) });
  return el;
}

function button(doc, item, live) {
  const el = doc.createElement('button');
  el.type = 'button';
  setLabel(doc, el, item.kind === 'text button' ? item.text : '');
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
  return el;
}

function textEdit(doc, item) {
  const el = doc.createElement('input');
  el.type = 'text';
  el.value = item.text;
  el.readOnly = true;
  return el;
}

function staticText(doc, item) {
  const el = doc.createElement('div');
  setLabel(doc, el, item.text);
  return el;
}

function box(doc) {
  return doc.createElement('div');
}

// The kinds whose text may be wider in the page's font than in the host's.
const kTextKinds = new Set(['static text', 'check box', 'popup list']);

// Text wider than its item's bounds widens the item, up to the dialog's
// right edge, instead of being clipped; a popup list is as wide as its
// longest entry (the frame widens for it: see fitFrame). Needs the item in
// the document (it measures).
export function fitText(el, dialogWidth) {
  if (!kTextKinds.has(el.dataset.kind) || el.classList.contains('hidden')) return;
  const room = Math.max(0, dialogWidth - parseFloat(el.style.left || '0'));
  if (el.dataset.kind === 'popup list') {
    if (el.style.width !== 'auto') el.style.minWidth = el.style.width;
    el.style.width = 'auto';
    return;
  }
  if (el.scrollWidth > el.clientWidth) el.style.width = Math.min(el.scrollWidth + 1, room) + 'px';
}

// A dialog body at least as wide as the dialog and as its widest item.
export function fitFrame(body, dialogWidth) {
  let right = dialogWidth;
  for (const el of body.querySelectorAll('.item:not(.hidden)')) right = Math.max(right, el.offsetLeft + el.offsetWidth + 4);
  body.style.width = right + 'px';
}
