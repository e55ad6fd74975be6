#!/usr/bin/env bash
# Renews docs/main-window.png: the program on a demo database under Xvfb (needs imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/lock" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" FIREBIRD_LOCK="$work/lock" XDG_RUNTIME_DIR="$work/runtime"
build/bin/brisklane-mkdb --demo "$work/demo.fdb" >/dev/null
build/bin/brisklane-mkdb --register "$work/demo.fdb" >/dev/null
xvfb-run -a -s "-screen 0 1280x800x24" bash -c \
  "build/bin/brisklane & sleep 6; import -window root '$work/shot.png'; kill %1" 2>/dev/null || true
mkdir -p docs
convert "$work/shot.png" -resize 1024x docs/main-window.png
