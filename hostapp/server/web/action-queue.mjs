// The options dialog's actions go to the host one at a time. While one is on
// its way, newer ones wait; a newer value for a spin edit that already has a
// `set` waiting replaces that value in place (the newest wins, and no stale
// preview is ever asked for). Every other action waits in order and is never
// dropped.
//
// send(action) -> Promise of the answer; isOpen() says whether the dialog is
// still open (nothing is sent after it closed); onAnswer(data, action) and
// onFailure(error, action) take the outcome; `counters.sent` and
// `counters.dropped` count what went out and what was merged away.
export function createActionQueue({ send, isOpen, onAnswer, onFailure, counters }) {
  const pending = [];
  let inFlight = null;  // the action on its way

  const waitingSet = (item) => pending.find((a) => a.verb === 'set' && a.item === item);

  function push(action) {
    if (!isOpen()) return;
    if (action.verb === 'set') {
      const waiting = waitingSet(action.item);
      if (waiting) {
        waiting.value = action.value;
        counters.dropped++;
        return;
      }
    }
    pending.push({ ...action });
    pump();
  }

  async function pump() {
    if (inFlight || !pending.length || !isOpen()) return;
    const action = pending.shift();
    inFlight = action;
    counters.sent++;
    let answer, error, failed = false;
    try {
      answer = await send(action);
    } catch (e) {
      error = e;
      failed = true;
    }
    // The answer is taken once the action is no longer on its way.
    inFlight = null;
    try {
      if (failed) onFailure(error, action);
      else onAnswer(answer, action);
    } catch (e) {
      onFailure(e, action);  // an answer the page could not take
    } finally {
      pump();
    }
  }

  return {
    push,
    // The value of the `set` waiting for `item`, or undefined.
    waitingValue(item) {
      const waiting = waitingSet(item);
      return waiting ? waiting.value : undefined;
    },
    // Whether any action for `item` still waits.
    isWaiting(item) {
      return pending.some((a) => a.item === item);
    },
    // Whether an action for `item` waits or is on its way.
    involves(item) {
      return (inFlight !== null && inFlight.item === item) || pending.some((a) => a.item === item);
    },
    clear() {
      pending.length = 0;
    },
    get inFlight() {
      return inFlight !== null;
    },
  };
}
