// The page of `spiral-host serve` in Debian's chromium, as a person uses it:
// the menu, the options dialog's five pages, live changes, a preset, Tumble,
// a pick in the document, Enter, Escape, Repeat, Undo, About. The accepted
// drawing must equal `spiral-host draw` given the same actions and seed.
// Also measures the round trip from a change to the new drawing on the page.
//
// Environment: SPIRAL_HOST (the built spiral-host), SPIRAL_OUTPUT_DIR (where
// screenshots and figures go), SPIRAL_CRASH_PLUGIN (a plug-in that crashes on
// Go, optional), SPIRAL_CHROMIUM (default /usr/bin/chromium).
// Exit status 77 (skipped) only when chromium is not installed.
import { spawn, execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import assert from 'node:assert/strict';

const chromiumPath = process.env.SPIRAL_CHROMIUM || '/usr/bin/chromium';
if (!existsSync(chromiumPath)) {
  console.log(`skipped: ${chromiumPath} is not installed`);
  process.exit(77);
}
const { chromium } = await import('playwright-core');

const hostExe = process.env.SPIRAL_HOST;
assert.ok(hostExe && existsSync(hostExe), 'SPIRAL_HOST names the built spiral-host');
const outDir = process.env.SPIRAL_OUTPUT_DIR || path.resolve('browser-screenshots');
mkdirSync(outDir, { recursive: true });
const work = mkdtempSync(path.join(tmpdir(), 'spiral-browser-'));
const SEED = '7';

// ---- The server ---------------------------------------------------------------

function startServer(extra = []) {
  const child = spawn(hostExe, ['serve', '--seed', SEED, ...extra], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let text = '';
    const timer = setTimeout(() => reject(new Error('spiral-host serve printed no URL')), 20000);
    child.stdout.on('data', (chunk) => {
      text += chunk;
      const m = /(http:\/\/127\.0\.0\.1:\d+\/\?token=[0-9a-f]+)/.exec(text);
      if (m) {
        clearTimeout(timer);
        resolve({ child, url: m[1] });
      }
    });
    child.on('exit', (code) => reject(new Error('spiral-host serve exited with ' + code)));
  });
}

const results = [];
async function step(name, fn) {
  const start = Date.now();
  try {
    await fn();
    results.push([name, true]);
    console.log(`ok   ${name} (${Date.now() - start} ms)`);
  } catch (e) {
    results.push([name, false]);
    console.log(`FAIL ${name}: ${e.stack || e}`);
    throw e;
  }
}

const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
// The page's drawing is the document alone; a downloaded SVG also carries
// the metadata that re-makes it.
const pathCount = (svg) => (svg.match(/<path /g) || []).length;
const segmentCount = (svg) => (svg.match(/ C /g) || []).length;

// ---- Page helpers ---------------------------------------------------------------

const item = (page, id) => page.locator(`#options-dialog [data-item-id="${id}"]`);

// Runs `act` and waits until the page shows a drawing newer than before.
async function afterDrawing(page, act) {
  const before = await page.evaluate(() => window.spiral.drawn);
  await act();
  await page.waitForFunction((n) => window.spiral.drawn > n, before, { timeout: 30000 });
  return page.evaluate(() => window.spiral.svg);
}

