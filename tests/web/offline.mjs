// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The page as an app, in headless Chromium: its manifest and icons load and
// Chromium finds it installable; after one visit it plays a race with the
// network cut off; a damaged kept copy of the program is fetched again; a new
// version replaces the old one's cache; and a cache that cannot be filled
// (a file missing on the host, a full disk) leaves the page playing online.
// The host serves the files only as they are (no Content-Encoding), as many
// static hosts do, so that the worker takes the .gz copies itself.
//   node offline.mjs <web build folder>   (after run-walk.sh made test-page/)
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {cpSync, readFileSync, rmSync, symlinkSync, writeFileSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {gzipSync} from 'node:zlib';
import {centre, controlOf, launch, openPage, serve, state, stepper, until, windowNamed} from './browser.mjs';

const build = process.argv[2];
if (!build) {
  console.error('usage: node offline.mjs <web build folder>');
  process.exit(2);
}
const here = resolve(import.meta.dirname, '../..');
const version = /^CMAKE_PROJECT_VERSION:STATIC=(.*)$/m.exec(readFileSync(join(build, 'CMakeCache.txt'), 'utf8'))[1];
const nextVersion = `${version}.1`;

// Two versions of the page: the test page as run-walk.sh made it, and the
// same with another version written in. Each has .gz copies of its small
// files, which a host that does not compress still serves by their names.
const root = join(build, 'offline-pages');
rmSync(root, {recursive: true, force: true});
function makeVersion(name, versionText) {
  const folder = join(root, name);
  cpSync(join(build, 'test-page'), folder, {recursive: true});
  const index = join(folder, 'index.html');
  writeFileSync(index, readFileSync(index, 'utf8').replace(`ルミダ ${version} ・`, `ルミダ ${versionText} ・`));
  for (const file of ['index.html', 'page.js', 'page-input.js', 'qtloader.js', 'manifest.webmanifest'])
    writeFileSync(join(folder, `${file}.gz`), gzipSync(readFileSync(join(folder, file)), {level: 9}));
  const cache = execFileSync('/usr/bin/python3', [join(here, 'packaging/web/offline.py'), folder, versionText],
                             {encoding: 'utf8'}).trim();
  const list = JSON.parse(/const OFFLINE = (\{[\s\S]*?\n\});/.exec(readFileSync(join(folder, 'service-worker.js'), 'utf8'))[1]);
  return {folder, cache, list};
}
const v1 = makeVersion('v1', version);
const v2 = makeVersion('v2', nextVersion);
// The host serves whichever version the link names.
const current = join(root, 'current');
symlinkSync(resolve(v1.folder), current);

const requests = [];
let refuse = () => false;
const server = await serve(current, 0, (path) => refuse(path), {precompressed: false, requests});
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch();
const started = Date.now();
let page;
const consoleLines = [];
const pageErrors = [];

const step = stepper({label: 'offline', pageErrors, currentPage: () => page, failureShot: join(build, 'offline-failure.png'),
                      end: async () => {
                        await browser.close();
                        server.close();
                      }});

async function open(context) {
  const tab = await openPage(context, null);
  tab.on('console', (m) => consoleLines.push(m.text()));
  tab.on('pageerror', (e) => pageErrors.push(e.message));
  return tab;
}
const look = () => state(page);
const mainWindow = (tab = page) => until('the main window', () => state(tab),
                                         (s) => windowNamed(s, 'frmRumida') && !windowNamed(s, 'frmCopy'), 60000);
const footer = (tab = page) => tab.evaluate(() => document.querySelector('footer').textContent);
const cacheNames = (tab = page) => tab.evaluate(() => caches.keys());
const click = async (windowName, name) => {
  const control = controlOf(await look(), windowName, name);
  assert.ok(control?.enabled, `${windowName} has no enabled ${name}`);
  await page.mouse.click(centre(control.rect).x, centre(control.rect).y);
};

await step('the manifest and its icons load; Chromium finds the page installable', async () => {
  page = await open(browser);
  await page.goto(url);
  await mainWindow();
  const cdp = await page.createCDPSession();
  const manifest = await cdp.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, []);
  assert.equal(manifest.url, `${url}manifest.webmanifest`);
  const data = JSON.parse(manifest.data);
  assert.equal(data.name, 'ルミダ');
  assert.equal(data.short_name, 'ルミダ');
  assert.equal(data.lang, 'ja');
  assert.match(data.description, /[ぁ-んァ-ン一-龯]/);
  assert.equal(data.display, 'standalone');
  assert.equal(data.start_url, './');
  assert.equal(data.scope, './');
  // The colours are the page's own.
  assert.equal(await page.evaluate(() => getComputedStyle(document.body).backgroundColor), 'rgb(212, 208, 200)');
  assert.equal(data.background_color, '#d4d0c8');
  assert.equal(data.theme_color, '#d4d0c8');
  const icons = await page.evaluate(async (icons) => Promise.all(icons.map(async (icon) => {
    const response = await fetch(icon.src);
    const picture = await createImageBitmap(await response.blob());
    return {...icon, status: response.status, size: `${picture.width}x${picture.height}`};
  })), data.icons);
  for (const icon of icons) {
    assert.equal(icon.status, 200, icon.src);
    assert.equal(icon.size, icon.sizes, icon.src);
  }
  assert.deepEqual(icons.map((i) => `${i.sizes} ${i.purpose}`).sort(), ['192x192 any', '512x512 any', '512x512 maskable']);
  const installable = await until('no installability errors', () => cdp.send('Page.getInstallabilityErrors'),
                                  (r) => r.installabilityErrors.length === 0, 20000);
  assert.deepEqual(installable.installabilityErrors, []);
  await cdp.detach();
});

