// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The page's random play, the browser's half: the random player of
// tests/model plays the page in headless Chromium, every action made of
// trusted input through the DevTools protocol (the mouse and keys of a
// desktop, taps and a soft keyboard's committed text on a phone or a tablet,
// an input method's compositions, the clipboard), the message boxes answered
// by clicks, taps and keys. After each action, once the page has handled it
// (window.rumidaPlay.settled()), the reference model referees every field
// the game shows (tests/web/play.cpp). A game lasts until the player quits
// it, reloads the page or has played 300 actions; the page, and with it the
// device it plays on, is loaded afresh at a quit or a reload.
//   node play.mjs <page folder with the play build> <output folder>
//   RUMIDA_SEED=<n>          replays a seed (the same seed plays the same actions)
//   RUMIDA_ACTIONS=<n>       how many actions a run plays (2000)
//   RUMIDA_SOAK_SECONDS=<s>  plays for that long from a fresh seed instead, and
//                            watches the memory the program holds between games
//   RUMIDA_SOAK_MARGIN_MIB=<m>  how far that memory may grow (see the Makefile)
// A failure prints the seed, the last 20 actions, what the window and the model
// hold, the page's last console lines, and a screenshot in the output folder.
import {randomBytes} from 'node:crypto';
import {mkdirSync} from 'node:fs';
import {join} from 'node:path';
import {centre, controlOf, launch, openPage, serve, sleep, state, until, windowNamed} from './browser.mjs';
import {commit, compose, driverFor, emulate, profiles, rotated} from './drivers.mjs';

const [folder, outDir] = process.argv.slice(2);
if (!folder || !outDir) {
  console.error('usage: node play.mjs <page folder> <output folder>');
  process.exit(2);
}
mkdirSync(outDir, {recursive: true});

const soakSeconds = Number(process.env.RUMIDA_SOAK_SECONDS || 0);
const seed = BigInt(process.env.RUMIDA_SEED || (soakSeconds ? BigInt.asUintN(63, randomBytes(8).readBigUInt64LE()) : 1n));
const actionsWanted = Number(process.env.RUMIDA_ACTIONS || 2000);
const marginMiB = Number(process.env.RUMIDA_SOAK_MARGIN_MIB || 8);
// A soak plays shorter games, for more readings of the memory between them
// before a quit or a reload starts a fresh page.
const ActionsPerGame = soakSeconds ? 100 : 300;
const ReportedActions = 20;
// How many rounds of settling the window has to come to agree with the model.
const AgreeRounds = 12;
// A game's device, one page load to the next: a desktop browser half of the time.
// RUMIDA_DEVICES=<name,...> plays on those alone.
const devices = process.env.RUMIDA_DEVICES?.split(',') ??
                ['desktop', 'desktop', 'desktop', 'phone-portrait', 'phone-landscape', 'tablet-portrait',
                 'tablet-landscape'];

// ---- seeds ----------------------------------------------------------------

const mask64 = (1n << 64n) - 1n;
function splitmix(x) {
  let z = (x + 0x9e3779b97f4a7c15n) & mask64;
  z = ((z ^ (z >> 30n)) * 0xbf58476d1ce4e5b9n) & mask64;
  z = ((z ^ (z >> 27n)) * 0x94d049bb133111ebn) & mask64;
  return z ^ (z >> 31n);
}
// The driver's own choices (which way a box is answered, where a second
// finger lands), from the game's seed and the action's number.
function chooser(gameSeed) {
  let s = Number(gameSeed & 0xffffffffn) >>> 0;
  return (n) => {
    s = (s + 0x6d2b79f5) >>> 0;
    let t = s;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return (((t ^ (t >>> 14)) >>> 0) % n);
  };
}

// ---- the page ---------------------------------------------------------------

