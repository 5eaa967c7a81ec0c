// Typing into a spin edit: when a value goes to the host, and what the
// field shows when the host answers.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createSpinTyping, kTypingPause, numberText } from '../../../../hostapp/server/web/spin-typing.mjs';

// Timers the test runs by hand.
function fakeTimers() {
  const t = { now: 0, due: new Map(), next: 1 };
  t.setTimeout = (fn, ms) => { const id = t.next++; t.due.set(id, [t.now + ms, fn]); return id; };
  t.clearTimeout = (id) => t.due.delete(id);
  t.advance = (ms) => {
    t.now += ms;
    for (const [id, [at, fn]] of [...t.due]) {
      if (at <= t.now) {
        t.due.delete(id);
        fn();
      }
    }
  };
  return t;
}

function field(hostText) {
  const timers = fakeTimers();
  const sent = [];
  const typing = createSpinTyping({ hostText, timers, send: (text) => sent.push(text) });
  // Types `text` a key at a time, `gap` ms apart, as a person does.
  const type = (text, gap = 80) => {
    for (let k = 1; k <= text.length; ++k) {
      typing.typed(text.slice(0, k));
      timers.advance(gap);
    }
  };
  return { typing, timers, sent, type };
}

test('numbers are sent trimmed; anything else is not a number', () => {
  assert.equal(numberText(' 37.5 '), '37.5');
  assert.equal(numberText('-45'), '-45');
  assert.equal(numberText('-'), null);
  assert.equal(numberText('1e'), null);
  assert.equal(numberText(''), null);
  assert.equal(numberText('12x'), null);
});

test('keys typed without a pause send nothing until the pause, then the whole number once', () => {
  for (const text of ['150', '-45', '37.5', '100']) {
    const f = field('200.00');
    f.type(text);
    assert.deepEqual(f.sent, [], text);
    f.timers.advance(kTypingPause);
    assert.deepEqual(f.sent, [text]);
    f.timers.advance(10 * kTypingPause);
    assert.deepEqual(f.sent, [text], 'sent once');
  }
});

test('Enter, Tab or leaving the field sends at once; the pause then sends nothing more', () => {
  const f = field('200.00');
  f.type('37.5');
  assert.equal(f.typing.pending, true);
  assert.equal(f.typing.commit('37.5'), true);
  assert.equal(f.typing.pending, false);
  f.timers.advance(kTypingPause);
  assert.deepEqual(f.sent, ['37.5']);
});

test('a field is never sent again unchanged: not the host\'s text, not the last text sent', () => {
  const f = field('200.00');
  assert.equal(f.typing.commit('200.00'), false, 'the host\'s own text');
  f.type('150');
  f.timers.advance(kTypingPause);
  // The host answers 150.00 while the person is still in the field.
  assert.equal(f.typing.hostShowed('150.00', true, '150'), '150');
  assert.equal(f.typing.commit('150'), false, 'Enter after the pause sends nothing');
  assert.equal(f.typing.commit('150.00'), false);
  assert.deepEqual(f.sent, ['150']);
  // Not a number: nothing goes, and nothing waits.
  f.typing.typed('15x');
  f.timers.advance(kTypingPause);
  assert.equal(f.typing.commit(''), false);
  assert.deepEqual(f.sent, ['150']);
});

test('backspace and retyping send only what stands after the pause', () => {
  const f = field('200.00');
  f.type('37');
  f.typing.typed('3');   // backspace
  f.timers.advance(80);
  f.typing.typed('36');
  f.timers.advance(kTypingPause);
  assert.deepEqual(f.sent, ['36']);
});

test('the host\'s text shows only when the field is not being edited', () => {
  const f = field('1.00');
  f.type('150');
  assert.equal(f.typing.hostShowed('1.50', true, '150'), '150', 'never under the caret');
  f.typing.commit('150');
  assert.equal(f.typing.hostShowed('150.00', false, '150'), '150.00', 'after Tab');
  // Once shown, the host's value is the one to compare with again.
  assert.equal(f.typing.commit('150'), true);
});

test('after an arrow step the host\'s text shows even in the focused field; typing again keeps it', () => {
  const f = field('10');
  f.typing.stepped('11');
  assert.equal(f.typing.hostShowed('11', true, '11'), '11');
  f.typing.stepped('501');
  assert.equal(f.typing.hostShowed('500', true, '501'), '500', 'the host clamped the step');
  f.typing.typed('5');
  assert.equal(f.typing.hostShowed('500', true, '5'), '5');
  assert.equal(f.typing.commit('500'), false, 'the host\'s text');
  assert.equal(f.typing.commit('5'), true);
});
