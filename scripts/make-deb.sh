#!/usr/bin/env bash
# Builds the Debian package pedal-editor_<version>_<arch>.deb: a Release build of the three
# programs with Debian's hardening flags in build-deb/, packed by CPack, then checked with
# lintian. Installs what it needs first, as install-deps.sh does.
# Usage: scripts/make-deb.sh [OUTPUT_DIR]   (default: the source folder)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(mkdir -p "${1:-$here}" && cd "${1:-$here}" && pwd)"
build="$here/build-deb"

"$here/scripts/install-deps.sh" --package

# Debian's compiler and linker flags: fortification, stack protector, full RELRO.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DPEDAL_BUILD_TESTS=OFF -DPEDAL_BUILD_BENCH=OFF -DPEDAL_BUILD_FUZZ=OFF \
  -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"

version=$(sed -n 's/^#define PEDAL_VERSION "\(.*\)"$/\1/p' "$build/generated/PedalVersion.h")
deb="$out/pedal-editor_${version}_$(dpkg --print-architecture).deb"
if command -v lintian >/dev/null; then
  # Errors fail the build; warnings are listed.
  lintian --info --fail-on error "$deb"
fi
echo "$deb"
