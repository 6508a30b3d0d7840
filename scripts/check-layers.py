#!/usr/bin/env python3
"""Checks the folder include graph of src/ and tests/, and the README's
layer table.

Every folder of src/ is one layer. The layers and what each links are read
from the quorvane_layer(...) calls of the top CMakeLists.txt. A folder may
include its own headers and those of the layers it links, directly or
through them; the graph of folder includes must have no cycle. The tests of
a layer (tests/NAME/) may include what the layer may. The README's layout
table has one row per layer whose last column names exactly the layers it
links. Exits 1 and names every offence otherwise.

usage: check-layers.py [ROOT]   (default: the repository holding this script)"""
import pathlib
import re
import sys

root = (pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else
        pathlib.Path(__file__).resolve().parent.parent).resolve()
cmake = (root / "CMakeLists.txt").read_text()
depends = {}
for call in re.finditer(r"quorvane_layer\((\w+)([^)]*)\)", cmake):
    name, rest = call.group(1), call.group(2)
    match = re.search(r"DEPENDS((?:\s+\w+)+?)(?=\s+[A-Z]+\b|\s*$)", rest)
    depends[name] = match.group(1).split() if match else []


def reachable(layer, seen=None):
    seen = set() if seen is None else seen
    for lower in depends.get(layer, []):
        if lower not in seen:
            seen.add(lower)
            reachable(lower, seen)
    return seen


include = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/', re.M)
graph = {}
problems = []
for folder in sorted(p for p in (root / "src").iterdir() if p.is_dir()):
    layer = folder.name
    if layer not in depends:
        problems.append(f"src/{layer}/ is not a layer of CMakeLists.txt")
        continue
    allowed = reachable(layer) | {layer}
    graph[layer] = set()
    for source in sorted(folder.rglob("*")):
        if source.suffix not in (".h", ".cpp"):
            continue
        for target in include.findall(source.read_text(errors="replace")):
            if target not in depends:
                continue
            if target != layer:
                graph[layer].add(target)
            if target not in allowed:
                problems.append(f"{source.relative_to(root)} includes {target}/, "
                                f"which {layer}/ does not link")

# A layer's tests see what the layer sees.
for folder in sorted(p for p in (root / "tests").iterdir() if p.is_dir() and p.name in depends):
    layer = folder.name
    allowed = reachable(layer) | {layer}
    for source in sorted(folder.rglob("*")):
        if source.suffix not in (".h", ".cpp"):
            continue
        for target in include.findall(source.read_text(errors="replace")):
            if target in depends and target not in allowed:
                problems.append(f"{source.relative_to(root)} includes {target}/, "
                                f"which the tests of {layer}/ do not link")

# The README's layout table: | `src/NAME/` | what it holds | `lower`, ... |
rows = {}
for row in re.finditer(r"^\| `src/(\w+)/` \|.*\|([^|]*)\|\s*$", (root / "README.md").read_text(), re.M):
    rows[row.group(1)] = set(re.findall(r"`(\w+)`", row.group(2)))
for layer in depends:
    if layer not in rows:
        problems.append(f"README.md: the layout table has no row for src/{layer}/")
    elif rows[layer] != set(depends[layer]):
        listed = ", ".join(sorted(rows[layer])) or "nothing"
        problems.append(f"README.md: src/{layer}/ may include {listed} by the layout table, "
                        f"but links {', '.join(depends[layer]) or 'nothing'}")
for layer in rows:
    if layer not in depends:
        problems.append(f"README.md: the layout table lists src/{layer}/, which is no layer")

# Depth-first search for a cycle among the folders.
state = {}


def visit(layer, path):
    state[layer] = "open"
    for target in sorted(graph.get(layer, ())):
        if state.get(target) == "open":
            cycle = path[path.index(target):] + [target]
            problems.append("include cycle: " + " -> ".join(cycle))
        elif target not in state:
            visit(target, path + [target])
    state[layer] = "done"


for layer in sorted(graph):
    if layer not in state:
        visit(layer, [layer])

for problem in problems:
    print(problem, file=sys.stderr)
if problems:
    sys.exit(1)
print("layers: " + ", ".join(f"{k} -> {' '.join(sorted(reachable(k))) or '-'}" for k in depends))
