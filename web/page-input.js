// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The page's keyboard, touch and screen for the game (the program's side is
// platform/WebPage.cpp). Qt 6.4 for WebAssembly takes only key events with a
// character, only the mouse for its title bars, and the page's size as it is:
//  - The page's own text field (#entry) holds the browser's focus while the
//    game runs. Its keys go on to Qt's canvas as they come; what a soft
//    keyboard, an input method, dictation or handwriting commits is typed into
//    Qt as keys are, never into the field; a composition in progress stays in
//    the field, drawn over the amount box, until it is committed.
//    While an amount box has the keyboard the field lies over it with a
//    numeric layout, so that a phone opens its keyboard; otherwise it asks for
//    no keyboard at all.
//  - A finger (or a pen) is given to Qt as the mouse: Qt moves and closes its
//    windows by their title bars for the mouse alone.
//  - The page is scaled, through its viewport, so that the largest open window
//    fits the screen whole; never past 1:1. Qt draws at the screen's own
//    pixels, so the game stays crisp.
'use strict';

window.rumidaPage = (function () {
  const canvas = document.getElementById('screen');
  const field = document.getElementById('entry');
  const viewport = document.querySelector('meta[name="viewport"]');
  const footer = document.querySelector('footer');
  const touchScreen = navigator.maxTouchPoints > 0;

  let program = null; // what the program answers (platform/WebPage.cpp)
  let running = false;
  let entry = null; // the amount box's rectangle while it has the keyboard
  let composing = false;
  let interrupted = false; // the box the composition began in lost the keyboard
  let needs = null; // the screen the open windows need, in pixels

  // ----- The keyboard -----

  // The field keeps the browser's focus; the canvas never takes it.
  function focusField() {
    if (running && document.activeElement !== field)
      field.focus({preventScroll: true});
  }

  function sendKey(key) {
    for (const type of ['keydown', 'keyup'])
      canvas.dispatchEvent(new KeyboardEvent(type, {key: key, bubbles: true, cancelable: true}));
  }

  // Text typed into the program as if its characters had been typed one after
  // another: each run of printable characters as Qt takes keys typed faster
  // than it handles them, all in one key event (platform/WebPage.cpp); a line
  // feed is Enter and a tab is Tab, as the keys that type them; other control
  // characters type nothing.
  function type(text) {
    if (!entry || !text)
      return;
    for (const part of text.match(/[^\x00-\x1f\x7f]+|[\x00-\x1f\x7f]/g)) {
      if (part === '\n')
        sendKey('Enter');
      else if (part === '\t')
        sendKey('Tab');
      else if (program && !/[\x00-\x1f\x7f]/.test(part))
        program.typeRun(part);
    }
  }

  function emptyField() {
    if (field.value !== '')
      field.value = '';
  }

  // A key goes on to Qt, but for one that only announces a composition (an
  // input method or a soft keyboard is at work: its text comes with the
  // commit). A key that types a character types it in Qt alone, never also in
  // the field, so that it arrives once.
  function forwardKey(event) {
    if (event.isComposing || event.keyCode === 229 || event.key === 'Process' || event.key === 'Unidentified')
      return;
    const copy = new KeyboardEvent(event.type, {
      key: event.key, code: event.code, location: event.location, repeat: event.repeat,
      ctrlKey: event.ctrlKey, shiftKey: event.shiftKey, altKey: event.altKey, metaKey: event.metaKey,
      bubbles: true, cancelable: true,
    });
    const taken = !canvas.dispatchEvent(copy);
    const character = [...event.key].length === 1 && !event.ctrlKey && !event.metaKey;
    // Tab belongs to the game's windows even where it moves nothing (one
    // control enabled): the browser would take the focus from the field to
    // the footer's link, and every key after it would miss the game.
    if (taken || character || event.key === 'Tab')
      event.preventDefault();
  }
  field.addEventListener('keydown', forwardKey);
  field.addEventListener('keyup', forwardKey);

  field.addEventListener('beforeinput', function (event) {
    switch (event.inputType) {
    case 'insertText':
    case 'insertReplacementText':
      if (event.isComposing)
        return;
      event.preventDefault();
      type(event.data ?? event.dataTransfer?.getData('text/plain') ?? '');
      break;
    case 'insertLineBreak':
    case 'insertParagraph':
      event.preventDefault();
      if (entry)
        sendKey('Enter');
      break;
    case 'deleteContentBackward':
    case 'deleteContentForward':
      if (event.isComposing || composing)
        return;
      event.preventDefault();
      if (entry)
        sendKey(event.inputType === 'deleteContentBackward' ? 'Backspace' : 'Delete');
      break;
    case 'insertFromPaste':
    case 'insertFromPasteAsQuotation':
    case 'insertFromDrop':
      // Qt's clipboard takes a paste (it listens for the page's paste event).
      event.preventDefault();
      break;
    default:
      if (!event.isComposing && !composing)
        event.preventDefault();
    }
  });
  field.addEventListener('input', function () {
    if (!composing)
      emptyField();
  });

  // A composition shows in the field, over the box from its caret on; its
  // commit is typed, and a cancelled one leaves nothing.
  field.addEventListener('compositionstart', function () {
    composing = true;
    interrupted = false;
    placeField();
  });
  field.addEventListener('compositionend', function (event) {
    const lost = interrupted;
    composing = interrupted = false;
    emptyField();
    placeField();
    if (!lost)
      type(event.data);
  });

  // Qt listens for the clipboard's events on the canvas in browsers other
  // than Chromium (in Chromium on the document, where the field's arrive).
  if (!window.chrome) {
    for (const kind of ['copy', 'cut', 'paste']) {
      field.addEventListener(kind, function (event) {
        const copy = new ClipboardEvent(kind, {clipboardData: event.clipboardData, bubbles: true, cancelable: true});
        if (!canvas.dispatchEvent(copy))
          event.preventDefault();
      });
    }
  }

  function placeField() {
    const style = field.style;
    if (!entry) {
      field.className = '';
      style.left = style.top = '0px';
      style.width = style.height = '1px';
      return;
    }
    // Qt's screen is the canvas, placed where it stands in the page's body.
    const canvasBox = canvas.getBoundingClientRect();
    const bodyBox = document.body.getBoundingClientRect();
    const originX = canvasBox.left - bodyBox.left;
    const originY = canvasBox.top - bodyBox.top;
    let left = entry.x;
    if (composing) {
      const caret = program ? program.caretX() : -1;
      left = caret >= entry.x ? caret : entry.x;
    }
    field.className = composing ? 'composing' : '';
    style.left = `${left - originX}px`;
    style.top = `${entry.y - originY}px`;
    style.width = `${Math.max(entry.x + entry.w - left, 24)}px`;
    style.height = `${entry.h}px`;
  }

  // An amount box has taken the keyboard (rect: its number and its place in
  // Qt's screen) or given it up. On a touch screen the field is focused again
  // for the change to reach the soft keyboard: it opens or closes at once.
  function textEntry(on, rect) {
    const wasOn = entry !== null;
    const sameBox = on && wasOn && rect.box === entry.box;
    entry = on ? rect : null;
    if (composing && !sameBox) {
      // The box has lost the keyboard: what was being composed is no amount.
      // Leaving the field ends the composition; its end types nothing.
      interrupted = true;
      composing = false;
      field.blur();
      emptyField();
    }
    field.inputMode = on ? 'numeric' : 'none';
    placeField();
    if (touchScreen && wasOn !== on && document.activeElement === field)
      field.blur();
    focusField();
  }

  // ----- Touch -----

  // The finger that drives Qt's mouse; a second finger down meanwhile is left out.
  let finger = null;
  function mouseFromFinger(event) {
    if (event.target !== canvas || event.pointerType === 'mouse' || !event.isTrusted)
      return;
    event.stopImmediatePropagation();
    let type = event.type;
    if (type === 'pointerdown') {
      if (finger !== null)
        return;
      finger = event.pointerId;
      focusField();
    } else if (event.pointerId !== finger) {
      return;
    }
    if (type === 'pointercancel')
      type = 'pointerup';
    const pressed = type === 'pointerdown' || type === 'pointermove';
    canvas.dispatchEvent(new PointerEvent(type, {
      pointerType: 'mouse', pointerId: 1, isPrimary: true,
      clientX: event.clientX, clientY: event.clientY, screenX: event.screenX, screenY: event.screenY,
      button: type === 'pointermove' ? -1 : 0, buttons: pressed ? 1 : 0,
      bubbles: true, cancelable: true, composed: true,
    }));
    if (type === 'pointerup')
      finger = null;
  }
  for (const kind of ['pointerdown', 'pointermove', 'pointerup', 'pointercancel'])
    window.addEventListener(kind, mouseFromFinger, true);
  // Qt captures the mouse's pointer on a press. The finger it is given as the
  // mouse is no pointer the browser knows (and a touch is captured by the
  // element it began on already): no capture is asked for it.
  for (const name of ['setPointerCapture', 'releasePointerCapture']) {
    const own = canvas[name].bind(canvas);
    canvas[name] = function (pointerId) {
      if (finger === null)
        own(pointerId);
    };
  }
  // Qt's own touch handling is left out (the finger is its mouse already), and
  // the browser neither scrolls, zooms nor makes mouse events of a touch.
  for (const kind of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
    window.addEventListener(kind, function (event) {
      if (event.target !== canvas)
        return;
      event.stopPropagation();
      if (event.cancelable)
        event.preventDefault();
    }, {capture: true, passive: false});
  }
  // A click on the canvas leaves the browser's focus with the field.
  canvas.addEventListener('mousedown', function (event) {
    event.preventDefault();
    focusField();
  });
  canvas.addEventListener('focus', focusField);

  // ----- The screen -----

  // Scales the page so that the largest open window fits whole on the screen
  // (the visual viewport: what the browser shows, above a soft keyboard), with
  // the footer below it. A desktop browser keeps its own scale (1:1).
  function fit() {
    if (!needs)
      return;
    const visual = window.visualViewport;
    const scale = visual ? visual.scale : 1;
    const screenWidth = (visual ? visual.width : window.innerWidth) * scale;
    const screenHeight = (visual ? visual.height : window.innerHeight) * scale;
    const wanted = Math.min(1, screenWidth / needs.w, screenHeight / (needs.h + footer.offsetHeight));
    // The layout is a whole number of pixels wide.
    const width = Math.ceil(screenWidth / wanted);
    const s = Math.min(1, screenWidth / width).toFixed(4);
    const content = `width=${width}, initial-scale=${s}, minimum-scale=${s}, maximum-scale=${s}, ` +
                    'user-scalable=no, interactive-widget=resizes-content';
    if (viewport.content !== content)
      viewport.content = content;
  }

  // The program draws its windows again when the page's pixels per point
  // change (a new scale, a zoom): Qt takes the new ratio for what it draws next.
  let ratio = 0;
  function ratioChanged() {
    const now = window.devicePixelRatio * (window.visualViewport ? window.visualViewport.scale : 1);
    if (now !== ratio && program) {
      ratio = now;
      program.repaint();
    }
  }

  function screenNeeds(width, height) {
    needs = {w: width, h: height};
    fit();
  }

  for (const [target, kind] of [[window, 'resize'], [window, 'orientationchange'], [window.visualViewport, 'resize']]) {
    if (target) {
      target.addEventListener(kind, fit);
      target.addEventListener(kind, ratioChanged);
    }
  }

  return {
    // The program has started (platform/WebPage.cpp): what it answers.
    connect: function (answers) {
      program = answers;
    },
    textEntry: textEntry,
    screenNeeds: screenNeeds,
    // The canvas shows the game: the field takes the browser's focus.
    start: function () {
      running = true;
      focusField();
    },
    stop: function () {
      running = false;
      entry = null;
      placeField();
      field.blur();
    },
  };
})();
