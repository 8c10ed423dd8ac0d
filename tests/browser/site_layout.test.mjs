// The generated site in Chromium: the three navigation layouts, the
// script-free hamburger menu, print, the map figure on small screens, the
// link-type icons, and a clean load of every generated page.
import assert from 'node:assert/strict';
import { readdir } from 'node:fs/promises';
import { after, afterEach, before, describe, test } from 'node:test';
import {
  assertNoPageErrors, launchBrowser, openPage, screenshot, serve, siteDir,
} from './support/site.mjs';

let browser;
let server;
const errors = [];

before(async () => {
  browser = await launchBrowser();
  server = await serve(siteDir(5));
});
after(async () => {
  await browser?.close();
  await server?.close();
});
afterEach(() => assertNoPageErrors(errors));

async function open(page, viewport, options = {}) {
  return openPage(browser, errors, server.url(page), { viewport, ...options });
}

// Boxes and computed styles of the navigation and the heading.
function measure(page) {
  return page.evaluate(() => {
    const box = (el) => {
      const r = el.getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height, right: r.right, bottom: r.bottom };
    };
    const q = (s) => document.querySelector(s);
    const textBox = (el) => {
      const range = document.createRange();
      range.selectNodeContents(el);
      return range.getBoundingClientRect();
    };
    const style = (s, pseudo) => getComputedStyle(q(s), pseudo);
    return {
      nav: { ...box(q('nav')), position: style('nav').position },
      logo: { ...box(q('nav .logo')), display: style('nav .logo').display,
        glyph: style('nav .logo', '::before').content },
      title: { ...box(q('nav .titleMobile')), display: style('nav .titleMobile').display,
        text: q('nav .titleMobile').textContent, textX: textBox(q('nav .titleMobile')).x },
      icon: { ...box(q('nav .menu-icon')), display: style('nav .menu-icon').display },
      button: { display: style('nav .menu-btn').display },
      menu: { ...box(q('nav .menu')), maxHeight: style('nav .menu').maxHeight },
      items: [...document.querySelectorAll('nav .menu li')].map(box),
      itemPadding: style('nav .menu li a').padding,
      h1: { ...box(q('h1')), display: style('h1').display, fontSize: parseFloat(style('h1').fontSize) },
      main: { ...box(q('main')), fontSize: parseFloat(style('main').fontSize),
        marginTop: style('main').marginTop, paddingLeft: style('main').paddingLeft },
      viewport: { width: innerWidth, height: innerHeight },
    };
  });
}

function assertTopMenu(m) {
  assert.equal(m.nav.height, 40);
  assert.equal(m.nav.width, m.viewport.width);
  for (const part of [m.logo, m.title, m.icon]) assert.equal(part.display, 'none');
  assert.equal(m.menu.maxHeight, 'none');
  // the entries stand side by side in the bar
  assert.ok(m.items.every((item) => item.y === m.items[0].y && item.bottom <= m.nav.bottom));
  for (let i = 1; i < m.items.length; i++) assert.ok(m.items[i].x >= m.items[i - 1].right - 0.5);
  assert.equal(m.itemPadding, '11px 30px');
  assert.equal(m.h1.display, 'block');
  assert.ok(Math.abs(m.h1.fontSize - 1.6 * m.main.fontSize) < 0.1);
  assert.ok(Math.abs(m.main.fontSize - 16 * 1.05) < 0.1);
  assert.equal(m.main.marginTop, '52px');
  assert.ok(m.h1.y >= m.nav.bottom, 'the heading stays below the bar');
}

