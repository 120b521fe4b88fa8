#!/bin/sh
# wine-run.sh WINE PREFIX DLL_DIR PROGRAM [ARGUMENT...]
# Runs a Windows test program under Wine, in the Wine prefix PREFIX (made on
# first use, once even when tests start in parallel), with DLL_DIR (where
# libmx.dll and libmex.dll are) on the DLL search path.  The lock is not
# handed to the programs wineboot starts: Wine's services outlive it while a
# Wine server is kept up (scripts/with-wineserver), and would hold the lock
# for every test after.
wine=$1 prefix=$2 dlls=$3
shift 3
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPATH="Z:$dlls"
if [ ! -f "$prefix/.made" ]; then
    mkdir -p "$prefix"
    flock --close "$prefix/.lock" sh -c '[ -f "$WINEPREFIX/.made" ] || { "$1" wineboot --init && touch "$WINEPREFIX/.made"; }' \
        sh "$wine" >/dev/null 2>&1
fi
exec "$wine" "$@"
