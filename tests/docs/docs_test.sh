#!/bin/sh
# docs_test.sh SOURCE_DIR OUT
# Builds the site with scripts/docs into OUT (a Sphinx warning, a broken
# internal link or a missing image fails it); checks that the link check
# refuses a copy with a broken link and a missing image; renders the front
# page and one plug-in page with headless Chromium (screenshots in
# OUT/screenshots/), failing on a blank page or an image that did not load.
set -e
src=$1 out=$2
python=/usr/bin/python3
"$src/scripts/docs" "$out"

broken=$out/broken
rm -rf "$broken" && cp -r "$out/html" "$broken"
grep -q 'href="reference/index.html"' "$broken/index.html"
sed -i 's|href="reference/index.html"|href="missing.html"|' "$broken/index.html"
rm "$broken/_images/displacement.png"
if "$python" "$src/docs/tools/check_site.py" "$broken" >"$out/broken.log"; then
    echo "check_site.py passed a site with a broken link and a missing image"
    exit 1
fi
for problem in "index.html: link to missing.html: no such file" \
               "index.html: _images/displacement.png is missing or empty"; do
    grep -qF "$problem" "$out/broken.log" || { echo "check_site.py did not report: $problem"; exit 1; }
done

"$python" "$src/tests/docs/render_test.py" "$out/html" "$out/screenshots" index.html reference/pxBilinSample.html
