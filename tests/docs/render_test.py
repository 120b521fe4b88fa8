"""Renders pages of the built site with headless Chromium, as a reader's
browser shows them: each page to a PNG screenshot, and its DOM once loaded,
into which a script added to a copy of the page writes how many images did
not load and how much text the page's article (or body) shows.  Fails on a page that is blank
(in the screenshot or in its text) or has an image that did not load.

Usage: render_test.py HTML_FOLDER SHOT_FOLDER PAGE..."""
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile

from PIL import Image

CHROMIUM = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--hide-scrollbars", "--run-all-compositor-stages-before-draw", "--virtual-time-budget=3000"]
PROBE = """<script>
window.addEventListener("load", function () {
  var broken = Array.prototype.filter.call(document.images, function (i) {
    return !i.complete || i.naturalWidth === 0; }).map(function (i) { return i.getAttribute("src"); });
  document.body.setAttribute("data-broken-images", broken.join(" "));
  document.body.setAttribute("data-images", String(document.images.length));
  var main = document.querySelector("article") || document.body;
  document.body.setAttribute("data-text", String(main.innerText.trim().length));
});
</script></body>"""


def chromium(profile, *args):
    run = subprocess.run(CHROMIUM + [f"--user-data-dir={profile}"] + list(args), capture_output=True, text=True,
                         timeout=120)
    return run.stdout


def blank(png):
    """True when almost the whole screenshot is one colour."""
    image = Image.open(png).convert("L")
    histogram = image.histogram()
    return max(histogram) > 0.99 * sum(histogram)


def check(folder, shots, page):
    problems = []
    with tempfile.TemporaryDirectory() as scratch:
        site = os.path.join(scratch, "site")
        shutil.copytree(folder, site)
        target = os.path.join(site, page)
        with open(target, encoding="utf-8") as f:
            text = f.read()
        with open(target, "w", encoding="utf-8") as f:
            f.write(text.replace("</body>", PROBE, 1))
        dom = chromium(os.path.join(scratch, "profile-dom"), "--dump-dom", "file://" + target)
        body = re.search(r"<body[^>]*>", dom)
        attrs = dict(re.findall(r'(data-[a-z-]+)="([^"]*)"', body.group(0))) if body else {}
        if "data-text" not in attrs:
            return [f"{page}: the page did not finish loading"]
        if int(attrs["data-text"]) < 200:
            problems.append(f"{page}: only {attrs['data-text']} characters of text in the page's article")
        if attrs["data-broken-images"]:
            problems.append(f"{page}: images that did not load: {html.unescape(attrs['data-broken-images'])}")
        png = os.path.join(shots, page.replace("/", "-")[:-len(".html")] + ".png")
        chromium(os.path.join(scratch, "profile-shot"), "--window-size=1280,1600", f"--screenshot={png}",
                 "file://" + os.path.join(folder, page))
        if not os.path.isfile(png):
            problems.append(f"{page}: no screenshot")
        elif blank(png):
            problems.append(f"{page}: the screenshot {png} is blank")
        print(f"{page}: {attrs['data-images']} images, {attrs['data-text']} characters, screenshot {png}")
    return problems


def main(folder, shots, pages):
    os.makedirs(shots, exist_ok=True)
    problems = [p for page in pages for p in check(os.path.abspath(folder), os.path.abspath(shots), page)]
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
