#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the site's page with its style, its script and the window's module in it, so that
the page starts from the one file it is fetched as, with nothing more to wait for:
one_page.py TEMPLATE STYLE SCRIPT MODULE PAGE. The template's Content Security Policy admits
the style and the script by their SHA-256 digests."""
import base64
import hashlib
import re
import sys


def digest(text):
    return "'sha256-%s'" % base64.b64encode(hashlib.sha256(text.encode()).digest()).decode()


def read(path):
    with open(path, encoding="utf-8") as file:
        return file.read()


def main(template, style, script, module, page):
    css, js = read(style), read(script)
    # Either would end its element early.
    if "</style" in css.lower() or "</script" in js.lower():
        sys.exit("one_page.py: the style or the script closes its own element")
    with open(module, "rb") as file:
        wasm = base64.b64encode(file.read()).decode()
    values = {"style-digest": digest(css), "script-digest": digest(js), "style": css,
              "script": js, "module": wasm}
    text = read(template)
    missing = [name for name in values if "@%s@" % name not in text]
    if missing:
        sys.exit("one_page.py: %s lacks @%s@" % (template, "@, @".join(missing)))
    text = re.sub("@(%s)@" % "|".join(values), lambda found: values[found.group(1)], text)
    with open(page, "w", encoding="utf-8") as file:
        file.write(text)


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit("usage: one_page.py TEMPLATE STYLE SCRIPT MODULE PAGE")
    main(*sys.argv[1:])
