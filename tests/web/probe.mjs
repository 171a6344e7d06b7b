import {launch, openPage, serve, sleep, state, until, windowNamed, controlOf} from './browser.mjs';
import {emulate, profiles} from './drivers.mjs';
const server = await serve('/work/main/build-web/test-page', 0, () => false);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch();
const page = await openPage(browser);
await emulate(page, profiles[process.argv[2] || 'phone-portrait']);
await page.goto(url);
await until('main', () => state(page), (s) => windowNamed(s, 'frmRumida') && !windowNamed(s,'frmCopy'), 60000);
await sleep(1500);
const s = await state(page);
console.log(JSON.stringify(windowNamed(s, 'frmRumida').frame));
console.log(await page.evaluate(() => { const v = visualViewport; const c = document.getElementById('screen').getBoundingClientRect();
  return JSON.stringify({vv: [v.offsetLeft, v.offsetTop, v.width, v.height, v.scale], inner: [innerWidth, innerHeight], dpr: devicePixelRatio,
   canvas: [c.left, c.top, c.width, c.height, document.getElementById('screen').width], meta: document.querySelector('meta[name=viewport]').content,
   scroll: [document.documentElement.scrollWidth, document.documentElement.clientWidth, document.documentElement.scrollHeight, document.documentElement.clientHeight]}); }));
await page.screenshot({path: '/tmp/probe.png'});
await browser.close(); server.close();
