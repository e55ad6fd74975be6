#!/usr/bin/env bash
# Installs what is needed, builds, creates a demo database the first time (recording it as
# the per-user "DBName" setting) and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build
export FIREBIRD_LOCK=${FIREBIRD_LOCK:-${XDG_RUNTIME_DIR:-/tmp}/brisklane-fb-$(id -u)}
mkdir -p "$FIREBIRD_LOCK"
data=${XDG_DATA_HOME:-$HOME/.local/share}/Brisklane
demo="$data/demo.fdb"
if [ ! -f "$demo" ]; then
  mkdir -p "$data"
  build/bin/brisklane-mkdb --demo "$demo"
fi
build/bin/brisklane-mkdb --register-if-unset "$demo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a build/bin/brisklane
fi
exec build/bin/brisklane