describe('layout by viewport', () => {
  test('879px wide: narrow bar with logo, page title and hamburger, no h1', async () => {
    const page = await open('s03.html', { width: 879, height: 800 });
    const m = await measure(page);
    assert.equal(m.nav.position, 'fixed');
    assert.deepEqual([m.nav.y, m.nav.height, m.nav.width], [0, 60, 879]);
    assert.equal(m.logo.display, 'block');
    assert.equal(m.logo.x, 0);
    assert.equal(m.logo.glyph, '"\u{1f3e0}\ufe0e"');
    assert.equal(m.title.display, 'block');
    assert.equal(m.title.text, 'Seite 3');
    assert.ok(m.title.textX >= m.logo.right, 'title beside the logo');
    assert.ok(m.title.textX < m.icon.x, 'title left of the hamburger');
    assert.notEqual(m.icon.display, 'none');
    assert.ok(m.icon.width > 0);
    assert.ok(Math.abs(m.icon.right - 879) < 1, 'hamburger at the right edge');
    assert.ok(m.icon.bottom <= 60 && m.logo.bottom <= 60);
    assert.equal(m.button.display, 'none');
    assert.equal(m.menu.height, 0, 'menu closed');
    assert.equal(m.h1.display, 'none');
    assert.equal(m.main.marginTop, '68px');
    assert.ok(m.main.y >= m.nav.bottom);
    assert.equal(await page.evaluate(() => getComputedStyle(document.querySelector('div.spalten')).columnCount), '1');
    await screenshot(page, 'layout-narrow-879.png');
    await page.context().close();
  });

  test('880px (55em) wide: horizontal top menu, h1 shown, two columns', async () => {
    const page = await open('s03.html', { width: 880, height: 800 });
    const m = await measure(page);
    assertTopMenu(m);
    assert.equal(m.items[0].x, 0, 'first entry at the left edge, logo hidden');
    assert.equal(await page.evaluate(() => getComputedStyle(document.querySelector('div.spalten')).columnCount), '2');
    await screenshot(page, 'layout-top-880.png');
    await page.context().close();
  });

  test('1024px landscape: side menu at the left; 1023px: still the top menu', async () => {
    const page = await open('s03.html', { width: 1024, height: 768 });
    const m = await measure(page);
    assert.deepEqual([m.nav.x, m.nav.y, m.nav.width, m.nav.height], [0, 0, 220, 768]);
    for (const part of [m.logo, m.title, m.icon]) assert.equal(part.display, 'none');
    m.items.forEach((item, i) => {
      assert.equal(item.x, 0);
      assert.equal(item.width, 220);
      if (i > 0) assert.ok(item.y >= m.items[i - 1].bottom - 0.5, 'entries stacked');
    });
    assert.equal(m.itemPadding, '18px 30px');
    assert.equal(m.main.marginTop, '0px');
    assert.equal(m.main.paddingLeft, '236px');
    assert.equal(m.h1.display, 'block');
    assert.ok(m.h1.x >= 220, 'content clear of the side menu');
    assert.equal(await page.evaluate(() => getComputedStyle(document.querySelector('div.spalten')).columnCount), '3');
    await screenshot(page, 'layout-side-1024.png');

    await page.setViewportSize({ width: 1023, height: 768 });
    assertTopMenu(await measure(page));
    await page.context().close();
  });

  test('1024px portrait keeps the top menu', async () => {
    const page = await open('s03.html', { width: 1024, height: 1366 });
    assertTopMenu(await measure(page));
    await page.context().close();
  });

  test('audio and video widths follow the layout', async () => {
    const page = await open('s04.html', { width: 600, height: 800 });
    const widths = () => page.evaluate(() =>
      ['audio', 'video'].map((s) => document.querySelector(s).getBoundingClientRect().width));
    assert.deepEqual(await widths(), [300, 300]);
    await page.setViewportSize({ width: 900, height: 800 });
    assert.deepEqual(await widths(), [420, 420]);
    await page.setViewportSize({ width: 1280, height: 800 });
    assert.deepEqual(await widths(), [420, 420]);
    await page.context().close();
  });
});

