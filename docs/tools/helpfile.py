"""The plug-ins and their help files, read as the build reads them: the
domain folders from domains.txt, every .cpp file of a domain folder the entry
source of one plug-in, its help file NAME.m beside it.  A help text is split
into the parts a reference page shows: summary, calling forms, description,
inputs and outputs, rules, errors, example and "See also"."""
import glob
import os
import re
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "python"))
import make_plugins  # noqa: E402  (the Python package's reader of help files)

ITEM = re.compile(r"^  (?P<names>[A-Za-z]\w*(?:, [A-Za-z]\w*)*) {2,}(?P<text>\S.*)$")
ERROR_ROW = re.compile(r'^ {4}(?P<key>"[^"]*"|\w+:\w+) *(?P<text>.*)$')


def families(root=ROOT):
    """[(domain, title, [plug-in names])] in the order of domains.txt."""
    result = []
    with open(os.path.join(root, "domains.txt"), encoding="utf-8") as f:
        for line in f:
            if re.match(r"[a-z]", line):
                domain, title = line.split(None, 1)
                sources = glob.glob(os.path.join(root, domain, "*.cpp"))
                result.append((domain, title.strip(), sorted(os.path.basename(s)[:-4] for s in sources)))
    return result


def paragraphs(lines):
    """Lines split at blank lines, blank paragraphs dropped."""
    result, current = [], []
    for line in lines + [""]:
        if line.strip():
            current.append(line)
        elif current:
            result.append(current)
            current = []
    return result


def joined(lines):
    return " ".join(line.strip() for line in lines)


class Help:
    """The parts of one plug-in's help text."""

    def __init__(self, name, path):
        self.name = name
        with open(path, encoding="utf-8") as f:
            self.text = make_plugins.help_text(f.read().splitlines())
        lines = self.text.splitlines()
        title = re.match(r"^\s*" + name.upper() + r"\s+(.*)$", lines[0])
        if title is None:
            sys.exit(f"{path}: the first line is not '% {name.upper()}  summary'")
        self.summary = title.group(1).strip()
        self.forms = re.findall(r"^  ((?:\[[^\]\n]*\]|\w+) *= *" + name + r"\([^)]*\))", self.text, re.M)
        outputs = re.match(r"^\[?([^\]=]*?)\]? *=", self.forms[0]).group(1)
        self.outputs = [o.strip() for o in outputs.split(",")]
        self.parameters = make_plugins.parameters(name, self.text)

        starts = {key: next((k for k, line in enumerate(lines) if re.match(pattern, line)), None)
                  for key, pattern in (("example", r"^  Examples?:"), ("see", r"^  See also\b"))}
        end = min(k for k in (starts["example"], starts["see"], len(lines)) if k is not None)
        self.description, self.items, self.rules, self.errors, self.error_notes = [], [], [], [], []
        self.errors_heading = "Errors"
        for block in paragraphs(lines[1:end]):
            if re.match(r"^  Errors\b.*:$", block[0]):
                self.errors_heading = block[0].strip().rstrip(":")
                self._read_errors(block[1:])
            elif ITEM.match(block[0]):
                self._read_items(block)
            else:
                (self.rules if self.items else self.description).append(joined(block))
        self.example = ""
        if starts["example"] is not None:
            code = lines[starts["example"] + 1:starts["see"] or len(lines)]
            self.example = "\n".join(line[4:] for line in code).strip("\n")
        self.see_also = []
        if starts["see"] is not None:
            see = joined(paragraphs(lines[starts["see"]:])[0])
            self.see_also = re.findall(r"\w+", see[len("See also"):])

    def _read_items(self, block):
        for line in block:
            item = ITEM.match(line)
            if item:
                self.items.append([item.group("names"), item.group("text")])
            else:
                self.items[-1][1] += " " + line.strip()

    def _read_errors(self, block):
        for line in block:
            row = ERROR_ROW.match(line)
            if row:
                self.errors.append([row.group("key").strip('"'), row.group("key").startswith('"'),
                                    row.group("text")])
            elif line.startswith("     ") and self.errors:
                self.errors[-1][2] = (self.errors[-1][2] + " " + line.strip()).strip()
            else:
                self.error_notes.append(line.strip())

    def python_call(self):
        """The package's calling form: positional-only inputs, optional ones
        with a default, several outputs as a tuple."""
        inputs = [f"{p}=..." if optional else p for p, optional in self.parameters]
        return f"{', '.join(self.outputs)} = gridmex.{self.name}({', '.join(inputs + ['/'])})"


def plugins(root=ROOT):
    """{name: Help} of every plug-in, in the order of families()."""
    return {name: Help(name, os.path.join(root, domain, name + ".m"))
            for domain, _, names in families(root) for name in names}
