#!/bin/sh
# check_exports.sh OWN_DIR OCTAVE_DIR MATLAB_DIR NAME...
# Every own-host and MATLAB plug-in exports exactly mexFunction and
# mexfilerequiredapiversion; every Octave plug-in exactly mexFunction.
own=$1 octave=$2 matlab=$3
shift 3
status=0
check() {
    file=$1 want=$2
    [ -f "$file" ] || { [ "$3" = required ] && { echo "missing: $file"; status=1; }; return; }
    got=$(nm -D --defined-only "$file" | awk '{print $NF}' | sort | tr '\n' ' ')
    if [ "$got" != "$want" ]; then
        echo "$file exports [$got], expected [$want]"
        status=1
    fi
}
for name in "$@"; do
    check "$own/$name.so" "mexFunction mexfilerequiredapiversion " required
    check "$octave/$name.mex" "mexFunction " optional
    check "$matlab/$name.mexa64" "mexFunction mexfilerequiredapiversion " optional
done
[ $status -eq 0 ] && echo "exports checked for $# plug-ins"
exit $status
