#!/usr/bin/env python3
"""Fails when an include runs back up the layer order, or when portable code
includes an OS or toolkit header.

Usage: check_layers.py SOURCE_ROOT
"""
import pathlib
import re
import sys

# Each layer and the layers its files may include. Inside platform/: the
# core (text, errors, the CP932 table) at the bottom; then the host seam;
# then the windowing seam with what the program uses of the platform
# (widgets, input rules, dispatch, INI files); the host services (which
# know no window) and the windowing backends above them. The program logic
# sees the core and the seams; the executables put it all together.
CORE = "platform:core"
HOST = "platform:host"
SEAMS = "platform:seams"
CORE_FILES = {"text", "errors", "encoding", "cp932", "tempname", "dpi"}
HOST_FILES = {"host"}
PLATFORM = {CORE, HOST, SEAMS}
ALLOWED = {
    CORE: {CORE},
    HOST: {CORE, HOST},
    SEAMS: PLATFORM,
    "platform/posix": {CORE, HOST, "platform/posix"},
    "platform/win32": {CORE, HOST, "platform/win32"},
    "platform/headless": PLATFORM | {"platform/headless"},
    "platform/fltk": PLATFORM | {"platform/fltk", "platform/posix"},
    "platform/win32ui": PLATFORM | {"platform/win32ui", "platform/win32"},
    "setfile": PLATFORM | {"setfile"},
    "generate": PLATFORM | {"setfile", "generate"},
    "editor": PLATFORM | {"setfile", "editor"},
    "app": PLATFORM | {"setfile", "generate", "editor", "app"},
}
# Folders that may use OS and toolkit headers.
NATIVE = {"platform/posix", "platform/win32", "platform/fltk", "platform/win32ui"}
# The executables' entries: above everything, they may include anything.
ENTRIES = {"tarvo", "tarvo-headless", "tarvo-win32"}

STANDARD = set("""
algorithm any array atomic bit bitset cassert cctype cerrno cfloat charconv chrono cinttypes climits clocale cmath
compare concepts condition_variable cstdarg cstddef cstdint cstdio cstdlib cstring ctime cwchar cwctype deque
exception filesystem format forward_list fstream functional initializer_list iomanip ios iosfwd iostream istream
iterator limits list locale map memory mutex new numeric optional ostream queue random ranges ratio regex set
source_location span sstream stack stdexcept streambuf string string_view system_error thread tuple type_traits
typeinfo unordered_map unordered_set utility variant vector version
""".split())

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(rel):
    parts = rel.parts
    if parts[0] != "platform":
        return parts[0]
    if len(parts) > 2:
        # The CP932 table's data is part of the core.
        return CORE if parts[1] == "cp932" else "platform/" + parts[1]
    stem = rel.stem
    return CORE if stem in CORE_FILES else HOST if stem in HOST_FILES else SEAMS


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    problems = []
    checked = 0
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(root)
        layer = layer_of(rel)
        if layer in ENTRIES or layer not in ALLOWED:
            continue
        checked += 1
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, name = m.groups()
            where = f"{rel}:{number}: {name}"
            if kind == '"':
                target = layer_of(pathlib.Path(name))
                if target not in ALLOWED[layer]:
                    problems.append(f"{where}: {layer} may not include {target}")
            elif layer not in NATIVE and name not in STANDARD:
                problems.append(f"{where}: {layer}/ is portable and may include only the standard library")
    if checked == 0:
        sys.exit(f"check_layers: no sources found under {root}")
    for p in problems:
        print(p)
    print(f"check_layers: {checked} files, {len(problems)} problems")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
