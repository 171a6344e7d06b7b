// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// What the browser walk and the web figures share: Debian's Chromium started
// headless with a Japanese user, the page served on 127.0.0.1, trusted input
// through the DevTools protocol (puppeteer-core), and the test build's view
// of the game (tests/web/bridge.cpp).
import assert from 'node:assert/strict';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import puppeteer from 'puppeteer-core';

export {serve} from '../../web/serve.mjs';

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// The steps of a browser test, each named in the output with its time. A step
// passes when it returns and the page has thrown nothing (pageErrors stays
// empty); the first that fails ends the test with its stack and a screenshot
// of the page in front (currentPage()) at failureShot, once end() has closed
// what the test opened.
export function stepper({label, pageErrors, currentPage, failureShot, end}) {
  return async function step(name, run) {
    const t = Date.now();
    try {
      await run();
      assert.deepEqual(pageErrors, [], 'the page threw');
    } catch (error) {
      console.log(`FAIL ${label}: ${name}`);
      console.log(error.stack);
      await currentPage()?.screenshot({path: failureShot}).catch(() => {});
      await end();
      process.exit(1);
    }
    console.log(`ok   ${name} (${Date.now() - t} ms)`);
  };
}

// Chromium as a Japanese player has it: Japanese first among the languages
// the page reads (navigator.languages), a window of a laptop's size, with
// room beside the main window for a side window.
// args: more of Chromium's switches.
export async function launch(args = []) {
  const profile = mkdtempSync(join(tmpdir(), 'rumida-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.RUMIDA_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    env: {...process.env, LANGUAGE: 'ja', LANG: 'ja_JP.UTF-8'},
    args: [
      '--no-sandbox', '--no-first-run', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--disable-quic', '--lang=ja-JP', '--accept-lang=ja-JP,ja',
      // Qt draws the windows with WebGL: Chromium's software renderer.
      '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      // A tab in the background keeps its timers, so a test can switch away.
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
      '--window-size=1280,800',
      ...args,
    ],
  });
  browser.on('disconnected', () => {
    try {
      rmSync(profile, {recursive: true, force: true, maxRetries: 10});
    } catch {
      // Chromium's last writes may still be arriving: the folder is in /tmp.
    }
  });
  return browser;
}

// A new tab with the page's events in the test's output, in the browser's
// profile or in a browser context of its own.
export async function openPage(browser, url, {log = true} = {}) {
  const page = await browser.newPage();
  await page.setViewport({width: 1280, height: 800});
  await page.setExtraHTTPHeaders({'Accept-Language': 'ja-JP,ja'});
  if (log) {
    page.on('console', (m) => console.log(`  [page] ${m.text()}`));
    page.on('pageerror', (e) => console.log(`  [page error] ${e.message}`));
  }
  if (url)
    await page.goto(url);
  return page;
}

// Waits for test(value of read()) to hold, for up to ms milliseconds.
export async function until(what, read, test, ms = 20000) {
  const deadline = Date.now() + ms;
  let value;
  for (;;) {
    value = await read();
    if (test(value))
      return value;
    if (Date.now() > deadline)
      throw new Error(`timed out waiting for ${what}; last seen: ${describe(value)}`);
    await sleep(50);
  }
}

// A state as a few lines: each window, whether it is active, its enabled
// controls and the focus; anything else as JSON.
function describe(value) {
  if (!value?.windows)
    return JSON.stringify(value)?.slice(0, 2000);
  return value.windows.map((w) => `\n  ${w.name || w.class} "${w.title}"${w.active ? ' (active)' : ''}` +
                                  `${w.keyboard !== w.active ? (w.keyboard ? ' (focus window)' : ' (not the focus window)') : ''}: ` +
                                  w.controls.filter((c) => c.enabled && c.text !== undefined)
                                    .map((c) => `${c.name || c.class}=${JSON.stringify(c.text)}${c.focus ? '*' : ''}`)
                                    .join(' ')).join('') + `\n  focus: ${value.focus}`;
}

// The test build's view of the game, or null before it runs (or while the
// page is being loaded again).
export async function state(page) {
  try {
    return await page.evaluate(() => (window.rumidaTest ? window.rumidaTest.state() : null));
  } catch (error) {
    if (/context was destroyed|Cannot find context/.test(error.message))
      return null;
    throw error;
  }
}

export function windowNamed(s, name) {
  return s?.windows.find((w) => w.name === name || w.class === name) ?? null;
}

export function controlOf(s, windowName, controlName) {
  const w = windowNamed(s, windowName);
  return w?.controls.find((c) => c.name === controlName || c.text === controlName) ?? null;
}

export function centre(rect) {
  return {x: rect.x + rect.w / 2, y: rect.y + rect.h / 2};
}
