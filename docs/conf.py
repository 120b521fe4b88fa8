# Sphinx configuration of the documentation site.  scripts/docs stages these
# pages with the generated ones (docs/tools/stage.py) and builds them with
# warnings as errors; it passes the project's version in GRIDMEX_VERSION.
import os

project = "gridmex"
author = "the gridmex developers"
copyright = "the gridmex developers"
release = version = os.environ.get("GRIDMEX_VERSION", "")
html_title = f"gridmex {release}"

extensions = ["myst_parser"]
source_suffix = {".md": "markdown"}
exclude_patterns = ["_include"]
myst_heading_anchors = 3

html_theme = "furo"
html_static_path = []
html_copy_source = False
html_show_sourcelink = False
highlight_language = "matlab"
