"""The reference pages of the site, in Markdown for Sphinx (MyST): one page
per plug-in from its help file and the index of every plug-in by family."""
import os
import re

ESCAPED = re.compile(r"([\\`*_\[\]<>#|~{}$!])")


def code(text):
    return f"`{text}`"


class Writer:
    def __init__(self, helps, families):
        self.helps = helps
        self.families = families
        self.linked = re.compile(r"\b(" + "|".join(sorted(helps, key=len, reverse=True)) + r")\b")

    def prose(self, text, page):
        """Help text as Markdown: punctuation escaped, plug-in names linked."""
        text = ESCAPED.sub(r"\\\1", text)
        return self.linked.sub(lambda m: m.group(1) if m.group(1) == page else f"[{m.group(1)}]({m.group(1)}.md)", text)

    def page(self, name):
        h = self.helps[name]
        out = [f"# {name}", "", self.prose(h.summary, name), "",
               "| MATLAB and Octave | Python |", "|---|---|"]
        for k, form in enumerate(h.forms):
            out.append(f"| {code(form)} | {code(h.python_call()) if k == 0 else ''} |")
        out.append("")
        for paragraph in h.description:
            out += [self.prose(paragraph, name), ""]
        out += ["## Inputs and outputs", "", "| name | what it is |", "|---|---|"]
        out += [f"| {code(names)} | {self.prose(text, name)} |" for names, text in h.items]
        out.append("")
        if h.rules:
            out += ["## Rules", ""]
            for paragraph in h.rules:
                out += [self.prose(paragraph, name), ""]
        if h.errors:
            out += [f"## {h.errors_heading}", "", "| message or identifier | when |", "|---|---|"]
            for key, is_message, when in h.errors:
                shown = code(f'"{key}"' if is_message else key)
                out.append(f"| {shown} | {self.prose(when, name)} |")
            out.append("")
            if h.error_notes:
                out += [self.prose(" ".join(h.error_notes), name), ""]
            out += ["How each host reports these: [Errors](../errors.md).", ""]
        if h.example:
            out += ["## Example", "", "```matlab", h.example, "```", ""]
        if h.see_also:
            links = [f"[{n}]({n}.md)" if n in self.helps else code(n) for n in h.see_also]
            out += ["## See also", "", ", ".join(links), ""]
        return "\n".join(out)

    def index(self):
        out = ["# Reference", "",
               "One page per plug-in, made from its help file (what `help NAME` prints in MATLAB and "
               "Octave and `help(gridmex.NAME)` in Python) when the site is built.", ""]
        for _, title, names in self.families:
            out += [f"## {title}", "", "| plug-in | what it does |", "|---|---|"]
            out += [f"| [{n}]({n}.md) | {self.prose(self.helps[n].summary, '')} |" for n in names]
            out.append("")
        out += ["```{toctree}", ":hidden:", ""] + list(self.helps) + ["```", ""]
        return "\n".join(out)


def write(folder, helps, families):
    """Writes folder/index.md and folder/NAME.md for every plug-in."""
    os.makedirs(folder, exist_ok=True)
    writer = Writer(helps, families)
    with open(os.path.join(folder, "index.md"), "w", encoding="utf-8") as f:
        f.write(writer.index())
    for name in helps:
        with open(os.path.join(folder, name + ".md"), "w", encoding="utf-8") as f:
            f.write(writer.page(name))
