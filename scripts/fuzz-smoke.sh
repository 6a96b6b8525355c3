#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each briefly over its
# seed corpus and its saved regression inputs. Fails on any crash, leak or sanitizer
# report. The checked-in corpora are not changed (new inputs go to a scratch folder).
#
#   scripts/fuzz-smoke.sh            # every target
#   FUZZ_SMOKE_RUNS=200000 FUZZ_SMOKE_SECONDS=600 scripts/fuzz-smoke.sh fuzz_receive
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-fuzz"
runs="${FUZZ_SMOKE_RUNS:-20000}"
seconds="${FUZZ_SMOKE_SECONDS:-30}"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_session_file fuzz_receive fuzz_pedal_input)
fi

compiler="${FUZZ_CXX:-clang++-14}"
if ! command -v "$compiler" >/dev/null; then
  echo "fuzz-smoke: $compiler not found (apt-get install clang-14 libclang-rt-14-dev)" >&2
  exit 1
fi

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPEDAL_BUILD_FUZZ=ON -DPEDAL_BUILD_EDITOR=OFF -DPEDAL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" -j"$(nproc)"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:malloc_context_size=10:max_malloc_fill_size=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=0
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  corpora=("$scratch/$name" "$here/fuzz/corpus/$name")
  if [ -d "$here/fuzz/regressions/$name" ]; then
    corpora+=("$here/fuzz/regressions/$name")
  fi
  mkdir -p "$scratch/$name"
  echo "fuzz-smoke: $target, $runs runs or $seconds s"
  if ! (cd "$scratch" && "$build/fuzz/$target" -runs="$runs" -max_total_time="$seconds" -timeout=30 \
          -print_final_stats=1 -artifact_prefix="$scratch/$name-" "${corpora[@]}" \
          >"$scratch/$name.log" 2>&1); then
    echo "fuzz-smoke: $target FAILED:" >&2
    tail -n 60 "$scratch/$name.log" >&2
    for artifact in "$scratch/$name-"*; do
      [ -e "$artifact" ] || continue
      mkdir -p "$build/artifacts"
      cp "$artifact" "$build/artifacts/"
      echo "fuzz-smoke: input kept as $build/artifacts/$(basename "$artifact")" >&2
    done
    failed=1
    continue
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$scratch/$name.log" | sed "s/^/fuzz-smoke: $target /"
done
exit "$failed"
