"""Writes MATLAB's help-browser files for the plug-ins of the build into a
scratch folder as scripts/release does, checks them, and checks that the
check refuses each kind of fault a broken folder could have.

Usage: matlab_help_test.py SOURCE_DIR NAME..."""
import os
import shutil
import subprocess
import sys
import tempfile

source, names = sys.argv[1], sys.argv[2:]
tools = os.path.join(source, "docs", "tools")


def run(tool, *args):
    done = subprocess.run([sys.executable, os.path.join(tools, tool)] + list(args), capture_output=True, text=True)
    return done.returncode, done.stdout + done.stderr


def edit(path, old, new):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if old not in text:
        raise SystemExit(f"{path} holds no {old!r} to break")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace(old, new, 1))


first = names[0]
faults = [
    ("info.xml", "<help_location>html</help_location>", "<help_location>doc</help_location>",
     "help_location 'doc' is not a folder"),
    ("info.xml", "<type>toolbox</type>", "<type>library</type>", "type 'library' is none of"),
    ("info.xml", "<icon></icon>", "<icon></icon><version>1</version>", "unknown element version"),
    ("html/helptoc.xml", f'<tocitem target="{first}.html">{first}</tocitem>', "",
     f"no tocitem {first} for {first}.html"),
    ("html/helptoc.xml", f'target="{first}.html"', f'target="{first}.htm"', "is no page of the help folder"),
    ("html/helptoc.xml", 'image="HelpIcon.FUNCTION"', 'image="HelpIcon.FUNCTIONS"', "is no documented help icon"),
    ("html/helptoc.xml", '<toc version="2.0">', '<toc version="1.0">', "not toc version 2.0"),
    (f"html/{first}.html", "</body>", "", "mismatched tag"),
    ("html/gridmex.html", f'href="{first}.html"', 'href="missing.html"', "link to missing.html: no such file"),
]
status = 0
with tempfile.TemporaryDirectory() as scratch:
    good = os.path.join(scratch, "gridmex")
    code, out = run("matlab_help.py", good)
    if code:
        raise SystemExit(out)
    code, out = run("check_matlab_help.py", good, *names)
    print(out, end="")
    status |= code
    for file, old, new, expected in faults:
        broken = os.path.join(scratch, "broken")
        shutil.rmtree(broken, ignore_errors=True)
        shutil.copytree(good, broken)
        edit(os.path.join(broken, file), old, new)
        code, out = run("check_matlab_help.py", broken, *names)
        if code == 0 or expected not in out:
            print(f"{file} with {new!r} for {old!r}: not refused with {expected!r}:\n{out}")
            status = 1
    print(f"{len(faults)} broken folders refused" if status == 0 else "a broken folder was not refused")
sys.exit(status)
