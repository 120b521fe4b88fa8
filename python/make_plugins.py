"""Writes gridmex/_plugins.py, the table of the package's functions, from the
plug-ins' help files at build time: for each plug-in its output count (from
the call form of its help), the refusals its help lists for a wrong number
of inputs (Python raises TypeError for those), and its help text, which
becomes the function's docstring.

Usage: make_plugins.py OUTPUT SUFFIX HELP_FILE..."""
import os
import re
import sys

COUNT_CONDITION = re.compile(r"\b(no input|(fewer|more|other) than \w+ inputs?)\b")
ROW = re.compile(r'^ {4}("(?P<text>[^"]*)"|(?P<id>\w+:\w+))\s*(?P<cond>.*)$')


def help_text(lines):
    """The leading comment block, without its comment marks."""
    text = []
    for line in lines:
        if not line.startswith("%") or line.startswith("%!"):
            break
        text.append(line[2:] if line.startswith("% ") else line[1:])
    return "\n".join(text).rstrip() + "\n"


def output_count(name, text):
    call = re.search(r"^\s*(\[(?P<many>[^\]]*)\]|\w+)\s*=\s*" + name + r"\(", text, re.M)
    if call is None:
        sys.exit(f"{name}: no call form 'out = {name}(...)' in its help")
    return len(call.group("many").split(",")) if call.group("many") else 1


def parameters(name, text):
    """The inputs of the plug-in's calling forms, in order, as (name,
    optional): the forms of its help ("  out = NAME(a, b)",
    "  out = NAME(a, b, c)") each list the inputs of one call, and an input
    that some form leaves out is optional."""
    forms = [[a.strip() for a in args.split(",") if a.strip()]
             for args in re.findall(r"^  (?:\[[^\]\n]*\]|\w+) *= *" + name + r"\(([^)]*)\)", text, re.M)]
    if not forms:
        sys.exit(f"{name}: no call form 'out = {name}(...)' in its help")
    longest = max(forms, key=len)
    for form in forms:
        if form != longest[:len(form)]:
            sys.exit(f"{name}: its call forms {form} and {longest} differ in more than trailing inputs")
    shortest = min(len(form) for form in forms)
    return [(arg, k >= shortest) for k, arg in enumerate(longest)]


def count_refusals(text):
    """(identifier, message) of each refusal the help's error list gives for
    a wrong input count; message None when the identifier names it."""
    rows, inside = [], False
    for line in text.splitlines():
        if re.match(r"^ {2}Errors\b", line):
            inside = True
        elif inside and (not line.strip() or re.match(r"^ {2}\S", line)):
            inside = False
        elif inside:
            row = ROW.match(line)
            if row:
                rows.append([row.group("id") or "", row.group("text"), row.group("cond")])
            elif rows:
                rows[-1][2] += " " + line.strip()
    return sorted((i, t) for i, t, cond in rows if COUNT_CONDITION.search(cond))


def main(output, suffix, helps):
    table = {}
    for path in sorted(helps):
        name = os.path.splitext(os.path.basename(path))[0]
        with open(path, encoding="utf-8") as f:
            text = help_text(f.read().splitlines())
        table[name] = (output_count(name, text), count_refusals(text), text)
    with open(output, "w", encoding="utf-8") as f:
        f.write('"""The plug-ins of this build, written by make_plugins.py from their help files."""\n\n')
        f.write(f"SUFFIX = {suffix!r}\n\n# name: (outputs, refusals for a wrong input count, help text)\n")
        f.write("PLUGINS = {\n")
        for name, row in table.items():
            f.write(f"    {name!r}: {row!r},\n")
        f.write("}\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