const server = await serve(folder, 0);
const url = `http://127.0.0.1:${server.address().port}/`;
// Frames as fast as Chromium draws them, not at 60 a second: the race's
// frames and the page's settling wait for them.
const browser = await launch(['--disable-frame-rate-limit', '--disable-gpu-vsync']);
let page = null;
let driver = null;
let profile = null;
let deviceName = '';
const pageErrors = [];
const consoleLines = [];
// What the page says when the program crashes or stops itself.
const crashed = /RuntimeError|memory access out of bounds|unreachable|Aborted|abort\(|qFatal|began to wait|異常終了/;

// The devices at one pixel per point: what the page does with each input is
// the same at any pixel ratio (the walk shows the windows at the devices'
// own), and Chromium's software renderer draws a phone's three times nine
// times slower.
// What the games reached, summed over the pages (each page's program keeps
// its own count).
const reached = {kinds: {}};
async function tally() {
  const counts = await call('coverage').catch(() => null);
  if (!counts)
    return;
  for (const [key, value] of Object.entries(counts)) {
    if (key === 'kinds') {
      for (const [kind, n] of Object.entries(value))
        reached.kinds[kind] = (reached.kinds[kind] ?? 0) + n;
    } else {
      reached[key] = (reached[key] ?? 0) + value;
    }
  }
}

async function load(name) {
  if (page)
    await tally();
  deviceName = name;
  profile = {...profiles[name], viewport: {...profiles[name].viewport, deviceScaleFactor: 1}};
  if (!page) {
    page = await openPage(browser, null, {log: false});
    page.on('console', (m) => {
      consoleLines.push(m.text());
      if (consoleLines.length > 40)
        consoleLines.shift();
      if (crashed.test(m.text()))
        pageErrors.push(`console: ${m.text()}`);
    });
    page.on('pageerror', (e) => pageErrors.push(e.message));
    await page.browserContext().overridePermissions(url, ['clipboard-read', 'clipboard-write',
                                                          'clipboard-sanitized-write']);
  }
  await emulate(page, profile);
  driver = driverFor(page, profile);
  await page.goto(url);
  await until('the program', () => page.evaluate(() => Boolean(window.rumidaPlay)).catch(() => false),
              (ready) => ready, 60000);
}

const look = () => state(page);
// Qt has handled what came before; a page that never gets there fails the run.
const settled = () => page.evaluate(() => Promise.race([
  window.rumidaPlay.settled().then(() => true),
  new Promise((done) => setTimeout(() => done(false), 20000))])).then((done) => {
  if (!done)
    throw new Error('the page never settled');
});
const call = (name, ...args) => page.evaluate((n, a) => window.rumidaPlay[n](...a), name, args);

// ---- input -----------------------------------------------------------------

let pick = null; // the driver's choices for this game

async function press(point) {
  await driver.press(point);
}
function mainWindow(s) {
  return windowNamed(s, 'frmRumida');
}
function control(s, name, windowName = 'frmRumida') {
  return controlOf(s, windowName, name);
}
// Where a control is pressed: a check box on its box, an amount box near its
// right end (where the caret goes to the end of a short text), anything else
// in its middle.
function pointOf(c) {
  if (c.name.startsWith('chk'))
    return {x: c.rect.x + 7, y: c.rect.y + c.rect.h / 2};
  if (c.name.startsWith('txt'))
    return {x: c.rect.x + c.rect.w - 4, y: c.rect.y + c.rect.h / 2};
  return centre(c.rect);
}
const closeButton = (w) => ({x: w.frame.x + w.frame.w - 13, y: w.frame.y + 13});

// The windows a press at each of the points would reach, in one call.
const windowsAt = (points) => page.evaluate((ps) => ps.map((p) => window.rumidaTest.windowAt(p.x, p.y)), points);
// The page takes a press within a few pixels of a window's edge for that
// window (where a desktop would resize it): a press at a point reaches a
// window when the point is the window's and its surroundings the window's too,
// or no window's. `names` are the windows at a point and around it.
const around = (p) => [p, {x: p.x - 8, y: p.y}, {x: p.x + 8, y: p.y}, {x: p.x, y: p.y - 8}, {x: p.x, y: p.y + 8}];
const reaches = (names, mine) => names[0] === mine && names.every((n) => n === mine || n === '');

// A point of a window's title bar that no other window covers, clear of its
// close button: where a player takes hold of it to move it or bring it to
// the front. With titleOnly false, any uncovered point of the window off
// its controls will do. Null when every such point is covered.
async function grip(w, titleOnly = true) {
  const f = w.frame;
  const points = [];
  for (let x = f.x + 24; x < f.x + f.w - 36; x += 24)
    points.push({x, y: f.y + 12});
  if (!titleOnly) {
    const onControl = (p) => w.controls.some((c) => p.x >= c.rect.x - 2 && p.x <= c.rect.x + c.rect.w + 2 &&
                                                    p.y >= c.rect.y - 2 && p.y <= c.rect.y + c.rect.h + 2);
    for (let y = f.y + 30; y < f.y + f.h - 4; y += 16) {
      for (let x = f.x + 6; x < f.x + f.w - 6; x += 24) {
        if (!onControl({x, y}))
          points.push({x, y});
      }
    }
  }
  const names = await windowsAt(points.flatMap(around));
  const mine = w.name || w.class;
  const at = points.findIndex((p, i) => reaches(names.slice(5 * i, 5 * i + 5), mine));
  return at < 0 ? null : points[at];
}

// A window brought to the front by a press on it, its title bar if it shows.
async function raise(w) {
  const point = await grip(w, false);
  if (!point)
    throw new Error(`no part of ${w.name} shows`);
  await press(point);
}

// A control pressed where it shows (prepare() has uncovered it).
async function clickControl(name, windowName = 'frmRumida') {
  const c = control(await look(), name, windowName);
  if (!c)
    throw new Error(`${windowName} shows no ${name}`);
  await press(pointOf(c));
}

const windowIndex = {frmRumida: 0, frmZelko: 1, frmHelp: 2, frmVersion: 3};

// Where an action presses, if it is aimed at a window: [window, point].
function targetOf(a, s) {
  const pair = ['12', '13', '14', '23', '24', '34'][a.arg % 6];
  const on = (windowName, name) => {
    const c = control(s, name, windowName);
    return c ? [windowName, pointOf(c)] : null;
  };
  const side = (name, byCloseBox) => {
    const w = windowNamed(s, name);
    return !w ? null : byCloseBox ? [name, closeButton(w)] : on(name, 'Command1');
  };
  switch (a.kind) {
  case 'ClickCheck': return on('frmRumida', `chk${pair}`);
  case 'ClickText':
  case 'ContextPaste':
  case 'ContextUndo':
  case 'ContextSelectAllDelete': return on('frmRumida', `txt${pair}`);
  case 'ClickButton': return on('frmRumida', ['cmdEndBet', 'cmdStart', 'cmdNext'][a.arg % 3]);
  case 'PressAway': return on('frmRumida', 'cmdEndBet');
  case 'MultiTap':
  case 'TwoFingers': return on('frmRumida', tapTargets[a.arg]);
  case 'GalleryNext': return on('frmZelko', 'cmdNextPic');
  case 'GalleryBack': return on('frmZelko', 'cmdBackPic');
  case 'CloseGallery': return side('frmZelko', a.arg);
  case 'CloseHelp': return side('frmHelp', a.arg);
  case 'CloseVersion': return side('frmVersion', a.arg);
  default: return null;
  }
}

// The window an action is aimed at brought forward, by a press on a part of
// it that shows, when another window covers the spot; the model is told.
// False when no part of it shows (a screen turned has piled the windows up):
// the action is left out.
async function prepare(a) {
  const s = await look();
  // A window activated by a press on it: some part of it must show.
  const pressed = a.kind === 'ActivateSide' ? windowNamed(s, sideNames[a.arg % 3])
                  : a.kind === 'Reactivate' ? mainWindow(s) : null;
  if (pressed)
    return (await grip(pressed, false)) !== null;
  const target = targetOf(a, s);
  if (!target)
    return true;
  const [windowName, point] = target;
  const names = await windowsAt(around(point));
  if (reaches(names, windowName))
    return true;
  const w = windowNamed(s, windowName);
  const at = await grip(w, false);
  if (!at)
    return false;
  await press(at);
  await settled();
  await call('front', windowIndex[windowName]);
  return true;
}

async function key(k) {
  await page.keyboard.press(k);
}
async function chord(modifier, k) {
  await page.keyboard.down(modifier);
  await page.keyboard.press(k);
  await page.keyboard.up(modifier);
}

// A character a hardware keyboard types: ASCII from its own key, anything
// else (a Japanese keyboard's full-width forms) as a key event with the text.
async function typeKeys(text) {
  const session = await page.createCDPSession();
  for (const ch of text) {
    if (ch >= ' ' && ch <= '~') {
      await page.keyboard.type(ch);
    } else {
      await session.send('Input.dispatchKeyEvent', {type: 'keyDown', key: ch, text: ch, unmodifiedText: ch});
      await session.send('Input.dispatchKeyEvent', {type: 'keyUp', key: ch});
    }
  }
  await session.detach();
}

// Typed text, the way the action says; ten thousand characters come at once
// (no hardware keyboard types them key by key in a test's time).
async function typeText(a) {
  const how = a.text.length > 200 && a.typedBy === 0 ? 1 : a.typedBy;
  if (how === 0) {
    await typeKeys(a.text);
  } else if (how === 1) {
    if (a.text)
      await commit(page, a.text);
  } else {
    const chars = [...a.text];
    const steps = [];
    for (let n = 1; n <= Math.min(chars.length, 3); ++n)
      steps.push(chars.slice(0, n).join(''));
    if (a.text)
      await compose(page, steps, a.text);
  }
}

async function paste(text) {
  await page.evaluate((t) => navigator.clipboard.writeText(t), text);
  await page.keyboard.down('Control');
  await page.keyboard.press('KeyV', {commands: ['paste']});
  await page.keyboard.up('Control');
}

const menuOf = (s) => s?.windows.find((w) => w.class === 'QMenu') ?? null;
const menuTitles = {mnuFile: 'ファイル', mnuOmake: 'おまけ', mnuH: 'ヘルプ'};
const itemMenus = {mnuStartOver: 'mnuFile', mnuEnd: 'mnuFile', mnuZelko: 'mnuOmake', mnuHow: 'mnuH', mnuVer: 'mnuH'};

// Opens a top menu's dropdown by a click on its title (a second click where
// the first closed another dropdown, or the page closed it as it opened).
async function openMenu(menuName) {
  for (let tries = 0; tries < 3; ++tries) {
    const s = await look();
    const open = menuOf(s);
    if (open && open.name === menuName)
      return open;
    const bar = mainWindow(s).controls.find((c) => c.class === 'QMenuBar');
    await press(centre(bar.items.find((i) => i.name === menuName || i.text.startsWith(menuTitles[menuName])).rect));
    await settled();
  }
  const s = await look();
  if (menuOf(s)?.name !== menuName)
    throw new Error(`${menuName} did not open`);
  return menuOf(s);
}

// A menu item: its dropdown opened, then the item clicked, or walked to with
// Down and taken with Enter.
async function pickItem(itemName, byKeys) {
  const dropdown = await openMenu(itemMenus[itemName]);
  const enabled = dropdown.items.filter((i) => i.enabled);
  const item = dropdown.items.find((i) => i.name === itemName);
  let reached = false;
  if (byKeys && item.enabled) {
    for (let k = 0; k <= enabled.length && !reached; ++k) {
      await key('ArrowDown');
      reached = menuOf(await look())?.activeItem === itemName;
    }
  }
  // Where Down does not reach the item (the pointer resting on the menu
  // takes the active item back), the player clicks it.
  if (reached) {
    await key('Enter');
  } else {
    await press(centre(item.rect));
  }
}

// A context-menu item of an amount box: a right click (aside from the last
// one, which a second right click on the same spot would make a double
// click), then the item clicked, or the menu closed by Escape where the item
// is offered disabled. 1: picked, 2: refused.
let rightAside = false;
async function contextPick(boxName, itemName) {
  const box = control(await look(), boxName);
  // A right click the page takes for the second of a double click opens
  // nothing: the player clicks again.
  let menu = null;
  for (let tries = 0; !menu; ++tries) {
    rightAside = !rightAside;
    const at = {x: box.rect.x + box.rect.w / 2 + (rightAside ? 10 : 0), y: box.rect.y + box.rect.h / 2};
    const p = await page.evaluate((x, y) => ({x: x - visualViewport.offsetLeft, y: y - visualViewport.offsetTop}),
                                  at.x, at.y);
    await page.mouse.click(p.x, p.y, {button: 'right'});
    menu = await until('the context menu', look, (s) => menuOf(s), tries ? 20000 : 2000).then(menuOf, (e) => {
      if (tries)
        throw e;
      return null;
    });
  }
  const plain = (text) => text.replace('&', '').split('\t')[0];
  const item = menu.items.find((i) => plain(i.text) === itemName);
  if (!item)
    throw new Error(`the context menu has no ${itemName}: ${menu.items.map((i) => plain(i.text)).join(', ')}`);
  if (item.enabled)
    await press(centre(item.rect));
  else
    await key('Escape');
  await until('the context menu to close', look, (s) => !menuOf(s));
  return item.enabled ? 1 : 2;
}

// Another tab in front for a moment, then the page's again.
async function hideTab() {
  const other = await browser.newPage();
  await other.bringToFront();
  await page.evaluate(() => new Promise((done) => setTimeout(done, 100)));
  await page.bringToFront();
  await other.close();
}

// The screen turned (a phone, a tablet) or resized (a desktop), and back.
async function resize() {
  const turned = profile.touch ? rotated(profile.viewport)
                               : {...profile.viewport, width: 900 + pick(500), height: 560 + pick(300)};
  await page.setViewport(turned);
  await settled();
  await page.setViewport(profile.viewport);
  await windowsStill();
}

// The page places its windows on a new screen over a few frames: until two
// readings a round of settling apart agree.
async function windowsStill() {
  const frames = async () => {
    await settled();
    return JSON.stringify((await look()).windows.map((w) => [w.name, w.frame]));
  };
  let last = await frames();
  for (let round = 0; round < 20; ++round) {
    const now = await frames();
    if (now === last)
      return;
    last = now;
  }
}

async function taps(point, times) {
  const p = await page.evaluate((x, y) => ({x: x - visualViewport.offsetLeft, y: y - visualViewport.offsetTop}),
                                point.x, point.y);
  if (!profile.touch)
    await page.mouse.move(p.x, p.y);
  for (let n = 1; n <= times; ++n) {
    if (profile.touch) {
      await page.touchscreen.tap(p.x, p.y);
    } else {
      await page.mouse.down({clickCount: n});
      await page.mouse.up({clickCount: n});
    }
  }
}

const tapTargets = ['chk12', 'chk13', 'chk14', 'chk23', 'chk24', 'chk34', 'cmdEndBet', 'cmdStart', 'cmdNext'];

// Two fingers down together, the first on the target; the page gives the
// game the first alone. A mouse has one pointer: a click.
async function twoFingers(targetName) {
  const s = await look();
  const first = pointOf(control(s, targetName));
  if (!profile.touch) {
    await press(first);
    return;
  }
  const others = mainWindow(s).controls.filter((c) => c.rect.w > 0 && c.name !== targetName);
  const second = centre(others[pick(others.length)].rect);
  const v = await page.evaluate(() => ({x: visualViewport.offsetLeft, y: visualViewport.offsetTop}));
  const session = await page.createCDPSession();
  const points = [first, second].map((p, id) => ({x: p.x - v.x, y: p.y - v.y, id}));
  await session.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: points});
  await session.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  await session.detach();
}

