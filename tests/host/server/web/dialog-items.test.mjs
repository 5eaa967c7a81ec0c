// The dialog renderer: every item at its bounds, every kind of the dialog
// manager as its own element, actions wired only in a live dialog.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { itemKinds, itemLayout, kindClass, labelParts, renderItem } from '../../../../hostapp/server/web/dialog-items.mjs';
import { fakeDocument } from './fake-dom.mjs';

const base = { id: 7, text: '', font: 0, visible: true, enabled: true, bounds: [10, 20, 110, 42] };
const itemOf = (kind, extra = {}) => ({ ...base, kind, ...extra });

// A live dialog that records what the items ask of it.
function recorder() {
  const calls = [];
  return {
    calls,
    action: (a) => calls.push(['action', a]),
    step: (id, d) => calls.push(['step', id, d]),
    refresh: (id) => calls.push(['refresh', id]),
    typed: (id, text) => calls.push(['typed', id, text]),
    commit: (id, text) => calls.push(['commit', id, text]),
    startPick: (id) => calls.push(['pick', id]),
  };
}

test('an item is placed from its bounds, in pixels from the dialog\'s top left', () => {
  assert.deepEqual(itemLayout(itemOf('static text', { bounds: [12, 30, 200, 46] })), {
    left: 12, top: 30, width: 188, height: 16, className: 'item-static-text', hidden: false, bold: false, disabled: false,
  });
  // Reversed bounds give an empty box, not a negative one.
  const flat = itemLayout(itemOf('frame', { bounds: [50, 50, 40, 45] }));
  assert.equal(flat.width, 0);
  assert.equal(flat.height, 0);
  const el = renderItem(fakeDocument, itemOf('frame', { bounds: [3, 4, 53, 24] }), null);
  assert.deepEqual(el.style, { left: '3px', top: '4px', width: '50px', height: '20px' });
  assert.equal(el.dataset.itemId, 7);
  assert.equal(el.dataset.kind, 'frame');
});

test('visibility, the bold font and the enabled state become classes', () => {
  const layout = itemLayout(itemOf('static text', { visible: false, font: 5, enabled: false }));
  assert.equal(layout.hidden, true);
  assert.equal(layout.bold, true);
  assert.equal(layout.disabled, true);
  const el = renderItem(fakeDocument, itemOf('static text', { visible: false, font: 5, enabled: false }), null);
  for (const name of ['item', 'item-static-text', 'hidden', 'bold', 'disabled']) assert.ok(el.classList.contains(name), name);
  assert.equal(itemLayout(itemOf('static text', { font: 1 })).bold, false);
});

test('every kind of the dialog manager has its own element and class', () => {
  const tags = {
    'spin edit': 'DIV', 'popup list': 'SELECT', 'static text': 'DIV', 'text button': 'BUTTON', 'check box': 'LABEL',
    'picture button': 'BUTTON', 'text edit': 'INPUT', 'frame': 'DIV', 'picture': 'DIV',
  };
  assert.deepEqual([...itemKinds].sort(), Object.keys(tags).sort());
  for (const kind of itemKinds) {
    const el = renderItem(fakeDocument, itemOf(kind, { text: 'x', entries: [], value: 0, limits: [null, null] }), null);
    assert.equal(el.tagName, tags[kind], kind);
    assert.ok(el.classList.contains(kindClass(kind)), kind);
  }
  assert.equal(kindClass('picture button'), 'item-picture-button');
});

test('an unknown kind shows its text as static text does', () => {
  const el = renderItem(fakeDocument, itemOf('dial', { text: 'Hello' }), null);
  assert.equal(el.tagName, 'DIV');
  assert.equal(el.textContent, 'Hello');
  assert.ok(el.classList.contains('item-dial'));
});

