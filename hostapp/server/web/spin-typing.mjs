// A spin edit is the person's while it has focus: the page never rewrites
// its text under the caret. What was typed goes to the host when the person
// pauses, presses Enter or Tab, or leaves the field; the host's formatted
// value is shown only once the field is no longer being edited.

// How long after the last keystroke a typed number is sent.
export const kTypingPause = 600;

// The text a field sends: a finite number, blanks trimmed; otherwise null.
export function numberText(text) {
  const t = String(text).trim();
  return t !== '' && Number.isFinite(Number(t)) ? t : null;
}

// One field's typing. `send(text)` hands a value to the host; `timers` is
// { setTimeout, clearTimeout } (the window's, or a test's). `hostText` is
// the text the host showed last.
export function createSpinTyping({ hostText, send, timers, pause = kTypingPause }) {
  let host = String(hostText);
  let sent = null;  // the last text sent since the host showed a value of its own
  let timer = null;
  let stepping = false;  // the last change was an arrow step, not a key

  const cancel = () => {
    if (timer !== null) timers.clearTimeout(timer);
    timer = null;
  };

  // Whether `text` is a value the host has not yet been told.
  const isNew = (text) => {
    const t = numberText(text);
    return t !== null && t !== host && t !== sent;
  };

  // Sends `text` now when it is new; returns whether it was sent.
  function commit(text) {
    cancel();
    if (!isNew(text)) return false;
    sent = numberText(text);
    send(sent);
    return true;
  }

  return {
    // A keystroke changed the text: send it after a pause.
    typed(text) {
      cancel();
      stepping = false;
      if (!isNew(text)) return;
      timer = timers.setTimeout(() => {
        timer = null;
        commit(text);
      }, pause);
    },
    commit,
    // The page set the text itself (an arrow step) and sends it.
    stepped(text) {
      cancel();
      stepping = true;
      sent = numberText(text);
    },
    // The host's value. Returns the text the field should show: the host's
    // when the field is not being edited (or was only stepped), else what
    // the person typed.
    hostShowed(text, editing, current) {
      host = String(text);
      if (editing && !stepping) return current;
      cancel();
      sent = null;
      return host;
    },
    isNew,
    get pending() {
      return timer !== null;
    },
  };
}
