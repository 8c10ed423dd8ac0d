// Pictures of a generated site for the manual, in Chromium:
//   node manual/site-pictures.mjs <site folder> <picture folder>
//   node manual/site-pictures.mjs --report <_Pruefbericht.html> <picture folder>
// The page with the picture gallery at the widths of a phone (menu closed
// and open), an upright tablet and a laptop, and the zoom view of a photo;
// or the top of a site check's report on the laptop.
// Each picture waits until what it shows has loaded and stands still, so
// that the same site gives the same pictures.
import { mkdir } from 'node:fs/promises';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchBrowser } from '../tests/browser/support/browser.mjs';

const report = process.argv[2] === '--report';
const [site, out] = process.argv.slice(report ? 3 : 2);
if (!site || !out) {
  console.error('usage: node manual/site-pictures.mjs [--report <report file> | <site folder>]'
    + ' <picture folder>');
  process.exit(2);
}

const PAGE = 's02.html';  // the page with the picture gallery
const PHONE = { width: 390, height: 844 };
// Upright, and wide enough (880 px and more) for the menu across the top.
const TABLET = { width: 912, height: 1368 };
const LAPTOP = { width: 1366, height: 768 };

// The pages name streams, an embedded video and search engines: the
// pictures are made off the network.
async function open(browser, viewport) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: 1 });
  await context.route(/^https?:\/\//, (route) => route.abort());
  const page = await context.newPage();
  await page.goto(pathToFileURL(path.join(site, PAGE)).href, { waitUntil: 'load' });
  // The zoom script focuses the first gallery picture, which scrolls the
  // page; the pictures show its top.
  await page.evaluate(() => window.scrollTo(0, 0));
  await settle(page);
  return page;
}

// Fonts loaded and every picture in view decoded (the gallery's pictures
// load lazily, and first try a thumbnail that is not there).
async function settle(page) {
  await page.evaluate(() => document.fonts.ready);
  await page.waitForFunction(() => [...document.images].every((image) => {
    const box = image.getBoundingClientRect();
    const inView = box.bottom > 0 && box.top < innerHeight;
    return !inView || (image.complete && image.naturalWidth > 0);
  }));
}

// Waits for the fade-in of the zoom view and the menu's transitions: a
// picture never catches them half-way.
async function shoot(page, name) {
  await page.evaluate(() => Promise.all(document.getAnimations().map((a) => a.finished)));
  await page.screenshot({ path: path.join(out, name), animations: 'disabled', caret: 'hide' });
  await page.context().close();
}

// The report's first screen: the counts and the first findings.
async function shootReport(browser) {
  const context = await browser.newContext({ viewport: LAPTOP, deviceScaleFactor: 1 });
  const page = await context.newPage();
  await page.goto(pathToFileURL(site).href, { waitUntil: 'load' });
  await page.evaluate(() => document.fonts.ready);
  await shoot(page, 'pruefbericht.png');
}

// The gallery page at each size, and the zoom view.
async function shootSite(browser) {
  await shoot(await open(browser, PHONE), 'seite-handy.png');

  const menu = await open(browser, PHONE);
  await menu.click('nav .menu-icon');
  await shoot(menu, 'seite-handy-menue.png');

  await shoot(await open(browser, TABLET), 'seite-tablet.png');
  await shoot(await open(browser, LAPTOP), 'seite-laptop.png');

  // The zoom view of the first photo of the gallery, once the full picture
  // behind it has been decoded.
  const zoom = await open(browser, LAPTOP);
  await zoom.locator('img.bild.zoom[src*="matterhorn"]').first().click();
  await zoom.evaluate(async () => {
    const inner = document.getElementById('zoom_innen');
    const url = /url\("(.*)"\)/.exec(getComputedStyle(inner).backgroundImage)[1];
    const image = new Image();
    image.src = url;
    await image.decode();
  });
  await zoom.mouse.move(0, 0);
  await shoot(zoom, 'seite-zoom.png');
}

await mkdir(out, { recursive: true });
const browser = await launchBrowser();
try {
  await (report ? shootReport(browser) : shootSite(browser));
} finally {
  await browser.close();
}
