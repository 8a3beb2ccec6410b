// The web build in Debian's Chromium, headless, against the site served on
// 127.0.0.1. Run by tools/scripts/check-web.sh, which has made the native
// pictures first:
//   node browser_test.js SITE_DIR NATIVE_DIR RUN_FILE SHOTS LAST
// NATIVE_DIR holds title.png (the first title picture), and of RUN_FILE
// played by quorin-sim for LAST iterations the pictures K.png for each K of
// SHOTS (comma separated) and its Quorin.cfg. The run must end a game, so
// that the page earns a HiScore.
// Prints one line a check; exits non-zero on the first failure.
'use strict';
const fs = require('fs');
const path = require('path');
const { launchChromium } = require('./chromium');
const { serve } = require('./serve');
const { decodePng, comparePictures } = require('./png');

const [siteDir, nativeDir, runFile, shotList, lastArg] = process.argv.slice(2);
const shots = shotList.split(',').map(Number);

// The game's key numbers in the run file, as the browser names the keys.
const keyCodes = { 1: 'Escape', 28: 'Enter', 44: 'KeyZ', 45: 'KeyX', 57: 'Space', 200: 'ArrowUp', 203: 'ArrowLeft',
                   205: 'ArrowRight', 208: 'ArrowDown' };
const buttons = { left: 0, middle: 1, right: 2 };

function fail(text) {
  console.error(`FAIL: ${text}`);
  process.exit(1);
}
function pass(text) { console.log(`ok: ${text}`); }

function readRun(file) {
  const events = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const w = line.trim().split(/\s+/);
    if (!w[0] || w[0].startsWith('#')) continue;
    const frame = Number(w[0]);
    if (w[1] === 'key') {
      if (!keyCodes[w[2]]) fail(`run file: no browser key for ${w[2]}`);
      events.push({ frame, kind: 'key', code: keyCodes[w[2]], down: w[3] === 'down' });
    } else if (w[1] === 'mouse') {
      events.push({ frame, kind: 'pointer', x: Number(w[2]), y: Number(w[3]) });
    } else if (w[1] === 'button') {
      events.push({ frame, kind: 'button', button: buttons[w[2]], down: w[3] === 'down' });
    } else {
      fail(`run file: the page hook has no ${w[1]} input`);
    }
  }
  return events;
}

function status(page) {
  return page.evaluate(() => {
    const words = {};
    for (const w of window.quorin.status().split(' ')) {
      const [k, v] = w.split('=');
      words[k] = Number(v);
    }
    return words;
  });
}

function samePicture(bytes, file, what) {
  const why = comparePictures(decodePng(Buffer.from(bytes)), decodePng(fs.readFileSync(file)));
  if (why) {
    const kept = path.join(nativeDir, '..', path.basename(file, '.png') + '-browser.png');
    fs.writeFileSync(kept, Buffer.from(bytes));
    fail(`${what}: ${why} (the browser's picture is in ${kept})`);
  }
  pass(`${what} equals the native picture`);
}

async function open(context, base, query, given) {
  const page = given || context.pages()[0] || (await context.newPage());
  await page.goto(base + query);
  await page.waitForFunction(() => window.quorin && window.quorin.ready === true, null, { timeout: 30000 });
  // The window opens in the first iteration; hooked, the test runs it.
  if (query.includes('test=1')) await page.evaluate(() => window.quorin.step(1));
  else await page.waitForFunction(() => window.quorin.frames >= 2, null, { timeout: 30000 });
  // The canvas at one page pixel a canvas pixel, so the pointer lands exactly.
  const size = await page.evaluate(() => ({ w: document.getElementById('canvas').width,
                                            h: document.getElementById('canvas').height }));
  const viewport = page.viewportSize();
  if (viewport.width !== size.w || viewport.height !== size.h) {
    await page.setViewportSize({ width: size.w, height: size.h });
  }
  return page;
}

