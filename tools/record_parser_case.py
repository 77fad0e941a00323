#!/usr/bin/env python3
"""Records a golden parser case for tests/data/parser/*.cases from yomibon-cli output.

    python3 tools/record_parser_case.py BUILD/bin/yomibon-cli '前［＃改ページ］後' >> tests/data/parser/x.cases

The notation is one line ("\\n" separates source lines). The case is parsed after a blank
first line, as the test runner does, and its body lines are written in the runner's form:
plain runs as their text, other runs as {type:text@begin-end}. Check the output by hand
before keeping it: a recorded case guards behaviour, it does not prove it right.
"""
import json
import os
import subprocess
import sys
import tempfile


def describe(runs):
    parts = []
    for r in runs:
        if r["type"] == 0:
            parts.append(r["text"])
        else:
            text = r["text"].replace("\0", "|")
            b, e = r["tpBegin"], r["tpEnd"]
            parts.append(f"{{{r['type']}:{text}@{b[0]},{b[1]}-{e[0]},{e[1]}}}")
    out = ""
    for p in parts:
        if out:
            out += " "
        out += p
    return out


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    cli, notation = sys.argv[1], sys.argv[2]
    with tempfile.NamedTemporaryFile("wb", suffix=".txt", delete=False) as f:
        f.write(("\n" + notation.replace("\\n", "\n")).encode("utf-8"))
        path = f.name
    try:
        dump = subprocess.run([cli, "dump", path], check=True, capture_output=True).stdout
    finally:
        os.unlink(path)
    lines = {}
    count = 0
    for row in dump.decode("utf-8").splitlines():
        obj = json.loads(row)
        if "line" not in obj:
            continue
        lines.setdefault(obj["line"], []).append(obj)
        count = max(count, obj["line"] + 1)
    print(notation)
    for n in range(2, count):
        print("> " + describe(lines.get(n, [])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
