// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Reads the pixels of a PNG as Chromium's screenshots write it (8 bits a
// channel, RGB or RGBA, not interlaced), for the walk's look at what shows.
import {inflateSync} from 'node:zlib';

export function decodePng(data) {
  let offset = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const parts = [];
  while (offset < data.length) {
    const length = data.readUInt32BE(offset);
    const type = data.toString('latin1', offset + 4, offset + 8);
    const body = data.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const [depth, colour, , , interlace] = body.subarray(8);
      if (depth !== 8 || (colour !== 2 && colour !== 6) || interlace !== 0)
        throw new Error(`a PNG of depth ${depth}, colour type ${colour}, interlace ${interlace} is not read here`);
      channels = colour === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      parts.push(body);
    }
    offset += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(parts));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = pixels.subarray(y * stride, (y + 1) * stride);
    const up = y > 0 ? pixels.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? out[x - channels] : 0;
      const b = up[x];
      const c = x >= channels ? up[x - channels] : 0;
      let predicted = 0;
      if (filter === 1)
        predicted = a;
      else if (filter === 2)
        predicted = b;
      else if (filter === 3)
        predicted = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const [pa, pb, pc] = [Math.abs(p - a), Math.abs(p - b), Math.abs(p - c)];
        predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      out[x] = (line[x] + predicted) & 0xff;
    }
  }
  return {width, height, channels, pixels};
}

// The share of the image's pixels that are black.
export function blackShare(png) {
  const {width, height, channels, pixels} = decodePng(png);
  let black = 0;
  for (let i = 0; i < width * height; ++i) {
    const p = i * channels;
    if (pixels[p] < 8 && pixels[p + 1] < 8 && pixels[p + 2] < 8)
      ++black;
  }
  return black / (width * height);
}
