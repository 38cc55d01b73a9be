#!/usr/bin/env python3
"""Turns the command-line reference (docs/cli-reference.md) into a man page.

It understands the small part of Markdown that the reference uses: a title
line "# name(section) -- summary", "## " headings, paragraphs, list items of
the form "- term:" with indented description lines, ``` blocks, `code` and
*emphasis*.

Usage: markdown-to-man.py SOURCE OUTPUT VERSION
"""

import re
import sys


def escape(text):
    text = text.replace("\\", "\\e")
    return text.replace("-", "\\-")


def inline(text):
    """Code becomes bold, emphasis italic; everything else is escaped."""
    out = []
    for part in re.split(r"(`[^`]*`|\*[^*]+\*)", text):
        if part.startswith("`") and part.endswith("`") and len(part) >= 2:
            out.append("\\fB" + escape(part[1:-1]) + "\\fR")
        elif part.startswith("*") and part.endswith("*") and len(part) >= 2:
            out.append("\\fI" + escape(part[1:-1]) + "\\fR")
        else:
            out.append(escape(part))
    line = "".join(out)
    # A line may not start with a control character.
    return "\\&" + line if line.startswith((".", "'")) else line


def convert(lines, version):
    title = re.fullmatch(r"# (\S+)\((\d)\) -- (.*)", lines[0].rstrip("\n"))
    if not title:
        raise ValueError("the first line must be '# name(section) -- summary'")
    name, section, summary = title.groups()
    out = [
        f'.TH {name.upper()} {section} "" "{name} {version}" "User Commands"',
        ".SH NAME",
        f"{escape(name)} \\- {inline(summary)}",
    ]
    in_code = False
    paragraph_pending = False
    for raw in lines[1:]:
        line = raw.rstrip("\n")
        if line.startswith("```"):
            out.extend([".PP", ".RS 4", ".nf"] if not in_code else [".fi", ".RE"])
            in_code = not in_code
            paragraph_pending = False
            continue
        if in_code:
            out.append(escape(line) if not line.startswith((".", "'")) else "\\&" + escape(line))
            continue
        if not line.strip():
            paragraph_pending = True
            continue
        if line.startswith("## "):
            out.append(".SH " + escape(line[3:].upper()))
            paragraph_pending = False
            continue
        item = re.fullmatch(r"- (.*):", line)
        if item:
            out.extend([".TP", inline(item.group(1))])
            paragraph_pending = False
            continue
        if paragraph_pending and not line.startswith("  "):
            out.append(".PP")
        paragraph_pending = False
        out.append(inline(line.strip()))
    if in_code:
        raise ValueError("a ``` block is not closed")
    return "\n".join(out) + "\n"


def main():
    source, output, version = sys.argv[1:4]
    with open(source, encoding="utf-8") as f:
        page = convert(f.readlines(), version)
    with open(output, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()