const sideNames = ['frmZelko', 'frmHelp', 'frmVersion'];
const sideItems = ['mnuZelko', 'mnuHow', 'mnuVer'];

async function closeSide(name, byCloseBox) {
  const w = windowNamed(await look(), name);
  if (!w)
    return;
  if (byCloseBox)
    await press(closeButton(w));
  else
    await clickControl('Command1', name);
}

// The inputs thrown at the page while its race is held at a frame.
async function raceNoise(noise) {
  for (const n of noise) {
    if (n.type === 'key') {
      await key(n.key === 'Digit5' ? '5' : n.key);
    } else if (n.type === 'text') {
      await commit(page, n.text);
    } else if (n.type === 'drag') {
      const at = await grip(mainWindow(await look()));
      if (at)
        await driver.drag(at, 6, 4, 3);
    } else {
      const s = await look();
      const bar = mainWindow(s).controls.find((c) => c.class === 'QMenuBar');
      const item = bar.items.find((i) => i.name === n.control);
      const target = item ? centre(item.rect) : pointOf(control(s, n.control));
      await press(target);
    }
  }
}

// The action's input; the context-menu picks it made.
async function drive(a) {
  const pair = ['12', '13', '14', '23', '24', '34'][a.arg % 6];
  switch (a.kind) {
  case 'ClickCheck': await clickControl(`chk${pair}`); break;
  case 'ClickText': {
    await clickControl(`txt${pair}`);
    // The caret goes where the press lands: back to the end, where the model types.
    await settled();
    if (control(await look(), `txt${pair}`)?.focus)
      await key('End');
    break;
  }
  case 'ClickButton': await clickControl(['cmdEndBet', 'cmdStart', 'cmdNext'][a.arg % 3]); break;
  case 'PressAway': {
    const s = await look();
    const from = centre(control(s, 'cmdEndBet').rect);
    const to = centre(control(s, 'lblWinner').rect);
    await driver.drag(from, to.x - from.x, to.y - from.y, 3);
    break;
  }
  case 'Tab': await key('Tab'); break;
  case 'Backtab': await chord('Shift', 'Tab'); break;
  case 'Space': await key('Space'); break;
  case 'Enter': await key('Enter'); break;
  case 'Backspace': await key('Backspace'); break;
  case 'Type': await typeText(a); break;
  case 'Paste': await paste(a.text); break;
  case 'StartOver': await pickItem('mnuStartOver', a.byKeys); break;
  case 'MenuEnd': await pickItem('mnuEnd', a.byKeys); break;
  case 'CloseBox': await press(closeButton(mainWindow(await look()))); break;
  case 'OpenGallery': await pickItem('mnuZelko', a.byKeys); break;
  case 'OpenHelp': await pickItem('mnuHow', a.byKeys); break;
  case 'OpenVersion': await pickItem('mnuVer', a.byKeys); break;
  case 'GalleryNext':
  case 'GalleryBack':
    if (windowNamed(await look(), 'frmZelko'))
      await clickControl(a.kind === 'GalleryNext' ? 'cmdNextPic' : 'cmdBackPic', 'frmZelko');
    break;
  case 'CloseGallery': await closeSide('frmZelko', a.arg); break;
  case 'CloseHelp': await closeSide('frmHelp', a.arg); break;
  case 'CloseVersion': await closeSide('frmVersion', a.arg); break;
  case 'Alt': await key('Alt'); break;
  case 'Escape': await key('Escape'); break;
  case 'OpenMenu': await openMenu(['mnuFile', 'mnuOmake', 'mnuH'][a.arg % 3]); break;
  case 'ClickAway': await press(centre(control(await look(), 'lblWinner').rect)); break;
  case 'ContextPaste': return [await contextPick(`txt${pair}`, 'Paste'), 0];
  case 'ContextUndo': return [await contextPick(`txt${pair}`, 'Undo'), 0];
  case 'ContextSelectAllDelete':
    return [await contextPick(`txt${pair}`, 'Select All'), await contextPick(`txt${pair}`, 'Delete')];
  case 'ActivateSide': {
    const side = windowNamed(await look(), sideNames[a.arg % 3]);
    if (side)
      await raise(side);
    else
      await pickItem(sideItems[a.arg % 3], false);
    break;
  }
  case 'Reactivate': await raise(mainWindow(await look())); break;
  case 'HideTab': await hideTab(); break;
  case 'Resize': await resize(); break;
  case 'MultiTap': await taps(pointOf(control(await look(), tapTargets[a.arg])), a.taps); break;
  case 'TwoFingers': await twoFingers(tapTargets[a.arg]); break;
  case 'DeadKey': await key(a.key); break;
  case 'Reload': break; // the page is loaded again by the run
  default: throw new Error(`no input for ${a.kind}`);
  }
  return [0, 0];
}

