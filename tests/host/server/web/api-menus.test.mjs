// The API client (token, errors, an ended session) and the menus the session
// state makes (downloads from its exports, entries gated by its operations).
import { test } from 'node:test';
import { pageSizeProblem } from '../../../../hostapp/server/web/commands.mjs';
import assert from 'node:assert/strict';
import { SessionEnded, createApi } from '../../../../hostapp/server/web/api.mjs';
import { menuModel } from '../../../../hostapp/server/web/menus.mjs';

// A fetch that answers from a list and keeps the requests.
function fakeFetch(answers) {
  const requests = [];
  const fetch = async (url, init = {}) => {
    requests.push({ url, ...init });
    const a = answers.shift();
    return {
      ok: a.status < 400,
      status: a.status,
      headers: new Map(Object.entries(a.headers || {})),
      json: async () => (typeof a.body === 'string' ? JSON.parse(a.body) : a.body),
      blob: async () => a.blob,
    };
  };
  return { fetch, requests };
}

test('calls carry the token and a JSON body, and return the answer', async () => {
  const { fetch, requests } = fakeFetch([{ status: 201, body: { id: 'ab' } }]);
  const api = createApi({ token: 'tok', fetch, onSessionEnded: () => assert.fail('not ended') });
  assert.deepEqual(await api.call('POST', 'sessions/ab/action', { verb: 'enter' }), { id: 'ab' });
  assert.equal(requests[0].url, '/api/sessions/ab/action');
  assert.equal(requests[0].method, 'POST');
  assert.equal(requests[0].headers['X-Spiral-Token'], 'tok');
  assert.equal(requests[0].body, '{"verb":"enter"}');
});

test('a refusal throws its error; an unreadable answer says so with the status', async () => {
  const { fetch } = fakeFetch([{ status: 400, body: { error: 'the item is hidden' } }, { status: 502, body: 'not json{' }, { status: 500, body: {} }]);
  const api = createApi({ token: 't', fetch, onSessionEnded: () => assert.fail('not ended') });
  await assert.rejects(api.call('POST', 'x', {}), { message: 'the item is hidden' });
  await assert.rejects(api.call('POST', 'x', {}), { message: 'the server sent an unreadable answer (502)' });
  await assert.rejects(api.call('POST', 'x', {}), { message: 'status 500' });
});

test('an ended session is reported once per answer and thrown as SessionEnded', async () => {
  const reasons = [];
  const { fetch } = fakeFetch([
    { status: 410, body: { error: 'the plug-in\'s process ended', sessionEnded: true } },
    { status: 410, body: { error: 'gone', sessionEnded: true } },
  ]);
  const api = createApi({ token: 't', fetch, onSessionEnded: (r) => reasons.push(r) });
  await assert.rejects(api.call('POST', 'x'), SessionEnded);
  await assert.rejects(api.file('sessions/1/export/svg', 'f'), SessionEnded);
  assert.deepEqual(reasons, ['the plug-in\'s process ended', 'gone']);
});

test('a download takes its name from Content-Disposition, else the fallback', async () => {
  const { fetch, requests } = fakeFetch([
    { status: 200, headers: { 'Content-Disposition': 'attachment; filename="spirals.svg"' }, blob: 'B1' },
    { status: 200, blob: 'B2' },
  ]);
  const api = createApi({ token: 'tok', fetch, onSessionEnded: () => {} });
  assert.deepEqual(await api.file('sessions/1/export/svg', 'x.svg'), { name: 'spirals.svg', blob: 'B1' });
  assert.deepEqual(await api.file('sessions/1/export/json', 'spirals.json'), { name: 'spirals.json', blob: 'B2' });
  assert.equal(requests[0].headers['X-Spiral-Token'], 'tok');
});

const session = {
  filters: [{ name: 'spiral', category: 'TQV <Create>', title: 'Spiral...' }, { name: 'b', category: 'Other', title: 'B' }],
  exports: [{ kind: 'svg', label: 'SVG', mime: 'image/svg+xml', file: 'spirals.svg' }, { kind: 'png', label: 'PNG', mime: 'image/png', file: 'spirals.png' }],
  operations: ['filter', 'action', 'repeat', 'undo', 'about', 'document', 'record', 'state'],
  canUndo: true,
  hasRecord: true,
};
const entries = (model) => Object.fromEntries(model.flatMap(([, list]) => list.filter((e) => e && typeof e === 'object').map((e) => [e.id, e])));

test('the download entries are the session\'s exports, each downloading its own', () => {
  const downloads = [];
  const model = menuModel(session, { download: (e) => downloads.push(e.kind) });
  const file = model.find(([name]) => name === 'File')[1];
  const saves = file.filter((e) => e && e.id.startsWith('menu-save-'));
  assert.deepEqual(saves.map((e) => [e.id, e.label]), [['menu-save-svg', 'Download SVG'], ['menu-save-png', 'Download PNG']]);
  saves[1].run();
  assert.deepEqual(downloads, ['png']);
});

test('filters are listed under their categories', () => {
  const filter = menuModel(session, {}).find(([name]) => name === 'Filter')[1];
  assert.deepEqual(filter.slice(2).map((e) => (typeof e === 'string' ? e : e.id)), ['TQV <Create>', 'menu-filter-0', 'Other', 'menu-filter-1']);
  assert.equal(entries(menuModel(session, {}))['menu-repeat'].label, 'Repeat Spiral');
  assert.equal(entries(menuModel(session, {}))['menu-about'].label, 'About Spiral…');
});

test('an entry is disabled when the server does not accept its operation or the state forbids it', () => {
  const all = entries(menuModel(session, {}));
  for (const id of ['menu-new', 'menu-open-record', 'menu-undo', 'menu-repeat', 'menu-about', 'menu-filter-0']) {
    assert.equal(all[id].disabled, false, id);
  }
  const none = entries(menuModel({ ...session, operations: [] }, {}));
  for (const id of ['menu-new', 'menu-open-record', 'menu-undo', 'menu-repeat', 'menu-about', 'menu-filter-0']) {
    assert.equal(none[id].disabled, true, id);
  }
  const fresh = entries(menuModel({ ...session, canUndo: false, hasRecord: false }, {}));
  assert.equal(fresh['menu-undo'].disabled, true);
  assert.equal(fresh['menu-repeat'].disabled, true);
  const empty = menuModel({ ...session, filters: [] }, {}).find(([name]) => name === 'Filter')[1];
  assert.ok(empty.includes('(the plug-in registered no filter)'));
});

test('New document refuses a page outside the state\'s page limits, naming the side', () => {
  const limits = [1, 1e7];
  assert.equal(pageSizeProblem(612, 792, limits), null);
  assert.equal(pageSizeProblem(1e7, 1, limits), null);
  assert.match(pageSizeProblem(0.5, 792, limits), /^The width .* from 1 to 10,000,000/);
  assert.match(pageSizeProblem(1e-50, 792, limits), /^The width/);
  assert.match(pageSizeProblem(612, 0, limits), /^The height/);
  assert.match(pageSizeProblem(612, -3, limits), /^The height/);
  assert.match(pageSizeProblem(1e7 + 1, 10, limits), /^The width/);
  assert.match(pageSizeProblem(NaN, 10, limits), /^The width/);
  assert.match(pageSizeProblem(10, Infinity, limits), /^The height/);
  assert.match(pageSizeProblem(50, 50, [100, 200]), /from 100 to 200/);
});
