// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The browser walk: the game's page played in headless Chromium with trusted
// input (the DevTools protocol), the scenarios of the desktop walks, and the
// game read back through the test build's bridge. The same steps play on each
// device of drivers.mjs: a desktop browser with the mouse and a hardware
// keyboard, a phone and a tablet by touch and the soft keyboard alone, and an
// input method's compositions on each.
//   node walk.mjs <page folder with the test build> <screenshot folder> [device]
// It ends at the first step that fails, with a screenshot of the page.
import assert from 'node:assert/strict';
import {mkdirSync} from 'node:fs';
import {join} from 'node:path';
import {centre, controlOf, launch, openPage, serve, sleep, state, stepper, until, windowNamed} from './browser.mjs';
import {commit, compose, driverFor, emulate, profiles, rotated} from './drivers.mjs';
import {blackShare} from './png.mjs';

const [folder, shotRoot, deviceName = 'desktop'] = process.argv.slice(2);
const profile = profiles[deviceName];
if (!folder || !shotRoot || !profile) {
  console.error(`usage: node walk.mjs <page folder> <screenshot folder> [${Object.keys(profiles).join('|')}]`);
  process.exit(2);
}
// A phone's pictures go to phone/, named by the orientation: phone/portrait-main.png.
const [kind, orientation] = deviceName.split('-');
const shots = orientation ? join(shotRoot, kind) : shotRoot;
const shotPrefix = orientation ? `${orientation}-` : '';
mkdirSync(shots, {recursive: true});
const desktop = !profile.touch;
const phone = kind === 'phone';

let refuseProgram = false;
const server = await serve(folder, 0, (path) => refuseProgram && path.endsWith('.wasm'));
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch();
const started = Date.now();
let page;
let driver;

// The tone of a refused stake, counted where the page makes it.
function countTones() {
  window.rumidaTones = 0;
  const Audio = window.AudioContext;
  window.AudioContext = class extends Audio {
    createOscillator() {
      window.rumidaTones += 1;
      return super.createOscillator();
    }
  };
}

// Whatever the page throws fails the step it happens in.
const pageErrors = [];

const step = stepper({label: deviceName, pageErrors, currentPage: () => page, failureShot: join(shots, 'failure.png'),
                      end: async () => {
                        await browser.close();
                        server.close();
                      }});

const look = () => state(page);
const shot = (name) => page.screenshot({path: join(shots, `${shotPrefix}${name}.png`)});
const text = (s, w, c) => controlOf(s, w, c)?.text;
const money = async () => text(await look(), 'frmRumida', 'lblCurrent');
const focused = (s, c) => controlOf(s, 'frmRumida', c)?.focus;

// A click, or a tap on a touch screen.
async function click(point) {
  await driver.press(point);
}
// A check box is clicked on its box, at the left of its rectangle.
async function tick(pair) {
  const box = controlOf(await look(), 'frmRumida', `chk${pair}`);
  await click({x: box.rect.x + 7, y: box.rect.y + box.rect.h / 2});
}
// Typed on the keyboard the device has: a hardware one, or a soft keyboard.
async function type(textToType) {
  await driver.type(textToType);
}
async function clickControl(windowName, name) {
  const control = controlOf(await look(), windowName, name);
  assert.ok(control, `${windowName} shows no ${name}`);
  await click(centre(control.rect));
}
// A menu of the main window's menu bar, then one of its items, clicked.
// The page closes an open menu when its screen changes size, as a phone's
// does once more while it settles after a turn: a menu gone two frames after
// it opened is opened again.
async function pick(menuTitle, itemName) {
  const bar = (await look()).windows.find((w) => w.name === 'frmRumida')
    .controls.find((c) => c.class === 'QMenuBar');
  const menuOf = (s) => s.windows.find((w) => w.class === 'QMenu');
  for (let tries = 1; ; ++tries) {
    await click(centre(bar.items.find((i) => i.text === menuTitle).rect));
    await until(`the ${menuTitle} menu`, look, (s) => menuOf(s));
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    const menu = menuOf(await look());
    if (menu) {
      await click(centre(menu.items.find((i) => i.name === itemName).rect));
      return;
    }
    assert.ok(tries < 3, `the ${menuTitle} menu closed as it opened, ${tries} times`);
  }
}
// A message box, once it is up and active.
const box = () => until('a message box', look, (s) => s.windows.some((w) => w.class === 'QMessageBox' && w.active))
  .then((s) => s.windows.find((w) => w.class === 'QMessageBox'));
