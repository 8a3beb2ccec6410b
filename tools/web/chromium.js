// Debian's Chromium (never a downloaded browser), headless in its new mode,
// in a profile of its own that is removed when it closes: the browser every
// page script here drives.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

// Resolves to { context, close }; options go to the browser context.
async function launchChromium(options = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorin-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: false,  // the new headless mode, asked for below
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run'],
    ...options,
  });
  const close = async () => {
    try {
      await context.close();
    } finally {
      fs.rmSync(profile, { recursive: true, force: true });
    }
  };
  return { context, close };
}

module.exports = { launchChromium };
