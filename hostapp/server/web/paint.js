// Paints a large drawing apart from the page: the SVG writer's paths (fill,
// stroke, width, dashes, opacity, under one y flip; symbols in <defs> are not
// placed) onto an OffscreenCanvas, handed back as an ImageBitmap.
'use strict';

function attribute(attrs, name) {
  const m = new RegExp('\\s' + name + '="([^"]*)"').exec(attrs);
  return m ? m[1] : null;
}

self.onmessage = (event) => {
  const { svg, page, scale, serial } = event.data;
  const [w, h] = page;
  const canvas = new OffscreenCanvas(Math.max(1, Math.round(w * scale)), Math.max(1, Math.round(h * scale)));
  const ctx = canvas.getContext('2d');
  ctx.setTransform(scale, 0, 0, -scale, 0, h * scale);
  const body = svg.replace(/<defs>[\s\S]*?<\/defs>/, '');
  for (const m of body.matchAll(/<path\b([^>]*)\/>/g)) {
    const attrs = m[1];
    const d = attribute(attrs, 'd');
    if (!d) continue;
    const path = new Path2D(d);
    const fill = attribute(attrs, 'fill');
    const stroke = attribute(attrs, 'stroke');
    ctx.globalAlpha = Number(attribute(attrs, 'opacity') ?? 1);
    if (fill && fill !== 'none') {
      ctx.fillStyle = fill;
      ctx.fill(path);
    }
    if (stroke && stroke !== 'none') {
      ctx.strokeStyle = stroke;
      ctx.lineWidth = Number(attribute(attrs, 'stroke-width') ?? 1);
      const dashes = attribute(attrs, 'stroke-dasharray');
      ctx.setLineDash(dashes ? dashes.split(/[ ,]+/).map(Number) : []);
      ctx.lineDashOffset = Number(attribute(attrs, 'stroke-dashoffset') ?? 0);
      ctx.stroke(path);
    }
  }
  const bitmap = canvas.transferToImageBitmap();
  self.postMessage({ serial, bitmap }, [bitmap]);
};
