// The busy playing frame (bench/standalone/busy_frame.cpp, the scene of
// bench/play.cpp) in Chromium's WebAssembly beside the native build, in one
// run on this machine:
//   node bench.js WEB_BENCH_DIR NATIVE_PROGRAM [FRAMES RUNS]
// WEB_BENCH_DIR holds quorin_busy_frame.js/.wasm (build-web.sh bench);
// NATIVE_PROGRAM is build/bench/quorin_busy_frame.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { launchChromium } = require('./chromium');
const { serve } = require('./serve');

const [webDir, native, frames = '400', runs = '7'] = process.argv.slice(2);
const args = [frames, runs];

// The benchmark's own page: its output lines as they come. It is built to
// start synchronously (as Node wants), so the page hands it the .wasm.
fs.writeFileSync(path.join(webDir, 'bench.html'), `<!doctype html><title>bench</title><script>
  var lines = [];
  var Module = { arguments: ${JSON.stringify(args)}, print: function (t) { lines.push(t); },
                 printErr: function (t) { lines.push(t); }, onExit: function () { window.done = true; } };
  fetch('quorin_busy_frame.wasm').then(function (r) { return r.arrayBuffer(); }).then(function (bytes) {
    Module.wasmBinary = bytes;
    var script = document.createElement('script');
    script.src = 'quorin_busy_frame.js';
    document.body.appendChild(script);
  });
</script><body></body>`);

function medians(text) {
  const out = {};
  for (const line of text.split('\n')) {
    const m = /^(GameFrame|RenderFrame|busy frame) median ([\d.]+) us/.exec(line.trim());
    if (m) out[m[1]] = Number(m[2]);
  }
  if (!out.GameFrame || !out.RenderFrame) throw new Error(`no medians in:\n${text}`);
  return out;
}

async function main() {
  const nativeText = execFileSync(native, args, { encoding: 'utf8' });
  const server = await new Promise((ready) => serve(webDir, 0, ready));
  const browser = await launchChromium();
  try {
    const page = await browser.context.newPage();
    page.on('pageerror', (e) => { console.error(`the bench page failed: ${e}`); process.exit(1); });
    await page.goto(`http://127.0.0.1:${server.address().port}/bench.html`);
    await page.waitForFunction(() => window.done === true, null, { timeout: 600000, polling: 500 });
    const webText = (await page.evaluate(() => window.lines)).join('\n');
    const n = medians(nativeText), w = medians(webText);
    console.log(`native:\n${nativeText.trim()}\nChromium:\n${webText.trim()}`);
    for (const name of ['GameFrame', 'RenderFrame', 'busy frame']) {
      console.log(`${name}: native ${n[name]} us, wasm in Chromium ${w[name]} us (x${(w[name] / n[name]).toFixed(2)})`);
    }
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((e) => { console.error(e.stack || String(e)); process.exit(1); });
