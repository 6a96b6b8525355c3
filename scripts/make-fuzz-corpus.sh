#!/usr/bin/env bash
# Remakes the seed corpora in fuzz/corpus/ from the project's own code: the factory
# session, randomised sessions (fixed seeds), page files, exports, single-line sessions,
# page data of every load request and the editor's uploads of every page.
# Builds the seed maker in the fuzz build (build-fuzz/, clang) first.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-fuzz"
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++-14}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPEDAL_BUILD_FUZZ=ON -DPEDAL_BUILD_EDITOR=OFF -DPEDAL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target make_fuzz_seeds -j"$(nproc)"
rm -rf "$here/fuzz/corpus"
"$build/fuzz/make_fuzz_seeds" "$here/fuzz/corpus"
du -sh "$here/fuzz/corpus"
