// How long the page takes from the start of its load to the first title
// picture, in Debian's Chromium (headless) from a local server:
//   node loadtime.js SITE_DIR [LOADS]
// Each load is a first visit (a new browser profile, nothing cached), as a
// player's first one is; then the same loads again in one profile, as a
// player's next visits are. Prints the milestones of every load and their
// medians: the .wasm fetched, the runtime ready to call main, the first
// picture.
'use strict';
const { launchChromium } = require('./chromium');
const { serve } = require('./serve');

const [site, loadsText = '7'] = process.argv.slice(2);
const loads = Number(loadsText);
async function once(context, url) {
  const page = await context.newPage();
  try {
    await page.goto(url);
    await page.waitForFunction(() => window.quorin && window.quorin.firstPictureMs > 0, null, { timeout: 60000, polling: 20 });
    return await page.evaluate(() => {
      const wasm = performance.getEntriesByType('resource').find((e) => e.name.endsWith('.wasm'));
      const ms = (v) => Math.round(v);
      return { wasm: wasm ? ms(wasm.responseEnd) : -1, main: ms(window.quorin.mainMs || -1), picture: ms(window.quorin.firstPictureMs) };
    });
  } finally {
    await page.close();
  }
}

function median(values) {
  const s = [...values].sort((a, b) => a - b);
  return s[Math.floor(s.length / 2)];
}

function report(name, rows) {
  for (const r of rows) console.log(`${name}: wasm fetched ${r.wasm} ms, main ${r.main} ms, first picture ${r.picture} ms`);
  console.log(`${name} median: wasm fetched ${median(rows.map((r) => r.wasm))} ms, main ${median(rows.map((r) => r.main))} ms, ` +
              `first picture ${median(rows.map((r) => r.picture))} ms (${rows.length} loads)`);
}

async function main() {
  const server = await new Promise((ready) => serve(site, 0, ready));
  const url = `http://127.0.0.1:${server.address().port}/`;
  try {
    const first = [];
    for (let i = 0; i < loads; ++i) {
      const b = await launchChromium();
      try { first.push(await once(b.context, url)); } finally { await b.close(); }
    }
    const b = await launchChromium();
    const again = [];
    try {
      await once(b.context, url);
      for (let i = 0; i < loads; ++i) again.push(await once(b.context, url));
    } finally { await b.close(); }
    report('first visit', first);
    report('next visits', again);
  } finally {
    server.close();
  }
}

main().catch((e) => { console.error(e.stack || String(e)); process.exit(1); });
