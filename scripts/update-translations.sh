#!/usr/bin/env bash
# Collects the window's texts into translations/pedal-editor_<lang>.ts with Qt's lupdate
# (Debian package qt6-l10n-tools). Texts that are gone are dropped; new ones are added
# unfinished, for the translator to fill in.
# Usage: scripts/update-translations.sh [LANG...]   (default: every .ts there is)
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate6 || command -v /usr/lib/qt6/bin/lupdate || true)
[ -n "$lupdate" ] || { echo "lupdate is missing (Debian package qt6-l10n-tools)"; exit 1; }
langs=("$@")
if [ ${#langs[@]} -eq 0 ]; then
  for ts in translations/pedal-editor_*.ts; do
    l=${ts#translations/pedal-editor_}
    langs+=("${l%.ts}")
  done
fi
for l in "${langs[@]}"; do
  "$lupdate" -silent -no-obsolete -locations none -target-language "$l" model format link editor app -ts "translations/pedal-editor_$l.ts"
done
