#!/usr/bin/env bash
# The wine session of the win64 test run, as CTest's setup and cleanup fixtures:
#   session.sh start  create the prefix (once per build folder) with the null graphics
#                     driver, and start one persistent wineserver for the whole run
#   session.sh stop   stop that wineserver
# WINEPREFIX and the path of wine64 come from the environment (QUORVEX_WINE64).
set -euo pipefail
wine64="${QUORVEX_WINE64:?}"
wineserver="$(dirname "$wine64")/wineserver"
case "${1:-}" in
  start)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      mkdir -p "$WINEPREFIX"
      log="$(dirname "$WINEPREFIX")/wineboot.log"
      "$wine64" wineboot -i </dev/null >"$log" 2>&1
      # No X display here: windows are real USER32 windows without a screen. The desktop
      # that wineboot started still has the old driver, so this first server is stopped.
      "$wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null \
        >>"$log" 2>&1
      "$wineserver" -k </dev/null >/dev/null 2>&1 || true
      "$wineserver" -w </dev/null >/dev/null 2>&1 || true
    fi
    # Persistent, and with every stream redirected: the server outlives this script, and a
    # pipe it held open would keep CTest waiting for this test to end.
    "$wineserver" -p </dev/null >/dev/null 2>&1 &
    "$wine64" cmd /c exit </dev/null >/dev/null 2>&1
    echo "wine prefix ready: $WINEPREFIX"
    ;;
  stop)
    "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
