#!/bin/sh
# check_exports.sh OWN_DIR OCTAVE_DIR MATLAB_DIR NAME...
# Every own-host and MATLAB plug-in exports exactly mexFunction and
# mexfilerequiredapiversion; every Octave plug-in exactly mexFunction.  A
# folder given as "-" is a build that is not configured.
own=$1 octave=$2 matlab=$3
shift 3
status=0
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
    check "$own/$name.so" "mexFunction mexfilerequiredapiversion "
    [ "$octave" = - ] || check "$octave/$name.mex" "mexFunction "
    [ "$matlab" = - ] || check "$matlab/$name.mexa64" "mexFunction mexfilerequiredapiversion "
done
[ $status -eq 0 ] && echo "exports checked for $# plug-ins (own host, Octave: $octave, MATLAB: $matlab)"
exit $status
