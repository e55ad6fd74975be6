#!/usr/bin/env bash
# A private Firebird 3 server for trying the program against a server and for the tests: Debian's
# server binary unpacked into a folder of the project's (never installed, so no system service is
# registered), run as the current user with a root folder of its own that holds its
# configuration (127.0.0.1 only, a port of its own), its security database, lock, temporary and
# log files. The system's Firebird service and files are never touched; no root is needed.
#
#   fbserver.sh start [ROOT]    lay out ROOT the first time (a free port, a random SYSDBA
#                               password kept in ROOT/sysdba.password), then start the server
#   fbserver.sh stop [ROOT]     stop it
#   fbserver.sh status [ROOT]   tell whether it runs, and where
#   fbserver.sh use [ROOT]      create a demo database on it the first time and point the
#                               program at it (DBName, DBUser, DBPassword)
#   fbserver.sh fetch [PKGDIR]  unpack the server binary into PKGDIR and print its path
#   fbserver.sh prepare ROOT PORT   lay out ROOT for port PORT, the SYSDBA password read from
#                               standard input (what start does the first time; the tests use it)
#   fbserver.sh run ROOT [BINARY]   run the server of a prepared ROOT in the foreground
#
# ROOT defaults to $BRISKLANE_FBSERVER_ROOT, else ~/.local/share/Brisklane/fbserver; PKGDIR to
# $BRISKLANE_FBSERVER_PKG, else build/fbserver-pkg of the source tree.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
default_root=${BRISKLANE_FBSERVER_ROOT:-${XDG_DATA_HOME:-$HOME/.local/share}/Brisklane/fbserver}
default_pkg=${BRISKLANE_FBSERVER_PKG:-$here/build/fbserver-pkg}

die() {
  echo "fbserver.sh: $*" >&2
  exit 1
}