test('a spin edit hands typing, commits, steps and refreshes to the dialog', () => {
  const live = recorder();
  const el = renderItem(fakeDocument, itemOf('spin edit', { text: '200.00', value: 200, limits: [0, null], decimals: 2 }), live);
  const [input] = el.findAll((e) => e.tagName === 'INPUT');
  assert.equal(input.value, '200.00');
  input.value = '12';
  input.dispatch('input');
  input.dispatch('change');
  input.value = '120';
  input.dispatch('blur');           // leaving the field commits, then shows the host's text
  input.dispatch('keydown', { key: 'ArrowDown', preventDefault() {} });
  input.dispatch('keydown', { key: 'Tab', preventDefault() { throw new Error('Tab is the browser\'s'); } });
  const [up, down] = el.findAll((e) => e.tagName === 'BUTTON');
  // An arrow keeps the focus where it is, so its click is not lost.
  let kept = false;
  up.dispatch('mousedown', { preventDefault() { kept = true; } });
  assert.ok(kept);
  up.onclick();
  down.onclick();
  assert.deepEqual(live.calls, [
    ['typed', 7, '12'], ['commit', 7, '12'], ['commit', 7, '120'], ['refresh', 7], ['step', 7, -1], ['step', 7, 1],
    ['step', 7, -1],
  ]);
});

test('a disabled spin edit disables its field and its arrows', () => {
  const el = renderItem(fakeDocument, itemOf('spin edit', { enabled: false, text: '1' }), null);
  assert.ok(el.findAll((e) => e.tagName === 'INPUT' || e.tagName === 'BUTTON').every((e) => e.disabled));
});

test('a check box takes 0 or 1 and sends its new state', () => {
  const live = recorder();
  const on = renderItem(fakeDocument, itemOf('check box', { text: '&Preview', value: 1 }), live);
  const [box] = on.findAll((e) => e.tagName === 'INPUT');
  assert.equal(box.checked, true);
  assert.equal(on.textContent, 'Preview');
  box.checked = false;
  box.onchange();
  assert.deepEqual(live.calls, [['action', { verb: 'check', item: 7, value: false }]]);
  const off = renderItem(fakeDocument, itemOf('check box', { value: 0 }), null);
  assert.equal(off.findAll((e) => e.tagName === 'INPUT')[0].checked, false);
});

test('a popup list has one option per entry and sends the chosen position', () => {
  const live = recorder();
  const el = renderItem(fakeDocument, itemOf('popup list', { entries: ['a', 'b', 'c'], value: 2, selected: 'c' }), live);
  assert.deepEqual(el.children.map((o) => o.textContent), ['a', 'b', 'c']);
  assert.equal(el.value, 2);
  el.value = '1';
  el.onchange();
  assert.deepEqual(live.calls, [['action', { verb: 'choose', item: 7, value: 1 }]]);
});

test('buttons press, pick buttons start a pick, picture buttons show no text', () => {
  const live = recorder();
  const press = renderItem(fakeDocument, itemOf('text button', { text: '&Tumble' }), live);
  assert.equal(press.textContent, 'Tumble');
  press.onclick();
  const pick = renderItem(fakeDocument, itemOf('picture button', { id: 179, text: 'ignored', picks: true, icon: 0 }), live);
  assert.equal(pick.textContent, '');
  assert.ok(pick.classList.contains('picks'));
  pick.onclick();
  assert.deepEqual(live.calls, [['action', { verb: 'press', item: 7 }], ['pick', 179]]);
});

test('without a live dialog nothing is wired', () => {
  const el = renderItem(fakeDocument, itemOf('text button', { text: 'OK' }), null);
  assert.equal(el.onclick, undefined);
});

test('& marks one letter, && is a plain &', () => {
  assert.deepEqual(labelParts('&OK'), [{ mark: 'O' }, { text: 'K' }]);
  assert.deepEqual(labelParts('Salt && &Pepper'), [{ text: 'Salt ' }, { text: '&' }, { text: ' ' }, { mark: 'P' }, { text: 'epper' }]);
  assert.deepEqual(labelParts('plain'), [{ text: 'plain' }]);
  assert.deepEqual(labelParts(''), []);
});