const noBox = () => until('the message box to close', look,
                          (s) => !s.windows.some((w) => w.class === 'QMessageBox'));
// The close button Qt draws at the right of a window's title bar.
function closeButton(w) {
  return {x: w.frame.x + w.frame.w - 13, y: w.frame.y + 13};
}
async function pressKey(key) {
  await page.keyboard.press(key);
}
// Typed as a Japanese keyboard in full-width mode sends the characters:
// one key event each on the digit's key, with the character as its text.
async function typeWide(textToType) {
  const keys = await page.createCDPSession();
  for (const ch of textToType) {
    const digit = String(ch.codePointAt(0) - 0xff10);
    const key = {key: ch, code: `Digit${digit}`, windowsVirtualKeyCode: 0x30 + Number(digit)};
    await keys.send('Input.dispatchKeyEvent', {type: 'keyDown', text: ch, unmodifiedText: ch, ...key});
    await keys.send('Input.dispatchKeyEvent', {type: 'keyUp', ...key});
  }
  await keys.detach();
}
const count = (s, name) => s.windows.filter((w) => w.name === name).length;
const raceOver = () => until('the race to end', look,
                             (s) => controlOf(s, 'frmRumida', 'cmdNext')?.enabled, 60000);

// Drags a window by its title bar, with the mouse or a finger.
async function dragTitleBar(frame, dx, dy, steps) {
  await driver.drag({x: frame.x + 40, y: frame.y + 12}, dx, dy, steps);
}

// The page as the player sees it: the visual viewport in layout pixels, the
// canvas, whether anything scrolls, and the page's text field.
const view = () => page.evaluate(() => {
  const v = window.visualViewport;
  const root = document.documentElement;
  const canvas = document.getElementById('screen').getBoundingClientRect();
  const field = document.getElementById('entry');
  const f = field.getBoundingClientRect();
  // A scaled viewport is a fraction of a pixel larger than its whole pixels.
  return {x: v.offsetLeft, y: v.offsetTop, w: v.width, h: v.height, scale: v.scale,
          scrolls: root.scrollWidth > root.clientWidth + 1 || root.scrollHeight > root.clientHeight + 1,
          canvas: {x: canvas.left, y: canvas.top, w: canvas.width, h: canvas.height},
          field: {focused: document.activeElement === field, inputMode: field.inputMode,
                  rect: {x: f.left, y: f.top, w: f.width, h: f.height}, value: field.value,
                  composing: field.classList.contains('composing')}};
});

// The window stands whole on the screen (and on the canvas Qt draws on),
// and nothing scrolls; on a desktop screen the page is at 1:1.
async function whole(name) {
  return until(`${name} whole on the screen`, async () => ({s: await look(), v: await view()}), ({s, v}) => {
    const w = windowNamed(s, name);
    if (!w || v.scrolls || (desktop && v.scale !== 1) || v.scale > 1)
      return false;
    const f = w.frame;
    const inside = (r) => f.x >= r.x - 0.5 && f.y >= r.y - 0.5 && f.x + f.w <= r.x + r.w + 0.5 && f.y + f.h <= r.y + r.h + 0.5;
    return inside(v) && inside(v.canvas);
  });
}

