#!/usr/bin/env python3
"""The user's guide as a web page: README.ja.md to index.html, with the
pictures it shows copied beside it under the same relative names.

    guide_html.py CMARK_GFM README.ja.md OUT_FOLDER

The Markdown is read by cmark-gfm (GitHub's own reading, tables included,
raw HTML left out); headings get the ids GitHub gives them, so the guide's
own links to its sections work the same in the page. The page adds no script
and loads nothing from outside.
"""

import html
import os
import re
import shutil
import subprocess
import sys
import urllib.parse


def github_id(text, separator="-"):
    # GitHub's rule: lower case, punctuation dropped (letters of any script,
    # digits, "_" and "-" stay), each blank a hyphen.
    text = re.sub(r"<[^>]*>", "", text).strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", separator)


STYLE = """
body { font-family: "Noto Sans CJK JP", sans-serif; font-size: 1.25rem; line-height: 1.8;
       max-width: 48rem; margin: 2rem auto; padding: 0 1rem; color: #000; background: #fff; }
h1, h2, h3 { line-height: 1.4; }
h2 { border-bottom: 2px solid #000; margin-top: 3rem; }
img { max-width: 100%; height: auto; border: 1px solid #777; }
table { border-collapse: collapse; }
th, td { border: 1px solid #555; padding: 0.3rem 0.6rem; text-align: left; vertical-align: top; }
code, pre { font-size: 1.1rem; background: #f0f0f0; }
pre { padding: 0.6rem; overflow-x: auto; }
a { color: #0645ad; }
"""


def with_ids(body):
    seen = {}

    def heading(match):
        level, inner = match.group(1), match.group(2)
        base = github_id(html.unescape(inner))
        n = seen.get(base, 0)
        seen[base] = n + 1
        anchor = base if n == 0 else f"{base}-{n}"
        return f'<h{level} id="{html.escape(anchor)}">{inner}</h{level}>'

    return re.sub(r"<h([1-6])>(.*?)</h\1>", heading, body)


def main():
    cmark, source, out = sys.argv[1], sys.argv[2], sys.argv[3]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    body = subprocess.run(
        [cmark, "--extension", "table", "--to", "html"], input=text, capture_output=True, text=True, check=True
    ).stdout
    body = with_ids(body)
    title = html.escape(text.splitlines()[0].lstrip("# ").strip())
    os.makedirs(out, exist_ok=True)
    page = (
        '<!DOCTYPE html>\n<html lang="ja">\n<head>\n<meta charset="utf-8">\n'
        '<meta name="viewport" content="width=device-width, initial-scale=1">\n'
        f"<title>{title}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n{body}\n</body>\n</html>\n"
    )
    with open(os.path.join(out, "index.html"), "w", encoding="utf-8") as f:
        f.write(page)
    # The pictures, under the names the page uses.
    base = os.path.dirname(os.path.abspath(source))
    for picture in sorted(set(re.findall(r'<img[^>]* src="([^":]+)"', body))):
        picture = urllib.parse.unquote(html.unescape(picture))
        target = os.path.join(out, picture)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.join(base, picture), target)
    # Every link to a section of the page has its heading.
    ids = set(re.findall(r' id="([^"]+)"', body))
    missing = [
        a for a in re.findall(r'href="#([^"]+)"', body) if urllib.parse.unquote(html.unescape(a)) not in ids
    ]
    if missing:
        sys.exit("guide_html: links to no heading: " + ", ".join(missing))


if __name__ == "__main__":
    main()
