"""Checks a built site as a reader would follow it: every internal link of
every page leads to a file that exists, and to an anchor that the target page
has; every image, style sheet and script a page loads exists and is not
empty.  Links to other sites are not followed.

Usage: check_site.py HTML_FOLDER"""
import html.parser
import os
import sys
import urllib.parse


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids, self.links, self.loads = set(), [], []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        for key in ("id", "name"):
            if attrs.get(key):
                self.ids.add(attrs[key])
        if tag == "a" and attrs.get("href"):
            self.links.append(attrs["href"])
        elif tag in ("img", "script") and attrs.get("src"):
            self.loads.append(attrs["src"])
        elif tag == "link" and attrs.get("rel") == "stylesheet":
            self.loads.append(attrs["href"])


def read(path):
    page = Page()
    with open(path, encoding="utf-8") as f:
        page.feed(f.read())
    return page


def check(folder):
    pages = {}
    for top, _, files in os.walk(folder):
        for name in files:
            if name.endswith(".html"):
                path = os.path.normpath(os.path.join(top, name))
                pages[path] = read(path)
    problems, links, loads = [], 0, 0
    for path, page in sorted(pages.items()):
        where = os.path.relpath(path, folder)
        for kind, targets in (("link", page.links), ("load", page.loads)):
            for target in targets:
                url = urllib.parse.urlsplit(target)
                if url.scheme or url.netloc:
                    continue
                file = os.path.normpath(os.path.join(os.path.dirname(path), urllib.parse.unquote(url.path))) \
                    if url.path else path
                if kind == "load":
                    loads += 1
                    if not os.path.isfile(file) or os.path.getsize(file) == 0:
                        problems.append(f"{where}: {target} is missing or empty")
                    continue
                links += 1
                if os.path.isdir(file):
                    file = os.path.join(file, "index.html")
                if not os.path.isfile(file):
                    problems.append(f"{where}: link to {target}: no such file")
                elif url.fragment and file in pages and url.fragment not in pages[file].ids:
                    problems.append(f"{where}: link to {target}: no such anchor")
    return len(pages), links, loads, problems


def main(folder):
    count, links, loads, problems = check(folder)
    for problem in problems:
        print(problem)
    if count == 0:
        problems.append("no pages")
        print(f"{folder}: no pages")
    print(f"{folder}: {count} pages, {links} internal links, {loads} images, styles and scripts, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