// The main window shows drawn: its client area is no black picture (as Qt
// left a window whose pixels per point changed, until the page drew it again).
async function drawn() {
  await until('the main window drawn', async () => {
    const client = windowNamed(await look(), 'frmRumida').client;
    const png = await page.screenshot({clip: {x: client.x, y: client.y, width: client.w, height: client.h}});
    return blackShare(png);
  }, (share) => share < 0.3);
}

// On a touch screen the page's field lies over the box that has the keyboard
// and asks for the numeric keyboard; with no box, it asks for none.
async function keyboardFor(boxName) {
  if (desktop)
    return;
  await until(boxName ? `the numeric keyboard over ${boxName}` : 'no keyboard', async () => ({s: await look(), v: await view()}),
              ({s, v}) => {
                if (!v.field.focused)
                  return false;
                if (!boxName)
                  return v.field.inputMode === 'none';
                const box = controlOf(s, 'frmRumida', boxName)?.rect;
                const r = v.field.rect;
                return v.field.inputMode === 'numeric' && box && Math.abs(r.x - box.x) <= 1 && Math.abs(r.y - box.y) <= 1
                       && Math.abs(r.h - box.h) <= 1;
              });
}

// The phone turned a quarter; turned back by a second call.
let turned = false;
async function rotate() {
  turned = !turned;
  await page.setViewport(turned ? rotated(profile.viewport) : profile.viewport);
}

await step('the page loads, the splash shows centred, then the main window replaces it, whole on the screen', async () => {
  page = await openPage(browser);
  page.on('pageerror', (e) => pageErrors.push(e.message));
  await emulate(page, profile);
  driver = driverFor(page, profile);
  await page.evaluateOnNewDocument(countTones);
  await page.goto(url);
  await until('the splash', look, (s) => windowNamed(s, 'frmCopy'), 60000);
  // Centred on the canvas Qt draws on, once the page has fitted the splash.
  const centred = (s, v, name) => {
    const frame = windowNamed(s, name)?.frame;
    return frame && Math.abs(frame.x + frame.w / 2 - (v.canvas.x + v.canvas.w / 2)) <= 2
           && Math.abs(frame.y + frame.h / 2 - (v.canvas.y + v.canvas.h / 2)) <= 2;
  };
  await until('the splash centred', async () => ({s: await look(), v: await view()}),
              ({s, v}) => !windowNamed(s, 'frmCopy') || centred(s, v, 'frmCopy'));
  await shot('splash');
  const main = await until('the main window', look,
                           (s) => windowNamed(s, 'frmRumida') && !windowNamed(s, 'frmCopy'), 10000);
  const w = windowNamed(main, 'frmRumida');
  assert.equal(w.title, 'ルミダ　Ver1.01');
  const {s, v} = await whole('frmRumida');
  assert.ok(centred(s, v, 'frmRumida'), `main window not centred: ${JSON.stringify(windowNamed(s, 'frmRumida').frame)}`);
  assert.ok(w.frame.y >= 0 && w.client.y > w.frame.y, 'the title bar is off the page');
  assert.equal(text(main, 'frmRumida', 'lblCurrent'), '￥10,000');
  await keyboardFor(null);
  await drawn();
  await shot('main');
  if (deviceName === 'phone-portrait') {
    // The smallest phone screen, both ways: the main window fits it whole too.
    for (const size of [{width: 320, height: 568}, {width: 568, height: 320}]) {
      await page.setViewport({...profile.viewport, ...size, isLandscape: size.width > size.height});
      await whole('frmRumida');
      await drawn();
    }
    await page.setViewport(profile.viewport);
    await whole('frmRumida');
  }
});

