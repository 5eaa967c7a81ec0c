// The server's API: every request carries the run's token, every answer is
// JSON. An answer that says the session ended calls `onSessionEnded` and
// throws SessionEnded, so callers tell it from an error worth showing.

export class SessionEnded extends Error {}

// `fetch` is injected (the window's, bound to it, or a test's).
export function createApi({ token, fetch, onSessionEnded }) {
  const headers = { 'X-Spiral-Token': token };

  function ended(reason) {
    onSessionEnded(reason);
    return new SessionEnded(reason);
  }

  async function call(method, path, body) {
    const res = await fetch('/api/' + path, {
      method,
      headers: { ...headers, 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    let data;
    try {
      data = await res.json();
    } catch {
      data = { error: 'the server sent an unreadable answer (' + res.status + ')' };
    }
    if (data.sessionEnded) throw ended(data.error);
    if (!res.ok) throw new Error(data.error || ('status ' + res.status));
    return data;
  }

  // A file to download: its name (from Content-Disposition, else `fallback`)
  // and its bytes.
  async function file(path, fallback) {
    const res = await fetch('/api/' + path, { headers });
    if (!res.ok) {
      const data = await res.json().catch(() => ({}));
      if (data.sessionEnded) throw ended(data.error);
      throw new Error(data.error || res.status);
    }
    const name = (/filename="([^"]+)"/.exec(res.headers.get('Content-Disposition') || '') || [])[1] || fallback;
    return { name, blob: await res.blob() };
  }

  // Closes a session as the page goes away (the request outlives the page).
  function close(path) {
    fetch('/api/' + path, { method: 'DELETE', headers, keepalive: true });
  }

  return { call, file, close, headers };
}