// Each question of the action answered as it comes up: Yes by Enter (its
// default button) or a click, No and OK by a click, Cancel by Escape, a
// click or the box's close button. The last answer is waited for unless the
// next action is to follow it at once.
async function answer(a) {
  for (const [n, q] of a.questions.entries()) {
    const box = await until(`the message box "${q.title}"`, look,
                            (s) => s.windows.some((w) => w.class === 'QMessageBox' && w.active && w.title === q.title))
      .then((s) => s.windows.find((w) => w.class === 'QMessageBox'));
    const wanted = q.buttons === 'YesNo' ? a.yesNo : a.okCancel;
    const button = (text) => centre(box.controls.find((c) => c.text === text).rect);
    const way = pick(3);
    if (process.env.RUMIDA_TRACE)
      console.log(`   answer ${wanted} to "${q.title}" (way ${way})`);
    if (wanted === 'Yes' && way === 0)
      await key('Enter');
    else if (wanted === 'Yes')
      await press(button('はい(&Y)'));
    else if (wanted === 'No')
      await press(button('いいえ(&N)'));
    else if (wanted === 'Ok')
      await press(button('OK'));
    else if (way === 0)
      await key('Escape');
    else if (way === 1)
      await press(button('キャンセル'));
    else
      await press(closeButton(box));
    if (n + 1 < a.questions.length || !a.rush || a.ending) {
      await until(`the message box "${q.title}" to close`, look,
                  (s) => !s || !s.windows.some((w) => w.class === 'QMessageBox' && w.title === q.title));
    }
  }
}