await step('after one visit the game is kept for offline play, and the page says so', async () => {
  await until('the footer to say so', () => footer(), (t) => t.includes('オフラインでも遊べます'));
  assert.deepEqual(await cacheNames(), [`${v1.cache}@/`]);
  // Every listed file is kept, as listed.
  const kept = await page.evaluate(async (name) => {
    const cache = await caches.open(name);
    return Promise.all((await cache.keys()).map(async (request) => {
      const bytes = await (await cache.match(request)).arrayBuffer();
      const hash = Array.from(new Uint8Array(await crypto.subtle.digest('SHA-256', bytes)),
                              (b) => b.toString(16).padStart(2, '0')).join('');
      return {path: new URL(request.url).pathname.slice(1), bytes: bytes.byteLength, sha256: hash};
    }));
  }, `${v1.cache}@/`);
  for (const file of v1.list.files)
    assert.deepEqual(kept.find((k) => k.path === file.path), {path: file.path, bytes: file.bytes, sha256: file.sha256});
  assert.equal(kept.length, v1.list.files.length + 1, 'the cache holds the files and its mark of completeness');
});

await step('with the network cut off, a reload starts the game and plays a race', async () => {
  await page.setOfflineMode(true);
  refuse = () => true;
  requests.length = 0;
  await page.reload();
  await mainWindow();
  assert.ok((await footer()).includes(`ルミダ ${version} ・`));
  await click('frmRumida', 'cmdEndBet');
  await until('the start button', look, (s) => controlOf(s, 'frmRumida', 'cmdStart')?.enabled);
  await click('frmRumida', 'cmdStart');
  const s = await until('the race to end', look, (s) => controlOf(s, 'frmRumida', 'cmdNext')?.enabled, 60000);
  assert.match(controlOf(s, 'frmRumida', 'lblWinner').text, /^([1-4]-[1-4])?$/);
  // The browser itself asks for the worker to see if it changed (and gets
  // nothing); the page asked for nothing.
  assert.deepEqual(requests.filter((path) => path !== '/service-worker.js'), [], 'the host was asked for files');
  await page.setOfflineMode(false);
  refuse = () => false;
});

