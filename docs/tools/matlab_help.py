"""Writes MATLAB's help-browser files into a toolbox folder, as MathWorks
documents custom documentation: FOLDER/info.xml names the toolbox and its
help folder html/, which holds helptoc.xml (the table of contents under
Supplemental Software), the toolbox's page gridmex.html and a page NAME.html
per plug-in, made from its help file, which `doc NAME` opens.  The pages are
well-formed XHTML, so that check_matlab_help.py can read them.

Usage: matlab_help.py FOLDER"""
import os
import re
import sys
import xml.etree.ElementTree as ET

import helpfile

HELP = "html"
RELEASE = "R2021a"  # the oldest MATLAB the hosted CI tries
STYLE = """body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: 1.4 }
table { border-collapse: collapse } th, td { border: 1px solid #ccc; padding: 0.2em 0.5em; text-align: left;
vertical-align: top } pre { background: #f4f4f4; padding: 0.5em } code { background: #f4f4f4 }"""


def element(parent, tag, text=None, **attrs):
    node = ET.SubElement(parent, tag, {k.rstrip("_"): v for k, v in attrs.items()})
    node.text = text
    return node


class Pages:
    def __init__(self, helps):
        self.helps = helps
        self.names = re.compile(r"\b(" + "|".join(sorted(helps, key=len, reverse=True)) + r")\b")

    def prose(self, parent, tag, text, page):
        """A text element whose plug-in names link to their pages."""
        node = element(parent, tag)
        last = None
        for part in self.names.split(text):
            if part in self.helps and part != page:
                last = element(node, "a", part, href=part + ".html")
            elif last is None:
                node.text = (node.text or "") + part
            else:
                last.tail = (last.tail or "") + part
        return node

    def document(self, title):
        root = ET.Element("html", xmlns="http://www.w3.org/1999/xhtml", lang="en")
        head = element(root, "head")
        element(head, "meta", charset="utf-8")
        element(head, "title", title)
        element(head, "style", STYLE)
        return root, element(root, "body")

    def table(self, body, heads, rows):
        table = element(body, "table")
        line = element(table, "tr")
        for head in heads:
            element(line, "th", head)
        for row in rows:
            line = element(table, "tr")
            for kind, text in row:
                cell = element(line, "td")
                if kind == "code":
                    element(cell, "code", text)
                else:
                    cell.text = text
        return table

    def plugin(self, name):
        h = self.helps[name]
        root, body = self.document(name)
        element(body, "h1", name)
        self.prose(body, "p", h.summary, name)
        python = [("code", h.python_call())]
        self.table(body, ["MATLAB and Octave", "Python"],
                   [[("code", form)] + (python if k == 0 else [("text", "")]) for k, form in enumerate(h.forms)])
        for paragraph in h.description:
            self.prose(body, "p", paragraph, name)
        element(body, "h2", "Inputs and outputs")
        table = self.table(body, ["name", "what it is"], [])
        for names, text in h.items:
            line = element(table, "tr")
            element(element(line, "td"), "code", names)
            self.prose(line, "td", text, name)
        if h.rules:
            element(body, "h2", "Rules")
            for paragraph in h.rules:
                self.prose(body, "p", paragraph, name)
        if h.errors:
            element(body, "h2", h.errors_heading)
            self.table(body, ["message or identifier", "when"],
                       [[("code", f'"{key}"' if message else key), ("text", when)] for key, message, when in h.errors])
            if h.error_notes:
                self.prose(body, "p", " ".join(h.error_notes), name)
        if h.example:
            element(body, "h2", "Example")
            element(body, "pre", h.example)
        if h.see_also:
            element(body, "h2", "See also")
            see = element(body, "p")
            for k, other in enumerate(h.see_also):
                node = element(see, "a", other, href=other + ".html") if other in self.helps else element(see, "code", other)
                node.tail = ", " if k + 1 < len(h.see_also) else None
        element(element(body, "p"), "a", "gridmex", href="gridmex.html")
        return root

    def front(self, families, intro):
        root, body = self.document("gridmex")
        element(body, "h1", "gridmex")
        for paragraph in intro:
            element(body, "p", paragraph)
        for _, title, names in families:
            element(body, "h2", title)
            table = element(body, "table")
            for name in names:
                line = element(table, "tr")
                element(element(line, "td"), "a", name, href=name + ".html")
                element(line, "td", self.helps[name].summary)
        return root


def readme_intro():
    """The README's introduction (between its intro marks), as paragraphs."""
    with open(os.path.join(helpfile.ROOT, "README.md"), encoding="utf-8") as f:
        text = f.read()
    intro = re.search(r"<!-- intro -->\n(.*?)<!-- /intro -->", text, re.S)
    if intro is None:
        sys.exit("README.md: no introduction between <!-- intro --> and <!-- /intro -->")
    return [" ".join(p.split()) for p in intro.group(1).split("\n\n") if p.strip()]


def write_xml(path, root, doctype=None):
    """An XML file, or with a doctype an XHTML page (UTF-8, no declaration,
    which would put an HTML parser off)."""
    ET.indent(root)
    with open(path, "w", encoding="utf-8") as f:
        f.write(doctype + "\n" if doctype else '<?xml version="1.0" encoding="utf-8"?>\n')
        f.write(ET.tostring(root, encoding="unicode", short_empty_elements=False) + "\n")


def main(folder):
    helps, families = helpfile.plugins(), helpfile.families()
    pages = Pages(helps)
    os.makedirs(os.path.join(folder, HELP), exist_ok=True)

    info = ET.Element("productinfo")
    for tag, text in (("matlabrelease", RELEASE), ("name", "gridmex"), ("type", "toolbox"), ("icon", None),
                      ("help_location", HELP)):
        element(info, tag, text)
    write_xml(os.path.join(folder, "info.xml"), info)

    toc = ET.Element("toc", version="2.0")
    top = element(toc, "tocitem", "gridmex", target="gridmex.html")
    for _, title, names in families:
        family = element(top, "tocitem", title, target="gridmex.html", image="HelpIcon.FUNCTION")
        for name in names:
            element(family, "tocitem", name, target=name + ".html")
    write_xml(os.path.join(folder, HELP, "helptoc.xml"), toc)

    write_xml(os.path.join(folder, HELP, "gridmex.html"), pages.front(families, readme_intro()), "<!DOCTYPE html>")
    for name in helps:
        write_xml(os.path.join(folder, HELP, name + ".html"), pages.plugin(name), "<!DOCTYPE html>")


if __name__ == "__main__":
    main(sys.argv[1])