# The folder of the installed engine (firebird3.0-server-core): plugins, intl, messages.
engine_dir() {
  local d
  for d in /usr/lib/*/firebird/3.0; do
    [ -f "$d/plugins/libEngine12.so" ] && { echo "$d"; return; }
  done
  die "the Firebird 3 engine is not installed (firebird3.0-server-core): run scripts/deps.sh"
}

cmd_fetch() {
  local pkg=${1:-$default_pkg}
  local bin=$pkg/usr/sbin/firebird
  if [ ! -x "$bin" ]; then
    # The same version as the installed engine, whose plugins the binary loads.
    local version
    version=$(dpkg-query -W -f='${Version}' firebird3.0-server-core 2>/dev/null) ||
      die "firebird3.0-server-core is not installed: run scripts/deps.sh"
    mkdir -p "$pkg/deb"
    download() {
      (cd "$pkg/deb" && { apt-get download -q "firebird3.0-server=$version" >/dev/null 2>&1 ||
        apt-get download -q firebird3.0-server >/dev/null 2>&1; })
    }
    # Package lists may be missing on a machine whose packages were all there already.
    download || { [ "$(id -u)" -eq 0 ] && apt-get update -q >/dev/null && download; } ||
      die "cannot download Debian's firebird3.0-server package (try: apt-get update)"
    local deb
    deb=$(ls -t "$pkg"/deb/firebird3.0-server_*.deb | head -n 1)
    dpkg-deb -x "$deb" "$pkg/unpacked"
    mkdir -p "$pkg/usr/sbin"
    mv "$pkg/unpacked/usr/sbin/firebird" "$bin"
    rm -rf "$pkg/unpacked"
  fi
  echo "$bin"
}

# prepare ROOT PORT, SYSDBA's password on standard input.
cmd_prepare() {
  [ $# -eq 2 ] || die "usage: fbserver.sh prepare ROOT PORT"
  local root=$1 port=$2 engine password
  engine=$(engine_dir)
  IFS= read -r password || [ -n "$password" ] || die "no SYSDBA password on standard input"
  mkdir -p "$root"
  root=$(cd "$root" && pwd)
  chmod 700 "$root"
  mkdir -p "$root/lock" "$root/tmp"
  rm -f "$root/security3.fdb"
  # The character sets module is named after the root folder ($(root)/intl/fbintl), and the
  # engine refuses one it finds under another name, as through a link: a copy of it.
  mkdir -p "$root/intl"
  cp "$engine/intl/fbintl.conf" "$engine/intl/libfbintl.so" "$root/intl/"
  ln -sfn "$engine/firebird.msg" "$root/firebird.msg"
  cat >"$root/firebird.conf" <<EOF
# Written by scripts/fbserver.sh: a private server on the loopback address only.
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
ServerMode = Super
SecurityDatabase = $root/security3.fdb
TempDirectories = $root/tmp
EOF
  # The engine's plugins where the package installed them, for the boot mode (see run).
  local name
  for name in Engine12 Srp Legacy_Auth Legacy_UserManager fbtrace; do
    printf 'Plugin = %s {\n\tModule = %s/plugins/lib%s.so\n}\n' "$name" "$engine" "$name"
  done >"$root/plugins.conf"
  # The security database, created through the embedded engine under this root's own
  # configuration; the password travels on standard input, never on a command line.
  local quoted=${password//\'/\'\'}
  server_env "$root" isql-fb -q -user SYSDBA >"$root/prepare.out" 2>&1 <<EOF ||
create database '$root/security3.fdb';
create user SYSDBA password '$quoted' using plugin Srp;
commit;
EOF
    { cat "$root/prepare.out" >&2; die "cannot create the security database in $root"; }
  grep -q . "$root/prepare.out" && { cat "$root/prepare.out" >&2; die "cannot create the security database in $root"; }
  rm -f "$root/prepare.out"
}

# Runs a command with the server's own root, lock and temporary folders. FIREBIRD_BOOT_BUILD
# makes the engine look for its log, plugin list and character sets under that root too (but
# a server so run takes every login for SYSDBA: only the embedded steps use it).
server_env() {
  local root=$1
  shift
  FIREBIRD_BOOT_BUILD=1 FIREBIRD=$root FIREBIRD_LOCK=$root/lock FIREBIRD_TMP=$root/tmp "$@"
}

conf_port() {
  sed -n 's/^RemoteServicePort = \([0-9]*\)$/\1/p' "$1/firebird.conf"
}

# A port of 127.0.0.1 that nothing listens on, from the range the system leaves to servers.
free_port() {
  local port i
  for i in $(seq 50); do
    port=$((20000 + RANDOM % 12000))
    listening "$port" || { echo "$port"; return; }
  done
  die "no free port found on 127.0.0.1"
}

# The pid of the server of ROOT when it runs.
running_pid() {
  local root=$1 pid
  [ -f "$root/firebird.pid" ] || return 1
  pid=$(cat "$root/firebird.pid")
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 1
  [[ "$(readlink "/proc/$pid/exe" 2>/dev/null)" == */usr/sbin/firebird ]] || return 1
  echo "$pid"
}

