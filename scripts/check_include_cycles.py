#!/usr/bin/env python3
"""Checks that the includes between the program's modules form no cycle.

A module is a source folder (app, device, pages/device, platform/hidusb, ...),
taken per layer: the files the build compiles into the core (listed in the
top-level CMakeLists.txt as VELMORAX_CORE_SOURCES, plus the platform's
QtCore part) are one layer, the rest of the folder the UI layer above it. The
main window and start-up compose the pages, so they form the module "shell"
at the top. A header that includes no file of ours (a
plain shared type such as DeviceAllInfo, carried by the hub) depends on
nothing, so including it cannot close a cycle; it is left out. A cycle between modules means two parts of the
program can only be understood, built and tested together; the check prints
each cycle it finds and fails.

Usage: check_include_cycles.py [source root]   (default: the script's parent)
"""
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..'))
FOLDERS = ('app', 'device', 'pages', 'platform', 'shell')
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def cmake_list(name):
    text = open(os.path.join(ROOT, 'CMakeLists.txt'), encoding='utf-8').read()
    m = re.search(r'set\(%s\s+([^)]*)\)' % name, text)
    return set(m.group(1).split()) if m else set()


CORE = cmake_list('VELMORAX_CORE_SOURCES')
PLATFORM_UI = cmake_list('VELMORAX_PLATFORM_UI_SOURCES')


def module_of(path):
    folder = os.path.dirname(path)
    if path.startswith('platform/'):
        return folder + (' (ui)' if path in PLATFORM_UI else '')
    return folder + (' (core)' if path in CORE else '')


def sources():
    for top in FOLDERS:
        for dirpath, _, files in os.walk(os.path.join(ROOT, top)):
            for f in files:
                if f.endswith(('.cpp', '.h')):
                    yield os.path.relpath(os.path.join(dirpath, f), ROOT)


def is_leaf(path):
    text = open(os.path.join(ROOT, path), encoding='utf-8', errors='replace').read()
    return path.endswith('.h') and not any(inc.startswith(tuple(f + '/' for f in FOLDERS))
                                           for inc in INCLUDE.findall(text))


def graph():
    edges = {}
    for path in sources():
        src = module_of(path)
        edges.setdefault(src, {})
        text = open(os.path.join(ROOT, path), encoding='utf-8', errors='replace').read()
        for inc in INCLUDE.findall(text):
            if not inc.startswith(tuple(f + '/' for f in FOLDERS)) or not os.path.exists(os.path.join(ROOT, inc)):
                continue
            if is_leaf(inc):
                continue
            dst = module_of(inc)
            if dst != src:
                edges[src].setdefault(dst, []).append((path, inc))
    return edges


def cycles(edges):
    # Tarjan's strongly connected components; every component of more than
    # one module holds a cycle.
    index, low, stack, on, out = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on.add(v)
        for w in edges.get(v, {}):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop()
                on.discard(w)
                comp.append(w)
                if w == v:
                    break
            if len(comp) > 1:
                out.append(sorted(comp))

    sys.setrecursionlimit(10000)
    for v in sorted(edges):
        if v not in index:
            visit(v)
    return out


def main():
    edges = graph()
    found = cycles(edges)
    for comp in found:
        print('include cycle between: ' + ', '.join(comp))
        for a in comp:
            for b in comp:
                for path, inc in edges.get(a, {}).get(b, [])[:3]:
                    print('  %s -> %s   (%s includes %s)' % (a, b, path, inc))
    if not found:
        print('no include cycle between %d modules' % len(edges))
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())
