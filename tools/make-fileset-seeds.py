#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Builds the seed corpus of the file-set fuzz targets (fileset, window) from the example file sets:
# each seed is the tree file's length and the element file's length (little-endian uint16), then the
# tree, element and net files one after another.
#   tools/make-fileset-seeds.py [EXAMPLES_DIR] [OUT_DIR...]
import pathlib
import struct
import sys

root = pathlib.Path(__file__).resolve().parent.parent
examples = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "examples"
outs = [pathlib.Path(p) for p in sys.argv[2:]] or [root / "tests" / "fuzz" / n for n in ("fileset", "window")]
for out in outs:
    out.mkdir(parents=True, exist_ok=True)
    for tree in sorted(examples.glob("*.tsv")):
        elements = tree.with_suffix(".esv").read_bytes()
        nets = tree.with_suffix(".csv").read_bytes()
        t = tree.read_bytes()
        seed = struct.pack("<HH", len(t), len(elements)) + t + elements + nets
        (out / (tree.stem + ".bin")).write_bytes(seed)