await step('a damaged kept copy of the program is fetched again, and the game starts', async () => {
  const cacheName = `${v1.cache}@/`;
  await page.evaluate(async (name) => {
    const cache = await caches.open(name);
    const kept = await cache.match('rumida.wasm');
    const bytes = new Uint8Array(await kept.arrayBuffer());
    bytes[bytes.length >> 1] ^= 0xff;
    await cache.put('rumida.wasm', new Response(bytes, {headers: kept.headers}));
  }, cacheName);
  await page.reload();
  await mainWindow();
  const wasm = v1.list.files.find((f) => f.path === 'rumida.wasm');
  const repaired = await page.evaluate(async (name) => {
    const bytes = await (await (await caches.open(name)).match('rumida.wasm')).arrayBuffer();
    return Array.from(new Uint8Array(await crypto.subtle.digest('SHA-256', bytes)),
                      (b) => b.toString(16).padStart(2, '0')).join('');
  }, cacheName);
  assert.equal(repaired, wasm.sha256, 'the kept copy was not put right');
});

await step('a new version on the host is kept beside the one playing, starts the next time the page is opened, ' +
           'and its cache replaces the old one', async () => {
  rmSync(current);
  symlinkSync(resolve(v2.folder), current);
  requests.length = 0;
  await page.reload();
  await mainWindow();
  // This load is still the old version, whole; the new one is being kept.
  assert.ok((await footer()).includes(`ルミダ ${version} ・`));
  await until('the footer to announce the new version', () => footer(), (t) => t.includes('新しい版は次に開いたときに始まります'));
  // Only what changed came from the host, as its compressed copy.
  assert.ok(requests.includes('/index.html.gz'), `asked for: ${requests.join(' ')}`);
  assert.ok(!requests.includes('/rumida.wasm'), 'the unchanged program was downloaded again');
  // The page closed, the browser hands over to the new version.
  // Watched from a blank tab, which is no page of the game's.
  const watcher = await browser.newPage();
  const workers = await watcher.createCDPSession();
  const versions = new Map();
  workers.on('ServiceWorker.workerVersionUpdated', (e) => e.versions.forEach((v) => versions.set(v.versionId, v.status)));
  await workers.send('ServiceWorker.enable');
  await page.close();
  await until('the new version to take over', () => [...versions.values()],
              (statuses) => statuses.includes('activated') && statuses.includes('redundant'), 60000);
  await watcher.close();
  page = await open(browser);
  await page.goto(url);
  await mainWindow();
  assert.ok((await footer()).includes(`ルミダ ${nextVersion} ・`));
  await until('the footer to say the new version is kept', () => footer(), (t) => t.includes('オフラインでも遊べます'));
  assert.deepEqual(await cacheNames(), [`${v2.cache}@/`]);
  await page.close();
});

// A first visit in a profile of its own, where the cache cannot be filled.
async function unfillable(why, prepare) {
  const context = await browser.createBrowserContext();
  page = await open(context);
  await prepare(page);
  consoleLines.length = 0;
  await page.goto(url);
  await mainWindow();
  await until('a line in the console', () => consoleLines,
              (lines) => lines.some((l) => l.startsWith('Rumida cannot be kept for offline play, and plays online:')));
  const line = consoleLines.find((l) => l.startsWith('Rumida cannot be kept'));
  assert.match(line, why);
  assert.deepEqual(await cacheNames(), []);
  assert.equal(await footer(), `ルミダ ${nextVersion} ・ ライセンス`);
  // And the game goes on.
  await click('frmRumida', 'cmdEndBet');
  await until('the start button', look, (s) => controlOf(s, 'frmRumida', 'cmdStart')?.enabled);
  await context.close();
}

await step('a file missing on the host: the page plays online, with a line in the console and none on the page',
           async () => {
  refuse = (path) => path.startsWith('/rumida-512.png');
  await unfillable(/rumida-512\.png could not be downloaded/, async () => {});
  refuse = () => false;
});

await step('a full disk: the page plays online, with a line in the console and none on the page', async () => {
  await unfillable(/./, async (tab) => {
    const cdp = await tab.createCDPSession();
    await cdp.send('Storage.overrideQuotaForOrigin', {origin: url.replace(/\/$/, ''), quotaSize: 1000000});
  });
});

await browser.close();
server.close();
console.log(`offline play: all steps passed in ${((Date.now() - started) / 1000).toFixed(1)} s`);
