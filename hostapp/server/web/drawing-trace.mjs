// Puts a decoded path (drawing-decoder.mjs) on a 2D context, and its style,
// with as little work for the canvas as what is seen allows.

// Traces the path's segments (in x, in y, anchor x, anchor y, out x, out y as
// float32) onto `c`, leaving out every piece whose control points and end all
// stay within `tolerance` (artwork units) of where the pen is: at screen
// scale such a piece is a dot inside the pen's own pixel, and big drawings
// are mostly made of them (a spiral's last turns at its centre). The pen
// stays where it was, so what follows starts at most `tolerance` away from
// its true start and the drift never adds up. Tolerance 0 traces every
// piece. Gives the number of pieces traced.
export function tracePath(c, segs, closed, tolerance = 0) {
  const n = segs.length / 6;
  if (n === 0) return 0;
  let x = segs[2], y = segs[3];
  c.moveTo(x, y);
  const last = closed ? n : n - 1;
  let traced = 0;
  for (let i = 1; i <= last; i++) {
    const a = (i - 1) * 6, b = (i === n ? 0 : i) * 6;
    const ox = segs[a + 4], oy = segs[a + 5], ix = segs[b], iy = segs[b + 1], ex = segs[b + 2], ey = segs[b + 3];
    if (tolerance > 0 &&
        Math.abs(ox - x) <= tolerance && Math.abs(oy - y) <= tolerance &&
        Math.abs(ix - x) <= tolerance && Math.abs(iy - y) <= tolerance &&
        Math.abs(ex - x) <= tolerance && Math.abs(ey - y) <= tolerance) continue;
    c.bezierCurveTo(ox, oy, ix, iy, ex, ey);
    x = ex;
    y = ey;
    traced++;
  }
  if (closed) c.closePath();
  return traced;
}

// Sets a context's paint state only where a path's style differs from the
// one before (big drawings repeat one style), and paints the traced path.
export class StyledPainter {
  constructor(ctx) {
    this.ctx = ctx;
    this.reset();
  }

  // Forget what the context holds (after it was reset or resized).
  reset() {
    this.alpha = null;
    this.fill = null;
    this.stroke = null;
    this.width = null;
    this.dashes = null;
    this.dashOffset = null;
  }

  // Paints `target` (a Path2D), or the context's current path.
  paint(p, target = null) {
    const ctx = this.ctx;
    if (this.alpha !== p.opacity) ctx.globalAlpha = this.alpha = p.opacity;
    if (p.fill) {
      if (this.fill !== p.fill) ctx.fillStyle = this.fill = p.fill;
      target ? ctx.fill(target) : ctx.fill();
    }
    if (p.stroke && p.width > 0) {
      if (this.stroke !== p.stroke) ctx.strokeStyle = this.stroke = p.stroke;
      if (this.width !== p.width) ctx.lineWidth = this.width = p.width;
      const dashes = p.dashes.join(' ');
      if (this.dashes !== dashes) {
        ctx.setLineDash(p.dashes);
        this.dashes = dashes;
      }
      if (this.dashOffset !== p.dashOffset) ctx.lineDashOffset = this.dashOffset = p.dashOffset;
      target ? ctx.stroke(target) : ctx.stroke();
    }
  }
}
