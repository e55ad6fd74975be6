#!/usr/bin/env bash
# Installs what is needed, builds, creates a demo database the first time (recording it as
# the per-user "DBName" setting) and starts the program. While kyv.ini names no gateway of
# the operator's ([gateway] Url), the demo gateway runs beside the program on 127.0.0.1 and
# the program is pointed at it: a dispatch and a refresh then work at once, and no SMS
# leaves the computer.
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

ini=build/bin/kyv.ini
if ! /usr/bin/python3 scripts/kyv_gateway.py configured "$ini"; then
  url_file=$(mktemp)
  build/bin/brisklane-demo-gateway --port 0 --delivery-seconds 5 --url-file "$url_file" &
  gateway_pid=$!
  stop_demo() {
    kill "$gateway_pid" 2>/dev/null || true
    wait "$gateway_pid" 2>/dev/null || true
    /usr/bin/python3 scripts/kyv_gateway.py unpoint "$ini"
    rm -f "$url_file"
  }
  trap stop_demo EXIT
  for _ in $(seq 100); do
    [ -s "$url_file" ] && break
    kill -0 "$gateway_pid" 2>/dev/null || { echo "The demo gateway did not start." >&2; exit 1; }
    sleep 0.1
  done
  [ -s "$url_file" ] || { echo "The demo gateway did not start." >&2; exit 1; }
  /usr/bin/python3 scripts/kyv_gateway.py point "$ini" "$(cat "$url_file")"
  echo "No gateway is configured in $ini ([gateway] Url): using the DEMO gateway, no SMS leaves this computer." >&2
fi

status=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual X server (xvfb-run)." >&2
  xvfb-run -a build/bin/brisklane || status=$?
else
  build/bin/brisklane || status=$?
fi
exit "$status"