// The action played on the page: its input, a race held while input is
// thrown at it, and its questions answered.
async function perform(a) {
  if (a.noise)
    await call('holdRace', true);
  const picks = await drive(a);
  if (a.noise) {
    // A race the page never began is for the comparison to report.
    const held = await until('the race to be held', () => call('racing'), (r) => r.held, 5000).then(() => true,
                                                                                                 () => false);
    if (held) {
      ++heldRaces;
      await raceNoise(a.noise);
      await settled();
    }
    await call('holdRace', false);
  }
  if (a.race)
    await until('the race to end', () => call('racing'), (r) => !r.waiting && !r.held, 60000);
  await answer(a);
  return picks;
}

// Side windows open over the main window: each one that covers it is dragged
// by its title bar to where it covers it least (beside or below it where the
// screen has room). The drag activates the side window.
async function keepSideWindowsAside() {
  let s = await look();
  // Not while a menu is open: a press anywhere else closes it.
  if (menuOf(s))
    return;
  for (const name of sideNames) {
    const main = mainWindow(s)?.frame;
    const side = windowNamed(s, name);
    if (!main || !side)
      continue;
    const f = side.frame;
    const overlap = (x, y) => Math.max(0, Math.min(x + f.w, main.x + main.w) - Math.max(x, main.x)) *
                              Math.max(0, Math.min(y + f.h, main.y + main.h) - Math.max(y, main.y));
    if (overlap(f.x, f.y) === 0)
      continue;
    const v = await page.evaluate(() => {
      const c = document.getElementById('screen').getBoundingClientRect();
      return {x: c.left, y: c.top, w: c.width, h: c.height};
    });
    const inside = (x, y) => x >= v.x && y >= v.y && x + f.w <= v.x + v.w && y + f.h <= v.y + v.h;
    const slots = [[main.x + main.w + 8, main.y], [main.x, main.y + main.h + 8], [v.x + v.w - f.w, v.y + v.h - f.h],
                   [main.x - f.w - 8, main.y], [v.x, v.y + v.h - f.h], [v.x + v.w - f.w, v.y]]
      .map(([x, y]) => [Math.round(x), Math.round(y)]).filter(([x, y]) => inside(x, y));
    if (slots.length === 0)
      continue;
    slots.sort((p, q) => overlap(...p) - overlap(...q));
    const [x, y] = slots[0];
    const at = await grip(side);
    // A place that uncovers a tenth of the main window's covered part or more.
    if (overlap(x, y) > 0.9 * overlap(f.x, f.y) || !at)
      continue; // no better place on this screen, or no title bar to take
    if (process.env.RUMIDA_TRACE)
      console.log(`   ${name} dragged aside from ${f.x},${f.y} to ${x},${y}, held at ${at.x},${at.y}`);
    await driver.drag(at, x - f.x, y - f.y, 6);
    await settled();
    await call('front', windowIndex[name]);
    s = await look();
  }
}

