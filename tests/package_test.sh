#!/usr/bin/env bash
# The Debian package made from this build tree (cpack, as scripts/make-deb.sh does for a
# Release build), unpacked into a scratch root and run from there.
# Usage: package_test.sh BUILD_DIR VERSION. Exit status 77: skipped (tools missing).
set -euo pipefail
build=$1
version=$2

for tool in cmake cpack dpkg-deb dpkg-shlibdeps dpkg file; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (Debian packages cmake, dpkg-dev, file); no package can be made"
    exit 77
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

# What the build tree installs, packed as cpack packs it. The tree is installed first and
# cpack packs that folder, so that cpack does not run the build's preinstall step (which
# would build every target of the tree inside the test). gzip rather than xz: the test
# build's binaries are large, and only the contents matter here.
DESTDIR="$scratch/stage" cmake --install "$build" --prefix /usr --strip >"$scratch/install.log" 2>&1 \
  || { cat "$scratch/install.log"; fail "cmake --install"; }
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" \
  -D CPACK_INSTALL_CMAKE_PROJECTS= -D "CPACK_INSTALLED_DIRECTORIES=$scratch/stage;." \
  -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; fail "cpack"; }
deb="$scratch/out/pedal-editor_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$scratch/out"; fail "no $(basename "$deb")"; }

# The control fields: the version, the Qt libraries found by dpkg-shlibdeps, the flashing tool.
fields=$(dpkg-deb -f "$deb" Package Version Depends Recommends)
echo "$fields"
grep -qx "Version: $version" <<<"$fields" || fail "version"
grep -q "^Depends:.*libqt6core6" <<<"$fields" || fail "Depends lacks the Qt libraries"
grep -q "^Depends:.*libqt6serialport6" <<<"$fields" || fail "Depends lacks Qt SerialPort"
grep -qx "Recommends: bossa-cli" <<<"$fields" || fail "Recommends"

root="$scratch/root"
dpkg -x "$deb" "$root"
for f in bin/pedal-editor bin/pedal-session bin/virtual-pedal \
         share/applications/pedal-editor.desktop \
         share/icons/hicolor/scalable/apps/pedal-editor.svg \
         share/icons/hicolor/16x16/apps/pedal-editor.png share/icons/hicolor/256x256/apps/pedal-editor.png \
         share/metainfo/local.pedaleditor.PedalEditor.metainfo.xml \
         share/man/man1/pedal-editor.1.gz share/man/man1/pedal-session.1.gz share/man/man1/virtual-pedal.1.gz \
         share/bash-completion/completions/pedal-session \
         share/doc/pedal-editor/copyright share/doc/pedal-editor/changelog.gz \
         share/pedal-editor/translations/pedal-editor_de.qm; do
  [ -e "$root/usr/$f" ] || fail "the package lacks /usr/$f"
done

# The programs run from the scratch root, without a display.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || true)
export LD_LIBRARY_PATH="$root/usr/lib${multiarch:+:$root/usr/lib/$multiarch}${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
for program in pedal-session virtual-pedal pedal-editor; do
  out=$("$root/usr/bin/$program" --version) || fail "$program --version"
  [ "$out" = "$program $version" ] || fail "$program --version printed \"$out\""
done
"$root/usr/bin/pedal-session" new -o "$scratch/new.txt" || fail "pedal-session new"
grep -q "^Tempos]" "$scratch/new.txt" || fail "pedal-session new wrote no session"
"$root/usr/bin/pedal-session" open "$scratch/new.txt" | cmp - "$scratch/new.txt" || fail "the new session does not open as itself"

# The completion offers the pages after --page and the commands first.
complete_words() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _pedal_session; echo "${COMPREPLY[*]}"' \
    _ "$root/usr/share/bash-completion/completions/pedal-session" "$@"
}
[ "$(complete_words pedal-session upload x.txt --page se)" = "setjacks setlist" ] || fail "completion of --page"
[ "$(complete_words pedal-session re)" = "receive" ] || fail "completion of the commands"

# The metadata and the manual pages, where their checkers are installed.
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/local.pedaleditor.PedalEditor.metainfo.xml" \
    || fail "appstreamcli validate"
fi
if command -v groff >/dev/null; then
  for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  done
fi
echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, all checks passed"
