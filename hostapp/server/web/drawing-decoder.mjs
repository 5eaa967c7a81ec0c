// Reads the binary form of a large drawing (the server's drawing_stream.h)
// as its bytes arrive, in pieces cut anywhere: each push gives the paths that
// became whole. Coordinates stay float32, as the document holds them.

export const kMagic = 'SPD1';
const kHeaderBytes = 32;

const colourCache = new Map();
// An RGBA word (R in the low byte) as a CSS colour; 0 is no paint.
export function colourText(word) {
  if (word === 0) return null;
  let text = colourCache.get(word);
  if (!text) {
    const hex = (v) => v.toString(16).padStart(2, '0');
    text = '#' + hex(word & 255) + hex((word >>> 8) & 255) + hex((word >>> 16) & 255);
    colourCache.set(word, text);
  }
  return text;
}

export class DrawingDecoder {
  constructor() {
    this.header = null;
    this.pathsRead = 0;
    this.segmentsRead = 0;
    this.bytesRead = 0;
    this.rest = new Uint8Array(0);
  }

  // True once the header's count of paths has come and nothing is left over.
  get complete() {
    return !!this.header && this.pathsRead === this.header.paths && this.rest.length === 0;
  }

  // The paths completed by `chunk` (a Uint8Array): { closed, fill, stroke,
  // width, opacity, dashes, dashOffset, segs } with segs a Float32Array of
  // (in x, in y, anchor x, anchor y, out x, out y) per segment.
  push(chunk) {
    this.bytesRead += chunk.byteLength;
    let buf = chunk;
    if (this.rest.length) {
      buf = new Uint8Array(this.rest.length + chunk.length);
      buf.set(this.rest);
      buf.set(chunk, this.rest.length);
    }
    const view = new DataView(buf.buffer, buf.byteOffset, buf.byteLength);
    let at = 0;
    const paths = [];
    if (!this.header) {
      if (buf.length < kHeaderBytes) {
        this.rest = buf.slice();
        return paths;
      }
      const magic = String.fromCharCode(buf[0], buf[1], buf[2], buf[3]);
      if (magic !== kMagic) throw new Error('this is not a drawing');
      this.header = {
        serial: view.getUint32(4, true),
        page: [view.getFloat32(8, true), view.getFloat32(12, true)],
        paths: view.getUint32(16, true),
        segments: view.getUint32(20, true),
        bytes: view.getUint32(24, true),
      };
      at = kHeaderBytes;
    }
    for (;;) {
      if (buf.length - at < 28) break;
      const flags = view.getUint32(at, true);
      const dashCount = (flags >>> 8) & 255;
      const fixed = 4 * (7 + dashCount);
      if (buf.length - at < fixed) break;
      const count = view.getUint32(at + fixed - 4, true);
      const end = at + fixed + 24 * count;
      if (buf.length < end) break;
      if (this.pathsRead === this.header.paths) throw new Error('the drawing has more paths than it said');
      const dashes = [];
      for (let k = 0; k < dashCount; ++k) dashes.push(view.getFloat32(at + 24 + 4 * k, true));
      paths.push({
        closed: (flags & 1) !== 0,
        fill: flags & 2 ? colourText(view.getUint32(at + 4, true)) : null,
        stroke: flags & 4 ? colourText(view.getUint32(at + 8, true)) : null,
        width: view.getFloat32(at + 12, true),
        opacity: view.getFloat32(at + 16, true),
        dashOffset: view.getFloat32(at + 20, true),
        dashes,
        // A copy: its own buffer, aligned for the float view.
        segs: new Float32Array(buf.slice(at + fixed, end).buffer),
      });
      this.pathsRead++;
      this.segmentsRead += count;
      at = end;
    }
    this.rest = at === buf.length ? new Uint8Array(0) : buf.slice(at);
    return paths;
  }
}