async function main() {
  const server = await new Promise((ready) => serve(siteDir, 0, ready));
  const base = `http://127.0.0.1:${server.address().port}/`;
  const browser = await launchChromium({ viewport: { width: 768, height: 576 } });
  const context = browser.context;
  const errors = [];
  context.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  context.on('weberror', (e) => errors.push(String(e.error())));
  try {
    // 1. The hooked page: the first title picture. Iteration 0 has run (it opens the window); without input, iteration 1
    // shows what it drew.
    let page = await open(context, base, '?test=1');
    await page.evaluate(() => window.quorin.step(1));
    samePicture(await page.evaluate(() => window.quorin.picture()), path.join(nativeDir, 'title.png'),
                'the first title picture');

    // 2. The run fed through the page's hook from its start, with pictures,
    // to the title after its game: the HiScore it earned is kept when the
    // page is hidden, and a reload reads it back.
    page = await open(context, base, '?test=1');
    const events = readRun(runFile);
    if (events.some((e) => e.frame < 1)) fail('the run file has input before iteration 1');
    const last = Number(lastArg);
    const pictures = await page.evaluate(([events, shots, last]) => {
      const q = window.quorin;
      const taken = {};
      const wanted = new Set(shots);
      let next = 0;
      for (let iteration = 1; iteration <= last; ++iteration) {
        for (; next < events.length && events[next].frame <= iteration; ++next) {
          const e = events[next];
          if (e.kind === 'key') q.key(e.code, e.down);
          else if (e.kind === 'pointer') q.pointer(e.x, e.y);
          else q.button(e.button, e.down);
        }
        if (q.step(1) === 0) break;
        // quorin-sim's --shot K: the picture after iteration K.
        if (wanted.has(iteration)) taken[iteration] = q.picture();
      }
      return taken;
    }, [events, shots, last]);
    for (const k of shots) {
      if (!pictures[k]) fail(`the hooked run ended before iteration ${k}`);
      samePicture(pictures[k], path.join(nativeDir, `${k}.png`), `the hooked run's picture after iteration ${k}`);
    }
    const nativeBest = /HiScore\s*=\s*(\d+)/.exec(fs.readFileSync(path.join(nativeDir, 'Quorin.cfg'), 'utf8'));
    if (!nativeBest || Number(nativeBest[1]) <= 0) fail('the native run earned no HiScore');
    const best = Number(nativeBest[1]);
    const ended = await status(page);
    if (ended.state !== 0 || ended.hiscore !== best) {
      fail(`after the hooked run: state ${ended.state}, HiScore ${ended.hiscore}; quorin-sim: title, ${best}`);
    }
    await page.evaluate(() => window.dispatchEvent(new Event('pagehide')));
    await page.waitForFunction(() => window.quorin.saving === false, null, { timeout: 10000 });
    page = await open(context, base, '');
    const reloaded = await status(page);
    if (reloaded.hiscore !== best) fail(`after a reload the best score is ${reloaded.hiscore}, not ${best}`);
    const kept = await page.evaluate(() => Module.FS.readFile('/saved/Brightvault/Quorin.cfg', { encoding: 'utf8' }));
    pass(`the HiScore ${best} earned in the page is saved when the page is hidden, and a reload keeps it: ` +
         JSON.stringify(kept));

    // 3. Played as a player would: click to play, START, held keys. The
    // query string remaps KeyRight to D (DIK 32), and a gamepad is plugged in
    // (a standard one, made up here: the browser has none).
    await page.close();
    page = await context.newPage();
    await page.addInitScript(() => {
      const pad = { id: 'Quorin test pad', index: 0, connected: true, mapping: 'standard', timestamp: 1,
                    axes: [0, 0, 0, 0],
                    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })) };
      window.quorinPad = (x) => { pad.axes[0] = x; pad.timestamp += 1; };
      Object.defineProperty(Navigator.prototype, 'getGamepads', { value: () => [pad], configurable: true });
    });
    page = await open(context, base, '?KeyRight=32', page);
    await page.mouse.click(10, 10);  // the "click to play" overlay
    const hidden = await page.evaluate(() => document.getElementById('overlay').classList.contains('gone'));
    if (!hidden) fail('the click-to-play overlay stays after a click');
    await page.mouse.move(660, 338);
    await page.mouse.move(660, 339);
    await page.waitForTimeout(200);
    await page.mouse.down();
    await page.waitForTimeout(100);
    await page.mouse.up();
    await page.waitForFunction(() => /state=2 /.test(window.quorin.status()), null, { timeout: 5000 })
      .catch(() => fail('a click on START does not start a game'));
    await page.waitForTimeout(1000);  // the hero lands
    const start = await status(page);
    await page.keyboard.down('ArrowRight');  // no longer a direction
    await page.waitForTimeout(700);
    await page.keyboard.up('ArrowRight');
    const still = await status(page);
    if (still.x !== start.x) fail(`ArrowRight still moves the hero with KeyRight=32 (${start.x} to ${still.x})`);
    await page.keyboard.down('KeyD');
    await page.waitForTimeout(1500);
    await page.keyboard.up('KeyD');
    const right = await status(page);
    await page.evaluate(() => window.quorinPad(-1));
    await page.waitForTimeout(1500);
    await page.evaluate(() => window.quorinPad(0));
    const left = await status(page);
    if (left.state !== 2) fail(`the game left play (state ${left.state}) under held keys`);
    if (right.x <= start.x) fail(`D, KeyRight by the query string, does not move the hero right (${start.x} to ${right.x})`);
    if (left.x >= right.x) fail(`the gamepad's stick held left does not move the hero left (${right.x} to ${left.x})`);
    pass(`START, then D (KeyRight=32 in the query string; ArrowRight no longer moves) and the gamepad's stick ` +
         `move the hero from x ${start.x} ` +
         `right to ${right.x} and back left to ${left.x} in ${left.iteration - start.iteration} iterations`);

    // The README's picture of the page, when asked for: bars and button included.
    if (process.env.QUORIN_WEB_SCREENSHOT) {
      await page.setViewportSize({ width: 960, height: 600 });
      await page.waitForTimeout(500);
      await page.screenshot({ path: process.env.QUORIN_WEB_SCREENSHOT });
    }

    if (errors.length) fail(`the console shows errors:\n  ${errors.join('\n  ')}`);
    pass('the console shows no error');
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((e) => fail(e.stack || String(e)));
