// Debian's Chromium through Playwright, headless and off the network, the
// way the browser tests and the manual's pictures start it: after making
// sure that it lays pages out in the fonts the tests measure with (a wrong
// font fails here, not in a layout assertion).
import { chromium } from 'playwright-core';
import { assertLayoutFonts } from './fonts.mjs';

export async function launchBrowser({ checkFonts = true } = {}) {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--disable-quic'],
  });
  if (checkFonts) {
    try {
      await assertLayoutFonts(browser);
    } catch (error) {
      await browser.close();
      throw error;
    }
  }
  return browser;
}
