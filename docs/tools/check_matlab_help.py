"""Checks the help-browser files of a toolbox folder against the structure
MathWorks documents for custom documentation:

- FOLDER/info.xml: root productinfo holding matlabrelease (a release such as
  R2021a), name, type (one of MATLAB's product types), help_location (a
  folder beside info.xml) and optionally icon, once each, nothing else;
- HELP/helptoc.xml: root toc, version "2.0", only tocitem elements below
  it, each with a title and a target page that exists in HELP (an anchor
  of it allowed), and an image, if any, among the documented help icons;
- every plug-in named on the command line has its page NAME.html in HELP
  and a tocitem of that title pointing to it;
- every page of HELP is well-formed XML, and its links and images lead to
  files that exist (check_site.py's check).

Usage: check_matlab_help.py FOLDER NAME..."""
import os
import re
import sys
import urllib.parse
import xml.etree.ElementTree as ET

import check_site

TYPES = {"matlab", "toolbox", "simulink", "blockset", "links_targets"}
INFO = {"matlabrelease": True, "name": True, "type": True, "help_location": True, "icon": False}
ICONS = {"HelpIcon." + i for i in ("GETTING_STARTED", "USER_GUIDE", "EXAMPLES", "FUNCTION", "BLOCK", "APP",
                                   "RELEASE_NOTES", "CLASS", "SYSTEM_OBJECT", "PRODUCT")}


def parse(path, problems):
    try:
        return ET.parse(path).getroot()
    except (OSError, ET.ParseError) as e:
        problems.append(f"{path}: {e}")
        return None


def check_info(folder, problems):
    """The help folder info.xml names, or None."""
    info = parse(os.path.join(folder, "info.xml"), problems)
    if info is None:
        return None
    if info.tag != "productinfo":
        problems.append(f"info.xml: root {info.tag}, not productinfo")
    tags = [child.tag for child in info]
    for tag, required in INFO.items():
        if tags.count(tag) > 1 or (required and tag not in tags):
            problems.append(f"info.xml: {tags.count(tag)} {tag} elements")
    problems += [f"info.xml: unknown element {tag}" for tag in tags if tag not in INFO]
    text = {child.tag: (child.text or "").strip() for child in info}
    if not re.fullmatch(r"R20\d\d[ab]", text.get("matlabrelease", "")):
        problems.append(f"info.xml: matlabrelease {text.get('matlabrelease')!r} is not a release such as R2021a")
    if not text.get("name"):
        problems.append("info.xml: empty name")
    if text.get("type") not in TYPES:
        problems.append(f"info.xml: type {text.get('type')!r} is none of {sorted(TYPES)}")
    location = text.get("help_location", "")
    help_folder = os.path.normpath(os.path.join(folder, location))
    if not location or os.path.isabs(location) or not os.path.isdir(help_folder):
        problems.append(f"info.xml: help_location {location!r} is not a folder beside info.xml")
        return None
    return help_folder


def check_toc(help_folder, names, problems):
    toc = parse(os.path.join(help_folder, "helptoc.xml"), problems)
    if toc is None:
        return
    if toc.tag != "toc" or toc.get("version") != "2.0":
        problems.append(f"helptoc.xml: root {toc.tag} version {toc.get('version')!r}, not toc version 2.0")
    titles = {}
    for item in toc.iter():
        if item is toc:
            continue
        if item.tag != "tocitem":
            problems.append(f"helptoc.xml: element {item.tag} where only tocitem may be")
            continue
        title, target = (item.text or "").strip(), item.get("target", "")
        url = urllib.parse.urlsplit(target)
        if not title:
            problems.append(f"helptoc.xml: a tocitem without a title (target {target!r})")
        if url.scheme or not url.path or not os.path.isfile(os.path.join(help_folder, url.path)):
            problems.append(f"helptoc.xml: {title}: target {target!r} is no page of the help folder")
        if item.get("image") is not None and item.get("image") not in ICONS:
            problems.append(f"helptoc.xml: {title}: image {item.get('image')!r} is no documented help icon")
        titles[title] = url.path
    for name in names:
        if titles.get(name) != name + ".html":
            problems.append(f"helptoc.xml: no tocitem {name} for {name}.html")


def check(folder, names):
    problems = []
    help_folder = check_info(folder, problems)
    if help_folder is None:
        return problems
    check_toc(help_folder, names, problems)
    pages = sorted(p for p in os.listdir(help_folder) if p.endswith(".html"))
    problems += [f"no page {name}.html" for name in names if name + ".html" not in pages]
    for page in pages:
        parse(os.path.join(help_folder, page), problems)
    problems += check_site.check(help_folder)[3]
    return problems


def main(folder, names):
    problems = check(folder, names)
    for problem in problems:
        print(f"{folder}: {problem}")
    print(f"{folder}: MATLAB's help-browser files, {len(names)} plug-ins, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
