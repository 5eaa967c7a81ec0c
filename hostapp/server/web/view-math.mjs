// The document view's maths. A view is { zoom, x, y }: the page's top left
// corner sits at (x, y) in the view's own pixels and one point of the page
// is `zoom` pixels. Page points are y up from the page's bottom left corner;
// the view's pixels are y down.

export const kZoomMin = 0.02;
export const kZoomMax = 64;
export const kFitZoomMin = 0.05;
export const kFitMargin = 24;

export const clampZoom = (zoom) => Math.min(kZoomMax, Math.max(kZoomMin, zoom));

// The view zoomed by `factor` (within the limits) about the view pixel
// (cx, cy), which stays over the same page point.
export function zoomAbout(view, factor, cx, cy) {
  const zoom = clampZoom(view.zoom * factor);
  return {
    zoom,
    x: cx - (cx - view.x) * (zoom / view.zoom),
    y: cy - (cy - view.y) * (zoom / view.zoom),
  };
}

// The view that shows the whole page centred in a width x height area.
export function fitPage(page, width, height, margin = kFitMargin) {
  const zoom = Math.max(kFitZoomMin, Math.min((width - 2 * margin) / page[0], (height - 2 * margin) / page[1]));
  return { zoom, x: (width - page[0] * zoom) / 2, y: (height - page[1] * zoom) / 2 };
}

// The page's rectangle in view pixels.
export function pageRect(view, page) {
  return { left: view.x, top: view.y, width: page[0] * view.zoom, height: page[1] * view.zoom };
}

// The page point (rounded to 0.01 pt) under the pixel (px, py), given the
// page's rectangle in the same pixels (the canvas's client rectangle).
export function pagePointAt(rect, page, px, py) {
  const x = (px - rect.left) / rect.width * page[0];
  const y = page[1] - (py - rect.top) / rect.height * page[1];
  return { x: Math.round(x * 100) / 100, y: Math.round(y * 100) / 100 };
}

// The pixel over a page point: the inverse of pagePointAt (before rounding).
export function pixelAt(rect, page, point) {
  return {
    x: rect.left + point.x / page[0] * rect.width,
    y: rect.top + (page[1] - point.y) / page[1] * rect.height,
  };
}

export const cssTransform = (view) => `translate(${view.x}px, ${view.y}px) scale(${view.zoom})`;
