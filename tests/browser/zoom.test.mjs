// zoom.js in Chromium on the generated gallery page: thumbnails and their
// fallback, the overlay opened by mouse and keyboard, stepping through the
// images, the end-of-list flash, and the small helpers Alert, zeigLegende,
// zeigKarte and zahlCH.
import assert from 'node:assert/strict';
import { readFile, writeFile, copyFile } from 'node:fs/promises';
import path from 'node:path';
import { after, afterEach, before, describe, test } from 'node:test';
import {
  assertNoPageErrors, copySite, fileUrl, launchBrowser, openPage, screenshot, serve, siteDir,
} from './support/site.mjs';

const GALLERY = 's02.html';
const VIEWPORT = { width: 1000, height: 600 };

let browser;
let server;
const errors = [];
let galleryHtml;

before(async () => {
  browser = await launchBrowser();
  server = await serve(siteDir(5));
  galleryHtml = await readFile(path.join(siteDir(5), GALLERY), 'utf8');
});
after(async () => {
  await browser?.close();
  await server?.close();
});
afterEach(() => assertNoPageErrors(errors));

// The src attributes of the zoom images as the page markup writes them.
function zoomSources(html) {
  return [...html.matchAll(/<img class="bild zoom"\s+src="([^"]+)"/g)].map((m) => m[1]);
}

// The figures of the zoom gallery, each "<figure>" to "</figure>" with the
// empty lines after it, and where they stand in `html`.
function zoomFigureMatches(html) {
  return [...html.matchAll(/<figure>\s*<img class="bild zoom"[\s\S]*?<\/figure>\s*/g)];
}
const zoomFigures = (html) => zoomFigureMatches(html).map((m) => m[0]);

// The page with its gallery replaced by `figures`.
function withGallery(html, figures) {
  const all = zoomFigureMatches(html);
  const last = all[all.length - 1];
  return html.slice(0, all[0].index) + figures.join('') + html.slice(last.index + last[0].length);
}

async function openGallery(url = server.url(GALLERY)) {
  const page = await openPage(browser, errors, url, { viewport: VIEWPORT });
  return page;
}

// What the overlay shows and where the page stands.
function state(page) {
  return page.evaluate(() => {
    const images = [...document.getElementsByClassName('bild zoom')];
    const zoom = document.getElementById('zoom');
    const inner = document.getElementById('zoom_innen');
    return {
      open: zoom ? getComputedStyle(zoom).display !== 'none' : null,
      background: inner?.style.backgroundImage,
      tooltip: inner?.title,
      focused: images.indexOf(document.activeElement),
      shown: images.indexOf(window.zoomShown),
      scrollY: window.scrollY,
      overflow: document.body.style.overflow,
    };
  });
}

const imageAt = (page, index) => page.locator('.bild.zoom').nth(index);

