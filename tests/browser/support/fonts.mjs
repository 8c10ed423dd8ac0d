// The fonts the layout tests measure with. A Windows PC lays the pages out
// in Arial, and the menu is sized for Arial's metrics: on Linux, Liberation
// Sans has the same metrics. Chromium's default sans-serif resolves to it
// through fontconfig only when it is installed; otherwise it picks a wider
// font and the menu wraps. The globe of the last menu entry needs a colour
// emoji font, else it is drawn as a box of another width.
import assert from 'node:assert/strict';

export const LAYOUT_FONTS = [
  { what: 'sans-serif text', css: 'sans-serif', text: 'Links & Media', family: 'Liberation Sans',
    package: 'fonts-liberation' },
  { what: 'the globe emoji', css: 'sans-serif', text: '\u{1f310}', family: 'Noto Color Emoji',
    package: 'fonts-noto-color-emoji' },
];

// The family Chromium really draws `text` in, set in `css`, as its
// renderer reports it.
async function renderedFamily(page, css, text) {
  await page.setContent('<!DOCTYPE html><p id="probe"></p>');
  await page.$eval('#probe', async (p, [family, sample]) => {
    p.style.fontFamily = family;
    p.textContent = sample;
    p.getBoundingClientRect();  // lays the text out
    await document.fonts.ready;
  }, [css, text]);
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('DOM.enable');
  await cdp.send('CSS.enable');
  const { root } = await cdp.send('DOM.getDocument');
  const { nodeId } = await cdp.send('DOM.querySelector', { nodeId: root.nodeId, selector: '#probe' });
  const { fonts } = await cdp.send('CSS.getPlatformFontsForNode', { nodeId });
  await cdp.detach();
  return fonts.map((font) => font.familyName).join(', ') || '(none)';
}

// One message per font that Chromium does not resolve as expected, naming
// the Debian package that brings it; empty when all are right.
export async function fontProblems(browser, expected = LAYOUT_FONTS) {
  const page = await browser.newPage();
  try {
    const problems = [];
    for (const font of expected) {
      const used = await renderedFamily(page, font.css, font.text);
      if (used !== font.family) {
        problems.push(`Chromium draws ${font.what} in ${used}, not in ${font.family}, which the ` +
          `layout tests measure with: install the Debian package ${font.package} ` +
          '(scripts/install-deps.sh test does).');
      }
    }
    return problems;
  } finally {
    await page.close();
  }
}

export async function assertLayoutFonts(browser) {
  const problems = await fontProblems(browser);
  assert.ok(problems.length === 0, problems.join('\n'));
}
