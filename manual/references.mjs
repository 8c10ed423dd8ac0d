// The local references of an HTML page: the files its tags name in src and
// href (addresses with a scheme such as https: or mailto: are not local),
// and the ids its #links point to. Text that merely shows markup, like
// <code>src="media/bild.jpg"</code>, is not a reference.
//   node manual/references.mjs <page.html>   prints the files, one per line
import { readFile } from 'node:fs/promises';
import { fileURLToPath } from 'node:url';

export function localReferences(html) {
  const files = new Set();
  const fragments = new Set();
  const tags = html.replace(/<!--[\s\S]*?-->/g, '').match(/<[a-zA-Z][^>]*>/g) ?? [];
  for (const tag of tags) {
    for (const [, , value] of tag.matchAll(/\s(src|href)\s*=\s*"([^"]*)"/g)) {
      if (value.startsWith('#')) fragments.add(value.slice(1));
      else if (!/^[a-z][a-z0-9+.-]*:/i.test(value)) files.add(decodeURI(value.split('#')[0]));
    }
  }
  return { files: [...files].sort(), fragments: [...fragments].sort() };
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const { files } = localReferences(await readFile(process.argv[2], 'utf8'));
  for (const file of files) console.log(file);
}
