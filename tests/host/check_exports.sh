#!/bin/sh
# check_exports.sh OWN_DIR OCTAVE_DIR MATLAB_DIR NAME...
# Every own-host and MATLAB plug-in exports exactly mexFunction and
# mexfilerequiredapiversion; every Octave plug-in exactly mexFunction.  A
# folder given as "-" is a build that is not configured.  Own-host and
# MATLAB plug-ins bind the functions of renamed_730.txt under their _730
# names, as MATLAB's headers bind them; a MATLAB plug-in needs no library
# but libmx.so, libmex.so and the system's, and carries no search path.
own=$1 octave=$2 matlab=$3
shift 3
status=0
sized=" $(tr '\n' ' ' <"$(dirname "$0")/renamed_730.txt") "
binds() {
    file=$1
    for function in $(nm -D --undefined-only "$file" | awk '{print $NF}' | sed 's/@.*//' | grep '^mex\|^mx'); do
        base=${function%_730}
        case $sized in
        *" $base "*) [ "$function" != "$base" ] || { echo "$file binds $function, not ${function}_730"; status=1; } ;;
        *) [ "$function" = "$base" ] || { echo "$file binds $function, which MATLAB has under its plain name"; status=1; } ;;
        esac
    done
}
needs() {
    file=$1
    for library in $(objdump -p "$file" | awk '$1 == "NEEDED" {print $2}'); do
        case $library in
        libmx.so | libmex.so | libc.so.* | libm.so.* | libstdc++.so.* | libgcc_s.so.* | libpthread.so.* | libdl.so.*) ;;
        *) echo "$file needs $library"; status=1 ;;
        esac
    done
    if objdump -p "$file" | grep -q 'RUNPATH\|RPATH'; then
        echo "$file carries a library search path"
        status=1
    fi
}
check() {
    file=$1 want=$2
    [ -f "$file" ] || { echo "missing: $file"; status=1; return; }
    got=$(nm -D --defined-only "$file" | awk '{print $NF}' | sort | tr '\n' ' ')
    if [ "$got" != "$want" ]; then
        echo "$file exports [$got], expected [$want]"
        status=1
    fi
}
for name in "$@"; do
    if [ "$own" != - ]; then
        check "$own/$name.so" "mexFunction mexfilerequiredapiversion "
        binds "$own/$name.so"
    fi
    [ "$octave" = - ] || check "$octave/$name.mex" "mexFunction "
    if [ "$matlab" != - ]; then
        check "$matlab/$name.mexa64" "mexFunction mexfilerequiredapiversion "
        binds "$matlab/$name.mexa64"
        needs "$matlab/$name.mexa64"
    fi
done
[ $status -eq 0 ] && echo "exports checked for $# plug-ins (own host, Octave: $octave, MATLAB: $matlab)"
exit $status
