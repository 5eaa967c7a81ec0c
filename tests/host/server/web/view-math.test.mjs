// The document view's maths: pixels <-> page points, zoom about a point, fit.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
  clampZoom, cssTransform, fitPage, kFitMargin, kFitZoomMin, kZoomMax, kZoomMin, pagePointAt, pageRect, pixelAt, zoomAbout,
} from '../../../../hostapp/server/web/view-math.mjs';

const page = [612, 792];
const near = (a, b, what, tolerance = 1e-9) =>
  assert.ok(Math.abs(a - b) <= tolerance, `${what}: ${a} vs ${b} (tolerance ${tolerance})`);

// The page point under a view pixel, unrounded.
const pointUnder = (view, px, py) => ({ x: (px - view.x) / view.zoom, y: page[1] - (py - view.y) / view.zoom });

test('page corners land on the page rectangle\'s corners, y up', () => {
  const rect = pageRect({ zoom: 2, x: 10, y: 20 }, page);
  assert.deepEqual(rect, { left: 10, top: 20, width: 1224, height: 1584 });
  assert.deepEqual(pagePointAt(rect, page, 10, 20), { x: 0, y: 792 });
  assert.deepEqual(pagePointAt(rect, page, 10 + 1224, 20 + 1584), { x: 612, y: 0 });
  assert.deepEqual(pixelAt(rect, page, { x: 0, y: 0 }), { x: 10, y: 20 + 1584 });
});

test('pixel -> page point -> pixel round trips at many zooms and offsets', () => {
  for (const zoom of [0.02, 0.37, 1, 2.5, 64]) {
    for (const [x, y] of [[0, 0], [-300.5, 41.25], [900, -1200]]) {
      const rect = pageRect({ zoom, x, y }, page);
      for (const point of [{ x: 0, y: 0 }, { x: 183.6, y: 396 }, { x: 612, y: 792 }, { x: 12.34, y: 700.01 }]) {
        const px = pixelAt(rect, page, point);
        const back = pagePointAt(rect, page, px.x, px.y);
        near(back.x, point.x, `x at zoom ${zoom}`, 0.005);
        near(back.y, point.y, `y at zoom ${zoom}`, 0.005);
      }
    }
  }
});

test('page points are rounded to hundredths of a point', () => {
  const rect = pageRect({ zoom: 3, x: 0, y: 0 }, page);
  const p = pagePointAt(rect, page, 100, 200);
  assert.equal(p.x, 33.33);
  assert.equal(p.y, 725.33);
});

test('zooming about a pixel keeps the page point under it', () => {
  let view = { zoom: 1, x: 37, y: -12 };
  const pointer = [400, 300];
  const under = pointUnder(view, ...pointer);
  for (const factor of [1.15, 1.15, 1 / 1.15, 1.25, 3, 1 / 7]) {
    view = zoomAbout(view, factor, ...pointer);
    const now = pointUnder(view, ...pointer);
    near(now.x, under.x, 'x under the pointer', 1e-9);
    near(now.y, under.y, 'y under the pointer', 1e-9);
  }
});

test('zoom stops at its limits and still keeps the point fixed there', () => {
  const start = { zoom: 1, x: 0, y: 0 };
  const big = zoomAbout(start, 1e6, 100, 100);
  assert.equal(big.zoom, kZoomMax);
  near(pointUnder(big, 100, 100).x, pointUnder(start, 100, 100).x, 'x at the largest zoom');
  const small = zoomAbout(start, 1e-6, 100, 100);
  assert.equal(small.zoom, kZoomMin);
  near(pointUnder(small, 100, 100).y, pointUnder(start, 100, 100).y, 'y at the smallest zoom');
  // Zooming further at a limit changes nothing.
  assert.deepEqual(zoomAbout(big, 2, 100, 100), big);
  assert.equal(clampZoom(kZoomMax * 2), kZoomMax);
  assert.equal(clampZoom(0), kZoomMin);
});

test('zoom in then out by the same factor comes back', () => {
  const view = { zoom: 0.8, x: 15, y: 25 };
  const back = zoomAbout(zoomAbout(view, 1.25, 333, 222), 1 / 1.25, 333, 222);
  near(back.zoom, view.zoom, 'zoom');
  near(back.x, view.x, 'x', 1e-9);
  near(back.y, view.y, 'y', 1e-9);
});

test('fitting centres the whole page inside the margins', () => {
  const fitted = fitPage(page, 1280, 800);
  // The height decides: (800 - 48) / 792.
  near(fitted.zoom, (800 - 2 * kFitMargin) / 792, 'zoom');
  const rect = pageRect(fitted, page);
  near(rect.top, kFitMargin, 'top margin');
  near(rect.top + rect.height, 800 - kFitMargin, 'bottom margin');
  near(rect.left + rect.width / 2, 640, 'centred across');
  // A wide page: the width decides.
  const wide = fitPage([2000, 100], 1000, 800);
  near(pageRect(wide, [2000, 100]).left, kFitMargin, 'left margin');
});

test('fitting into a tiny area stops at the smallest fit zoom', () => {
  assert.equal(fitPage(page, 10, 10).zoom, kFitZoomMin);
});

test('the CSS transform puts the page where the view says', () => {
  assert.equal(cssTransform({ zoom: 1.5, x: -3, y: 4.25 }), 'translate(-3px, 4.25px) scale(1.5)');
});
