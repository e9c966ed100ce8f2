#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format says.
# To format: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
bad=()
for f in "${sources[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if ((${#bad[@]})); then
  printf 'not formatted: %s\n' "${bad[@]}" >&2
  echo "format: ${#bad[@]} of ${#sources[@]} files need clang-format -i" >&2
  exit 1
fi
echo "format: ${#sources[@]} files formatted"
