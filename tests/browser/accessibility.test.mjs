// Our own pages meet the accessibility checks we ask of the learners' pages:
// the site check's report of the default site ("Website prüfen...") and the
// release's manual, each run through axe-core in Chromium with the rules of
// WCAG 2.0 and 2.1, levels A and AA, and axe's best practices (one main
// landmark, all content inside landmarks, headings in order ...). Any
// violation fails, named with the elements it was found on.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { fileUrl, launchBrowser, SITES } from './support/site.mjs';

const AXE = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const RULES = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice'];
const PAGES = {
  'the site check\'s report': path.join(SITES, 'report', '_Pruefbericht.html'),
  'the manual': fileURLToPath(new URL('../../manual/Anleitung.html', import.meta.url)),
};

let browser;
before(async () => {
  browser = await launchBrowser({ checkFonts: false });
});
after(() => browser?.close());

// The violations axe finds in `file`, one line each with where.
async function violations(file) {
  const page = await browser.newPage();
  try {
    await page.goto(fileUrl(file));
    await page.addScriptTag({ path: AXE });
    const found = await page.evaluate(async (tags) => {
      const results = await window.axe.run(document, { runOnly: { type: 'tag', values: tags } });
      return results.violations.map((v) => `${v.id}: ${v.help} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`);
    }, RULES);
    return found;
  } finally {
    await page.close();
  }
}

for (const [name, file] of Object.entries(PAGES)) {
  test(`${name} has no accessibility violation`, async () => {
    assert.deepEqual(await violations(file), []);
  });
}
