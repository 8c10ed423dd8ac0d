#!/usr/bin/env python3
"""Compares the site check's findings with LinkChecker's, as
scripts/realsites.sh collected them in OUT:

    realsites-compare.py OUT "name|folder|start" ...

Both tools' findings become broken targets: where a reference leads (a
path relative to the folder, or an absolute one outside it), with
"#fragment" for a missing fragment, each counted once, since LinkChecker
reports a broken target only at the first page that names it; the listing
names one page for each. The check's missing targets and case slips are
LinkChecker's broken links (the file system here tells case); its
references that leave the folder are listed apart, since LinkChecker has
no folder, and so are its missing "/x" targets that this machine's file
system has ("root"): a web server looks for them in the site's folder,
LinkChecker in the file system's root. Only pages that LinkChecker reached
from the start page are compared; the check reads every page of the
folder, and its findings on the other pages are counted apart."""

import csv
import os
import sys
from urllib.parse import unquote, urljoin, urlsplit

OURS_BROKEN = {"Ziel fehlt", "Groß-/Kleinschreibung weicht ab: geht unter Windows, aber nicht auf dem Webserver"}
OURS_FRAGMENT = "Sprungziel nach # fehlt"
OURS_OUTSIDE = "Verweis führt aus dem Website-Ordner hinaus"


def relative(folder, path):
    path = os.path.normpath(path)
    inside = path == folder or path.startswith(folder + "/")
    return os.path.relpath(path, folder) if inside else path


def target_of(folder, page_url, reference, with_fragment):
    url = urljoin(page_url, reference)
    parts = urlsplit(url)
    if parts.scheme != "file":
        return None
    target = relative(folder, unquote(parts.path))
    if with_fragment:
        target += "#" + unquote(parts.fragment)
    return target


def read_ours(folder, name, out):
    broken, outside = set(), set()
    for line in open(os.path.join(out, name + ".ours.txt"), encoding="utf-8", errors="replace"):
        fields = line.rstrip("\n").split("\t")
        if len(fields) != 4:
            continue
        _, where, title, subject = fields
        page = where.rsplit(":", 1)[0]
        if title not in OURS_BROKEN and title != OURS_FRAGMENT and title != OURS_OUTSIDE:
            continue
        page_url = "file://" + folder + "/" + page
        for reference in subject.split(", "):
            if reference == "…" or reference.endswith("…"):
                continue
            if title == OURS_OUTSIDE:
                outside.add((page, reference))
                continue
            target = target_of(folder, page_url, reference, title == OURS_FRAGMENT)
            if target is not None:
                broken.add((page, target))
    return broken, outside


def read_theirs(folder, name, out):
    findings, visited = set(), set()
    lines = (line for line in open(os.path.join(out, name + ".theirs.csv"), encoding="utf-8",
                                   errors="replace") if not line.startswith("# "))
    rows = csv.reader(lines, delimiter=";")
    header = next(rows, None)
    if header is None:
        return findings, visited
    column = {title: i for i, title in enumerate(header)}
    for row in rows:
        if len(row) < len(header):
            continue
        parent, url = row[column["parentname"]], row[column["url"]]
        if parent.startswith("file://"):
            visited.add(relative(folder, unquote(urlsplit(parent).path)))
        if not parent.startswith("file://") or not url.startswith("file://"):
            continue
        page = relative(folder, unquote(urlsplit(parent).path))
        parts = urlsplit(url)
        target = relative(folder, unquote(parts.path))
        if row[column["valid"]] == "False":
            findings.add((page, target))
        elif "Anchor `" in row[column["warningstring"]]:
            findings.add((page, target + "#" + unquote(parts.fragment)))
    return findings, visited


def time_and_memory(out, name, tool):
    """Seconds and peak megabytes, and whether the tool ran to its end."""
    try:
        text = open(os.path.join(out, f"{name}.{tool}.time")).read()
        seconds, kilobytes = text.split()[-2:]
        return float(seconds), int(kilobytes) / 1024, "status 124" not in text and \
            "signal 2" not in text and "status 137" not in text
    except (OSError, ValueError):
        return float("nan"), float("nan"), False


def main():
    out, sites = sys.argv[1], [site.split("|") for site in sys.argv[2:]]
    print(f"{'folder':<27}{'pages':>6}{'reached':>8}{'ours':>6}{'theirs':>7}{'only ours':>10}"
          f"{'only theirs':>12}{'root':>6}{'outside':>8}{'unreached':>10}{'ours s':>8}{'theirs s':>9}"
          f"{'ours MB':>8}{'theirs MB':>10}")
    details = []
    for name, folder, start in sites:
        ours_all, outside = read_ours(folder, name, out)
        theirs, visited = read_theirs(folder, name, out)
        visited.add(start)
        ours = {target: page for page, target in sorted(ours_all) if page in visited}
        unreached = {target for page, target in ours_all if target not in ours}
        theirs = {target: page for page, target in sorted(theirs)}
        pages = sum(1 for line in open(os.path.join(out, name + ".ours.txt"), encoding="utf-8",
                                       errors="replace") if line.startswith("  "))
        only_ours = sorted((ours[t], t) for t in ours.keys() - theirs.keys())
        # Both are right in their own world here.
        root_relative = [f for f in only_ours
                         if os.path.isabs(f[1]) and os.path.exists(f[1].split("#")[0])]
        only_ours = [f for f in only_ours if f not in root_relative]
        only_theirs = sorted((theirs[t], t) for t in theirs.keys() - ours.keys())
        ours_time, ours_memory, _ = time_and_memory(out, name, "ours")
        theirs_time, theirs_memory, finished = time_and_memory(out, name, "theirs")
        if not finished:
            name += " (stopped)"
        reached_pages = sum(1 for page in visited if page.endswith((".html", ".htm")))
        print(f"{name:<27}{pages:>6}{reached_pages:>8}{len(ours):>6}{len(theirs):>7}"
              f"{len(only_ours):>10}{len(only_theirs):>12}{len(root_relative):>6}{len(outside):>8}"
              f"{len(unreached):>10}{ours_time:>8.2f}{theirs_time:>9.2f}"
              f"{ours_memory:>8.1f}{theirs_memory:>10.1f}")
        details += [(name, "only ours", f) for f in only_ours]
        details += [(name, "root", f) for f in root_relative[:5]]
        details += [(name, "only theirs", f) for f in only_theirs]
        details += [(name, "outside", f) for f in sorted(outside)[:5]]
    print()
    for name, which, (page, target) in details:
        print(f"{name}\t{which}\t{page}\t{target}")


main()