// ---- the run -------------------------------------------------------------

const recent = [];
let played = 0;
let games = 0;
let loads = 0;
let leftOut = 0; // actions aimed at a window no part of which showed
let failed = false;
const started = Date.now();
const enough = () => (soakSeconds ? Date.now() - started >= soakSeconds * 1000 : played >= actionsWanted);

async function report(what, found) {
  failed = true;
  const lines = [`FAIL page random play: ${what} after action ${played}`];
  if (found?.field) {
    lines.push(`The window and the model disagree on "${found.field}"`);
    lines.push(`  window: ${found.window}`, `  model:  ${found.model}`);
  }
  lines.push(`Seed ${seed} (RUMIDA_SEED=${seed} replays it), device ${deviceName}. The last ${recent.length} actions:`);
  recent.forEach((d, i) => lines.push(`  ${played - recent.length + i + 1}. ${d}`));
  if (found?.windowHolds)
    lines.push(`The window holds: ${found.windowHolds}`, `The model holds:  ${found.modelHolds}`);
  if (pageErrors.length)
    lines.push('The page threw:', ...pageErrors.map((e) => `  ${e}`));
  lines.push('The page\'s last console lines:', ...consoleLines.map((l) => `  ${l}`));
  const shot = join(outDir, `page-random-play-${seed}.png`);
  if (await page?.screenshot({path: shot}).then(() => true, () => false))
    lines.push(`The page: ${shot}`);
  console.log(lines.join('\n'));
}

