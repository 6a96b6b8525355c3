#!/usr/bin/env bash
# Checks that every C++ file tracked by git is laid out as .clang-format says. The layout
# was written for clang-format 14 (Debian 12); without clang-format the check is skipped.
# Usage: scripts/check-format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  echo "layout check skipped: clang-format is not installed"
  exit 0
fi
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/pedal-format-check.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/pedal-format-check.$$ | cut -d: -f1 | sort -u \
    | sed 's/^/  not laid out as .clang-format says: /'
  rm -f /tmp/pedal-format-check.$$
  echo "run scripts/check-format.sh --fix to lay them out"
  exit 1
fi
rm -f /tmp/pedal-format-check.$$
echo "layout check: every C++ file is laid out as .clang-format says"
