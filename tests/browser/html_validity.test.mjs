// Every page of every generated site through the Nu Html Checker. The one
// kind of error allowed is the skipped heading level that the sample blocks
// make on purpose: they show the heading sizes and name them ("Spalten-Satz
// H4", "Titelschrift H2"), so a block that opens with an h3 or h4 follows
// the page's h1 directly. Those errors are accepted exactly there (page and
// line); any other error or warning fails. The checker is slow to start, so
// one run checks all pages, together with planted faults that show the
// test still catches what it must, and the release's manual and the site
// check's report of the default site ("Website prüfen..."), which must have
// no error and no warning at all.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { access, mkdir, mkdtemp, readFile, readdir, rm, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { localReferences } from '../../manual/references.mjs';

const SITES = process.env.TRELLAN_SITES && path.resolve(process.env.TRELLAN_SITES);
const ARTIFACTS = process.env.TRELLAN_ARTIFACTS;
const VNU_JAR = createRequire(import.meta.url)('vnu-jar');
const BLOCKS = new URL('../../generator/templates/blocks/', import.meta.url);
const MENU_LENGTHS = [1, 2, 3, 5, 20];
const MANUAL_DIR = fileURLToPath(new URL('../../manual/', import.meta.url));
const MANUAL = path.join(MANUAL_DIR, 'Anleitung.html');
// The manual's pictures are made for the release (scripts/manual-pictures.sh)
// and listed here.
const PICTURES_DIR = 'Anleitung-Bilder/';
const PICTURES_LIST = path.join(MANUAL_DIR, 'pictures.txt');
const REPORT = SITES && path.join(SITES, 'report', '_Pruefbericht.html');
const HEADING = /^<h([1-6])[\s>]/;
const SKIP = /skipping (\d+) heading levels?\.$/;

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

// The first lines of the blocks that open with a heading below h2.
async function skippingBlockHeadings() {
  const openings = new Set();
  for (const name of await readdir(BLOCKS)) {
    const first = (await readFile(new URL(name, BLOCKS), 'utf8')).split('\n')[0];
    const level = HEADING.exec(first)?.[1];
    if (level >= 3) openings.add(first);
  }
  return openings;
}

// Where the checker may report a skipped level in `file`: the line of a
// block-opening heading that directly follows the page heading, with the
// number of levels it skips.
async function acceptedSkips(file, openings) {
  const lines = (await readFile(file, 'utf8')).split('\r\n');
  const h1 = lines.findIndex((line) => line.startsWith('<h1>'));
  const next = lines.findIndex((line, i) => i > h1 && HEADING.test(line));
  if (h1 < 0 || next < 0 || !openings.has(lines[next])) return [];
  return [{ line: next + 1, skipped: Number(HEADING.exec(lines[next])[1]) - 2 }];
}

const fileOf = (m) => (m.url ? new URL(m.url).pathname : '');

function describeMessage(m) {
  const where = m.url ? `${path.relative(SITES, fileOf(m))}:${m.lastLine ?? '?'}` : '(no file)';
  const extract = m.extract ? `\n    ${m.extract.replaceAll('\n', '↵')}` : '';
  return `${where}: ${m.type}${m.subType ? `/${m.subType}` : ''}: ${m.message}${extract}`;
}

// The messages about `files` that the rule above does not accept.
function unacceptedMessages(messages, files, accepted) {
  return messages.filter((m) => files.has(fileOf(m))).filter((m) => {
    if (m.type === 'info' && m.subType !== 'warning') return false;
    const skipped = m.type === 'error' && SKIP.exec(m.message)?.[1];
    return !(skipped && (accepted.get(fileOf(m)) ?? []).some(
      (place) => place.line === m.lastLine && place.skipped === Number(skipped)));
  });
}

