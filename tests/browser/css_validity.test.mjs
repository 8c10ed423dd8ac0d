// The generated style.css through the Nu Html Checker's CSS mode.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { siteDir } from './support/site.mjs';

const VNU = fileURLToPath(new URL('node_modules/vnu-jar/build/dist/vnu.jar', import.meta.url));

// Errors that the stylesheet's own declarations cause and that stay
// because the pages depend on them. The checker accepts every declaration
// of the file as it is (vendor-prefixed properties such as -moz-user-select
// and -ms-hyphens are skipped, the case flag `i` of the link selectors is
// understood), so the list is empty: any error is a fault of the file.
const ACCEPTED = [];

// Runs the checker on `files`; returns its messages grouped by file name.
async function check(files) {
  let output;
  try {
    output = await promisify(execFile)('java', ['-jar', VNU, '--css', '--format', 'json', ...files],
      { maxBuffer: 16 << 20 });
  } catch (failure) {
    if (failure.stderr === undefined) throw failure;
    output = failure;  // the checker exits with 1 when it found errors
  }
  const { messages } = JSON.parse(output.stderr || output.stdout);
  const byFile = new Map(files.map((file) => [path.basename(file), []]));
  for (const m of messages) byFile.get(path.basename(new URL(m.url).pathname))?.push(m);
  return byFile;
}

test('style.css passes the CSS checker', { timeout: 180_000 }, async () => {
  const css = path.join(siteDir(5), 'style.css');
  // a copy with one broken declaration shows that the checker looks at all
  const scratch = await mkdtemp(path.join(tmpdir(), 'trellan-css-'));
  const broken = path.join(scratch, 'broken.css');
  const text = await readFile(css, 'latin1');
  await writeFile(broken, text.replace('max-height: 240px;', 'max-height: 240 px;'), 'latin1');
  try {
    const found = await check([css, broken]);
    const errors = found.get('style.css')
      .filter((m) => m.type === 'error' || m.type === 'non-document-error')
      .map((m) => `line ${m.lastLine}: ${m.message}`);
    assert.deepEqual(errors.filter((e) => !ACCEPTED.some((accepted) => e.includes(accepted))), []);
    for (const accepted of ACCEPTED) assert.ok(errors.some((e) => e.includes(accepted)), `still needed: ${accepted}`);
    assert.ok(found.get('broken.css').some((m) => m.type === 'error' && /max-height/.test(m.message)),
      'the checker reports a broken declaration');
  } finally {
    await rm(scratch, { recursive: true, force: true });
  }
});

test('every site gets the same stylesheet', async () => {
  const first = await readFile(path.join(siteDir(5), 'style.css'));
  for (const count of [1, 2, 3, 20])
    assert.ok(first.equals(await readFile(path.join(siteDir(count), 'style.css'))), `site n${count}`);
});
