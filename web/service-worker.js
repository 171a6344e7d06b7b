// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Keeps the game for play without a network: on the first visit every file
// the game needs goes into a cache of this version's own, and from then on
// the page is served from it, online or not.
//
// The packaging writes in the list of files (OFFLINE below: each file's path,
// type, size, SHA-256 and the compressed copies the host has of it) and the
// cache's name, made of the version and a hash of that list. A new version
// is a new worker with a new cache; the page hands over to it only between
// two loads (page.js), so one load never mixes two versions' files.
//
// What is served from the cache is checked against its size and hash first:
// a damaged copy is fetched again. A cache is used only once it holds every
// file (its last entry says so); one that could not be filled is removed,
// the worker is not installed, and the page plays online as before.
'use strict';

const OFFLINE = @OFFLINE@;

const scope = self.registration.scope;
// The cache's name ends with the page's folder, so that two folders of one
// host (two versions side by side, say) keep their own.
const cacheName = `${OFFLINE.cache}@${new URL(scope).pathname}`;
const completeMark = new URL('.rumida-offline-complete', scope).href;
const files = new Map(OFFLINE.files.map((file) => [new URL(file.path, scope).href, file]));
const pageURL = new URL('index.html', scope).href;

// Compressed copies the host has: a .br copy where this browser can unpack
// brotli itself, else a .gz one, and the file itself when neither will do.
const unpackers = [['br', 'brotli'], ['gz', 'gzip']];
function canUnpack(format) {
  try {
    new DecompressionStream(format);
    return true;
  } catch {
    return false;
  }
}

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');
}

async function isListed(bytes, file) {
  return bytes.byteLength === file.bytes && hex(await crypto.subtle.digest('SHA-256', bytes)) === file.sha256;
}

// The bytes of a response, or null when there is none or it is not a 200.
async function bodyOf(url, init) {
  try {
    const response = await fetch(url, init);
    return response.ok ? await response.arrayBuffer() : null;
  } catch {
    return null;
  }
}

async function unpack(bytes, format) {
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream(format));
  return new Response(stream).arrayBuffer();
}

// One file as the list has it, from the cheapest source: the browser's own
// HTTP cache (the page has just loaded most of these), a compressed copy,
// then the file itself. Throws when none of them is the listed file.
async function download(file) {
  const url = new URL(file.path, scope).href;
  let bytes = await bodyOf(url, {cache: 'only-if-cached', mode: 'same-origin'});
  if (bytes && await isListed(bytes, file))
    return bytes;
  for (const [suffix, format] of unpackers) {
    if (!file.encodings.includes(suffix) || !canUnpack(format))
      continue;
    bytes = await bodyOf(`${url}.${suffix}`, {cache: 'no-cache'});
    if (!bytes)
      continue;
    // A host that sends the copy with its Content-Encoding has had the
    // browser unpack it already.
    if (await isListed(bytes, file))
      return bytes;
    try {
      bytes = await unpack(bytes, format);
      if (await isListed(bytes, file))
        return bytes;
    } catch {
      // Not a compressed copy of anything: the file itself below.
    }
  }
  bytes = await bodyOf(url, {cache: 'no-cache'});
  if (!bytes)
    throw new Error(`${file.path} could not be downloaded`);
  if (!await isListed(bytes, file))
    throw new Error(`${file.path} on the host is not this version's (${bytes.byteLength} bytes)`);
  return bytes;
}

function responseOf(bytes, file) {
  return new Response(bytes, {headers: {'Content-Type': file.type, 'Content-Length': String(bytes.byteLength)}});
}

async function fill() {
  // Whatever an earlier, failed try left under this name goes first.
  await caches.delete(cacheName);
  try {
    const cache = await caches.open(cacheName);
    for (const file of OFFLINE.files)
      await cache.put(new URL(file.path, scope).href, responseOf(await download(file), file));
    await cache.put(completeMark, new Response(OFFLINE.cache));
  } catch (error) {
    await caches.delete(cacheName);
    // The page says why in its console (page.js), and the browser drops
    // this worker: the page plays online, as it did before.
    const reason = String(error.message || error);
    for (const page of await self.clients.matchAll({type: 'window', includeUncontrolled: true}))
      page.postMessage({offline: 'failed', reason});
    throw error;
  }
}

self.addEventListener('install', (event) => event.waitUntil(fill()));

// The caches of this folder's earlier versions go once this one takes over.
self.addEventListener('activate', (event) => event.waitUntil((async () => {
  const suffix = `@${new URL(scope).pathname}`;
  for (const name of await caches.keys())
    if (name !== cacheName && name.startsWith('rumida-') && name.endsWith(suffix))
      await caches.delete(name);
})()));

// The page asks a new version to take over before it loads the game. The
// worker is kept running until it has: the browser may stop an idle one.
self.addEventListener('message', (event) => {
  if (event.data === 'take-over')
    event.waitUntil(self.skipWaiting());
});

async function completeCache() {
  if (!await caches.has(cacheName))
    return null;
  const cache = await caches.open(cacheName);
  return (await cache.match(completeMark)) ? cache : null;
}

async function serve(request, url, file) {
  const cache = await completeCache();
  if (!cache)
    return fetch(request);
  const kept = await cache.match(url);
  if (kept) {
    const bytes = await kept.arrayBuffer();
    if (await isListed(bytes, file))
      return responseOf(bytes, file);
    console.warn(`Rumida's offline copy of ${file.path} is damaged (${bytes.byteLength} bytes): fetched again`);
  }
  let bytes;
  try {
    bytes = await download(file);
  } catch {
    return fetch(request);
  }
  await cache.put(url, responseOf(bytes, file)).catch(() => {});
  return responseOf(bytes, file);
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET')
    return;
  const url = new URL(request.url);
  url.hash = '';
  // The page's folder, and the page with a query, are the page.
  if (request.mode === 'navigate') {
    url.search = '';
    if (url.href === scope)
      url.href = pageURL;
  }
  const file = files.get(url.href);
  if (file)
    event.respondWith(serve(request, url.href, file));
});
