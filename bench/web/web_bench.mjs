// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The web page's figures, each against a floor measured in the same run:
//  - the page's weight per file, raw, gzip and brotli, and the first load in
//    all (goal: under 4 MB with brotli), with what the font and Qt cost of it;
//  - the time from navigation to the first paint of the splash and of the
//    main window, against a bare Qt for WebAssembly window (bench/bare_qt.cpp)
//    built and served the same way: the first WebGL draw of each page, and
//    the main window's first paint as the test build's bridge reports it;
//  - the 99th percentile of the interval between the race's frames.
// Ends with one "BENCH <name> <value> <goal>" line per figure.
//   node web_bench.mjs <web build folder>
import {execFileSync} from 'node:child_process';
import {copyFileSync, cpSync, readFileSync, readdirSync, rmSync, statSync} from 'node:fs';
import {join} from 'node:path';
import {brotliCompressSync, constants, gzipSync} from 'node:zlib';
import {centre, controlOf, launch, openPage, serve, sleep, state, until, windowNamed} from '../../tests/web/browser.mjs';

const build = process.argv[2];
if (!build) {
  console.error('usage: node web_bench.mjs <web build folder>');
  process.exit(2);
}
const dist = join(build, 'dist');
const lines = [];
const bench = (name, value, goal) => lines.push(`BENCH ${name} ${value} ${goal}`);
const mb = (bytes) => (bytes / 1e6).toFixed(2);

// The page's files as a browser fetches them on the first load, with the
// manifest and icons it reads to offer the page as an app, and the service
// worker the page registers (which then takes the rest from the browser's
// HTTP cache).
const firstLoad = ['index.html', 'page.js', 'page-input.js', 'qtloader.js', 'rumida.js', 'rumida.wasm', 'rumida-32.png',
                   'rumida.ico', 'manifest.webmanifest', 'rumida-192.png', 'rumida-512.png', 'rumida-maskable-512.png',
                   'service-worker.js'];
function weights(file) {
  const data = readFileSync(file);
  return {raw: data.length, gzip: gzipSync(data, {level: 9}).length,
          brotli: brotliCompressSync(data, {params: {[constants.BROTLI_PARAM_QUALITY]: 11}}).length};
}
console.log('file                       raw      gzip    brotli');
const total = {raw: 0, gzip: 0, brotli: 0};
for (const name of readdirSync(dist).filter((f) => !/\.(gz|br)$/.test(f) && statSync(join(dist, f)).isFile()).sort()) {
  const w = weights(join(dist, name));
  console.log(`${name.padEnd(20)} ${String(w.raw).padStart(9)} ${String(w.gzip).padStart(9)} ${String(w.brotli).padStart(9)}`);
  if (firstLoad.includes(name))
    for (const k of Object.keys(total)) total[k] += w[k];
}
console.log(`${'first load'.padEnd(20)} ${String(total.raw).padStart(9)} ${String(total.gzip).padStart(9)} ${String(total.brotli).padStart(9)}`);
const font = weights(join(build, 'web/font/rumida-gothic.ttf'));
const bare = weights(join(build, 'bench/web/rumida_web_bare.wasm'));
const game = weights(join(dist, 'rumida.wasm'));
console.log(`of rumida.wasm (gzip): the Japanese font ${mb(font.gzip)} MB, Qt with a bare window ${mb(bare.gzip)} MB, ` +
            `the game's code and pictures ${mb(game.gzip - font.gzip - bare.gzip)} MB`);
bench('web_first_load_gzip_mb', mb(total.gzip), '< 8');
bench('web_first_load_brotli_mb', mb(total.brotli), '< 4');

// A page of its own for each program, beside the game's: the same page
// with the bare window's or the test build's program, and its service
// worker's list of files made for it.
function pageWith(name, program) {
  const folder = join(build, `bench-${name}`);
  rmSync(folder, {recursive: true, force: true});
  cpSync(dist, folder, {recursive: true, filter: (f) => !/\/rumida\.(js|wasm)(\.gz|\.br)?$/.test(f)});
  copyFileSync(`${program}.js`, join(folder, 'rumida.js'));
  copyFileSync(`${program}.wasm`, join(folder, 'rumida.wasm'));
  execFileSync('/usr/bin/python3', [new URL('../../packaging/web/offline.py', import.meta.url).pathname, folder, name]);
  return folder;
}