// Opens a record file in the page and waits until the answer's drawing is
// shown, so that a later afterDrawing waits for a newer one.
async function openRecord(page, name, text) {
  await afterDrawing(page, async () => {
    await page.setInputFiles('#record-file', { name, mimeType: 'application/json', buffer: Buffer.from(text) });
    await page.waitForFunction(() => /filter's record/.test(document.getElementById('status').textContent));
  });
}

async function menu(page, menuId, entryId) {
  await page.click(`#${menuId}`);
  await page.click(`#${entryId}`);
}

async function download(page, entryId, name) {
  const [file] = await Promise.all([page.waitForEvent('download'), menu(page, 'menu-file', entryId)]);
  const to = path.join(work, name);
  await file.saveAs(to);
  return readFileSync(to);
}

// The actions the page sent, written as a dialog script for `spiral-host draw`.
function scriptOf(actions) {
  return actions.map((a) => {
    switch (a.verb) {
      case 'set': return `set ${a.item} ${a.value}`;
      case 'check': return `check ${a.item} ${a.value ? 'on' : 'off'}`;
      case 'toggle': return `toggle ${a.item}`;
      case 'choose': return `choose ${a.item} ${a.value}`;
      case 'press': return `press ${a.item}`;
      case 'pick': return `pick ${a.item} ${a.x} ${a.y}`;
      case 'enter': return 'enter';
      case 'escape': return 'escape';
      default: throw new Error('unknown verb ' + a.verb);
    }
  }).join('; ');
}

// ---- The run ------------------------------------------------------------------------

const { child: server, url } = await startServer();
const browser = await chromium.launch({
  executablePath: chromiumPath,
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
const figures = {};
let failed = false;
try {
  const context = await browser.newContext({ viewport: { width: 1280, height: 860 }, acceptDownloads: true });
  const page = await context.newPage();
  page.on('pageerror', (e) => console.log('page error:', e.message));
  const missing = [];
  page.on('response', (r) => { if (r.status() === 404) missing.push(r.url()); });
  const sent = [];
  page.on('request', (r) => {
    if (r.method() === 'POST' && /\/action$/.test(r.url())) sent.push(JSON.parse(r.postData()));
  });

  await step('the page opens a session and builds the menu from the plug-in', async () => {
    await page.goto(url);
    await page.waitForFunction(() => window.spiral.ready === true, null, { timeout: 30000 });
    await page.click('#menu-filter');
    assert.match(await page.locator('.menu.open .category').first().textContent(), /TQV <Create>/);
    assert.equal((await page.locator('#menu-filter-0').textContent()).trim(), 'Spiral...');
    assert.equal(await page.locator('#menu-repeat').isDisabled(), true);
    await page.click('#menu-filter');
    assert.deepEqual(missing, [], 'nothing the page asks for is missing (the favicon included)');
  });

  let openSvg;
  await step('choosing the filter shows the options dialog with its 115 items', async () => {
    openSvg = await afterDrawing(page, () => menu(page, 'menu-filter', 'menu-filter-0'));
    await page.waitForSelector('#options-dialog');
    assert.equal(await page.locator('#options-dialog [data-item-id]').count(), 115);
    assert.equal(await page.locator('#options-dialog .title').textContent(), 'Spiral Plugin');
    assert.equal(await item(page, 4).locator('input').inputValue(), '10');
    assert.equal(await item(page, 5).locator('input').inputValue(), '200.00');
    assert.ok(pathCount(openSvg) > 0, 'the preview drew when the dialog opened');
    assert.equal(await page.locator('#menubar').evaluate((el) => el.classList.contains('blocked')), true);
  });

  await step('the five pages show their own items (screenshots)', async () => {
    const pages = [[100, 'spiral', 4], [101, 'create', 6], [102, 'tweak', 15], [103, 'offset', 26], [104, 'settings', 120]];
    for (const [button, name, opening] of pages) {
      await afterDrawing(page, () => item(page, button).click());
      await page.waitForFunction((id) => !document.querySelector(`#options-dialog [data-item-id="${id}"]`).classList.contains('hidden'), opening);
      await page.locator('#options-dialog').screenshot({ path: path.join(outDir, `dialog-${button - 99}-${name}.png`) });
    }
    assert.equal(await item(page, 4).isVisible(), false);
    await afterDrawing(page, () => item(page, 100).click());
    assert.equal(await item(page, 4).isVisible(), true);
  });

  let svg;
  await step('changing the arm gap redraws the preview', async () => {
    const before = await page.evaluate(() => window.spiral.svg);
    svg = await afterDrawing(page, () => item(page, 5).locator('input').fill('120'));
    await page.waitForFunction(() => window.spiral.svg && window.spiral.answered >= 1);
    assert.notEqual(svg, before);
  });

  await step('choosing a preset and pressing Tumble change the drawing', async () => {
    const before = svg;
    svg = await afterDrawing(page, () => item(page, 164).selectOption({ index: 5 }));
    assert.notEqual(svg, before);
    const presetSvg = svg;
    svg = await afterDrawing(page, () => item(page, 91).click());
    assert.notEqual(svg, presetSvg);
  });

  await step('a pick button takes the centre from a click in the document', async () => {
    await afterDrawing(page, () => item(page, 101).click());
    assert.equal(await item(page, 6).isVisible(), true);
    await item(page, 179).click();
    assert.equal(await page.locator('#view').evaluate((el) => el.classList.contains('picking')), true);
    const box = await page.locator('#canvas').boundingBox();
    svg = await afterDrawing(page, () => page.mouse.click(box.x + box.width * 0.3, box.y + box.height * 0.5));
    const pickedX = Number(await item(page, 6).locator('input').inputValue());
    assert.ok(Math.abs(pickedX - 612 * 0.3) < 2, `centre x ${pickedX} near ${612 * 0.3}`);
  });


  // Types into a spin edit as a person does: select all, then key by key.
  async function typeInto(p, id, keys) {
    const input = item(p, id).locator('input');
    await input.click();
    await p.keyboard.press('Control+A');
    for (const k of keys) {
      if (k.startsWith('{')) await p.keyboard.press(k.slice(1, -1));
      else await p.keyboard.type(k, { delay: 80 });
    }
    return input;
  }
  const setsOf = (id, from) => sent.slice(from).filter((a) => a.verb === 'set' && a.item === id).map((a) => a.value);

  await step('typing key by key: decimal, integer and negative fields take the typed number', async () => {
    await afterDrawing(page, () => item(page, 100).click());
    const cases = [
      [5, ['150', '{Tab}'], '150.00', '150'],
      [10, ['100', '{Tab}'], '100.00', '100'],
      [8, ['-45', '{Tab}'], '-45.00', '-45'],
      [4, ['25', '{Tab}'], '25', '25'],
      [5, ['37.5', '{Tab}'], '37.50', '37.5'],
      [9, ['123', '{Backspace}', '4', '{Tab}'], '90.00', '124'],  // the host keeps it at most 90
      [5, ['375', '{Backspace}', '6'], '376', '376'],  // a pause: sent, and the field keeps the typed text
    ];
    for (const [id, keys, shown, value] of cases) {
      const from = sent.length;
      const input = await typeInto(page, id, keys);
      await page.waitForFunction(([i, v]) => {
        const el = document.querySelector(`#options-dialog [data-item-id="${i}"] input`);
        return el && el.value === v;
      }, [id, shown], { timeout: 5000 }).catch(() => {});
      if (!keys.includes('{Tab}')) await page.waitForTimeout(900);
      assert.equal(await input.inputValue(), shown, `item ${id} after ${keys.join('')}`);
      assert.deepEqual(setsOf(id, from), [value], `item ${id} sent once, the whole number`);
    }
    await page.keyboard.press('Tab');
    await page.waitForFunction(() => document.querySelector('#options-dialog [data-item-id="5"] input').value === '376.00');
  });

  let acceptedSvg;
  await step('Enter accepts; the downloaded SVG equals spiral-host draw with the same actions and seed', async () => {
    await afterDrawing(page, () => item(page, 101).click());
    await item(page, 7).locator('input').focus();
    const before = sent.length;
    await page.keyboard.press('Enter');
    await page.waitForSelector('#options-dialog', { state: 'detached' });
    const servedFile = (await download(page, 'menu-save-svg', 'served.svg')).toString();
    assert.match(servedFile, /<metadata id="spiral-drawing">/);
    // The page holds what Download SVG writes, metadata and all.
    acceptedSvg = servedFile;
    assert.equal(await page.evaluate(() => window.spiral.svg), acceptedSvg);
    assert.ok(pathCount(acceptedSvg) > 0);
    assert.deepEqual(sent.slice(before), [{ verb: 'enter' }], 'Enter sends no unchanged field again');
    const record = JSON.parse((await download(page, 'menu-save-record-json', 'record.json')).toString());
    assert.equal(record.spiralCount >= 1, true);
    // What was typed key by key is the accepted record.
    assert.deepEqual([record.armGap, record.decay, record.curvature1, record.curvature2, record.armCount],
      [376, 100, -45, 90, 25]);
    await page.screenshot({ path: path.join(outDir, 'drawing.png') });

    const script = scriptOf(sent);
    const drawn = path.join(work, 'drawn.svg');
    execFileSync(hostExe, ['draw', '--seed', SEED, '--dialog', script, '--svg', drawn], { stdio: 'inherit' });
    const expected = readFileSync(drawn).toString();
    const servedPaths = new Set(acceptedSvg.match(/ d="[^"]+"/g));
    const drawnPaths = expected.match(/ d="[^"]+"/g) || [];
    assert.ok(drawnPaths.some((d) => servedPaths.has(d)), 'a spiral of the served drawing is one that draw drew');
    assert.equal(servedFile, expected, `the whole drawing, metadata included, equals draw's for: ${script}`);
  });

  await step('Escape cancels and the document is as before', async () => {
    await afterDrawing(page, () => menu(page, 'menu-filter', 'menu-filter-0'));
    await afterDrawing(page, () => item(page, 100).click());
    await afterDrawing(page, () => item(page, 4).locator('input').fill('27'));
    assert.notEqual(await page.evaluate(() => window.spiral.svg), acceptedSvg);
    await afterDrawing(page, () => page.keyboard.press('Escape'));
    await page.waitForSelector('#options-dialog', { state: 'detached' });
    assert.equal(await page.evaluate(() => window.spiral.svg), acceptedSvg);
    assert.match(await page.locator('#status').textContent(), /cancelled/);
  });

  await step('Repeat draws again; Undo takes it back', async () => {
    const repeated = await afterDrawing(page, () => menu(page, 'menu-filter', 'menu-repeat'));
    assert.ok(pathCount(repeated) > pathCount(acceptedSvg));
    const undone = await afterDrawing(page, () => menu(page, 'menu-edit', 'menu-undo'));
    assert.equal(undone, acceptedSvg);
  });

  await step('the frame\'s OK and Enter accept from anywhere in the dialog, once', async () => {
    const openDialog = async () => {
      await afterDrawing(page, () => menu(page, 'menu-filter', 'menu-filter-0'));
      await page.waitForSelector('#options-dialog');
    };
    const accepted = async (act, what) => {
      const from = sent.length;
      await act();
      await page.waitForSelector('#options-dialog', { state: 'detached', timeout: 10000 });
      assert.match(await page.locator('#status').textContent(), /done/, what);
      return sent.slice(from);
    };
    await openDialog();
    await page.locator('#options-dialog').screenshot({ path: path.join(outDir, 'dialog-ok.png') });
    assert.deepEqual(await accepted(() => page.click('#options-ok'), 'OK'), [{ verb: 'enter' }]);
    // After Tumble, Enter accepts and does not tumble again.
    await openDialog();
    await afterDrawing(page, () => item(page, 91).click());
    const afterTumble = await accepted(() => page.keyboard.press('Enter'), 'Enter after Tumble');
    assert.deepEqual(afterTumble, [{ verb: 'enter' }]);
    // After a preset, a check box, and a click in the document.
    await openDialog();
    await afterDrawing(page, () => item(page, 164).selectOption({ index: 2 }));
    assert.deepEqual(await accepted(() => page.keyboard.press('Enter'), 'after a preset'), [{ verb: 'enter' }]);
    await openDialog();
    await afterDrawing(page, () => item(page, 3).locator('input').click());
    await afterDrawing(page, () => item(page, 3).locator('input').click());
    assert.deepEqual(await accepted(() => page.keyboard.press('Enter'), 'after a check box'), [{ verb: 'enter' }]);
    await openDialog();
    const box = await page.locator('#canvas').boundingBox();
    await page.mouse.click(box.x + 20, box.y + 20);
    assert.deepEqual(await accepted(() => page.keyboard.press('Enter'), 'after a document click'), [{ verb: 'enter' }]);
  });

  await step('a spin arrow works on the first click while its field has focus', async () => {
    await afterDrawing(page, () => menu(page, 'menu-filter', 'menu-filter-0'));
    await afterDrawing(page, () => item(page, 100).click());
    const input = item(page, 4).locator('input');
    await input.focus();
    const start = Number(await input.inputValue());
    const from = sent.length;
    await afterDrawing(page, () => item(page, 4).locator('.up').click());
    assert.equal(Number(await input.inputValue()), start + 1);
    assert.deepEqual(setsOf(4, from), [String(start + 1)]);
    await afterDrawing(page, () => item(page, 4).locator('.down').click());
    await afterDrawing(page, () => item(page, 4).locator('.down').click());
    assert.equal(Number(await input.inputValue()), start - 1);
  });

  await step('an armed pick keeps its crosshair; after the pick the hint goes', async () => {
    await afterDrawing(page, () => item(page, 101).click());
    await item(page, 179).click();
    const look = await item(page, 179).evaluate((el) => ({ armed: el.classList.contains('armed'), image: getComputedStyle(el).backgroundImage }));
    assert.ok(look.armed);
    assert.match(look.image, /gradient/, 'the crosshair is drawn while armed');
    assert.match(await page.locator('#status').textContent(), /Click a point/);
    await item(page, 179).screenshot({ path: path.join(outDir, 'pick-armed.png') });
    const box = await page.locator('#canvas').boundingBox();
    await afterDrawing(page, () => page.mouse.click(box.x + box.width * 0.6, box.y + box.height * 0.4));
    assert.doesNotMatch(await page.locator('#status').textContent(), /Click a point/);
    assert.equal(await item(page, 179).evaluate((el) => el.classList.contains('armed')), false);
    await afterDrawing(page, () => page.keyboard.press('Escape'));
    await page.waitForSelector('#options-dialog', { state: 'detached' });
  });

  await step('no label or popup text is clipped in the dialog', async () => {
    await afterDrawing(page, () => menu(page, 'menu-filter', 'menu-filter-0'));
    for (const button of [100, 101, 102, 103, 104]) {
      await afterDrawing(page, () => item(page, button).click());
      const clipped = await page.evaluate(() => [...document.querySelectorAll(
        '#options-dialog .item-static-text:not(.hidden), #options-dialog .item-check-box:not(.hidden)')]
        .filter((el) => el.scrollWidth > el.clientWidth + 1).map((el) => el.dataset.itemId + ' ' + el.textContent));
      assert.deepEqual(clipped, [], `page ${button}`);
      const narrow = await page.evaluate(() => [...document.querySelectorAll('#options-dialog .item-popup-list:not(.hidden)')]
        .filter((el) => {
          const probe = document.createElement('span');
          probe.style.font = getComputedStyle(el).font;
          probe.style.position = 'absolute';
          probe.style.whiteSpace = 'pre';
          probe.textContent = el.options[el.selectedIndex]?.text || '';
          document.body.append(probe);
          const need = probe.getBoundingClientRect().width;
          probe.remove();
          return need + 16 > el.getBoundingClientRect().width;
        }).map((el) => el.dataset.itemId));
      assert.deepEqual(narrow, [], `popups on page ${button}`);
      const outside = await page.evaluate(() => {
        const body = document.querySelector('#options-dialog .body').getBoundingClientRect();
        return [...document.querySelectorAll('#options-dialog .item:not(.hidden)')]
          .filter((el) => el.getBoundingClientRect().right > body.right + 0.5).map((el) => el.dataset.itemId);
      });
      assert.deepEqual(outside, [], `items inside the dialog on page ${button}`);
    }
    await page.locator('#options-dialog').screenshot({ path: path.join(outDir, 'dialog-settings-fitted.png') });
    await afterDrawing(page, () => page.keyboard.press('Escape'));
    await page.waitForSelector('#options-dialog', { state: 'detached' });
  });

  await step('a record the host refuses is named; New document refuses a page outside the limits', async () => {
    const status = page.locator('#status');
    for (const [text, words] of [['{"spiralCount": 1e12}', /spiralCount/], ['{"armCount": 3, "armCount": 4}', /armCount' twice/]]) {
      await page.setInputFiles('#record-file', { name: 'bad.json', mimeType: 'application/json', buffer: Buffer.from(text) });
      await page.waitForFunction((src) => new RegExp(src).test(document.getElementById('status').textContent), words.source);
      assert.ok(await status.evaluate((el) => el.classList.contains('error')));
    }
    await menu(page, 'menu-file', 'menu-new');
    await page.fill('#new-width', '1e-50');
    await page.locator('#new-document button', { hasText: 'OK' }).click();
    assert.match(await page.locator('#new-problem').textContent(), /width/);
    await page.locator('#new-document').screenshot({ path: path.join(outDir, 'new-document-refused.png') });
    await page.locator('#new-document button', { hasText: 'Cancel' }).click();
    assert.match(await page.locator('#zoom-reset').textContent(), /^\d+%$/);
  });

  await step('About shows the plug-in\'s About box', async () => {
    await menu(page, 'menu-help', 'menu-about');
    const box = page.locator('.plugin-box[data-dialog="About Dialog"]');
    await box.waitFor();
    assert.ok((await box.textContent()).length > 10);
    await box.screenshot({ path: path.join(outDir, 'about.png') });
    await box.locator('button').first().click();
    await box.waitFor({ state: 'detached' });
  });

  // ---- Measurements ------------------------------------------------------------

  // The preset whose preview draws the most segments, found through the API.
  const api = async (method, p, body) => {
    const res = await fetch(new URL('/api/' + p, url), {
      method, headers: { 'X-Spiral-Token': new URL(url).searchParams.get('token') },
      body: body ? JSON.stringify(body) : undefined,
    });
    return res.json();
  };
  let richest = { index: 0, segments: -1, name: '' };
  await step('find the preset with the most art', async () => {
    const s = await api('POST', 'sessions');
    const open = await api('POST', `sessions/${s.id}/filter`, {});
    const entries = open.dialog.items.find((i) => i.id === 164).entries;
    for (let k = 0; k < entries.length; ++k) {
      const a = await api('POST', `sessions/${s.id}/action`, { verb: 'choose', item: 164, value: k });
      const n = segmentCount(a.svg);
      if (n > richest.segments) richest = { index: k, segments: n, name: entries[k].trim() };
    }
    await api('DELETE', `sessions/${s.id}`);
    figures.richestPreset = richest;
  });

  // Round trip: a change committed in the arm gap (as Tab or Enter commits it)
  // until the page shows the new drawing.
  async function roundTrips(p, n) {
    return p.evaluate(async (count) => {
      const input = document.querySelector('#options-dialog [data-item-id="5"] input');
      const times = [];
      for (let k = 0; k < count; ++k) {
        const drawn = new Promise((r) => window.addEventListener('spiral-drawn', r, { once: true }));
        const t0 = performance.now();
        input.value = (150 + (k % 2 ? k : -k) * 0.5).toFixed(2);
        input.dispatchEvent(new Event('change', { bubbles: true }));
        await drawn;
        times.push(performance.now() - t0);
      }
      return times;
    }, n);
  }

  await step('round trip of 50 changes: defaults and the richest preset', async () => {
    const fresh = await context.newPage();
    await fresh.goto(url);
    await fresh.waitForFunction(() => window.spiral.ready === true);
    const defaultSvg = await afterDrawing(fresh, () => menu(fresh, 'menu-filter', 'menu-filter-0'));
    const defaults = await roundTrips(fresh, 50);
    await afterDrawing(fresh, () => item(fresh, 164).selectOption({ index: richest.index }));
    const presetSvg = await afterDrawing(fresh, () => item(fresh, 100).click());
    const rich = await roundTrips(fresh, 50);
    figures.roundTripDefaultsMs = median(defaults);
    figures.roundTripRichestMs = median(rich);
    figures.richestSegments = segmentCount(presetSvg);
    figures.defaultsSegments = segmentCount(defaultSvg);
    await fresh.keyboard.press('Escape');
    await fresh.close();
  });

  await step('a reload finds its session again, with its open dialog', async () => {
    const tab = await context.newPage();
    await tab.goto(url);
    await tab.waitForFunction(() => window.spiral.ready === true);
    const kept = () => tab.evaluate(() => Object.keys(sessionStorage).filter((k) => k.startsWith('spiral-session:'))
      .map((k) => sessionStorage.getItem(k)));
    const before = await kept();
    assert.equal(before.length, 1);
    await afterDrawing(tab, () => menu(tab, 'menu-filter', 'menu-filter-0'));
    await tab.reload();
    await tab.waitForFunction(() => window.spiral.ready === true);
    assert.deepEqual(await kept(), before);
    await tab.waitForSelector('#options-dialog');
    await tab.keyboard.press('Escape');
    await tab.waitForSelector('#options-dialog', { state: 'detached' });
    await tab.close();
  });

  await step('a document of 100 000 segments redraws without freezing the page', async () => {
    const big = await context.newPage();
    await big.goto(url);
    await big.waitForFunction(() => window.spiral.ready === true);
    const record = JSON.stringify({ armCount: 300, spiralCount: 84, maxPoints: 9999, preview: true });
    await openRecord(big, 'big.json', record);
    // Frames keep coming while the big drawing is fetched, decoded and shown.
    await big.evaluate(() => {
      window.frameGaps = [];
      let last = performance.now();
      const tick = (t) => { window.frameGaps.push(t - last); last = t; if (!window.stopFrames) requestAnimationFrame(tick); };
      requestAnimationFrame(tick);
    });
    const t0 = Date.now();
    await afterDrawing(big, () => menu(big, 'menu-filter', 'menu-filter-0'));
    figures.bigRedrawMs = Date.now() - t0;
    // Sent in its binary form and painted by the worker as it arrived.
    const shown = await big.evaluate(() => ({ svg: window.spiral.svg, drawing: window.spiral.lastDrawing,
      canvas: !document.getElementById('big-drawing').hidden }));
    assert.equal(shown.svg, null);
    assert.ok(shown.canvas);
    figures.bigArrivalToPaintedMs = Math.round(shown.drawing.ms);
    // From the binary form's first byte at the worker to the drawing painted whole.
    const timing = shown.drawing.timing;
    assert.ok(timing.firstByte > 0 && timing.painted >= timing.firstByte, JSON.stringify(timing));
    figures.bigFirstByteToPaintedMs = Math.round(timing.painted - timing.firstByte);
    await big.screenshot({ path: path.join(outDir, 'drawing-100k.png') });
    // Zoomed in, it is painted again at the finer scale.
    const scaleBefore = await big.evaluate(() => window.spiral.bigScale);
    for (let k = 0; k < 3; ++k) await big.click('#zoom-in');
    await big.waitForFunction((s) => window.spiral.bigScale > 1.5 * s, scaleBefore);
    figures.bigZoomedScale = await big.evaluate(() => window.spiral.bigScale);
    await big.screenshot({ path: path.join(outDir, 'drawing-100k-zoomed.png') });
    await big.click('#zoom-fit');
    // The same drawing as SVG, drawn by the browser, to compare by eye.
    const svgText = await big.evaluate(async () => {
      const res = await fetch('/api/sessions/' + window.spiral.sessionId + '/export/svg',
        { headers: { 'X-Spiral-Token': new URLSearchParams(location.search).get('token') } });
      return res.text();
    });
    writeFileSync(path.join(outDir, 'drawing-100k.svg'), svgText);
    figures.bigSvgPaths = pathCount(svgText);
    assert.equal(shown.drawing.paths, figures.bigSvgPaths);
    const t1 = Date.now();
    await afterDrawing(big, () => big.keyboard.press('Escape'));
    figures.bigClearMs = Date.now() - t1;
    const gaps = await big.evaluate(() => { window.stopFrames = true; return window.frameGaps; });
    figures.bigSegments = shown.drawing.segments;
    figures.bigLongestFrameGapMs = Math.max(...gaps);
    assert.ok(figures.bigSegments >= 100000, `${figures.bigSegments} segments`);
    await big.close();
  });

  // Resident memory of a process, and the processes a process started.
  const rssOf = (pid) => {
    try {
      return Number(/VmRSS:\s+(\d+) kB/.exec(readFileSync(`/proc/${pid}/status`, 'utf8'))[1]) * 1024;
    } catch {
      return 0;
    }
  };
  const childrenOf = (pid) => readdirSync('/proc').filter((d) => /^\d+$/.test(d)).filter((d) => {
    try {
      return readFileSync(`/proc/${d}/stat`, 'utf8').replace(/^.*\) /, '').split(' ')[1] === String(pid);
    } catch {
      return false;
    }
  }).map(Number);
  const spread = (xs) => ({ median: median(xs), min: Math.min(...xs), max: Math.max(...xs) });
  // Frame times on the page from now on, and the longest gap between them.
  const watchFrames = (p) => p.evaluate(() => {
    window.frameGaps = [];
    window.stopFrames = false;
    let last = performance.now();
    const tick = (t) => { window.frameGaps.push(t - last); last = t; if (!window.stopFrames) requestAnimationFrame(tick); };
    requestAnimationFrame(tick);
  });
  const longestFrameGap = (p) => p.evaluate(() => { window.stopFrames = true; return Math.max(...window.frameGaps); });

  const bigRecord = (more) => JSON.stringify({ armCount: 300, spiralCount: 200, maxPoints: 9999, preview: true, ...more });
  // Types `text` into the arm gap key by key, as people type, and commits it
  // with Tab; gives the time from Tab to the new drawing painted whole.
  async function typeGapAndWait(p, text) {
    const before = await p.evaluate(() => window.spiral.drawn);
    const input = item(p, 5).locator('input');
    await input.click();
    await p.keyboard.press('Control+A');
    await p.keyboard.type(text, { delay: 60 });
    await p.evaluate(() => {
      window.changeAt = 0;
      document.addEventListener('keydown', (e) => { if (e.key === 'Tab') window.changeAt = performance.now(); },
        { capture: true, once: true });
      window.addEventListener('spiral-drawn', () => { window.drawnAt = performance.now(); }, { once: true });
    });
    await p.keyboard.press('Tab');
    await p.waitForFunction((n) => window.spiral.drawn > n, before, { timeout: 60000 });
    return p.evaluate(() => window.drawnAt - window.changeAt);
  }

  await step('300 arms x 200 spirals: typed changes redraw while frames keep coming', async () => {
    const p = await context.newPage();
    await p.goto(url);
    await p.waitForFunction(() => window.spiral.ready === true);
    await openRecord(p, 'big.json', bigRecord({}));
    await afterDrawing(p, () => menu(p, 'menu-filter', 'menu-filter-0'));
    await watchFrames(p);
    const times = [];
    const firstByteToPainted = [];
    for (let k = 0; k < 7; ++k) {
      times.push(await typeGapAndWait(p, String(190 + 3 * k)));
      const shown = await p.evaluate(() => window.spiral.lastDrawing);
      assert.equal(shown.segments, 240000);
      firstByteToPainted.push(shown.timing.painted - shown.timing.firstByte);
    }
    figures.big240kChangeToPaintedMs = spread(times.map(Math.round));
    figures.big240kFirstByteToPaintedMs = spread(firstByteToPainted.map(Math.round));
    figures.big240kLongestFrameGapMs = Math.round(await longestFrameGap(p));
    await p.screenshot({ path: path.join(outDir, 'drawing-240k.png') });
    assert.equal(await p.locator('#drawing-progress').isVisible(), false);
    await p.keyboard.press('Escape');
    await p.close();
  });

  await step('2.6 million segments: progress shows, a change supersedes it, memory stays bounded', async () => {
    const p = await context.newPage();
    await p.goto(url);
    await p.waitForFunction(() => window.spiral.ready === true);
    await openRecord(p, 'huge.json', bigRecord({ sketchRepeats: 10 }));
    const serverBaseline = rssOf(server.pid);
    const peaks = new Map();
    const sample = () => {
      for (const pid of [server.pid, ...childrenOf(server.pid)]) peaks.set(pid, Math.max(peaks.get(pid) || 0, rssOf(pid)));
    };
    const sampler = setInterval(sample, 25);
    try {
      await watchFrames(p);
      const before = await p.evaluate(() => window.spiral.drawn);
      // As soon as it shows progress, a change (as Tab commits it): the newer
      // drawing must replace it before it is whole.
      await p.evaluate(() => {
        const el = document.getElementById('drawing-progress');
        window.progressSeen = new Promise((resolve) => {
          const watch = new MutationObserver(() => {
            if (!/Drawing… [1-9]\d* %/.test(el.textContent)) return;
            watch.disconnect();
            const input = document.querySelector('#options-dialog [data-item-id="5"] input');
            input.value = '170.00';
            input.dispatchEvent(new Event('change', { bubbles: true }));
            resolve(el.textContent);
          });
          watch.observe(el, { childList: true, characterData: true, subtree: true });
        });
      });
      await menu(p, 'menu-filter', 'menu-filter-0');
      figures.hugeProgressSeen = await p.evaluate(() => window.progressSeen);
      await p.screenshot({ path: path.join(outDir, 'drawing-huge-progress.png') });
      await p.waitForFunction((n) => window.spiral.drawn > n, before, { timeout: 120000 });
      const shown = await p.evaluate(() => ({ last: window.spiral.lastDrawing, abandoned: window.spiral.abandoned,
        drawn: window.spiral.drawn }));
      assert.equal(shown.drawn, before + 1, 'only the newer drawing was shown whole');
      assert.equal(shown.abandoned.length, 1, JSON.stringify(shown.abandoned));
      assert.ok(shown.abandoned[0].serial < shown.last.serial);
      assert.equal(shown.last.segments, 2640000);
      figures.hugeLongestFrameGapMs = Math.round(await longestFrameGap(p));
      figures.hugeFirstByteToPaintedMs = Math.round(shown.last.timing.painted - shown.last.timing.firstByte);
      figures.hugeFirstByteToLastByteMs = Math.round(shown.last.timing.lastByte - shown.last.timing.firstByte);
      figures.hugeFirstByteToFirstPathsMs = Math.round(shown.last.timing.firstPaths - shown.last.timing.firstByte);
      assert.ok(figures.hugeFirstByteToFirstPathsMs >= 0 && figures.hugeFirstByteToFirstPathsMs <= figures.hugeFirstByteToPaintedMs);
      figures.hugeAbandonedAtBytes = shown.abandoned[0].bytesRead;
      await p.screenshot({ path: path.join(outDir, 'drawing-huge.png') });
      // The largest document: the drawing as an SVG file.
      const sessionId = await p.evaluate(() => window.spiral.sessionId);
      const res = await fetch(new URL(`/api/sessions/${sessionId}/export/svg`, url),
        { headers: { 'X-Spiral-Token': new URL(url).searchParams.get('token') } });
      let svgBytes = 0;
      for await (const chunk of res.body) svgBytes += chunk.length;
      figures.hugeSvgBytes = svgBytes;
      sample();
      const sessionPid = [...peaks.keys()].filter((pid) => pid !== server.pid)
        .reduce((a, b) => ((peaks.get(a) || 0) >= peaks.get(b) ? a : b), 0);
      figures.hugeServerRss = { baseline: serverBaseline, peak: peaks.get(server.pid) };
      figures.hugeSessionPeakRss = peaks.get(sessionPid);
      // Under the sanitizers a process's memory is mostly their shadow and
      // quarantine: there only the server's growth is held to the bound.
      const sanitized = process.env.SPIRAL_SANITIZED === '1';
      assert.ok(peaks.get(server.pid) - (sanitized ? serverBaseline : 0) < 2 * svgBytes,
        JSON.stringify(figures.hugeServerRss));
      if (!sanitized) assert.ok(peaks.get(sessionPid) < 2 * svgBytes, `session ${peaks.get(sessionPid)}`);
      await afterDrawing(p, () => p.keyboard.press('Escape'));
      await p.waitForTimeout(300);
      figures.hugeServerRss.after = rssOf(server.pid);
      figures.hugeSessionRssAfterEscape = rssOf(sessionPid);
      assert.ok(figures.hugeServerRss.after < Math.max(2 * serverBaseline, serverBaseline + 32 * 2 ** 20),
        JSON.stringify(figures.hugeServerRss));
      if (!sanitized) {
        assert.ok(figures.hugeSessionRssAfterEscape < peaks.get(sessionPid) / 2,
          `session ${figures.hugeSessionRssAfterEscape} after, ${peaks.get(sessionPid)} at its peak`);
      }
    } finally {
      clearInterval(sampler);
    }
    await p.close();
  });

  await step('a session process that dies: its large drawing is still saved, as the host writes it', async () => {
    const p = await context.newPage();
    await p.goto(url);
    await p.waitForFunction(() => window.spiral.ready === true);
    await openRecord(p, 'big.json', JSON.stringify({ armCount: 300, spiralCount: 84, maxPoints: 9999, preview: true }));
    await afterDrawing(p, () => menu(p, 'menu-filter', 'menu-filter-0'));
    await afterDrawing(p, () => p.keyboard.press('Enter'));
    await p.waitForSelector('#options-dialog', { state: 'detached' });
    assert.equal(await p.evaluate(() => window.spiral.svg), null, 'sent in its binary form');
    const served = (await download(p, 'menu-save-svg', 'served-big.svg')).toString();
    // A preview in the dialog (large too) is not the last drawing.
    await afterDrawing(p, () => menu(p, 'menu-filter', 'menu-filter-0'));
    await typeGapAndWait(p, '150');
    // The newest session process is this page's.
    const started = (pid) => Number(readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ')[19]);
    const sessionPid = childrenOf(server.pid).reduce((a, b) => (started(a) >= started(b) ? a : b));
    process.kill(sessionPid, 'SIGKILL');
    // The next change finds the session gone.
    await item(p, 5).locator('input').fill('160');
    await p.keyboard.press('Tab');
    const box = p.locator('#session-ended');
    await box.waitFor();
    const [saved] = await Promise.all([
      p.waitForEvent('download'),
      box.getByRole('button', { name: 'Download the last drawing' }).click(),
    ]);
    const lastSvg = path.join(work, 'last-big-drawing.svg');
    await saved.saveAs(lastSvg);
    const text = readFileSync(lastSvg, 'utf8');
    assert.equal(pathCount(text), 84);
    assert.ok(text === served, 'the page writes what Download SVG wrote');
    const again = path.join(work, 'last-big-drawing-again.svg');
    execFileSync(hostExe, ['draw', '--params', lastSvg, '--no-dialog', '--svg', again], { stdio: 'ignore' });
    assert.ok(readFileSync(again, 'utf8') === served, 'the command line re-makes it');
    await p.close();
  });

  const crashPlugin = process.env.SPIRAL_CRASH_PLUGIN;
  if (crashPlugin) {
    await step('a plug-in that crashes ends its session and the page says so', async () => {
      const crashing = await startServer(['--plugin', crashPlugin]);
      try {
        const p = await context.newPage();
        await p.goto(crashing.url);
        await p.waitForFunction(() => window.spiral.ready === true);
        await openRecord(p, 'seven.json', JSON.stringify({ armCount: 7 }));
        await afterDrawing(p, () => menu(p, 'menu-filter', 'menu-filter-0'));
        await item(p, 4).locator('input').focus();
        await p.keyboard.press('Enter');  // Go crashes
        const box = p.locator('#session-ended');
        await box.waitFor();
        assert.match(await box.textContent(), /plug-in's process/);
        assert.equal(await p.locator('#options-dialog').count(), 0);
        await box.screenshot({ path: path.join(outDir, 'session-ended.png') });
        // The last drawing outside the dialog outlives its session: saved
        // with its record, it is re-made by the command line.
        const [saved] = await Promise.all([
          p.waitForEvent('download'),
          box.getByRole('button', { name: 'Download the last drawing' }).click(),
        ]);
        const lastSvg = path.join(work, 'last-drawing.svg');
        await saved.saveAs(lastSvg);
        const text = readFileSync(lastSvg, 'utf8');
        assert.match(text, /<metadata id="spiral-drawing">.*"armCount":7,/);
        const again = path.join(work, 'last-drawing-again.svg');
        execFileSync(hostExe, ['draw', '--params', lastSvg, '--no-dialog', '--svg', again], { stdio: 'ignore' });
        assert.ok(segmentCount(readFileSync(again, 'utf8')) > 0);
        assert.equal(await box.isVisible(), true, 'the box stays for a new session');
        await p.close();
      } finally {
        crashing.child.kill('SIGTERM');
      }
    });
  }
  console.log('figures: ' + JSON.stringify(figures));
  writeFileSync(path.join(outDir, 'figures.json'), JSON.stringify(figures, null, 1) + '\n');
} catch (e) {
  failed = true;
} finally {
  await browser.close();
  server.kill('SIGTERM');
  rmSync(work, { recursive: true, force: true });
}
const passed = results.filter(([, ok]) => ok).length;
console.log(`${passed} passed, ${results.length - passed + (failed && results.every(([, ok]) => ok) ? 1 : 0)} failed`);
process.exit(failed ? 1 : 0);
