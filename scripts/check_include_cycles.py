#!/usr/bin/env python3
"""Checks the includes between the program's modules: no cycle, and one door
to the device.

A module is a source folder (app, device, pages/device, platform/hidusb,
shell, ...), taken per layer: the files the build compiles into the core
(listed in the top-level CMakeLists.txt as VELMORAX_CORE_SOURCES, plus the
platform's QtCore part) are one layer, the rest of the folder the UI layer
above it. The main window and start-up (shell/) compose the pages and sit at
the top.

Cycles: a header with no .cpp behind it that includes no file of ours (a
plain shared type such as DeviceAllInfo, carried by the hub) depends on
nothing, so including it cannot close a cycle; it is left out. Every other
header counts, a class header because it ties its includer to the .cpp behind
it. A cycle between modules means two parts of the program can only be
understood, built and tested together; the check prints each cycle it finds
and fails.

The door: outside device/, platform/ and shell/ no file includes the
device-access library's call header, the worker, the report decoder or the
discovery. Pages and dialogs reach the device through the page-link kit
(device/pagelink.h), the named link controls (device/linkcontrols.h) and
plain data headers such as the library's records (platform/hidusb/records.h).
The check prints each such include and fails.

Usage: check_include_cycles.py [source root]   (default: the script's parent)
"""
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..'))
FOLDERS = ('app', 'device', 'pages', 'platform', 'shell')
BEHIND_THE_DOOR = ('platform/hidusb/hidusb.h', 'device/worker.h', 'device/reportdecoder.h', 'device/discovery.h')
DOOR_KEEPERS = ('device/', 'platform/', 'shell/')
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def cmake_list(name):
    path = os.path.join(ROOT, 'CMakeLists.txt')
    if not os.path.exists(path):
        return set()
    text = open(path, encoding='utf-8').read()
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
    if not path.endswith('.h') or os.path.exists(os.path.join(ROOT, path[:-2] + '.cpp')):
        return False
    text = open(os.path.join(ROOT, path), encoding='utf-8', errors='replace').read()
    return not any(inc.startswith(tuple(f + '/' for f in FOLDERS)) for inc in INCLUDE.findall(text))


def door_breaches():
    out = []
    for path in sorted(sources()):
        if path.startswith(DOOR_KEEPERS):
            continue
        text = open(os.path.join(ROOT, path), encoding='utf-8', errors='replace').read()
        out.extend((path, inc) for inc in INCLUDE.findall(text) if inc in BEHIND_THE_DOOR)
    return out


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
    breaches = door_breaches()
    for path, inc in breaches:
        print('past the door: %s includes %s (use device/pagelink.h or device/linkcontrols.h)' % (path, inc))
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
    if not breaches:
        print('no file outside device/, platform/ and shell/ includes %s' % ', '.join(BEHIND_THE_DOOR))
    return 1 if found or breaches else 0


if __name__ == '__main__':
    sys.exit(main())