await step(`1500 typed on 1-3 and the box left ${desktop ? 'by Tab' : 'by a tap on 2-4'}: ￥8,500`, async () => {
  await tick(13);
  await until('txt13 to take the focus', look, (s) => focused(s, 'txt13'));
  await keyboardFor('txt13');
  await type('1500');
  if (driver.keyboard) {
    await pressKey('Tab');
  } else {
    // The soft keyboard's Enter (Done) does what Enter does in the box: nothing.
    await pressKey('Enter');
    await sleep(200);
    const s = await look();
    assert.equal(text(s, 'frmRumida', 'txt13'), '1500');
    assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥10,000');
    await keyboardFor('txt13');
    await tick(24);
  }
  const s = await until('the stake', look, (s) => text(s, 'frmRumida', 'lblCurrent') === '￥8,500');
  assert.equal(text(s, 'frmRumida', 'txt13'), '￥1,500');
});

await step('full-width digits typed, a click on the page around the game takes nothing, a click on a check box takes them', async () => {
  if (!focused(await look(), 'txt24'))
    await tick(24);
  await until('txt24 to take the focus', look, (s) => focused(s, 'txt24'));
  await keyboardFor('txt24');
  if (driver.keyboard)
    await typeWide('１０００');
  else
    await type('１０００');
  await until('the digits', look, (s) => text(s, 'frmRumida', 'txt24') === '１０００');
  if (!desktop)
    await shot('keyboard');
  await click({x: 5, y: 5});
  await sleep(200);
  let s = await look();
  assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥8,500');
  assert.equal(text(s, 'frmRumida', 'txt24'), '１０００');
  assert.ok(focused(s, 'txt24'), 'a click beside the windows took the focus');
  await keyboardFor('txt24');
  if (phone) {
    // Turned in the middle of the betting: nothing is lost, the window is
    // whole on the new screen, and the field follows the box.
    await rotate();
    await whole('frmRumida');
    await drawn();
    s = await look();
    assert.equal(text(s, 'frmRumida', 'txt24'), '１０００');
    assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥8,500');
    assert.ok(focused(s, 'txt24'), 'the turn took the focus');
    await keyboardFor('txt24');
    await shot('turned');
    await rotate();
    await whole('frmRumida');
    await drawn();
    await keyboardFor('txt24');
  }
  await tick(34);
  s = await until('the stake', look, (s) => text(s, 'frmRumida', 'lblCurrent') === '￥7,500');
  assert.equal(text(s, 'frmRumida', 'txt24'), '￥1,000');
});

await step('an input method composes in a box: nothing is an amount until it is committed, a cancelled ' +
           'composition leaves the box as it was, one the box leaves is lost', async () => {
  await tick(14);
  await until('txt14 to take the focus', look, (s) => focused(s, 'txt14'));
  await keyboardFor('txt14');
  await compose(page, ['１', '１２'], null);
  await sleep(100);
  let s = await look();
  assert.equal(text(s, 'frmRumida', 'txt14'), '');
  assert.equal((await view()).field.value, '');
  await compose(page, ['１', '１２', '１２３'], '１２３');
  s = await until('the commit', look, (s) => text(s, 'frmRumida', 'txt14') === '１２３');
  const session = await page.createCDPSession();
  await session.send('Input.imeSetComposition', {text: '４５', selectionStart: 2, selectionEnd: 2});
  await session.detach();
  await until('the composition to show over the box', view, (v) => v.field.composing && v.field.value === '４５');
  assert.equal(text(await look(), 'frmRumida', 'txt14'), '１２３');
  await shot('composing');
  // The box is left while ４５ is being composed: it reads what it holds.
  await clickControl('frmRumida', 'txt34');
  s = await until('the stake', look, (s) => text(s, 'frmRumida', 'lblCurrent') === '￥7,377');
  assert.equal(text(s, 'frmRumida', 'txt14'), '￥123');
  assert.ok(focused(s, 'txt34'));
  const v = await view();
  assert.equal(v.field.composing, false);
  await keyboardFor('txt34');
  // Unticked, the pair hands its stake back.
  await tick(14);
  s = await until('the stake handed back', look, (s) => text(s, 'frmRumida', 'lblCurrent') === '￥7,500');
  assert.equal(text(s, 'frmRumida', 'txt14'), '');
  await keyboardFor(null);
  await clickControl('frmRumida', 'txt34');
});

