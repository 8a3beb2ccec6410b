// Just enough PNG reading to compare the game's pictures: 8-bit RGB or RGBA,
// not interlaced (what the game's own encoder writes). Returns
// { width, height, rgb } with three bytes a pixel.
'use strict';
const zlib = require('zlib');

function decodePng(bytes) {
  const buf = Buffer.from(bytes);
  if (buf.length < 8 || buf.readUInt32BE(0) !== 0x89504e47) throw new Error('not a PNG');
  let pos = 8, width = 0, height = 0, channels = 0;
  const data = [];
  while (pos + 8 <= buf.length) {
    const length = buf.readUInt32BE(pos), type = buf.toString('latin1', pos + 4, pos + 8);
    const body = buf.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0); height = body.readUInt32BE(4);
      const depth = body[8], colour = body[9], interlace = body[12];
      if (depth !== 8 || (colour !== 2 && colour !== 6) || interlace !== 0) throw new Error('unsupported PNG');
      channels = colour === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    } else if (type === 'IEND') {
      break;
    }
    pos += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels, out = Buffer.alloc(width * height * 3);
  let prev = Buffer.alloc(stride), line = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)], row = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0, b = prev[i], c = i >= channels ? prev[i - channels] : 0;
      let p;
      switch (filter) {
        case 0: p = 0; break;
        case 1: p = a; break;
        case 2: p = b; break;
        case 3: p = (a + b) >> 1; break;
        case 4: {
          const q = a + b - c, pa = Math.abs(q - a), pb = Math.abs(q - b), pc = Math.abs(q - c);
          p = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
          break;
        }
        default: throw new Error('bad PNG filter');
      }
      line[i] = (row[i] + p) & 255;
    }
    for (let x = 0; x < width; ++x) line.copy(out, (y * width + x) * 3, x * channels, x * channels + 3);
    [prev, line] = [line, prev];
  }
  return { width, height, rgb: out };
}

// Empty when equal, else what differs (size, or the first differing pixel).
function comparePictures(a, b) {
  if (a.width !== b.width || a.height !== b.height) return `size ${a.width}x${a.height} against ${b.width}x${b.height}`;
  let differing = 0, first = -1;
  for (let i = 0; i < a.rgb.length; i += 3) {
    if (a.rgb[i] !== b.rgb[i] || a.rgb[i + 1] !== b.rgb[i + 1] || a.rgb[i + 2] !== b.rgb[i + 2]) {
      if (first < 0) first = i / 3;
      ++differing;
    }
  }
  if (differing === 0) return '';
  return `${differing} pixels differ, the first at (${first % a.width}, ${Math.floor(first / a.width)})`;
}

module.exports = { decodePng, comparePictures };

// node png.js A.png B.png: exit 0 when the pictures are equal.
if (require.main === module) {
  const fs = require('fs');
  const why = comparePictures(decodePng(fs.readFileSync(process.argv[2])), decodePng(fs.readFileSync(process.argv[3])));
  if (why) { console.error(`${process.argv[2]} and ${process.argv[3]}: ${why}`); process.exit(1); }
}