describe('hamburger menu without script', () => {
  async function menuState(page) {
    // wait until the 0.2 s and 0.3 s transitions have settled, polled from
    // here: waitForFunction needs the page's script, which is off here
    for (let tries = 0; await page.evaluate(() => document.getAnimations().length) > 0; tries++) {
      assert.ok(tries < 100, 'transitions end');
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
    return page.evaluate(() => {
      const icon = document.querySelector('nav .navicon');
      const turn = (pseudo) => {
        const t = getComputedStyle(icon, pseudo).transform;
        if (t === 'none') return 0;
        const [a, b] = t.match(/-?[\d.e-]+/g).map(Number);
        return Math.round(Math.atan2(b, a) * 180 / Math.PI);
      };
      const menu = document.querySelector('nav .menu');
      return {
        checked: document.getElementById('menu-btn').checked,
        height: menu.getBoundingClientRect().height,
        fullHeight: menu.scrollHeight,
        maxHeight: getComputedStyle(menu).maxHeight,
        bar: getComputedStyle(icon).backgroundColor,
        before: { top: getComputedStyle(icon, '::before').top, turn: turn('::before') },
        after: { top: getComputedStyle(icon, '::after').top, turn: turn('::after') },
      };
    });
  }

  for (const count of [5, 20]) {
    test(`a click on the icon opens and closes the menu (${count} entries)`, async () => {
      const site = await serve(siteDir(count));
      const page = await openPage(browser, errors, site.url('s02.html'),
        { viewport: { width: 400, height: 800 }, javaScriptEnabled: false });
      const closed = await menuState(page);
      assert.equal(closed.checked, false);
      assert.equal(closed.height, 0);
      assert.equal(closed.bar, 'rgb(51, 51, 51)');
      assert.deepEqual([closed.before, closed.after], [{ top: '5px', turn: 0 }, { top: '-5px', turn: 0 }]);

      await page.click('nav .menu-icon');
      const open = await menuState(page);
      assert.equal(open.checked, true);
      assert.equal(open.maxHeight, '240px');
      assert.equal(open.height, Math.min(open.fullHeight, 240));
      if (count === 20) assert.ok(open.fullHeight > 240, 'long menus are cut off at 240px');
      assert.equal(open.bar, 'rgba(0, 0, 0, 0)');
      assert.deepEqual([open.before, open.after], [{ top: '0px', turn: -45 }, { top: '0px', turn: 45 }]);
      // the first entry shows below the bar and leads to the first page
      const first = await page.locator('nav .menu li a').first().boundingBox();
      assert.ok(first.y >= 60 && first.height > 0);
      if (count === 5) await screenshot(page, 'layout-narrow-menu-open.png');

      await page.click('nav .menu-icon');
      const again = await menuState(page);
      assert.equal(again.checked, false);
      assert.equal(again.height, 0);
      assert.deepEqual([again.before.turn, again.after.turn], [0, 0]);
      await page.context().close();
      await site.close();
    });
  }

  test('the active entry keeps its green text when hovered or focused', async () => {
    for (const width of [400, 900]) {
      const page = await open('s02.html', { width, height: 800 });
      if (width === 400) await page.click('nav .menu-icon');
      await page.waitForFunction(() => document.getAnimations().length === 0);
      const color = (s) => page.$eval(s, (el) => getComputedStyle(el).color);
      const active = 'nav li.aktiv a';
      const other = 'nav li:not(.aktiv) a';
      assert.equal(await color(active), 'rgb(0, 170, 0)');
      assert.equal(await color(other), 'rgb(0, 0, 0)');
      await page.hover(other);
      assert.equal(await color(other), 'rgb(0, 119, 0)', 'hover colour of ordinary entries');
      await page.hover(active);
      assert.equal(await color(active), 'rgb(0, 170, 0)');
      await page.focus(active);
      assert.equal(await color(active), 'rgb(0, 170, 0)');
      await page.context().close();
    }
  });
});

test('print hides the navigation and shows the heading on an A4 body', async () => {
  for (const viewport of [{ width: 400, height: 800 }, { width: 1280, height: 800 }]) {
    const page = await open('index.html', viewport);
    await page.emulateMedia({ media: 'print' });
    const seen = await page.evaluate(() => ({
      nav: getComputedStyle(document.querySelector('nav')).display,
      h1: getComputedStyle(document.querySelector('h1')).display,
      body: document.body.getBoundingClientRect().width,
    }));
    assert.equal(seen.nav, 'none');
    assert.equal(seen.h1, 'block');
    assert.ok(Math.abs(seen.body - 210 * 96 / 25.4) < 1, `body ${seen.body}px wide`);
    await page.context().close();
  }
});

test('the map figure scrolls on narrow portrait screens instead of shrinking', async () => {
  const page = await open('s02.html', { width: 400, height: 800 });
  await page.waitForFunction(() => document.querySelector('figure.map img').complete);
  const narrow = await page.$eval('figure.map', (el) => ({
    display: getComputedStyle(el).display,
    overflow: getComputedStyle(el).overflowX,
    scrolls: el.scrollWidth > el.clientWidth,
    image: el.querySelector('img').getBoundingClientRect().width,
    natural: el.querySelector('img').naturalWidth,
  }));
  assert.equal(narrow.display, 'block');
  assert.equal(narrow.overflow, 'auto');
  assert.ok(narrow.natural > 400, 'the map is wider than the screen');
  assert.equal(narrow.image, narrow.natural, 'image keeps its size');
  assert.ok(narrow.scrolls);
  await page.setViewportSize({ width: 800, height: 400 });
  assert.equal(await page.$eval('figure.map', (el) => getComputedStyle(el).overflowX), 'visible');
  await page.context().close();
});

test('touch screens get larger form controls and hide .nomobile', async () => {
  const page = await open('s04.html', { width: 400, height: 800 }, { hasTouch: true, isMobile: true });
  assert.equal(await page.evaluate(() => matchMedia('(pointer: coarse)').matches), true);
  const seen = await page.evaluate(() => {
    const hidden = document.createElement('p');
    hidden.className = 'nomobile';
    hidden.style.display = 'block';
    document.querySelector('main').append(hidden);
    return {
      input: getComputedStyle(document.querySelector('input[type=password]')).fontSize,
      hidden: getComputedStyle(hidden).display,
    };
  });
  assert.deepEqual(seen, { input: '20px', hidden: 'none' });
  await page.context().close();
});

describe('link-type icons', () => {
  // Draws a data-URI SVG on a canvas and counts the pixels of each hue.
  function iconColours(page, selector, pseudo) {
    return page.$eval(selector, async (el, pseudo) => {
      const image = getComputedStyle(el, pseudo).backgroundImage;
      const uri = image.match(/^url\("(.*)"\)$/)[1];
      const img = new Image();
      img.src = uri;
      await img.decode();
      const canvas = document.createElement('canvas');
      canvas.width = canvas.height = 64;
      const g = canvas.getContext('2d');
      g.drawImage(img, 0, 0, 64, 64);
      const data = g.getImageData(0, 0, 64, 64).data;
      const count = { red: 0, green: 0, blue: 0, yellow: 0, grey: 0, black: 0, white: 0 };
      for (let i = 0; i < data.length; i += 4) {
        const [r, gr, b, a] = data.slice(i, i + 4);
        if (a < 200) continue;
        const max = Math.max(r, gr, b), min = Math.min(r, gr, b);
        if (max < 60) count.black++;
        else if (max - min < 30) count[min > 235 ? 'white' : 'grey']++;
        else if (r > 180 && gr > 150 && b < 90) count.yellow++;
        else if (r === max && gr < 120) count.red++;
        else if (gr === max) count.green++;
        else if (b === max) count.blue++;
      }
      const viewBox = decodeURIComponent(uri).match(/viewBox='([^']*)'/)[1];
      return { count, viewBox, type: uri.slice(0, uri.indexOf(',')) };
    }, pseudo);
  }

  const LINKS = [
    { href: 'dummy.pdf', icon: 'adobepdf' }, { href: 'ANLEITUNG.PDF', icon: 'adobepdf' },
    { href: 'dummy.docx', icon: 'msword' }, { href: 'brief.Doc', icon: 'msword' }, { href: 'a.rtf', icon: 'msword' },
    { href: 'dummy.xlsx', icon: 'msexcel' }, { href: 'liste.CSV', icon: 'msexcel' }, { href: 'a.xls', icon: 'msexcel' },
    { href: 'dummy.zip', icon: 'zipicon' }, { href: 'a.7z', icon: 'zipicon' }, { href: 'a.RAR', icon: 'zipicon' },
    ...['odt', 'ods', 'odp', 'odf', 'odg', 'ODB'].map((ext) => ({ href: `dummy.${ext}`, icon: 'libreoffice' })),
    { href: 'mailto:someone@example.org', icon: 'mailto', pseudo: '::before' },
    { href: 'MAILTO:someone@example.org', icon: 'mailto', pseudo: '::before' },
  ];
  const GLYPHS = [
    { href: 'dummy.mp3', content: '"\u25b6\ufe0f"' }, { href: 'Lied.Mp3', content: '"\u25b6\ufe0f"' },
    { href: 'a.m4a', content: '"\u25b6\ufe0f"' }, { href: 'dummy.mp4', content: '"\u{1f3ac}\ufe0e"' },
    { href: 'FILM.MP4', content: '"\u{1f3ac}\ufe0e"' },
  ];

  let page;
  before(async () => {
    page = await open('index.html', { width: 1280, height: 800 });
    await page.evaluate(([links, glyphs, classes]) => {
      const box = document.createElement('div');
      box.id = 'testlinks';
      for (const { href } of [...links, ...glyphs, { href: 'seite.html' }, { href: 'pdf.html' }]) {
        const a = document.createElement('a');
        a.href = href;
        a.textContent = href;
        box.append(a, document.createElement('br'));
      }
      for (const name of [...classes, 'audioicon', 'videoicon']) {
        const span = document.createElement('span');
        span.className = name;
        box.append(span);
      }
      document.querySelector('main').prepend(box);
    }, [LINKS, GLYPHS, [...new Set(LINKS.map((l) => l.icon))]]);
  });
  after(() => page.context().close());

  const pseudoStyle = (selector, pseudo) => page.$eval(selector, (el, pseudo) => {
    const s = getComputedStyle(el, pseudo);
    return { content: s.content, image: s.backgroundImage, display: s.display, align: s.verticalAlign };
  }, pseudo);

  test('links get the icon of their file type, whatever the case of the extension', async () => {
    for (const { href, icon, pseudo = '::after' } of LINKS) {
      const link = await pseudoStyle(`#testlinks a[href="${href}"]`, pseudo);
      const cls = await pseudoStyle(`#testlinks span.${icon}`);
      assert.equal(link.content, '"\u00a0"', href);
      assert.match(link.image, /^url\("data:image\/svg\+xml,/, href);
      assert.equal(link.image, cls.image, `${href} shows the ${icon} icon`);
      assert.ok(await page.$eval(`#testlinks span.${icon}`, (el) => el.getBoundingClientRect().width > 0), icon);
      assert.deepEqual([link.display, link.align], ['inline-block', 'text-bottom'], href);
      const other = await pseudoStyle(`#testlinks a[href="${href}"]`, pseudo === '::after' ? '::before' : '::after');
      assert.equal(other.content, 'none', `${href}: one marker only`);
    }
    for (const { href, content } of GLYPHS) {
      const link = await pseudoStyle(`#testlinks a[href="${href}"]`, '::after');
      assert.equal(link.content, content, href);
      assert.deepEqual([link.display, link.align], ['inline-block', 'text-bottom'], href);
    }
    assert.equal(await page.$eval('#testlinks a[href="dummy.mp4"]', (el) => getComputedStyle(el, '::after').color),
      'rgb(0, 85, 255)');
    // the classes give any element the same marker
    for (const [name, href] of [['audioicon', 'dummy.mp3'], ['videoicon', 'dummy.mp4']]) {
      const cls = await pseudoStyle(`#testlinks span.${name}`, '::after');
      assert.equal(cls.content, (await pseudoStyle(`#testlinks a[href="${href}"]`, '::after')).content, name);
      assert.ok(await page.$eval(`#testlinks span.${name}`, (el) => el.getBoundingClientRect().width > 0), name);
    }
    for (const href of ['seite.html', 'pdf.html']) {
      const link = await pseudoStyle(`#testlinks a[href="${href}"]`, '::after');
      assert.equal(link.content, 'none', `${href} has no icon`);
    }
  });

  test('the sample document links of the page carry icons', async () => {
    for (const href of ['dummy.pdf', 'dummy.zip', 'dummy.odt', 'dummy.docx', 'dummy.xlsx']) {
      const link = await pseudoStyle(`main > details a[href="${href}"], main > a[href="${href}"]`, '::after');
      assert.match(link.image, /^url\("data:image\/svg\+xml,/, href);
    }
  });

  test('the six icons are SVG drawings in the stated colours and view boxes', async () => {
    const look = {};
    for (const icon of ['msword', 'msexcel', 'libreoffice', 'zipicon', 'adobepdf', 'mailto'])
      look[icon] = await iconColours(page, `#testlinks span.${icon}`);
    for (const { type } of Object.values(look)) assert.equal(type, 'data:image/svg+xml');
    assert.deepEqual(Object.fromEntries(Object.entries(look).map(([k, v]) => [k, v.viewBox])), {
      msword: '0 0 48 48', msexcel: '0 0 48 48', libreoffice: '0 0 64 64',
      zipicon: '0 0 64 64', adobepdf: '0 0 64 64', mailto: '0 0 32 32',
    });
    const c = (icon) => look[icon].count;
    const area = 64 * 64;
    assert.ok(c('msword').blue > area / 3 && c('msword').white > 40 && c('msword').green < 40);
    assert.ok(c('msexcel').green > area / 3 && c('msexcel').white > 40 && c('msexcel').blue < 40);
    assert.ok(c('libreoffice').grey + c('libreoffice').white > area / 2 && c('libreoffice').red + c('libreoffice').blue < 20);
    assert.ok(c('zipicon').yellow > area / 3 && c('zipicon').black > area / 20);
    assert.ok(c('adobepdf').red > area / 10 && c('adobepdf').grey + c('adobepdf').white > area / 4
      && c('adobepdf').black > 40);
    assert.ok(c('mailto').yellow > area / 4 && c('mailto').black > 40);
    await page.$eval('#testlinks', (el) => el.scrollIntoView());
    await screenshot(page, 'link-icons.png');
  });
});

test('every generated page loads without script errors and with its stylesheet', async () => {
  for (const count of [1, 2, 3, 5, 20]) {
    const site = await serve(siteDir(count));
    const pages = (await readdir(siteDir(count))).filter((name) => name.endsWith('.html'));
    assert.equal(pages.length, count);
    const page = await openPage(browser, errors, null, { viewport: { width: 1024, height: 768 } });
    for (const name of pages) {
      await page.goto(site.url(name), { waitUntil: 'load' });
      assert.equal(await page.$eval('nav', (el) => getComputedStyle(el).position), 'fixed', name);
      assert.equal(await page.evaluate(() => typeof Alert), 'function', name);
    }
    await page.context().close();
    await site.close();
  }
});
