#!/usr/bin/env python3
"""Writes an SVG whose shared style classes are put on each element instead.

Vekta's SVG export names each style once in a style sheet, which keeps the
file small; some renderers draw the same picture faster when every element
carries its style itself. The benchmarks give the peers whichever is faster.

    bench/inline-styles.py IN.svg OUT.svg
"""
import re
import sys


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: inline-styles.py IN.svg OUT.svg")
    with open(sys.argv[1], encoding="utf-8") as f:
        svg = f.read()
    styles = dict(re.findall(r"\.(s\d+)\{([^}]*)\}", svg))
    svg = re.sub(r'class="(s\d+)"', lambda m: 'style="%s"' % styles.get(m.group(1), ""), svg)
    svg = re.sub(r'<style type="text/css"><!\[CDATA\[.*?\]\]></style>\n', "", svg, flags=re.S)
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write(svg)


main()
