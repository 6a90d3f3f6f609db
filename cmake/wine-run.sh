#!/bin/sh
# Runs the cross-built Windows programs under Wine, in a prefix of the build tree's own.
#
#   wine-run.sh PREFIX PROGRAM [ARGS...]  run a program (the cross build's test emulator)
#   wine-run.sh PREFIX --start            create the prefix if needed, start the shared wineserver
#   wine-run.sh PREFIX --stop             shut the wineserver down (it saves the registry first)
set -eu

prefix=$1
shift
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No menu entries or file associations in the user's home folder.
export WINEDLLOVERRIDES=winemenubuilder.exe=d
unset DISPLAY WAYLAND_DISPLAY

# A wineserver that wine starts by itself inherits the caller's output and lingers
# for seconds after the program ends; CTest and gtest discovery wait for that output
# to close. So the server is always started here, detached. Starting one while one
# runs for this prefix does nothing.
start_server() {
    mkdir -p "$prefix"
    wineserver "-p$1" </dev/null >/dev/null 2>&1 || true
}

# Creating a prefix takes seconds and two programs must not do it at once.
ensure_prefix() {
    [ -f "$prefix/.sudoku-ready" ] && return 0
    mkdir -p "$prefix"
    (
        flock 9
        if [ ! -f "$prefix/.sudoku-ready" ]; then
            start_server 10
            wine wineboot --init </dev/null >"$prefix.log" 2>&1
            # Wine's desktop process, started by wineboot without a display,
            # would otherwise serve the next programs too: a game started with
            # a display could not open a single window.
            wineserver -k 2>/dev/null || true
            wineserver -w 2>/dev/null || true
            touch "$prefix/.sudoku-ready"
        fi
    ) 9>"$prefix.lock"
}

case "${1:-}" in
    --start)
        ensure_prefix
        # Persistent: one server for the whole test run, until --stop.
        start_server ""
        # The private keys that earlier runs' test hives left behind.
        wine reg delete 'HKCU\Software\Kalvora\Sudoku hives' /f </dev/null >/dev/null 2>&1 || true
        ;;
    --stop)
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        ;;
    "")
        echo "usage: $0 PREFIX PROGRAM [ARGS...] | --start | --stop" >&2
        exit 2
        ;;
    *)
        ensure_prefix
        start_server 10
        exec wine "$@"
        ;;
esac
