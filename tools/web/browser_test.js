// The web build in Debian's Chromium, headless, against the site served on
// 127.0.0.1. Run by tools/scripts/check-web.sh, which has made the native
// pictures first:
//   node browser_test.js SITE_DIR NATIVE_DIR RUN_FILE SHOTS
// NATIVE_DIR holds title.png (the first title picture), the winning run's
// pictures K.png for each K of SHOTS (comma separated) and its Quorin.cfg.
// Prints one line a check; exits non-zero on the first failure.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');
const { serve } = require('./serve');
const { decodePng, comparePictures } = require('./png');

const [siteDir, nativeDir, runFile, shotList] = process.argv.slice(2);
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

async function open(context, base, query) {
  const page = context.pages()[0] || (await context.newPage());
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
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorin-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: false,  // the new headless mode, asked for below
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run'],
    viewport: { width: 768, height: 576 },
  });
  const errors = [];
  context.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  context.on('weberror', (e) => errors.push(String(e.error())));
  try {
    // 1. The hooked page: the first title picture, then the winning run fed
    // through the hook, with pictures and the saved best score.
    // Iteration 0 has run (it opens the window); without input, iteration 1
    // shows what it drew.
    let page = await open(context, base, '?test=1');
    await page.evaluate(() => window.quorin.step(1));
    samePicture(await page.evaluate(() => window.quorin.picture()), path.join(nativeDir, 'title.png'),
                'the first title picture');

    // The winning run from its start, fed through the page's hook; with
    // QUORIN_WEB_FULL_RUN=1 to its end, where the game quits and saves.
    const full = process.env.QUORIN_WEB_FULL_RUN === '1';
    page = await open(context, base, '?test=1');
    const events = readRun(runFile);
    if (events.some((e) => e.frame < 1)) fail('the run file has input before iteration 1');
    const last = full ? Infinity : Math.max(...shots);
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
    const userFile = '/saved/Brightvault/Quorin.cfg';
    if (full) {
      const nativeBest = /HiScore\s*=\s*(\d+)/.exec(fs.readFileSync(path.join(nativeDir, 'Quorin.cfg'), 'utf8'));
      if (!nativeBest || Number(nativeBest[1]) <= 0) fail('the native run earned no HiScore');
      // The game has quit: its user file goes back to IndexedDB.
      await page.waitForFunction(() => window.quorin.saving === false, null, { timeout: 10000 });
      page = await open(context, base, '');
      const after = await status(page);
      if (after.hiscore !== Number(nativeBest[1])) {
        fail(`after a reload the best score is ${after.hiscore}, not ${nativeBest[1]}`);
      }
      pass(`a reload keeps the HiScore ${after.hiscore} earned before`);
    } else {
      // Mid-run: hiding the page saves the user file as quitting would.
      const before = await status(page);
      await page.evaluate(() => window.dispatchEvent(new Event('pagehide')));
      await page.waitForFunction(() => window.quorin.saving === false, null, { timeout: 10000 });
      const written = await page.evaluate((f) => Module.FS.readFile(f, { encoding: 'utf8' }), userFile);
      page = await open(context, base, '');
      const kept = await page.evaluate((f) => Module.FS.readFile(f, { encoding: 'utf8' }), userFile);
      if (kept !== written || !new RegExp(`HiScore = ${before.hiscore}\\b`).test(kept)) {
        fail(`the user file after a reload is ${JSON.stringify(kept)}, written ${JSON.stringify(written)}`);
      }
      pass(`hiding the page saves the user file, and a reload keeps it: ${JSON.stringify(kept)}`);
    }

    // 3. Played as a player would: click to play, START, held keys.
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
    await page.keyboard.down('ArrowRight');
    await page.waitForTimeout(1500);
    await page.keyboard.up('ArrowRight');
    await page.keyboard.down('ArrowLeft');
    await page.keyboard.down('KeyZ');
    await page.waitForTimeout(1500);
    await page.keyboard.up('KeyZ');
    await page.keyboard.up('ArrowLeft');
    const moved = await status(page);
    if (moved.state !== 2) fail(`the game left play (state ${moved.state}) under held keys`);
    if (moved.x === start.x && moved.y === start.y) fail('held keys do not move the hero');
    pass(`START and held keys move the hero from (${start.x}, ${start.y}) to (${moved.x}, ${moved.y}) in ` +
         `${moved.iteration - start.iteration} iterations`);

    // The README's picture of the page, when asked for: bars and button included.
    if (process.env.QUORIN_WEB_SCREENSHOT) {
      await page.setViewportSize({ width: 960, height: 600 });
      await page.waitForTimeout(500);
      await page.screenshot({ path: process.env.QUORIN_WEB_SCREENSHOT });
    }

    if (errors.length) fail(`the console shows errors:\n  ${errors.join('\n  ')}`);
    pass('the console shows no error');
  } finally {
    await context.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((e) => fail(e.stack || String(e)));