// Compares once the page has settled, giving the window a few more rounds to
// come right (a window shown or activated in the page's own time).
// A game that has ended has no event loop left to settle: it is compared as
// it stands.
async function agree(picks = [0, 0], ended = false) {
  let found = {};
  for (let round = 0; round < AgreeRounds; ++round) {
    if (!ended)
      await settled();
    found = await call('compare', ...picks);
    if (!found.field)
      break;
  }
  if (pageErrors.length)
    return {field: 'page errors', window: pageErrors.join('; '), model: 'none'};
  return found.field ? found : null;
}

const memory = [];
async function readMemory() {
  const js = await page.evaluate(() => performance.memory?.usedJSHeapSize ?? 0);
  memory.push({played, load: loads, js, ...(await call('memory'))});
}
let needLoad = true;
let gameIndex = 0n;
let comparePending = false; // the last action was followed at once by the next
let rushed = 0;             // actions whose input followed an answer at once
let heldRaces = 0;          // races held while input was thrown at them
try {
  while (!enough() && !failed) {
    const gameSeed = splitmix(seed * 0x9e3779b97f4a7c15n + gameIndex++);
    pick = chooser(gameSeed);
    if (needLoad) {
      await load(devices[pick(devices.length)]);
      ++loads;
      needLoad = false;
    }
    await page.evaluate((h, l, t) => window.rumidaPlay.begin(h, l, t), Number(gameSeed >> 32n),
                        Number(gameSeed & 0xffffffffn), Boolean(profile.touch));
    await until('the main window', look, (s) => mainWindow(s)?.active && !windowNamed(s, 'frmCopy'), 60000);
    ++games;
    recent.length = 0;
    recent.push(`a new game on ${deviceName} (game seed ${gameSeed})`);
    await settled();
    let found = await call('opened');
    if (found.field) {
      await report('the opened window', found);
      break;
    }
    let ended = false;
    for (let inGame = 0; inGame < ActionsPerGame && !enough() && !failed; ++inGame) {
      const a = await call('next');
      if (!(await prepare(a))) {
        ++leftOut;
        --inGame;
        continue;
      }
      Object.assign(a, await call('played'));
      recent.push(a.description);
      if (recent.length > ReportedActions)
        recent.shift();
      ++played;
      if (played % 250 === 0)
        console.log(`  ${played} actions in ${((Date.now() - started) / 1000).toFixed(0)} s, ${games} games (${deviceName} now)`);
      const picks = await perform(a);
      if (a.kind === 'Reload') {
        await call('closeGame');
        await readMemory();
        needLoad = true;
        ended = true;
        break;
      }
      if (a.ending) {
        // The page says the game has ended and offers a new one: taken.
        await until('the page to say the game has ended', () => page.evaluate(() =>
          !document.getElementById('message').hidden && document.getElementById('message-text').textContent),
                    (t) => t === 'ルミダを終了しました。');
        found = await agree(picks, true);
        if (found) {
          await report('the game\'s end', found);
          break;
        }
        await tally();
        await Promise.all([page.waitForNavigation(), profile.touch ? page.tap('#again') : page.click('#again')]);
        await until('the page loaded again', () => page.evaluate(() => Boolean(window.rumidaPlay)).catch(() => false),
                    (ready) => ready, 60000);
        ++loads;
        ended = true;
        break;
      }
      // The next action's input follows the last answer at once: the two
      // are compared together.
      comparePending = a.rush && a.questions.length > 0;
      if (comparePending) {
        ++rushed;
        continue;
      }
      await keepSideWindowsAside();
      found = await agree(picks);
      if (process.env.RUMIDA_TRACE) {
        const t = await look();
        const enabled = mainWindow(t)?.controls.filter((c) => c.name.startsWith('cmd') && c.enabled).map((c) => c.name);
        console.log(`${played}. ${a.description}\n   ` +
                    t.windows.map((w) => `${w.name || w.class}${w.active ? '*' : ''} ${JSON.stringify(w.frame)}`).join(' ') +
                    ` focus ${t.focus} enabled ${enabled}`);
      }
      if (found) {
        await report('a disagreement', found);
        break;
      }
      await call('accept');
    }
    if (!ended && !failed && comparePending) {
      found = await agree();
      if (found)
        await report('a disagreement', found);
    }
    comparePending = false;
    if (!ended && !failed) {
      // Between games in the same page: the program closed and its memory read.
      await call('closeGame');
      await readMemory();
    }
  }
} catch (error) {
  if (!failed)
    await report(`the player failed: ${error.stack}`, null);
}

