# Converts a 24/32-bit ZPixmap XWD (as written by xwd) to PNG, optionally cropped to the top-left
# WIDTH x HEIGHT; standard library only. Usage: xwd2png.py IN.xwd OUT.png [WIDTH HEIGHT]
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
h = struct.unpack('>25I', data[:100])
header_size, _, fmt, depth, width, height = h[0], h[1], h[2], h[3], h[4], h[5]
byte_order, bpp, bytes_per_line, ncolors = h[7], h[11], h[12], h[19]
red_mask = h[15]
offset = header_size + ncolors * 12
crop_w, crop_h = (int(sys.argv[3]), int(sys.argv[4])) if len(sys.argv) > 4 else (h[4], h[5])
size = bpp // 8  # 24-bit servers pack three bytes per pixel
rows = []
for y in range(crop_h):
    line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * bpp // 8]
    out = bytearray()
    for x in range(crop_w):
        px = line[x * size: x * size + size]
        v = int.from_bytes(px, 'little' if byte_order == 0 else 'big')
        out += bytes(((v >> 16) & 255, (v >> 8) & 255, v & 255))
    rows.append(b'\0' + bytes(out))
def chunk(t, d):
    c = struct.pack('>I', len(d)) + t + d
    return c + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack(">IIBBBBB", crop_w, crop_h, 8, 2, 0, 0, 0))
png += chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b'')
open(sys.argv[2], 'wb').write(png)
