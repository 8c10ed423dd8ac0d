// Shared pieces of the browser tests: the generated sites, a loopback HTTP
// server that serves one of them and logs every request, Chromium, and the
// collection of uncaught page errors.
import assert from 'node:assert/strict';
import { createServer } from 'node:http';
import { cp, mkdir, mkdtemp, readFile, rm, stat } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

export const SITES = process.env.TRELLAN_SITES;
export const ARTIFACTS = process.env.TRELLAN_ARTIFACTS;
assert.ok(SITES, 'TRELLAN_SITES must name the folder of the generated sites');

// The folder of the site generated with `count` menu entries.
export function siteDir(count = 5) {
  return path.join(SITES, `n${count}`);
}

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css',
  '.js': 'text/javascript',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.jpg': 'image/jpeg',
  '.mp4': 'video/mp4',
};

// Serves `root` on 127.0.0.1 at a free port. `requests` lists the decoded
// paths asked for, in order, and `clearLog()` forgets them.
export async function serve(root) {
  const requests = [];
  const server = createServer(async (req, res) => {
    const urlPath = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    requests.push(urlPath);
    const file = path.join(root, urlPath.endsWith('/') ? urlPath + 'index.html' : urlPath);
    if (!file.startsWith(root + path.sep)) {
      res.writeHead(403).end();
      return;
    }
    try {
      if (!(await stat(file)).isFile()) throw new Error('not a file');
      const body = await readFile(file);
      res.writeHead(200, {
        'Content-Type': TYPES[path.extname(file).toLowerCase()] ?? 'application/octet-stream',
        'Content-Length': body.length,
        'Cache-Control': 'no-store',
      });
      res.end(body);
    } catch {
      res.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  server.unref();  // a failed test that leaves it open does not hold the run
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {
    origin,
    requests,
    url: (page) => `${origin}/${page}`,
    clearLog: () => requests.splice(0),
    close: () => new Promise((resolve) => {
      server.closeAllConnections();
      server.close(resolve);
    }),
  };
}

export function fileUrl(file) {
  return pathToFileURL(file).href;
}

export { launchBrowser } from './browser.mjs';

// Opens a page in a fresh context and records its uncaught exceptions in
// `errors` (shared by the whole test file, checked after every test).
export async function openPage(browser, errors, url, contextOptions = {}) {
  const context = await browser.newContext({
    viewport: { width: 1280, height: 800 },
    ...contextOptions,
  });
  // The pages link outside sites (streams, an embedded video, search
  // engines): the tests stay on this machine.
  await context.route(/^https?:\/\//, (route) => {
    const { hostname } = new URL(route.request().url());
    return hostname === '127.0.0.1' ? route.continue() : route.abort();
  });
  const page = await context.newPage();
  page.on('pageerror', (error) => errors.push(`${page.url()}: ${error.message}`));
  if (url) await page.goto(url, { waitUntil: 'load' });
  return page;
}

export function assertNoPageErrors(errors) {
  const found = errors.splice(0);
  assert.deepEqual(found, [], 'uncaught exceptions in generated pages');
}

// A scratch copy of a generated site that a test may change; `remove()`
// deletes it again.
export async function copySite(count = 5) {
  const dir = await mkdtemp(path.join(tmpdir(), 'trellan-site-'));
  await cp(siteDir(count), dir, { recursive: true });
  return { dir, remove: () => rm(dir, { recursive: true, force: true }) };
}

export async function screenshot(page, name) {
  if (!ARTIFACTS) return;
  await mkdir(ARTIFACTS, { recursive: true });
  await page.screenshot({ path: path.join(ARTIFACTS, name) });
}