await step('10,000 digits committed at once are refused with a tone when the box is left, as typed ones; ' +
           'committed letters stay as typed', async () => {
  // In 2-3, ticked off again after each: the money does not move.
  const tones = await page.evaluate(() => window.rumidaTones);
  await tick(23);
  await until('txt23 to take the focus', look, (s) => focused(s, 'txt23'));
  await commit(page, '1'.repeat(10000));
  await until('the long text', look, (s) => text(s, 'frmRumida', 'txt23')?.length === 10000, 60000);
  await tick(23);
  let s = await until('the pair off', look, (s) => controlOf(s, 'frmRumida', 'chk23').checked === false);
  assert.equal(text(s, 'frmRumida', 'txt23'), '');
  assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥7,500');
  assert.equal(await page.evaluate(() => window.rumidaTones), tones + 1);
  await tick(23);
  await until('txt23 to take the focus', look, (s) => focused(s, 'txt23'));
  await commit(page, 'ab');
  await clickControl('frmRumida', 'txt34');
  s = await until('the box left', look, (s) => focused(s, 'txt34'));
  assert.equal(text(s, 'frmRumida', 'txt23'), 'ab');
  assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥7,500');
  await tick(23);
  s = await until('the pair off', look, (s) => controlOf(s, 'frmRumida', 'chk23').checked === false);
  assert.equal(text(s, 'frmRumida', 'txt23'), '');
  assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥7,500');
  await clickControl('frmRumida', 'txt34');
});

