// Every page of every generated site passes the Nu Html Checker without an
// error, and the release's manual without an error or a warning. The
// checker is slow to start, so one run checks all pages; warnings of the
// generated pages are listed but do not fail the test.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { access, mkdir, readFile, readdir, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import path from 'node:path';
import { before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { localReferences } from '../../manual/references.mjs';

const SITES = process.env.TRELLAN_SITES && path.resolve(process.env.TRELLAN_SITES);
const ARTIFACTS = process.env.TRELLAN_ARTIFACTS;
const VNU_JAR = createRequire(import.meta.url)('vnu-jar');
const MENU_LENGTHS = [1, 2, 3, 5, 20];
const MANUAL_DIR = fileURLToPath(new URL('../../manual/', import.meta.url));
const MANUAL = path.join(MANUAL_DIR, 'Anleitung.html');
// The manual's pictures are made for the release (scripts/manual-pictures.sh)
// and listed here.
const PICTURES_DIR = 'Anleitung-Bilder/';
const PICTURES_LIST = path.join(MANUAL_DIR, 'pictures.txt');

// Runs the checker over `files` and returns its messages. It exits with 1
// when it found errors; anything else without a JSON report is a failure.
function checkHtml(files) {
  return new Promise((resolve, reject) => {
    execFile('java', ['-jar', VNU_JAR, '--format', 'json', ...files],
      { maxBuffer: 64 * 1024 * 1024 }, (error, stdout, stderr) => {
        try {
          resolve(JSON.parse(stderr).messages);
        } catch {
          reject(new Error(`vnu gave no report (${error?.message ?? 'exit 0'}):\n${stderr}`));
        }
      });
  });
}

function describeMessage(m) {
  const where = m.url ? `${path.relative(SITES, new URL(m.url).pathname)}:${m.lastLine ?? '?'}` : '(no file)';
  const extract = m.extract ? `\n    ${m.extract.replaceAll('\n', '↵')}` : '';
  return `${where}: ${m.type}${m.subType ? `/${m.subType}` : ''}: ${m.message}${extract}`;
}

describe('HTML validity of the generated pages', () => {
  assert.ok(SITES, 'TRELLAN_SITES must name the folder of the generated sites');
  const pages = new Map();  // menu length -> page paths
  let messages = [];

  before(async () => {
    for (const count of MENU_LENGTHS) {
      const dir = path.join(SITES, `n${count}`);
      const names = (await readdir(dir)).filter((name) => name.endsWith('.html')).sort();
      pages.set(count, names.map((name) => path.join(dir, name)));
    }
    messages = await checkHtml([...pages.values()].flat().concat(MANUAL));
    if (ARTIFACTS) {
      await mkdir(ARTIFACTS, { recursive: true });
      await writeFile(path.join(ARTIFACTS, 'vnu.json'), JSON.stringify(messages, null, 1));
    }
  });

  test('every site has one page per menu entry', () => {
    for (const count of MENU_LENGTHS) {
      const expected = ['index.html'];
      for (let i = 2; i <= count; ++i) expected.push(`s${String(i).padStart(2, '0')}.html`);
      assert.deepEqual(pages.get(count).map((file) => path.basename(file)), expected, `n${count}`);
    }
  });

  for (const count of MENU_LENGTHS) {
    test(`the ${count}-page site has no HTML errors`, (t) => {
      const files = new Set(pages.get(count));
      const own = messages.filter((m) => m.url && files.has(new URL(m.url).pathname));
      const errors = own.filter((m) => m.type === 'error');
      const warnings = own.filter((m) => m.type === 'info' && m.subType === 'warning');
      t.diagnostic(`${files.size} pages, ${errors.length} errors, ${warnings.length} warnings`);
      for (const w of warnings) t.diagnostic(describeMessage(w));
      assert.equal(errors.length, 0, errors.map(describeMessage).join('\n'));
    });
  }

  test('the manual has no HTML errors and no warnings', () => {
    const own = messages.filter((m) => m.url && new URL(m.url).pathname === MANUAL);
    assert.deepEqual(own.map(describeMessage), []);
  });

  test('the checker reported nothing outside the pages', () => {
    const stray = messages.filter((m) => m.type === 'non-document-error' || !m.url);
    assert.equal(stray.length, 0, stray.map(describeMessage).join('\n'));
  });
});

describe('the manual\'s links and pictures', () => {
  test('every #link has its target, every file it names exists or is a listed picture', async () => {
    const html = await readFile(MANUAL, 'utf8');
    const { files, fragments } = localReferences(html);
    const ids = new Set([...html.matchAll(/\sid="([^"]+)"/g)].map((m) => m[1]));
    assert.deepEqual(fragments.filter((id) => !ids.has(id)), [], 'links to missing ids');

    const listed = (await readFile(PICTURES_LIST, 'utf8')).split('\n')
      .filter((line) => line && !line.startsWith('#')).map((line) => line.split(' ')[0]);
    const pictures = files.filter((file) => file.startsWith(PICTURES_DIR));
    assert.deepEqual(pictures.map((file) => file.slice(PICTURES_DIR.length)), [...listed].sort(),
      'the pictures the manual shows are exactly those manual/pictures.txt lists');
    const missing = [];
    for (const file of files.filter((f) => !f.startsWith(PICTURES_DIR))) {
      await access(path.join(MANUAL_DIR, file)).catch(() => missing.push(file));
    }
    assert.deepEqual(missing, [], 'files the manual names that are not there');
  });
});