const seconds = (Date.now() - started) / 1000;
if (page && !failed) {
  console.log(`Page random play: seed ${seed}, ${played} actions in ${seconds.toFixed(1)} s ` +
              `(${(played / seconds).toFixed(1)} actions/s), ${games} games, ${loads} page loads; ` +
              `${leftOut} actions left out, their window hidden under others`);
  await tally();
  const r = reached;
  console.log(`  races ${r.races} (no pair ${r.noPair}, paid ${r.payouts}), fresh starts offered ${r.ruins}, ` +
              `quit asked ${r.quitAsked} (confirmed ${r.quitConfirmed}), stakes ${r.stakes} (refused ${r.refused}), ` +
              `side windows opened ${r.sideWindows}, context-menu items picked ${r.contextPicks}; ` +
              `actions drawn again to fit the state ${r.redrawn}`);
  console.log('  actions by kind:', Object.entries(r.kinds).map(([k, n]) => `${k} ${n}`).join(', '));
  console.log(`  races held while input was thrown at them ${heldRaces}, actions that followed an answer at once ` +
              `${rushed}`);
  // A run long enough reaches what the page adds to the desktop's paths.
  if (played >= 1000) {
    const missing = ['HideTab', 'Resize', 'MultiTap', 'TwoFingers', 'DeadKey', 'Type', 'Paste', 'CloseBox']
      .filter((kind) => !r.kinds[kind]);
    if (missing.length || r.races < played / 100 || heldRaces === 0 || rushed === 0) {
      console.log(`FAIL page random play: the run missed ${missing.join(', ') || 'no kind of action'}; ` +
                  `${r.races} races, ${heldRaces} held, ${rushed} answers followed at once`);
      failed = true;
    }
  }
}
// The memory the program holds allocated, read between games with the
// program closed, in each page loaded: a quit or a reload starts a fresh
// program in a fresh page, so readings compare within a page. A page's first
// game fills Qt's caches (fonts, drawn text): its readings count from the
// one after it. The run fails when any page grew by more than the margin, or
// when all the pages together grew at a rate that would pass the margin
// within 10,000 actions (a leak too slow for one page to show); the pages'
// readings must span 1,000 actions at least for that to say anything.
let memoryFailed = false;
if (!failed && soakSeconds) {
  const mib = (b) => (b / 1048576).toFixed(2);
  const margin = marginMiB * 1048576;
  const pages = new Map();
  for (const m of memory)
    pages.set(m.load, [...(pages.get(m.load) ?? []), m]);
  let span = 0;
  let growth = 0;
  for (const [load, readings] of pages) {
    const first = readings[1];
    const last = readings[readings.length - 1];
    if (!first)
      continue;
    span += last.played - first.played;
    growth += last.allocated - first.allocated;
    console.log(`  page ${load}: allocated ${mib(first.allocated)} MiB after ${first.played} actions, ` +
                `${mib(last.allocated)} MiB after ${last.played}; wasm memory ${mib(last.heap)} MiB; ` +
                `JavaScript heap ${mib(last.js)} MiB`);
    if (last.allocated > first.allocated + margin) {
      console.log(`FAIL page soak: the program's allocated memory grew by more than ${marginMiB} MiB in page ${load}`);
      memoryFailed = true;
    }
  }
  console.log(`  the pages' readings span ${span} actions, over which the allocated memory grew by ${mib(growth)} MiB`);
  if (span < 1000) {
    console.log(`FAIL page soak: the readings span only ${span} actions`);
    memoryFailed = true;
  } else if (growth / span * 10000 > margin) {
    console.log(`FAIL page soak: the allocated memory grows by ${mib(growth / span * 10000)} MiB in 10,000 actions`);
    memoryFailed = true;
  }
}
await browser.close();
server.close();
process.exit(failed || memoryFailed ? 1 : 0);