await step('an amount beyond a stake is refused with a tone; "1,000" pasted stakes 1 yen', async () => {
  await until('txt34 to take the focus', look, (s) => focused(s, 'txt34'));
  const tones = await page.evaluate(() => window.rumidaTones);
  await type('99999999999');
  await tick(12);
  let s = await until('the refusal', look, (s) => focused(s, 'txt12'));
  assert.equal(text(s, 'frmRumida', 'txt34'), '');
  assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥7,500');
  assert.equal(await page.evaluate(() => window.rumidaTones), tones + 1);
  if (desktop) {
    await page.browserContext().overridePermissions(url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    await page.evaluate(() => navigator.clipboard.writeText('1,000'));
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyV', {commands: ['paste']});
    await page.keyboard.up('Control');
  } else {
    await commit(page, '1,000'); // the soft keyboard's clipboard, pasted as text
  }
  await until('the paste', look, (s) => text(s, 'frmRumida', 'txt12') === '1,000');
});

await step('the betting closed by a click, which takes the pasted amount first; the gallery opened, its photographs ' +
           'turned, and dragged beside the game where the screen has room', async () => {
  await clickControl('frmRumida', 'cmdEndBet');
  let s = await until('the start button', look, (s) => controlOf(s, 'frmRumida', 'cmdStart')?.enabled);
  assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥7,499');
  assert.equal(text(s, 'frmRumida', 'txt12'), '￥1,000');
  assert.equal(controlOf(s, 'frmRumida', 'chk34').checked, false); // its box was empty
  assert.ok(['chk12', 'chk13', 'chk24'].every((c) => controlOf(s, 'frmRumida', c).checked));
  assert.ok(['chk12', 'txt12', 'cmdEndBet', 'cmdNext'].every((c) => !controlOf(s, 'frmRumida', c).enabled));
  await keyboardFor(null);
  await pick('おまけ', 'mnuZelko');
  s = (await whole('frmZelko')).s;
  const photo = text(s, 'frmZelko', 'lblNumber');
  await clickControl('frmZelko', 'cmdNextPic');
  s = await until('the next photograph', look, (s) => text(s, 'frmZelko', 'lblNumber') !== photo);
  await sleep(300);
  await shot('gallery');
  // Dragged by its title bar beside the main window, so that it stays in
  // sight while the race runs there; a phone held upright has no room for it.
  const main = windowNamed(s, 'frmRumida').frame;
  const gallery = windowNamed(s, 'frmZelko').frame;
  const v = await view();
  if (main.x + main.w + 20 + gallery.w <= v.canvas.x + v.canvas.w) {
    await dragTitleBar(gallery, main.x + main.w + 20 - gallery.x, 0, 10);
    await until('the gallery beside the main window', look, (s) => windowNamed(s, 'frmZelko').frame.x > main.x + main.w);
  } else {
    await click(closeButton(windowNamed(s, 'frmZelko')));
    await until('the gallery to close', look, (s) => !windowNamed(s, 'frmZelko'));
  }
});

await step(`a race paints while the horses run; clicks, ${desktop ? 'keys' : 'taps, text'} and a tab switched away ` +
           `take nothing${phone ? '; the phone turned and back meanwhile' : ''}`, async () => {
  const before = await look();
  const photo = text(before, 'frmZelko', 'lblNumber');
  await page.evaluate(() => window.rumidaTest.clearFrames());
  await clickControl('frmRumida', 'cmdStart');
  await sleep(700);
  const a = await page.screenshot();
  if (photo !== undefined)
    await click(centre(controlOf(before, 'frmZelko', 'cmdNextPic').rect));
  await click(centre(controlOf(before, 'frmRumida', 'cmdStart').rect));
  // Keys and committed text reach the program while the race's handler waits.
  if (driver.keyboard)
    await pressKey('Space');
  else
    await commit(page, '5');
  await sleep(300);
  const b = await page.screenshot();
  assert.notDeepEqual(a, b, 'two screenshots mid-race are the same');
  await shot('race');
  if (phone) {
    await rotate();
    await sleep(500);
    await rotate();
  }
  // Another tab in front for a second: the race waits there, then goes on.
  const other = await browser.newPage();
  await other.bringToFront();
  await sleep(1000);
  await page.bringToFront();
  await other.close();
  const after = await raceOver();
  await drawn();
  assert.equal(text(after, 'frmZelko', 'lblNumber'), photo, 'a click during the race turned the photograph');
  const frames = after.frames;
  assert.ok(frames.length >= 60, `only ${frames.length} frames painted`);
  await whole('frmRumida');
});

await step('the result and the payout', async () => {
  const s = await look();
  const winner = text(s, 'frmRumida', 'lblWinner');
  const payout = text(s, 'frmRumida', 'lblHaitou');
  // A race may name no pair (a tie the rules leave unresolved): then nothing shows.
  assert.match(winner, /^([1-4]-[1-4])?$/);
  const staked = {'1-2': 1, '1-3': 1500, '2-4': 1000};
  const yen = (t) => Number(t.replace(/[￥,]/g, ''));
  if (winner in staked) {
    const odds = Number(text(s, 'frmRumida', `lbl${winner.replace('-', '')}`).split(/\s+/).pop());
    assert.ok(Math.abs(yen(payout) - staked[winner] * odds) <= 1, `${payout} for ${winner} at ${odds}`);
    assert.equal(yen(text(s, 'frmRumida', 'lblCurrent')), 7499 + yen(payout));
  } else {
    assert.equal(payout, '');
    assert.equal(text(s, 'frmRumida', 'lblCurrent'), '￥7,499');
  }
  assert.equal(controlOf(s, 'frmRumida', 'cmdNext').focus, true);
  await shot('result');
});

await step('each side window opened twice is one window, whole on the screen, moved by its title bar, closed by ' +
           'its close button', async () => {
  for (const [menu, item, name] of [['おまけ', 'mnuZelko', 'frmZelko'], ['ヘルプ', 'mnuHow', 'frmHelp'],
                                     ['ヘルプ', 'mnuVer', 'frmVersion']]) {
    if (windowNamed(await look(), name)) {
      await click(closeButton(windowNamed(await look(), name)));
      await until(`${name} to close`, look, (s) => !windowNamed(s, name));
    }
    await pick(menu, item);
    await until(name, look, (s) => windowNamed(s, name)?.active);
    await pick(menu, item);
    await sleep(300);
    const s = await until(name, look, (s) => windowNamed(s, name)?.active);
    assert.equal(count(s, name), 1, `${name} opened twice is ${count(s, name)} windows`);
    await whole(name);
    if (name !== 'frmZelko')
      await shot(name === 'frmHelp' ? 'help' : 'version');
    const w = windowNamed(s, name);
    await dragTitleBar(w.frame, 30, 20, 5);
    // The browser hands the page the last steps of a drag at its next frames:
    // the window is read once two readings a quarter of a second apart agree.
    const settled = await until(`${name} to settle`, async () => {
      const before = JSON.stringify(windowNamed(await look(), name).frame);
      await sleep(250);
      const after = JSON.stringify(windowNamed(await look(), name).frame);
      return before === after ? JSON.parse(after) : null;
    }, (frame) => frame !== null);
    // Qt starts the move at the first step of the drag: the window follows
    // the rest (a finger's steps, in fractions of a pixel, round to one more).
    const [dx, dy] = [settled.x - w.frame.x, settled.y - w.frame.y];
    assert.ok(dx >= 18 && dx <= 31 && dy >= 12 && dy <= 21, `${name} moved by ${dx}, ${dy} for a drag of 30, 20`);
    await click(closeButton({frame: settled}));
    await until(`${name} to close`, look, (s) => !windowNamed(s, name));
  }
});

await step(`ruined: the fresh start asked and answered Yes by ${driver.keyboard ? 'a key' : 'a tap'}`, async () => {
  for (let attempt = 0; ; ++attempt) {
    assert.ok(attempt < 10, 'ten races in a row won');
    await clickControl('frmRumida', 'cmdNext');
    await until('the betting', look, (s) => controlOf(s, 'frmRumida', 'cmdEndBet')?.enabled);
    const all = (await money()).replace(/[￥,]/g, '');
    await tick(12);
    await until('txt12 to take the focus', look, (s) => controlOf(s, 'frmRumida', 'txt12')?.focus);
    await type(all);
    await clickControl('frmRumida', 'cmdEndBet');
    await until('the start button', look, (s) => controlOf(s, 'frmRumida', 'cmdStart')?.enabled);
    await page.evaluate(() => window.rumidaTest.clearFrames());
    await clickControl('frmRumida', 'cmdStart');
    const s = await until('the race to end', look,
                          (s) => controlOf(s, 'frmRumida', 'cmdNext')?.enabled
                                 || s.windows.some((w) => w.class === 'QMessageBox'), 60000);
    if (!s.windows.some((w) => w.class === 'QMessageBox'))
      continue; // 1-2 won: bet it all again
    const ruin = await box();
    assert.equal(ruin.title, '破産！！');
    assert.equal(ruin.text, '初めからやり直しますか？');
    assert.equal(ruin.icon, 'critical');
    assert.deepEqual(ruin.controls.filter((c) => c.class === 'QPushButton').map((c) => [c.text, c.default]),
                     [['はい(&Y)', true], ['いいえ(&N)', false]]);
    await whole('QMessageBox');
    await shot('ruin');
    if (driver.keyboard)
      await pressKey('Enter');
    else
      await clickControl('QMessageBox', 'はい(&Y)');
    await noBox();
    await until('the fresh start', money, (m) => m === '￥10,000');
    return;
  }
});

await step('the quit question: the main window\'s close button does nothing while it is up, Cancel by a click, ' +
           `then by ${driver.keyboard ? 'Escape' : 'a tap'}; at once the start over question: No by a click` +
           `${phone ? '; the phone turned with the box up' : ''}`, async () => {
  await pick('ファイル', 'mnuEnd');
  let quit = await box();
  assert.equal(quit.title, 'ルミダの終了');
  assert.equal(quit.text, 'ルミダを終了しますか？');
  assert.deepEqual(quit.controls.filter((c) => c.class === 'QPushButton').map((c) => [c.text, c.default]),
                   [['OK', false], ['キャンセル', true]]);
  await whole('QMessageBox');
  await shot('quit');
  // The box blocks the window beneath, as on the desktop: its close button
  // neither closes it nor asks again, and the box keeps the keyboard.
  await click(closeButton(windowNamed(await look(), 'frmRumida')));
  await sleep(300);
  const blocked = await until('the box to keep the keyboard', look,
                              (s) => s.windows.some((w) => w.class === 'QMessageBox' && w.active && w.keyboard));
  assert.equal(blocked.windows.filter((w) => w.class === 'QMessageBox').length, 1);
  assert.ok(windowNamed(blocked, 'frmRumida'), 'the main window closed under the box');
  if (phone) {
    // Turned with the box up: it stays, whole on the screen, and answerable.
    await rotate();
    await whole('QMessageBox');
    await whole('frmRumida');
    await shot('turned-quit');
    await rotate();
    await whole('QMessageBox');
  }
  await clickControl('QMessageBox', 'キャンセル');
  await noBox();
  await pick('ファイル', 'mnuEnd');
  await box();
  // The next question straight after the answer, without waiting for a frame.
  if (driver.keyboard)
    await pressKey('Escape');
  else
    await clickControl('QMessageBox', 'キャンセル');
  await pick('ファイル', 'mnuStartOver');
  const again = await box();
  assert.equal(again.title, 'やり直す？');
  await clickControl('QMessageBox', 'いいえ(&N)');
  await noBox();
  await until('the main window to be active again', look, (s) => windowNamed(s, 'frmRumida')?.active);
});

await step('OK on the quit question ends the game; the page says so and offers a new one', async () => {
  await pick('ファイル', 'mnuEnd');
  await box();
  await clickControl('QMessageBox', 'OK');
  await until('the page to say the game has ended', () => page.evaluate(() => {
    const m = document.getElementById('message');
    return !m.hidden && document.getElementById('message-text').textContent;
  }), (t) => t === 'ルミダを終了しました。');
  await shot('ended');
  if (driver.keyboard)
    await page.click('#again');
  else
    await page.tap('#again');
  await until('a new game', look, (s) => windowNamed(s, 'frmCopy'), 60000);
});

if (desktop) {
  // A first visit again, in a profile of its own: the page kept in this one
  // for offline play would come from its cache.
  const firstVisit = await browser.createBrowserContext();
  await step('a slow download shows its progress', async () => {
    page = await openPage(firstVisit, null, {log: false});
    const network = await page.createCDPSession();
    await network.send('Network.enable');
    await network.send('Network.emulateNetworkConditions',
                       {offline: false, latency: 20, downloadThroughput: 4e6, uploadThroughput: 1e6});
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    const progress = () => page.evaluate(() => {
      const bar = document.getElementById('progress');
      return {shown: !bar.hidden, value: bar.value, status: document.getElementById('status').textContent};
    });
    const part = await until('part of the program', progress, (p) => p.shown && p.value > 0.05 && p.value < 0.9);
    assert.equal(part.status, '読み込んでいます…');
    await shot('loading');
    await page.close();
  });

  await step('a page whose program cannot be loaded says so', async () => {
    refuseProgram = true;
    const broken = await openPage(firstVisit, url, {log: false});
    page = broken;
    await until('the message', () => broken.evaluate(() => !document.getElementById('message').hidden
                                                     && document.getElementById('message-text').textContent),
                (t) => t === 'ルミダを読み込めませんでした。');
    await shot('load-error');
    refuseProgram = false;
  });
}

await browser.close();
server.close();
console.log(`browser walk (${deviceName}): all steps passed in ${((Date.now() - started) / 1000).toFixed(1)} s`);