// The first WebGL draw after navigation: Qt draws a window onto the canvas.
function recordFirstDraw() {
  window.rumidaFirstDraw = 0;
  for (const Context of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    for (const call of ['drawArrays', 'drawElements']) {
      const original = Context.prototype[call];
      Context.prototype[call] = function (...args) {
        if (!window.rumidaFirstDraw)
          window.rumidaFirstDraw = performance.now();
        return original.apply(this, args);
      };
    }
  }
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const browser = await launch();
async function firstPaints(folder, runs, withMain) {
  const server = await serve(folder);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const first = [], main = [];
  for (let run = 0; run < runs; ++run) {
    // Each a first visit, in a profile of its own.
    const context = await browser.createBrowserContext();
    const page = await openPage(context, null, {log: false});
    await page.evaluateOnNewDocument(recordFirstDraw);
    await page.goto(url);
    first.push(await until('the first paint', () => page.evaluate(() => window.rumidaFirstDraw), (t) => t > 0, 120000));
    if (withMain) {
      // The bridge's time of the main window's first paint, on the page's clock.
      await page.evaluate(() => window.rumidaTest.trackPaints());
      const s = await until('the main window', () => state(page), (s) => s?.paints?.frmRumida, 20000);
      main.push(s.paints.frmRumida);
    }
    await context.close();
  }
  server.close();
  return {first: median(first), main: withMain ? median(main) : 0};
}
const runs = 3;
const floor = await firstPaints(pageWith('bare', join(build, 'bench/web/rumida_web_bare')), runs, false);
const testPage = pageWith('game', join(build, 'tests/web/rumida_web_test'));
const game2 = await firstPaints(testPage, runs, true);
console.log(`first paint after navigation (median of ${runs}): bare window ${floor.first.toFixed(0)} ms, ` +
            `the splash ${game2.first.toFixed(0)} ms, the main window ${game2.main.toFixed(0)} ms ` +
            '(after the splash\'s 3 s)');
bench('web_splash_first_paint_vs_bare', (game2.first / floor.first).toFixed(2), '< 2');
bench('web_main_window_after_splash_vs_bare', ((game2.main - 3000) / floor.first).toFixed(2), '< 2');

// A race in the test build: the intervals between its frames.
{
  const server = await serve(testPage);
  const page = await openPage(browser, `http://127.0.0.1:${server.address().port}/`, {log: false});
  const s = await until('the main window', () => state(page), (s) => windowNamed(s, 'frmRumida') && !windowNamed(s, 'frmCopy'), 60000);
  const click = (c) => page.mouse.click(Math.round(centre(c.rect).x), Math.round(centre(c.rect).y));
  await click(controlOf(s, 'frmRumida', 'cmdEndBet'));
  const ready = await until('the start button', () => state(page), (s) => controlOf(s, 'frmRumida', 'cmdStart')?.enabled);
  await page.evaluate(() => window.rumidaTest.clearFrames());
  await click(controlOf(ready, 'frmRumida', 'cmdStart'));
  const after = await until('the race to end', () => state(page), (s) => controlOf(s, 'frmRumida', 'cmdNext')?.enabled, 60000);
  const intervals = after.frames.slice(1).map((t, i) => t - after.frames[i]).sort((a, b) => a - b);
  const p99 = intervals[Math.min(intervals.length - 1, Math.floor(intervals.length * 0.99))];
  console.log(`race: ${after.frames.length} frames in ${((after.frames.at(-1) - after.frames[0]) / 1000).toFixed(2)} s, ` +
              `interval median ${median(intervals).toFixed(1)} ms, 99th percentile ${p99.toFixed(1)} ms, largest ${intervals.at(-1).toFixed(1)} ms`);
  // The floor: the browser's own frame period, an empty page's animation
  // frames in the same browser.
  const blank = await openPage(browser, 'about:blank', {log: false});
  const times = await blank.evaluate(() => new Promise((done) => {
    const t = [];
    const next = (now) => (t.push(now) < 121 ? requestAnimationFrame(next) : done(t));
    requestAnimationFrame(next);
  }));
  await blank.close();
  const period = median(times.slice(1).map((t, i) => t - times[i]));
  console.log(`the browser's own frame period: ${period.toFixed(1)} ms`);
  bench('web_race_frame_interval_median_vs_browser', (median(intervals) / period).toFixed(2), '(reported)');
  bench('web_race_frame_interval_p99_vs_browser', (p99 / period).toFixed(2), '(reported)');
  await page.close();
  server.close();
}
await browser.close();
await sleep(0);
for (const line of lines)
  console.log(line);