describe('gallery page set-up', () => {
  let page;
  before(async () => {
    server.clearLog();
    page = await openPage(browser, errors, null, { viewport: VIEWPORT });
    // log every address that a script gives an image, in order
    await page.addInitScript(() => {
      const src = Object.getOwnPropertyDescriptor(HTMLImageElement.prototype, 'src');
      window.srcLog = [];
      Object.defineProperty(HTMLImageElement.prototype, 'src', {
        ...src,
        set(value) {
          window.srcLog.push([this, String(value)]);
          src.set.call(this, value);
        },
      });
    });
    await page.goto(server.url(GALLERY));
    // load every picture, the lazy ones included
    await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
    await page.waitForFunction(() => [...document.getElementsByClassName('bild zoom')]
      .every((img) => img.complete && img.naturalWidth > 0));
  });
  after(() => page.context().close());

  test('pictures ask for their _t thumbnail first and fall back to the full file; SVGs stay as they are', async () => {
    const sources = zoomSources(galleryHtml);
    assert.equal(sources.length, 8);
    const seen = await page.evaluate(() => [...document.getElementsByClassName('bild zoom')]
      .map((img) => ({
        src: img.currentSrc,
        loaded: img.naturalWidth > 0,
        given: window.srcLog.filter(([el]) => el === img).map(([, value]) => value),
      })));
    seen.forEach(({ src, loaded, given }, i) => {
      const full = new URL(sources[i], server.url(GALLERY)).href;
      const thumbnail = full.replace(/\.jpg$/, '_t.jpg');
      if (full.endsWith('.svg')) {
        assert.deepEqual(given, [], `image ${i + 1}: an SVG keeps its address`);
      } else {
        assert.notEqual(thumbnail, full);
        assert.deepEqual(given, [thumbnail, full], `image ${i + 1}: thumbnail first, then the full file`);
      }
      assert.equal(src, full, `image ${i + 1} shown from the full file`);
      assert.ok(loaded, `image ${i + 1} loaded`);
    });
    const log = server.requests;
    assert.ok(log.includes('/media/matterhorn_t.jpg'), 'thumbnail requested');
    assert.ok(log.includes('/media/matterhorn.jpg') && log.includes('/media/avatar.svg'));
    assert.ok(!log.some((p) => p.includes('avatar_t')), 'no thumbnail asked for an SVG');
  });

  test('zoom images become tabbable, lazy, and get the click hint in their title', async () => {
    const seen = await page.evaluate(() => [...document.querySelectorAll('img')].map((img) => ({
      zoom: img.classList.contains('zoom'),
      tabindex: img.getAttribute('tabindex'),
      loading: img.getAttribute('loading'),
      title: img.title,
    })));
    const hint = '\n\nKlick \u21e8 Zoom\u2026';
    const zoomImages = seen.filter((img) => img.zoom);
    assert.equal(zoomImages.length, 8);
    zoomImages.forEach((img, i) => {
      assert.equal(img.tabindex, '0');
      assert.equal(img.loading, 'lazy');
      assert.equal(img.title, (i % 2 === 0 ? 'Das ist der Bildtitel!' : '') + hint);
    });
    // the image without zoom and the map image are left alone
    for (const img of seen.filter((img) => !img.zoom)) assert.ok(!img.title.includes('Klick'));
    assert.equal(seen.find((img) => !img.zoom).loading, null);
  });

  test('the overlay is built once, first in the body, hidden, with its controls', async () => {
    const overlay = await page.evaluate(() => {
      const zoom = document.getElementById('zoom');
      return {
        count: document.querySelectorAll('#zoom').length,
        first: document.body.firstElementChild === zoom,
        display: getComputedStyle(zoom).display,
        children: [...zoom.children].map((el) => ({
          tag: el.tagName, id: el.id, cls: el.className,
          onclick: el.getAttribute('onclick'), title: el.title, text: el.textContent,
        })),
      };
    });
    assert.equal(overlay.count, 1);
    assert.ok(overlay.first);
    assert.equal(overlay.display, 'none');
    assert.deepEqual(overlay.children, [
      { tag: 'A', id: '', cls: 'zu', onclick: 'zeig_zu()', title: 'Close / Schlie\u00dfen\n\n[Esc]', text: '\u2573' },
      { tag: 'A', id: 'zLinks', cls: 'zLinks', onclick: 'zoomLinks()', title: '\u2190', text: '\u3008' },
      { tag: 'A', id: 'zRechts', cls: 'zRechts', onclick: 'zoomRechts()', title: '\u2192', text: '\u3009' },
      { tag: 'DIV', id: 'zoom_innen', cls: '', onclick: 'zeig_zu()', title: '', text: '' },
    ]);
  });
});

test('an existing _t thumbnail is shown in the page, the full picture in the overlay', async () => {
  const copy = await copySite(5);
  const site = await serve(copy.dir);
  try {
    // a thumbnail of its own for the photo: the map picture will do
    await copyFile(path.join(copy.dir, 'media', 'karte.png'), path.join(copy.dir, 'media', 'matterhorn_t.jpg'));
    const page = await openGallery(site.url(GALLERY));
    const photo = imageAt(page, 1);
    await photo.scrollIntoViewIfNeeded();
    await page.waitForFunction(() => document.getElementsByClassName('bild zoom')[1].complete);
    assert.equal(await photo.evaluate((img) => img.currentSrc), site.url('media/matterhorn_t.jpg'));
    await photo.click();
    assert.equal((await state(page)).background, `url("${site.url('media/matterhorn.jpg')}")`);
    await page.context().close();
  } finally {
    await site.close();
    await copy.remove();
  }
});

