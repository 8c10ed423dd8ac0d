// Checks, before any layout test runs, that Chromium lays the pages out in
// the fonts the tests measure with, and names the missing package if not.
//   node check-fonts.mjs [Family=package ...]
// Arguments replace the expected families (to see the check fail).
import { LAYOUT_FONTS, fontProblems } from './support/fonts.mjs';
import { launchBrowser } from './support/browser.mjs';

const expected = process.argv.length > 2
  ? process.argv.slice(2).map((pair) => {
    const [family, pkg] = pair.split('=');
    return { ...LAYOUT_FONTS[0], family, package: pkg ?? '(unknown)' };
  })
  : LAYOUT_FONTS;

const browser = await launchBrowser({ checkFonts: false });
try {
  const problems = await fontProblems(browser, expected);
  for (const problem of problems) console.error(problem);
  if (problems.length === 0) console.log(`fonts: ${expected.map((f) => f.family).join(', ')}`);
  process.exitCode = problems.length === 0 ? 0 : 1;
} finally {
  await browser.close();
}
