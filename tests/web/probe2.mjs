import {launch, openPage, serve, sleep, state, until, windowNamed, controlOf} from './browser.mjs';
import {emulate, profiles, driverFor} from './drivers.mjs';
const server = await serve('/work/main/build-web/test-page', 0, () => false);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch();
const page = await openPage(browser);
const profile = profiles[process.argv[2] || 'phone-portrait'];
await emulate(page, profile);
await page.evaluateOnNewDocument(() => {
  for (const t of ['pointerdown','pointerup','touchstart','touchend','mousedown','click'])
    window.addEventListener(t, (e) => console.log('EV', t, e.pointerType || '', e.isTrusted, e.clientX, e.clientY, e.offsetX, e.offsetY, e.target.id, e.defaultPrevented), true);
});
await page.goto(url);
await until('main', () => state(page), (s) => windowNamed(s, 'frmRumida') && !windowNamed(s,'frmCopy'), 60000);
await sleep(1500);
const s = await state(page);
const box = controlOf(s, 'frmRumida', 'chk13');
console.log('box', JSON.stringify(box.rect));
const d = driverFor(page, profile);
await d.press({x: box.rect.x + 7, y: box.rect.y + box.rect.h / 2});
await sleep(500);
console.log('focus', (await state(page)).focus);
await browser.close(); server.close();
