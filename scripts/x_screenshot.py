#!/usr/bin/env python3
"""Saves the X screen as a PNG, through Xlib alone (for screenshots under Xvfb).
Usage: x_screenshot.py OUT.png WIDTH HEIGHT (DISPLAY as usual). docs/inkscape.png was taken with
  HOME=$(mktemp -d) sh -c 'build/bin/spiral-host install-inkscape && build/bin/spiral-host draw --page A4 --svg doc.svg &&
  xvfb-run -a -s "-screen 0 1400x1000x24" sh -c "inkscape --with-gui --actions=org.spiral-host.spiral doc.svg &
  sleep 45; python3 scripts/x_screenshot.py docs/inkscape.png 1400 1000; kill \$!"'
"""
import ctypes, ctypes.util, sys, zlib, struct
x = ctypes.CDLL(ctypes.util.find_library('X11'))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x.XGetPixel.restype = ctypes.c_ulong
x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
d = x.XOpenDisplay(None)
root = x.XDefaultRootWindow(d)
w, h = int(sys.argv[2]), int(sys.argv[3])
img = x.XGetImage(d, root, 0, 0, w, h, 0xFFFFFFFF, 2)
# XImage: width, height, xoffset, format, data* ... bytes_per_line at a fixed offset; read data directly.
class XImage(ctypes.Structure):
    _fields_ = [('width', ctypes.c_int), ('height', ctypes.c_int), ('xoffset', ctypes.c_int), ('format', ctypes.c_int),
                ('data', ctypes.POINTER(ctypes.c_ubyte)), ('byte_order', ctypes.c_int), ('bitmap_unit', ctypes.c_int),
                ('bitmap_bit_order', ctypes.c_int), ('bitmap_pad', ctypes.c_int), ('depth', ctypes.c_int),
                ('bytes_per_line', ctypes.c_int), ('bits_per_pixel', ctypes.c_int)]
im = ctypes.cast(img, ctypes.POINTER(XImage)).contents
bpl = im.bytes_per_line
raw = ctypes.string_at(im.data, bpl * h)
rows = bytearray()
for y in range(h):
    row = raw[y * bpl:(y * bpl) + w * 4]
    rows.append(0)
    for i in range(0, len(row), 4):
        rows += bytes((row[i + 2], row[i + 1], row[i]))
def chunk(t, b): return struct.pack('>I', len(b)) + t + b + struct.pack('>I', zlib.crc32(t + b) & 0xffffffff)
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) + chunk(b'IDAT', zlib.compress(bytes(rows), 6)) + chunk(b'IEND', b'')
open(sys.argv[1], 'wb').write(png)
