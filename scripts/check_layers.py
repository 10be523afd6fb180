#!/usr/bin/env python3
"""Fails when an include in src/ points up the layer order, between folders in a cycle, or
somewhere it cannot be checked (a relative path, a folder that is no layer); and when the core
names windows.h.

The layers, lowest first; each may include its own folder and those before it:
  core <- platform <- ui <- resources <- windows <- app
"""
import pathlib
import re
import sys

LAYERS = ["core", "platform", "ui", "resources", "windows", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]', re.MULTILINE)


def folder_edges(src):
    """(file, line, from-folder, to-folder or None, problem or None) for every quoted include."""
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".rc") or not path.is_file():
            continue
        rel = path.relative_to(src)
        here = rel.parts[0] if len(rel.parts) > 1 else None
        text = path.read_text(encoding="utf-8", errors="replace")
        for m in INCLUDE.finditer(text):
            line = text.count("\n", 0, m.start()) + 1
            quote, target = m.groups()
            where = f"{rel}:{line}"
            if quote == "<":
                if here == "core" and target.lower() in ("windows.h", "shellapi.h"):
                    yield where, here, None, f"the core includes <{target}>"
                continue
            if path.suffix == ".rc" and "/" not in target:
                continue  # the resource script's own folder
            parts = target.split("/")
            if ".." in parts or len(parts) < 2 or parts[0] not in LAYERS:
                yield where, here, None, f'"{target}" is not "<layer>/<file>"'
                continue
            yield where, here, parts[0], None


def find_cycle(graph):
    """A list of folders that include each other round, or None."""
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return trail[trail.index(nxt):] + [nxt] if nxt in trail else [node, nxt]
            if nxt not in state:
                found = visit(nxt, trail + [nxt])
                if found:
                    return found
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [node])
            if found:
                return found
    return None


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
    problems = []
    graph = {}
    for where, here, to, problem in folder_edges(src):
        if problem:
            problems.append(f"{where}: {problem}")
            continue
        if here not in LAYERS:
            problems.append(f"{where}: {here or 'src'}/ is no layer folder")
            continue
        if here != to:
            graph.setdefault(here, set()).add(to)
            if LAYERS.index(to) > LAYERS.index(here):
                problems.append(f"{where}: {here}/ includes {to}/, a layer above it")
    cycle = find_cycle(graph)
    if cycle:
        problems.append("include cycle between folders: " + " -> ".join(cycle))
    for p in problems:
        print(p)
    if problems:
        return 1
    print("layers ok: " + "; ".join(f"{k} -> {', '.join(sorted(v))}" for k, v in sorted(graph.items())))
    return 0


if __name__ == "__main__":
    sys.exit(main())
