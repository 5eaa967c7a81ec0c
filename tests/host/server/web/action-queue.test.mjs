// The options dialog's action queue: one action on its way at a time, sets
// to one spin edit coalesced, everything else kept in order.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createActionQueue } from '../../../../hostapp/server/web/action-queue.mjs';

// A queue whose sends wait until the test answers them.
function harness({ open = true } = {}) {
  const h = { sent: [], answers: [], failures: [], open, counters: { sent: 0, dropped: 0 }, calls: [] };
  h.queue = createActionQueue({
    send: (action) => new Promise((resolve, reject) => {
      h.sent.push(action);
      h.calls.push({ resolve, reject });
    }),
    isOpen: () => h.open,
    onAnswer: (data, action) => h.answers.push([data, action]),
    onFailure: (error, action) => h.failures.push([error.message, action]),
    counters: h.counters,
  });
  // Answers the oldest unanswered send, then lets the queue send the next.
  h.answer = async (data = {}) => {
    h.calls.shift().resolve(data);
    await new Promise((r) => setImmediate(r));
  };
  h.fail = async (message) => {
    h.calls.shift().reject(new Error(message));
    await new Promise((r) => setImmediate(r));
  };
  return h;
}

const set = (item, value) => ({ verb: 'set', item, value });

test('a burst of sets to one item sends the first at once and then only the last', async () => {
  const h = harness();
  for (const v of ['1', '12', '120', '1200', '120']) h.queue.push(set(5, v));
  assert.deepEqual(h.sent, [set(5, '1')]);
  assert.equal(h.queue.waitingValue(5), '120');
  await h.answer();
  assert.deepEqual(h.sent, [set(5, '1'), set(5, '120')]);
  await h.answer();
  assert.equal(h.sent.length, 2);
  assert.deepEqual(h.counters, { sent: 2, dropped: 3 });
  assert.equal(h.answers.length, 2);
  assert.equal(h.queue.inFlight, false);
});

test('actions for different items wait in the order they came', async () => {
  const h = harness();
  h.queue.push(set(5, '80'));
  h.queue.push(set(4, '3'));
  h.queue.push({ verb: 'press', item: 91 });
  h.queue.push({ verb: 'choose', item: 164, value: 2 });
  h.queue.push(set(6, '10'));
  while (h.calls.length) await h.answer();
  assert.deepEqual(h.sent.map((a) => a.item), [5, 4, 91, 164, 6]);
  assert.equal(h.counters.dropped, 0);
});

test('a newer set replaces the waiting one in its place, ahead of later actions', async () => {
  const h = harness();
  h.queue.push(set(5, '1'));          // on its way
  h.queue.push(set(5, '2'));          // waits
  h.queue.push({ verb: 'press', item: 91 });
  h.queue.push(set(5, '3'));          // replaces '2', stays before the press
  h.queue.push({ verb: 'enter' });
  while (h.calls.length) await h.answer();
  assert.deepEqual(h.sent, [set(5, '1'), set(5, '3'), { verb: 'press', item: 91 }, { verb: 'enter' }]);
});

test('presses, choices and checks are never merged', async () => {
  const h = harness();
  h.queue.push(set(5, '1'));
  for (let k = 0; k < 3; ++k) h.queue.push({ verb: 'press', item: 91 });
  h.queue.push({ verb: 'choose', item: 164, value: 1 });
  h.queue.push({ verb: 'choose', item: 164, value: 2 });
  h.queue.push({ verb: 'check', item: 30, value: true });
  h.queue.push({ verb: 'check', item: 30, value: false });
  while (h.calls.length) await h.answer();
  assert.equal(h.sent.length, 8);
  assert.equal(h.counters.dropped, 0);
});

test('a set that arrives after its item was sent is sent again, not merged into the one in flight', async () => {
  const h = harness();
  h.queue.push(set(5, '1'));
  assert.equal(h.queue.waitingValue(5), undefined);
  assert.equal(h.queue.isWaiting(5), false);
  h.queue.push(set(5, '2'));
  assert.equal(h.queue.isWaiting(5), true);
  await h.answer();
  await h.answer();
  assert.deepEqual(h.sent, [set(5, '1'), set(5, '2')]);
});

test('the caller\'s action objects are not changed by merging', async () => {
  const h = harness();
  h.queue.push(set(5, '1'));
  const waiting = set(5, '2');
  h.queue.push(waiting);
  h.queue.push(set(5, '3'));
  assert.equal(waiting.value, '2');
  await h.answer();
  assert.equal(h.sent[1].value, '3');
});

test('a refused action reports the failure and the queue goes on', async () => {
  const h = harness();
  h.queue.push(set(5, 'x'));
  h.queue.push({ verb: 'press', item: 91 });
  await h.fail('the item is disabled');
  assert.deepEqual(h.failures, [['the item is disabled', set(5, 'x')]]);
  assert.deepEqual(h.sent[1], { verb: 'press', item: 91 });
  await h.answer({ ok: 1 });
  assert.deepEqual(h.answers, [[{ ok: 1 }, { verb: 'press', item: 91 }]]);
  assert.equal(h.queue.inFlight, false);
});

test('an answer handler that throws counts as a failure and does not stall the queue', async () => {
  const h = harness();
  const failures = [];
  const sent = [];
  const queue = createActionQueue({
    send: async (action) => { sent.push(action); return {}; },
    isOpen: () => true,
    onAnswer: () => { throw new Error('bad answer'); },
    onFailure: (e) => failures.push(e.message),
    counters: h.counters,
  });
  queue.push({ verb: 'press', item: 1 });
  queue.push({ verb: 'press', item: 2 });
  await new Promise((r) => setImmediate(r));
  assert.deepEqual(sent.map((a) => a.item), [1, 2]);
  assert.deepEqual(failures, ['bad answer', 'bad answer']);
});

test('nothing is queued or sent once the dialog is closed', async () => {
  const h = harness({ open: false });
  h.queue.push(set(5, '1'));
  assert.equal(h.sent.length, 0);
  h.open = true;
  h.queue.push(set(5, '1'));
  h.queue.push({ verb: 'press', item: 91 });
  // The dialog closes while the first is in flight (Enter's answer, say).
  h.open = false;
  h.queue.clear();
  await h.answer({ dialog: null });
  assert.equal(h.sent.length, 1);
  assert.equal(h.counters.sent, 1);
  // Open again: the queue starts empty and sends at once.
  h.open = true;
  h.queue.push({ verb: 'escape' });
  assert.deepEqual(h.sent[1], { verb: 'escape' });
});

test('waiting actions are held while the dialog is closed and none is lost by clear alone', async () => {
  const h = harness();
  h.queue.push(set(5, '1'));
  h.queue.push(set(4, '2'));
  h.open = false;
  await h.answer();
  assert.equal(h.sent.length, 1, 'nothing goes out after the dialog closed');
  h.open = true;
  h.queue.push({ verb: 'enter' });
  assert.deepEqual(h.sent.map((a) => a.verb), ['set', 'set']);
});
