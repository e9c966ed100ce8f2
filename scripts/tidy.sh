#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) on the program code and the platform
# layer of a configured build. clang knows no CP932 execution charset, so the
# compile commands are given to it without the charset and GCC-only flags.
# Usage: scripts/tidy.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: tidy.sh BUILD_DIR}
[[ -f $build/compile_commands.json ]] || { echo "tidy: no $build/compile_commands.json" >&2; exit 2; }
db=$(mktemp -d)
trap 'rm -rf "$db"' EXIT
python3 - "$build/compile_commands.json" "$db/compile_commands.json" <<'PY'
import json, sys
drop = ("-fexec-charset=", "-Wno-restrict")
entries = json.load(open(sys.argv[1]))
for e in entries:
    e["command"] = " ".join(w for w in e["command"].split() if not w.startswith(drop))
json.dump(entries, open(sys.argv[2], "w"))
PY
mapfile -t sources < <(git ls-files 'app/*.cpp' 'setfile/*.cpp' 'generate/*.cpp' 'editor/*.cpp' 'platform/*.cpp' |
  grep -v -e '^platform/win32' -e '^platform/win32ui')
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$db" --quiet 2>/dev/null | tee "$db/out.txt" | grep -E "^/.*(warning|error):" || true
if grep -qE "^/.*(warning|error):" "$db/out.txt"; then
  echo "tidy: findings above" >&2
  exit 1
fi
echo "tidy: ${#sources[@]} files clean"
