#!/bin/sh
# check_install.sh CMAKE BUILD_DIR PREFIX OCTAVE_CLI LDD NAME...
# `cmake --install` of the build into a fresh PREFIX gives own/ and (when the
# build has Octave, OCTAVE_CLI not "-") octave/, each with every plug-in and
# its help file; the own-host plug-ins bind the host libraries installed
# beside them, and Octave calls the installed plug-ins and shows their help.
# LDD is the command, split at spaces, that prints the libraries a shared object
# binds as the target's loader resolves them: ldd, or in a cross build the
# target's loader with --list under the emulator.
cmake=$1 build=$2 prefix=$3 octave_cli=$4 ldd=$5
shift 5
rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null || exit 1
status=0
need() {
    [ -f "$1" ] || { echo "not installed: $1"; status=1; }
}
for name in "$@"; do
    need "$prefix/own/$name.so"
    need "$prefix/own/$name.m"
    if [ "$octave_cli" != - ]; then
        need "$prefix/octave/$name.mex"
        need "$prefix/octave/$name.m"
    fi
done
[ $status -eq 0 ] || exit 1
for library in libmx.so libmex.so; do
    host=$($ldd "$prefix/own/$1.so" | sed -n "s/^\s*$library => \(\S*\) .*/\1/p")
    [ "$host" = "$prefix/own/$library" ] || { echo "$1.so binds $library at [$host]"; exit 1; }
done
if [ "$octave_cli" != - ]; then
    "$octave_cli" --norc --quiet --no-history --no-window-system --path "$prefix/octave" --eval "
        assert(strncmp(which('pxBilinSample'), '$prefix/octave', numel('$prefix/octave')));
        assert(pxBilinSample(2.5, 2.5, magic(4)), 8.5);
        assert(strfind(help('pxBilinSample'), 'pxBilinSample') > 0);" || exit 1
fi
echo "installed $# plug-ins into $prefix"
