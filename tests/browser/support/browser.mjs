// Debian's Chromium through Playwright, headless and off the network, the
// way the browser tests and the manual's pictures start it.
import { chromium } from 'playwright-core';

export function launchBrowser() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--disable-quic'],
  });
}
