"""Writes the package's generated files from the plug-ins' help files at
build time:

gridmex/_plugins.py, the table of the package's functions: for each plug-in
its output count (from the call form of its help), the refusals its help
lists for a wrong number of inputs (Python raises TypeError for those), its
help text, which becomes the function's docstring, and its signature: the
parameters of its calling forms, and which of them the plug-in itself
refuses when empty (the scalars: None reaches those as MATLAB's []);

gridmex/__init__.pyi, the package's type stub: the hand-written stub of the
package's own Python names (python/stub_head.pyi) and one typed function per
plug-in, inputs NumPy array-likes, outputs double arrays, several outputs a
tuple.

Usage: make_plugins.py OUTPUT STUB STUB_HEAD SUFFIX HELP_FILE..."""
import keyword
import os
import re
import sys

COUNT_CONDITION = re.compile(r"\b(no input|(fewer|more|other) than \w+ inputs?)\b")
ROW = re.compile(r'^ {4}("(?P<text>[^"]*)"|(?P<id>\w+:\w+))\s*(?P<cond>.*)$')
EMPTY_CONDITION = re.compile(r"^(?P<names>\w+(?:(?:,| or) \w+)*) empty\b")


def help_text(lines):
    """The leading comment block, without its comment marks."""
    text = []
    for line in lines:
        if not line.startswith("%") or line.startswith("%!"):
            break
        text.append(line[2:] if line.startswith("% ") else line[1:])
    return "\n".join(text).rstrip() + "\n"


def calling_forms(name, text):
    """The argument lists of the help's calling forms: the lines at the
    help's first indent that read `out = NAME(a, b)` or `[o, p] = NAME(a)`
    (a form may wrap onto the next line; examples, deeper, are not forms)."""
    form = re.compile(r"^(?:% {0,3}| {0,2})(?:\[[^\]\n]*\]|\w+)\s*=\s*" + name + r"\((?P<args>[^)]*)\)", re.M)
    return [[a.strip(" %\n") for a in m.group("args").split(",") if a.strip(" %\n")]
            for m in form.finditer(text)]


def parameters(name, text):
    """(parameter name, optional) for each input of the plug-in `name`, in
    order, from the calling forms of its help text (help_text's result; the
    file's comment lines serve as well).  An input that some form leaves out
    is optional.  A name that is a Python keyword gets a trailing "_"."""
    # A form with a literal among its arguments (NAME(X, Y, I, 'cubic')) shows
    # a value, not a parameter.
    forms = [form for form in calling_forms(name, text) if all(p.isidentifier() for p in form)]
    if not forms:
        sys.exit(f"{name}: no call form 'out = {name}(...)' with named inputs in its help")
    longest = max(forms, key=len)
    for form in forms:
        if form != longest[:len(form)]:
            sys.exit(f"{name}: calling forms {form} and {longest} differ before their ends")
    shortest = min(len(form) for form in forms)
    return [(p + "_" if keyword.iskeyword(p) else p, k >= shortest) for k, p in enumerate(longest)]


def output_count(name, text):
    call = re.search(r"^\s*(\[(?P<many>[^\]]*)\]|\w+)\s*=\s*" + name + r"\(", text, re.M)
    if call is None:
        sys.exit(f"{name}: no call form 'out = {name}(...)' in its help")
    return len(call.group("many").split(",")) if call.group("many") else 1


def error_rows(text):
    """[identifier, message, condition] of each row of the help's error list
    (identifier "" for a message without one, message None for an identifier)."""
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
    return rows


def count_refusals(text):
    """(identifier, message) of each refusal the help's error list gives for
    a wrong input count; message None when the identifier names it."""
    return sorted((i, t) for i, t, cond in error_rows(text) if COUNT_CONDITION.search(cond))


def empty_refused(text):
    """The inputs whose emptiness the plug-in refuses with a refusal of its
    own ("h or T empty"): the scalars."""
    names = set()
    for _, _, cond in error_rows(text):
        match = EMPTY_CONDITION.match(cond)
        if match:
            names.update(re.split(r",\s*|\s+or\s+", match.group("names")))
    return names


def stub(name, outputs, params):
    args = [p + (": ArrayLike = ..." if optional else ": ArrayLike") for p, optional in params]
    result = "Array" if outputs == 1 else "tuple[" + ", ".join(["Array"] * outputs) + "]"
    return f"def {name}({', '.join(args + ['/'])}) -> {result}: ...\n"


def main(output, stub_file, stub_head, suffix, helps):
    table, signatures = {}, {}
    for path in sorted(helps):
        name = os.path.splitext(os.path.basename(path))[0]
        with open(path, encoding="utf-8") as f:
            text = help_text(f.read().splitlines())
        table[name] = (output_count(name, text), count_refusals(text), text)
        scalars = empty_refused(text)
        signatures[name] = [(p, optional, p in scalars) for p, optional in parameters(name, text)]
    with open(output, "w", encoding="utf-8") as f:
        f.write('"""The plug-ins of this build, written by make_plugins.py from their help files."""\n\n')
        f.write(f"SUFFIX = {suffix!r}\n\n# name: (outputs, refusals for a wrong input count, help text)\n")
        f.write("PLUGINS = {\n")
        for name, row in table.items():
            f.write(f"    {name!r}: {row!r},\n")
        f.write("}\n\n# name: [(parameter, optional, None stands for MATLAB's [])]\n")
        f.write("SIGNATURES = {\n")
        for name, row in signatures.items():
            f.write(f"    {name!r}: {row!r},\n")
        f.write("}\n")
    with open(stub_head, encoding="utf-8") as f:
        head = f.read()
    with open(stub_file, "w", encoding="utf-8") as f:
        f.write(head + "\n# The plug-ins, written by make_plugins.py from their help files.\n")
        for name, row in table.items():
            f.write(stub(name, row[0], [(p, optional) for p, optional, _ in signatures[name]]))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5:])