describe('HTML validity of the generated pages', () => {
  assert.ok(SITES, 'TRELLAN_SITES must name the folder of the generated sites');
  const pages = new Map();     // menu length -> page paths
  const accepted = new Map();  // page path -> accepted skips
  const planted = {};          // fault -> copy of a page holding it
  let scratch;
  let messages = [];

  before(async () => {
    const openings = await skippingBlockHeadings();
    for (const count of MENU_LENGTHS) {
      const dir = path.join(SITES, `n${count}`);
      const names = (await readdir(dir)).filter((name) => name.endsWith('.html')).sort();
      pages.set(count, names.map((name) => path.join(dir, name)));
    }
    for (const file of [...pages.values()].flat()) accepted.set(file, await acceptedSkips(file, openings));

    // The third page has a skip of its own; the copies add one fault each.
    scratch = await mkdtemp(path.join(tmpdir(), 'trellan-vnu-'));
    const page = path.join(SITES, 'n5', 's03.html');
    const text = await readFile(page, 'utf8');
    const faults = {
      'a skipped level inside a block': ['<h3>Unicode-Dingbats</h3>', '<h5>Unicode-Dingbats</h5>'],
      'an image without alt': ['<h1>', '<img src="media/avatar.svg"><h1>'],
    };
    for (const [fault, [from, to]] of Object.entries(faults)) {
      assert.ok(text.includes(from), `s03.html holds ${from}`);
      planted[fault] = path.join(scratch, `${Object.keys(planted).length}.html`);
      await writeFile(planted[fault], text.replace(from, to));
      accepted.set(planted[fault], accepted.get(page));
    }

    messages = await checkHtml([...accepted.keys(), MANUAL, REPORT]);
    if (ARTIFACTS) {
      await mkdir(ARTIFACTS, { recursive: true });
      await writeFile(path.join(ARTIFACTS, 'vnu.json'), JSON.stringify(messages, null, 1));
    }
  });
  after(() => scratch && rm(scratch, { recursive: true, force: true }));

  test('every site has one page per menu entry', () => {
    for (const count of MENU_LENGTHS) {
      const expected = ['index.html'];
      for (let i = 2; i <= count; ++i) expected.push(`s${String(i).padStart(2, '0')}.html`);
      assert.deepEqual(pages.get(count).map((file) => path.basename(file)), expected, `n${count}`);
    }
  });

  test('the default site skips heading levels on its first four pages only', () => {
    const where = pages.get(5).map((file) => accepted.get(file).map((p) => path.basename(file)))
      .flat();
    assert.deepEqual(where, ['index.html', 's02.html', 's03.html', 's04.html']);
  });

  for (const count of MENU_LENGTHS) {
    test(`the ${count}-page site has no other errors and no warnings`, (t) => {
      const files = new Set(pages.get(count));
      const skips = messages.filter((m) => files.has(fileOf(m)) && SKIP.test(m.message));
      const expected = [...files].map((file) => accepted.get(file).map(({ line }) => `${file}:${line}`))
        .flat();
      t.diagnostic(`${files.size} pages, ${skips.length} skipped heading levels as the blocks put them`);
      assert.deepEqual(skips.map((m) => `${fileOf(m)}:${m.lastLine}`).sort(), expected.sort(),
        'each block-opening heading after the h1 is reported once, and nothing else skips');
      const rest = unacceptedMessages(messages, files, accepted);
      assert.equal(rest.length, 0, rest.map(describeMessage).join('\n'));
    });
  }

  test('a planted fault still fails', () => {
    for (const [fault, file] of Object.entries(planted)) {
      const found = unacceptedMessages(messages, new Set([file]), accepted);
      assert.equal(found.length, 1, `${fault}: ${found.map(describeMessage).join('\n')}`);
    }
  });

  test('the manual has no HTML errors and no warnings', () => {
    const own = messages.filter((m) => fileOf(m) === MANUAL);
    assert.deepEqual(own.map(describeMessage), []);
  });

  test('the site check\'s report has no HTML errors and no warnings', () => {
    const own = messages.filter((m) => fileOf(m) === REPORT);
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
