#!/usr/bin/env bash
# check_macos.sh [--plugins-only] [--threaded "NAME..."] DIR ARCH NAME...
# Reads the Mach-O tables of a cross-built macOS build folder DIR (arm64 or
# x86_64) with LLVM's llvm-objdump and llvm-nm; nothing here can run them.
# The host libraries DIR/libmx.dylib and DIR/libmex.dylib carry the install
# names @rpath/libmx.dylib and @rpath/libmex.dylib and export the host's
# names only (not looked for with --plugins-only: a release folder has
# none, MATLAB brings its own).  Every plug-in
# DIR/NAME.mexmaca64 (arm64) or DIR/NAME.mexmaci64 (x86_64):
#   is a bundle (MH_BUNDLE) for ARCH, made for macOS 11.0 or later, and on
#   arm64 signed (Apple silicon runs no unsigned code);
#   exports exactly _mexFunction and _mexfilerequiredapiversion;
#   uses no library but the host's two and /usr/lib/libSystem.B.dylib (no
#   libc++ dylib: the C++ runtime is linked in);
#   binds every mx function from libmx and every mex function from libmex,
#   nothing else from them, and the functions whose sizes became 64 bits
#   wide in MATLAB 7.3 under their _730 names, the others under their plain
#   names;
#   with --threaded, binds _pthread_create from libSystem exactly when it is
#   one of the plug-ins listed there (those that split large calls over
#   threads of the C++ standard library).
set -euo pipefail
with_host=1 threaded=
while :; do
    case $1 in
    --plugins-only) with_host=0; shift ;;
    --threaded) threaded=" $2 "; shift 2 ;;
    *) break ;;
    esac
done
dir=$1 arch=$2
shift 2
case $arch in
arm64) cpu=ARM64 suffix=.mexmaca64 ;;
x86_64) cpu=X86_64 suffix=.mexmaci64 ;;
*) echo "check_macos.sh: ARCH is arm64 or x86_64, not $arch" >&2; exit 2 ;;
esac
sized=" $(tr '\n' ' ' <"$(dirname "$0")/renamed_730.txt") "
status=0
fail() { echo "$file: $*"; status=1; }

# The Mach header, the minimum system and the libraries used; prints the
# load commands for further checks.  $1 is the file type, $2.. the
# libraries the file must use, in any order.
check_common() {
    local type=$1
    shift
    local headers
    headers=$(llvm-objdump --macho --private-headers "$file") || { fail "llvm-objdump failed"; return 1; }
    # The line under "magic cputype cpusubtype caps filetype ...".
    local header
    header=$(printf '%s\n' "$headers" | awk 'seen {print $2, $5; exit} /^ *magic +cputype/ {seen = 1}')
    [ "$header" = "$cpu $type" ] || fail "cputype and filetype [$header], expected [$cpu $type]"
    local build
    build=$(printf '%s\n' "$headers" | awk '/cmd LC_BUILD_VERSION/ {b = 1} b && /platform/ {p = $2} b && /minos/ {print p, $2; exit}')
    [ "$build" = "macos 11.0" ] || fail "LC_BUILD_VERSION platform and minos [$build], expected [macos 11.0]"
    if [ "$arch" = arm64 ] && ! printf '%s\n' "$headers" | grep -q 'cmd LC_CODE_SIGNATURE'; then
        fail "no code signature"
    fi
    local used want
    used=$(llvm-objdump --macho --dylibs-used "$file" | awk 'NR > 1 {print $1}' | sort | tr '\n' ' ')
    want=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
    [ "$used" = "$want" ] || fail "uses [$used], expected [$want]"
}

# A host library exports only names that match the pattern $1 (none of the
# statically linked C++ runtime); the libraries a dylib uses include its own
# install name.
check_host() {
    local exports=$1
    shift
    [ -f "$file" ] || { fail "missing"; return; }
    check_common DYLIB "$@" || return 0
    local foreign
    foreign=$(llvm-nm --extern-only --defined-only -j "$file" | grep -v -E "$exports" | tr '\n' ' ' || true)
    [ -z "$foreign" ] || fail "exports [$foreign], which is not the host's"
}
if [ $with_host -eq 1 ]; then
    file=$dir/libmx.dylib
    check_host '^(_mx|__ZN7mexhost|__ZNK7mexhost)' @rpath/libmx.dylib /usr/lib/libSystem.B.dylib
    file=$dir/libmex.dylib
    check_host '^_mex' @rpath/libmex.dylib @rpath/libmx.dylib /usr/lib/libSystem.B.dylib
fi

for name in "$@"; do
    file=$dir/$name$suffix
    [ -f "$file" ] || { fail "missing"; continue; }
    check_common BUNDLE @rpath/libmx.dylib @rpath/libmex.dylib /usr/lib/libSystem.B.dylib || continue
    exports=$(llvm-nm --extern-only --defined-only -j "$file" | sort | tr '\n' ' ')
    [ "$exports" = "_mexFunction _mexfilerequiredapiversion " ] ||
        fail "exports [$exports], expected [_mexFunction _mexfilerequiredapiversion]"
    # "(undefined) external NAME (from LIBRARY)" for every bound symbol.
    undefined=$(llvm-nm -m --undefined-only "$file")
    bound=$(printf '%s\n' "$undefined" | sed -n 's/^ *(undefined) .*external \([^ ]*\) (from \([^)]*\))$/\2 \1/p')
    unbound=$(printf '%s\n' "$undefined" | grep -v '(from [^)]*)$' | tr -s ' ' || true)
    [ -z "$unbound" ] || fail "symbols bound from no named library: $unbound"
    host_bindings=0
    while read -r library symbol; do
        case $library:$symbol in
        libmx:_mx*) host_bindings=$((host_bindings + 1)) ;;
        libmex:_mex*) continue ;;
        libmx:* | libmex:*) fail "binds $symbol from $library"; continue ;;
        *:_mx* | *:_mex*) fail "binds $symbol from $library"; continue ;;
        *) continue ;;
        esac
        function=${symbol#_}
        base=${function%_730}
        case $sized in
        *" $base "*) [ "$function" != "$base" ] || fail "binds $function, not ${function}_730" ;;
        *) [ "$function" = "$base" ] || fail "binds $function, which MATLAB has under its plain name" ;;
        esac
    done <<BOUND
$bound
BOUND
    [ $host_bindings -gt 0 ] || fail "binds nothing from libmx"
    if [ -n "$threaded" ]; then
        starts=no
        grep -qx 'libSystem _pthread_create' <<<"$bound" && starts=yes
        case $threaded in
        *" $name "*) [ $starts = yes ] || fail "splits calls over threads but binds no _pthread_create" ;;
        *) [ $starts = no ] || fail "binds _pthread_create but is not listed as splitting calls" ;;
        esac
    fi
done
[ $status -eq 0 ] && echo "Mach-O tables checked: $arch $([ $with_host -eq 1 ] && echo "host libraries and ")$# plug-ins in $dir"
exit $status