test('a picture without thumbnail and without full file is retried once, then left broken', async () => {
  const copy = await copySite(5);
  const site = await serve(copy.dir);
  try {
    const html = await readFile(path.join(copy.dir, GALLERY), 'utf8');
    await writeFile(path.join(copy.dir, GALLERY), html.replace(/(<img class="bild zoom"\s+src=")media\/matterhorn.jpg"/, '$1media/fehlt.jpg"'));
    const page = await openGallery(site.url(GALLERY));
    // Until the thumbnail has failed and the full picture has been asked
    // for again and failed too; the assertions show what happened else.
    await settle(page.waitForFunction(() => {
      const img = document.getElementsByClassName('bild zoom')[1];
      return img.src.endsWith('/media/fehlt.jpg') && img.complete;
    }, null, { timeout: 5000 }));
    const asked = site.requests.filter((p) => p.includes('fehlt'));
    assert.deepEqual(asked, ['/media/fehlt.jpg', '/media/fehlt_t.jpg', '/media/fehlt.jpg'].slice(-asked.length));
    assert.equal(asked.filter((p) => p === '/media/fehlt_t.jpg').length, 1);
    assert.equal(await imageAt(page, 1).evaluate((img) => img.src), site.url('media/fehlt.jpg'));
    await page.context().close();
  } finally {
    await site.close();
    await copy.remove();
  }
});

describe('opening and closing the overlay', () => {
  let page;
  let sources;
  before(async () => {
    page = await openGallery();
    sources = zoomSources(galleryHtml).map((src) => new URL(src, server.url(GALLERY)).href);
  });
  after(() => page.context().close());

  // Scrolls image `index` into the middle of the window; returns scrollY.
  async function scrollTo(index) {
    await imageAt(page, index).evaluate((img) => img.scrollIntoView({ block: 'center' }));
    const y = await page.evaluate(() => window.scrollY);
    assert.ok(y > 0, 'the page is scrolled');
    return y;
  }

  test('the first zoom image has the focus after loading', async () => {
    assert.equal((await state(page)).focused, 0);
  });

  test('a click opens the full picture with its caption as tooltip; Escape closes and restores the scroll position', async () => {
    const y = await scrollTo(3);
    await imageAt(page, 3).click();
    const open = await state(page);
    assert.equal(open.open, true);
    assert.equal(open.background, `url("${sources[3]}")`);
    assert.equal(open.tooltip, await imageAt(page, 3).evaluate((img) => img.nextElementSibling.textContent));
    assert.equal(open.tooltip, 'Ds Horu (Matterhorn)');
    assert.equal(open.scrollY, 0);
    assert.equal(open.overflow, 'hidden');
    const look = await page.$eval('#zoom', (el) => ({
      z: getComputedStyle(el).zIndex, animation: getComputedStyle(el).animationName,
      box: el.getBoundingClientRect().toJSON(),
    }));
    assert.deepEqual([look.z, look.animation], ['9999', 'einblenden']);
    assert.deepEqual([look.box.x, look.box.y, look.box.width], [0, 0, VIEWPORT.width]);
    await page.waitForFunction(() => document.getAnimations().length === 0);  // faded in
    await screenshot(page, 'zoom-overlay.png');

    await page.keyboard.press('Escape');
    const closed = await state(page);
    assert.equal(closed.open, false);
    assert.equal(closed.scrollY, y);
    assert.equal(closed.overflow, '');
    assert.equal(closed.shown, 3, 'the last opened image is remembered');
  });

  test('a click on the picture area or on the cross closes it too', async () => {
    for (const target of ['#zoom_innen', '#zoom a.zu']) {
      const y = await scrollTo(4);
      await imageAt(page, 4).click();
      assert.equal((await state(page)).open, true);
      assert.equal((await state(page)).tooltip, 'Bildlegende 5');
      await page.click(target);
      const closed = await state(page);
      assert.equal(closed.open, false, target);
      assert.equal(closed.scrollY, y, target);
    }
  });

  test('Enter opens, Tab closes and moves on to the next image', async () => {
    await imageAt(page, 2).focus();
    const y = await page.evaluate(() => window.scrollY);
    await page.keyboard.press('Enter');
    assert.equal((await state(page)).open, true);
    await page.keyboard.press('Tab');
    const closed = await state(page);
    assert.equal(closed.open, false);
    assert.equal(closed.overflow, '');
    assert.equal(closed.focused, 3);
    assert.ok(Math.abs(closed.scrollY - y) < VIEWPORT.height, 'back where the page was');
  });

  test('the arrows of the overlay step to the neighbours; a click past the end flashes', async () => {
    await imageAt(page, 6).click();
    await page.click('#zRechts');
    let now = await state(page);
    assert.deepEqual([now.open, now.shown, now.focused, now.background], [true, 7, 7, `url("${sources[7]}")`]);
    await page.click('#zLinks');
    now = await state(page);
    assert.deepEqual([now.open, now.shown, now.background], [true, 6, `url("${sources[6]}")`]);
    await page.click('#zRechts');
    const flash = await watchFlash(page, () => page.click('#zRechts'));
    assert.equal((await state(page)).shown, 7);
    assertFlash(flash);
    await page.keyboard.press('Escape');
  });
});

// A wait whose time-out is left to the assertions after it, which show
// what was seen instead.
async function settle(wait) {
  await wait.catch(() => {});
}

// Records the inline background colour of the overlay's picture area while
// `action` runs, until a flash has ended (or the wait has given up).
async function watchFlash(page, action) {
  await page.evaluate(() => {
    window.flashLog = [];
    const inner = document.getElementById('zoom_innen');
    new MutationObserver(() => window.flashLog.push([performance.now(), inner.style.backgroundColor]))
      .observe(inner, { attributes: true, attributeFilter: ['style'] });
  });
  await action();
  await settle(page.waitForFunction(() => window.flashLog.some(([, colour]) => colour === 'black') &&
    window.flashLog[window.flashLog.length - 1][1] === '', null, { timeout: 5000 }));
  return page.evaluate(() => window.flashLog.filter(([, colour], i, all) => i === 0 || colour !== all[i - 1][1]));
}

function assertFlash(log) {
  assert.equal(log.length, 2, `one flash: ${JSON.stringify(log)}`);
  assert.deepEqual(log.map(([, colour]) => colour), ['black', '']);
  const duration = log[1][0] - log[0][0];
  assert.ok(duration >= 105 && duration < 500, `flash of ${duration} ms`);
}

describe('keys on a focused zoom image', () => {
  let copy;
  let site;
  let page;
  before(async () => {
    // a gallery of 25 images, so that Page Up and Page Down can jump by ten
    copy = await copySite(5);
    const figures = zoomFigures(galleryHtml);
    const many = Array.from({ length: 25 }, (_, i) => figures[i % figures.length]
      .replace(/<figcaption>[^<]*<\/figcaption>/, `<figcaption>Bild ${i}</figcaption>`));
    await writeFile(path.join(copy.dir, 'viele.html'), withGallery(galleryHtml, many));
    site = await serve(copy.dir);
    page = await openGallery(site.url('viele.html'));
    assert.equal(await page.locator('.bild.zoom').count(), 25);
  });
  after(async () => {
    await page.context().close();
    await site.close();
    await copy.remove();
  });

  async function press(key, from, open) {
    if ((await state(page)).open) await page.keyboard.press('Escape');
    await imageAt(page, from).focus();
    if (open) await page.keyboard.press('Enter');
    await page.keyboard.press(key);
    return state(page);
  }

  test('with the overlay open each key steps as its table says', async () => {
    const steps = [
      ['ArrowRight', 0, 1], ['ArrowLeft', 5, 4], ['Home', 17, 0], ['End', 3, 24],
      ['PageDown', 0, 10], ['PageDown', 14, 24], ['PageDown', 24, 24],
      ['PageUp', 24, 14], ['PageUp', 9, 0], ['PageUp', 0, 0],
      ['Shift+ArrowRight', 7, 8], ['Control+ArrowLeft', 7, 6],
    ];
    for (const [key, from, to] of steps) {
      const now = await press(key, from, true);
      assert.deepEqual([now.open, now.focused, now.shown], [true, to, to], `${key} from ${from}`);
      assert.equal(now.tooltip, `Bild ${to}`, `${key} from ${from}`);
    }
    await page.keyboard.press('Escape');
  });

  test('with the overlay closed the keys move the focus only', async () => {
    for (const [key, from, to] of [['ArrowRight', 2, 3], ['ArrowLeft', 2, 1], ['End', 2, 24], ['PageDown', 2, 12]]) {
      const now = await press(key, from, false);
      assert.deepEqual([now.open, now.focused], [false, to], `${key} from ${from}`);
    }
  });

  test('Ctrl or Shift with Home, End and the page keys is left to the browser', async () => {
    for (const key of ['Control+Home', 'Shift+End', 'Shift+PageDown', 'Control+End']) {
      const now = await press(key, 5, true);
      assert.deepEqual([now.open, now.focused, now.shown], [true, 5, 5], key);
    }
    await page.keyboard.press('Escape');
  });

  test('stepping keys are kept from the page; the page keys and End lose their default action', async () => {
    await page.evaluate(() => {
      window.keyLog = { bubbled: [], prevented: {} };
      document.addEventListener('keydown', (ev) => window.keyLog.bubbled.push(ev.key));
      for (const img of document.getElementsByClassName('bild zoom'))
        img.addEventListener('keydown', (ev) => { window.keyLog.prevented[ev.key] = ev.defaultPrevented; });
    });
    for (const key of ['ArrowRight', 'ArrowLeft', 'Home', 'End', 'PageUp', 'PageDown', 'Escape', 'Enter'])
      await press(key, 12, false);
    const log = await page.evaluate(() => window.keyLog);
    assert.deepEqual(log.bubbled, ['Escape', 'Enter']);
    assert.deepEqual(log.prevented, {
      ArrowRight: false, ArrowLeft: false, Home: false, End: true,
      PageUp: true, PageDown: true, Enter: false, Escape: false,
    });
  });

  test('stepping past either end flashes the picture area black for 111 ms and stays', async () => {
    for (const [key, at] of [['ArrowRight', 24], ['ArrowLeft', 0]]) {
      await press('Enter', at, false);
      const flash = await watchFlash(page, () => page.keyboard.press(key));
      assertFlash(flash);
      const now = await state(page);
      assert.deepEqual([now.open, now.focused, now.shown], [true, at, at], key);
      await page.keyboard.press('Escape');
    }
    // closed, the same key moves nothing and nothing shows
    const now = await press('ArrowRight', 24, false);
    assert.deepEqual([now.open, now.focused], [false, 24]);
  });
});

test('a page with one zoom image gets the overlay without arrows', async () => {
  const copy = await copySite(5);
  const site = await serve(copy.dir);
  try {
    await writeFile(path.join(copy.dir, 'eins.html'), withGallery(galleryHtml, zoomFigures(galleryHtml).slice(1, 2)));
    const page = await openGallery(site.url('eins.html'));
    assert.equal(await page.locator('.bild.zoom').count(), 1);
    assert.deepEqual(await page.evaluate(() => ['zLinks', 'zRechts']
      .map((id) => getComputedStyle(document.getElementById(id)).display)), ['none', 'none']);
    await imageAt(page, 0).click();
    assert.equal((await state(page)).open, true);
    assert.equal(await page.locator('#zoom a.zu').isVisible(), true);
    assertFlash(await watchFlash(page, () => page.keyboard.press('ArrowRight')));
    await page.keyboard.press('Escape');
    assert.equal((await state(page)).open, false);
    await page.context().close();
  } finally {
    await site.close();
    await copy.remove();
  }
});

test('pages without zoom images get no overlay and keep the focus on the body', async () => {
  for (const name of ['index.html', 's03.html', 's04.html', 's05.html']) {
    const page = await openGallery(server.url(name));
    assert.deepEqual(await page.evaluate(() => [!!document.getElementById('zoom'), document.activeElement === document.body]),
      [false, true], name);
    await page.context().close();
  }
});

test('the gallery works from the file system too', async () => {
  const page = await openGallery(fileUrl(path.join(siteDir(5), GALLERY)));
  const photo = imageAt(page, 1);
  await photo.scrollIntoViewIfNeeded();
  await page.waitForFunction(() => {
    const img = document.getElementsByClassName('bild zoom')[1];
    return img.complete && img.naturalWidth > 0;
  });
  const full = fileUrl(path.join(siteDir(5), 'media', 'matterhorn.jpg'));
  assert.equal(await photo.evaluate((img) => img.currentSrc), full);
  await photo.click();
  assert.equal((await state(page)).background, `url("${full}")`);
  await page.keyboard.press('Escape');
  await page.context().close();
});

describe('page helpers', () => {
  test('Alert shows a modal dialog; OK and a click beside it close it', async () => {
    const page = await openGallery(server.url('s03.html'));
    const dialog = () => page.evaluate(() => {
      const dlg = document.getElementById('alertDlg');
      return dlg && { open: dlg.open, modal: dlg.matches(':modal'), html: dlg.querySelector('div').innerHTML,
        button: dlg.querySelector('button').textContent };
    });
    await page.click('input[value="Nachricht"]');
    assert.deepEqual(await dialog(), { open: true, modal: true,
      html: 'Rassismus ist dumm und<br>schadet allen Menschen!', button: 'OK' });
    const look = await page.evaluate(() => {
      const dlg = document.getElementById('alertDlg');
      return { width: getComputedStyle(dlg).width, backdrop: getComputedStyle(dlg, '::backdrop').backgroundColor,
        button: getComputedStyle(dlg.querySelector('button')).backgroundColor };
    });
    assert.deepEqual(look, { width: '300px', backdrop: 'rgba(0, 0, 0, 0.5)', button: 'rgb(26, 115, 232)' });
    await page.click('#alertDlg div');
    assert.ok(await dialog(), 'a click on the text leaves it open');
    await page.click('#alertDlg button');
    assert.equal(await dialog(), null);

    await page.evaluate(() => Alert('Zeile 1\r\nZeile 2\nZeile <b>3</b>'));
    assert.equal((await dialog()).html, 'Zeile 1<br><br>Zeile 2<br>Zeile <b>3</b>');
    await page.mouse.click(5, 5);  // on the backdrop
    assert.equal(await dialog(), null);
    await page.context().close();
  });

  test('the image map writes the hovered title into the legend', async () => {
    const page = await openGallery();
    const map = page.locator('figure.map img');
    await map.scrollIntoViewIfNeeded();
    await page.waitForFunction(() => document.querySelector('figure.map img').naturalWidth > 0);
    const legend = () => page.$eval('#legende', (el) => el.textContent);
    // a point inside each area, found by hit testing the image
    const points = await page.evaluate(() => {
      const img = document.querySelector('figure.map img');
      // Pictures above may have loaded and moved it since: hit testing
      // sees only what is in the viewport.
      img.scrollIntoView({ block: 'center' });
      const r = img.getBoundingClientRect();
      const found = new Map();
      for (let x = r.left + 2; x < r.right; x += 4)
        for (let y = r.top + 2; y < r.bottom; y += 4) {
          const el = document.elementFromPoint(x, y);
          if (el?.tagName === 'AREA' && !found.has(el.title)) found.set(el.title, { x, y });
        }
      const free = { x: r.right - 2, y: r.bottom - 2 };
      return { areas: [...found], free, outside: { x: r.right + 40, y: r.top + 5 } };
    });
    const titles = await page.$$eval('figure.map area', (areas) => areas.map((a) => a.title));
    assert.deepEqual(points.areas.map(([title]) => title).sort(), [...titles].sort());
    for (const [title, { x, y }] of points.areas) {
      await page.mouse.move(x, y);
      assert.equal(await legend(), title);
      assert.equal(await page.evaluate(() => document.activeElement.title), title, 'area focused');
    }
    await page.mouse.move(points.free.x, points.free.y);
    assert.equal(await legend(), await map.getAttribute('title'));

    // leaving an area focuses the element three levels above it
    await page.evaluate(() => document.querySelector('main').setAttribute('tabindex', '-1'));
    const [, first] = points.areas[0];
    await page.mouse.move(first.x, first.y);
    await page.mouse.move(points.outside.x, points.outside.y);
    assert.equal(await page.evaluate(() => document.activeElement.tagName), 'MAIN');
    await page.context().close();
  });

  test('zahlCH groups by thousands the Swiss way, with up to ten decimals', async () => {
    const page = await openGallery(server.url('index.html'));
    const [big, many, whole] = await page.evaluate(() => [zahlCH(12345.6789), zahlCH(2.00000000006), zahlCH(-1234567)]);
    assert.match(big, /^12[\u2019']345\.6789$/);
    assert.equal(many, '2.0000000001');
    assert.match(whole, /^[-\u2212]1[\u2019']234[\u2019']567$/);
    await page.context().close();
  });
});
