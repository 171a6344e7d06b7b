// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The devices the browser walk plays the page on, and the input each one
// gives, through the DevTools protocol's trusted input:
//  - a desktop browser: the mouse and a hardware keyboard;
//  - a phone and a tablet, each in portrait and in landscape: touch for every
//    control, and the soft keyboard's committed text (Input.insertText).
// Points are given in the page's layout pixels, where the test build's bridge
// places the windows; the DevTools protocol takes them in the same pixels,
// from the corner of what the browser shows, however the page is scaled.

const chrome = '156.0.0.0';
const phoneAgent = `Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/${chrome} ` +
                   'Mobile Safari/537.36';
const tabletAgent = `Mozilla/5.0 (Linux; Android 14; Pixel Tablet) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/${chrome} ` +
                    'Safari/537.36';

function device(width, height, scale, agent) {
  return {
    touch: true,
    agent,
    viewport: {width, height, deviceScaleFactor: scale, isMobile: true, hasTouch: true, isLandscape: width > height},
  };
}

export const profiles = {
  desktop: {touch: false, viewport: {width: 1280, height: 800}},
  'phone-portrait': device(390, 844, 3, phoneAgent),
  'phone-landscape': device(844, 390, 3, phoneAgent),
  'tablet-portrait': device(820, 1180, 2, tabletAgent),
  'tablet-landscape': device(1180, 820, 2, tabletAgent),
};

// The same device turned a quarter: its width and height swapped.
export function rotated(viewport) {
  return {...viewport, width: viewport.height, height: viewport.width, isLandscape: !viewport.isLandscape};
}

export async function emulate(page, profile) {
  if (profile.agent) {
    const session = await page.createCDPSession();
    await session.send('Emulation.setUserAgentOverride', {userAgent: profile.agent, platform: 'Linux armv8l',
                                                          acceptLanguage: 'ja-JP,ja'});
    await session.detach();
  }
  await page.setViewport(profile.viewport);
}

// A point of the page's layout as the DevTools protocol takes it.
async function onScreen(page, point) {
  const v = await page.evaluate(() => ({x: window.visualViewport.offsetLeft, y: window.visualViewport.offsetTop}));
  return {x: point.x - v.x, y: point.y - v.y};
}

// What each driver does with points of the page's layout: a press at one,
// and a drag from one by dx, dy in a number of steps.
class Driver {
  constructor(page, keyboard) {
    this.page = page;
    this.keyboard = keyboard;
  }

  async press(point) {
    const p = await onScreen(this.page, point);
    await this.pressAt(Math.round(p.x), Math.round(p.y));
  }

  async drag(from, dx, dy, steps) {
    const a = await onScreen(this.page, from);
    const b = await onScreen(this.page, {x: from.x + dx, y: from.y + dy});
    await this.dragBetween(a, b, steps);
  }
}

class Mouse extends Driver {
  constructor(page) {
    super(page, true);
  }

  async pressAt(x, y) {
    await this.page.mouse.click(x, y);
  }

  async dragBetween(a, b, steps) {
    await this.page.mouse.move(a.x, a.y);
    await this.page.mouse.down();
    await this.page.mouse.move(b.x, b.y, {steps});
    await this.page.mouse.up();
  }

  // Typed on the hardware keyboard, a key a character.
  async type(text) {
    await this.page.keyboard.type(text);
  }
}

class Finger extends Driver {
  constructor(page) {
    super(page, false);
  }

  async pressAt(x, y) {
    await this.page.touchscreen.tap(x, y);
  }

  async dragBetween(a, b, steps) {
    await this.page.touchscreen.touchStart(a.x, a.y);
    for (let i = 1; i <= steps; ++i)
      await this.page.touchscreen.touchMove(a.x + ((b.x - a.x) * i) / steps, a.y + ((b.y - a.y) * i) / steps);
    await this.page.touchscreen.touchEnd();
  }

  // What the soft keyboard commits: the text at once.
  async type(text) {
    await commit(this.page, text);
  }
}

export function driverFor(page, profile) {
  return profile.touch ? new Finger(page) : new Mouse(page);
}

// Text committed as a soft keyboard, dictation or an input method commits it.
export async function commit(page, text) {
  const session = await page.createCDPSession();
  await session.send('Input.insertText', {text});
  await session.detach();
}

// An input method's composition: each text in turn as the composition in
// progress, then committed as the last one, or cancelled when commitText is null.
export async function compose(page, steps, commitText) {
  const session = await page.createCDPSession();
  for (const text of steps)
    await session.send('Input.imeSetComposition', {text, selectionStart: text.length, selectionEnd: text.length});
  if (commitText === null)
    await session.send('Input.imeSetComposition', {text: '', selectionStart: 0, selectionEnd: 0});
  else
    await session.send('Input.insertText', {text: commitText});
  await session.detach();
}