listening() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# run ROOT [BINARY]: the server of ROOT in the foreground, in this process. The engine writes
# its log to a folder fixed when Debian built it (/var/log/firebird): the server runs in a
# mount namespace of its own where that folder is ROOT/log, so no system file is written.
# Where no namespace can be had, a plain user's server cannot write there anyway (its log is
# then lost) and root's falls back to the engine's boot mode (log in ROOT; every login then
# acts as SYSDBA, as ROOT/auth-mode tells).
cmd_run() {
  [ $# -ge 1 ] || die "usage: fbserver.sh run ROOT [BINARY]"
  local root bin=${2:-}
  root=$(cd "$1" && pwd)
  [ -n "$bin" ] || bin=$(cmd_fetch)
  [ -f "$root/firebird.conf" ] || die "$root is not prepared: fbserver.sh prepare ROOT PORT"
  mkdir -p "$root/log"
  rm -f "$root/auth-mode"
  cd "$root"
  export FIREBIRD=$root FIREBIRD_LOCK=$root/lock FIREBIRD_TMP=$root/tmp
  unset FIREBIRD_BOOT_BUILD
  local logdir=/var/log/firebird ns=(unshare --mount --propagation private) server=("$bin")
  [ "$(id -u)" -eq 0 ] || ns=(unshare --user --map-root-user --mount --propagation private)
  # A test's server ends with the test process (entering a user namespace forgets that).
  [ -z "${FBSERVER_DIE_WITH_PARENT:-}" ] || server=(setpriv --pdeathsig KILL "$bin")
  if [ ! -d "$logdir" ]; then
    exec "${server[@]}"
  elif "${ns[@]}" mount --bind "$root/log" "$logdir" 2>/dev/null; then
    exec "${ns[@]}" sh -c 'mount --bind "$1/log" "$2" && shift 2 && exec "$@"' sh "$root" "$logdir" "${server[@]}"
  elif [ "$(id -u)" -eq 0 ]; then
    echo bootBuild >"$root/auth-mode"
    FIREBIRD_BOOT_BUILD=1 exec "${server[@]}"
  else
    exec "${server[@]}"
  fi
}

cmd_start() {
  local root=${1:-$default_root}
  if [ ! -f "$root/firebird.conf" ]; then
    mkdir -p "$root"
    (umask 077 && head -c 24 /dev/urandom | base64 | tr -d '/+=\n' >"$root/sysdba.password")
    cmd_prepare "$root" "$(free_port)" <"$root/sysdba.password"
  fi
  root=$(cd "$root" && pwd)
  local port pid bin
  port=$(conf_port "$root")
  if pid=$(running_pid "$root"); then
    echo "The server already runs (pid $pid) on 127.0.0.1/$port."
    return
  fi
  listening "$port" && die "port $port of 127.0.0.1 is taken by another program"
  bin=$(cmd_fetch)
  cmd_run "$root" "$bin" </dev/null >>"$root/server.out" 2>&1 &
  echo $! >"$root/firebird.pid"
  local i
  for i in $(seq 150); do
    listening "$port" && break
    kill -0 "$(cat "$root/firebird.pid")" 2>/dev/null ||
      { tail -n 20 "$root/firebird3.0.log" "$root/server.out" >&2 2>/dev/null; die "the server did not start"; }
    sleep 0.1
  done
  listening "$port" || die "the server does not listen on 127.0.0.1/$port"
  echo "Firebird server on 127.0.0.1/$port, folder $root (its log: log/firebird3.0.log there)."
  echo "Stop it with: scripts/fbserver.sh stop"
}

cmd_stop() {
  local root=${1:-$default_root} pid i
  if ! pid=$(running_pid "$root"); then
    echo "The server does not run."
    rm -f "$root/firebird.pid"
    return
  fi
  kill -TERM "$pid"
  for i in $(seq 20); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  # The engine does not always act on the signal; committed work is already on disk
  # (forced writes), so ending the process loses nothing committed.
  kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
  rm -f "$root/firebird.pid"
  echo "The server has stopped."
}

cmd_status() {
  local root=${1:-$default_root} pid
  [ -f "$root/firebird.conf" ] || { echo "No server in $root (start one with: scripts/fbserver.sh start)."; return 1; }
  if pid=$(running_pid "$root"); then
    echo "The server runs (pid $pid) on 127.0.0.1/$(conf_port "$root"), folder $root."
  else
    echo "The server in $root does not run."
    return 1
  fi
}

cmd_use() {
  local root=${1:-$default_root}
  local mkdb=$here/build/bin/brisklane-mkdb
  [ -x "$mkdb" ] || die "build the program first: bash scripts/build.sh"
  cmd_status "$root" >/dev/null || die "the server does not run: scripts/fbserver.sh start"
  root=$(cd "$root" && pwd)
  local location="127.0.0.1/$(conf_port "$root"):$root/data/demo.fdb"
  mkdir -p "$root/data"
  [ -f "$root/data/demo.fdb" ] ||
    "$mkdb" --demo "$location" --user SYSDBA --password <"$root/sysdba.password"
  "$mkdb" --register "$location" --user SYSDBA --password <"$root/sysdba.password"
}

case ${1:-} in
start | stop | status | use | fetch | prepare | run)
  command=$1
  shift
  "cmd_$command" "$@"
  ;;
*)
  sed -n '9,20p' "$0" >&2
  exit 2
  ;;
esac
