#!/usr/bin/env bash
# Prints the size of the test code (tests/ and the fuzz harness) against the product code
# (model/, format/, link/, print/, editor/, app/, tools/), in lines of C++ tracked by git.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | grep -E '\.(cpp|h|hpp|cc)$' | tr '\n' '\0' | xargs -0 -r cat | wc -l; }
product=$(count model format link print editor app tools)
tests=$(count tests fuzz)
if [ "$product" -eq 0 ]; then
  echo "test share: no product code found"
  exit 0
fi
echo "test share: $tests lines of tests against $product lines of product code ($((100 * tests / product)) %)"
