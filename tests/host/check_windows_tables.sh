#!/bin/sh
# check_windows_tables.sh OBJDUMP DIR NAME...
# Every Windows plug-in DIR/NAME.mexw64 exports exactly mexFunction and
# imports only from the host's libmx.dll (mx functions) and libmex.dll (mex
# functions) and from Windows' own DLLs: no C++ runtime, libgcc or
# winpthreads DLL has to be found beside it.  The functions whose sizes became
# 64 bits wide in MATLAB 7.3 are bound under their _730 names, the others
# under their plain names.
objdump=$1 dir=$2
shift 2
sized=" $(tr '\n' ' ' <"$(dirname "$0")/renamed_730.txt") "
status=0
fail() { echo "$file: $*"; status=1; }
for name in "$@"; do
    file=$dir/$name.mexw64
    [ -f "$file" ] || { echo "missing: $file"; status=1; continue; }
    tables=$("$objdump" -p "$file") || { fail "objdump failed"; continue; }
    exports=$(printf '%s\n' "$tables" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
              awk '/^\t\[/ {print $NF}' | tr '\n' ' ')
    [ "$exports" = "mexFunction " ] || fail "exports [$exports], expected [mexFunction]"
    # "DLL function" for every import.
    imports=$(printf '%s\n' "$tables" | awk '
        /^\tDLL Name:/ {dll = tolower($3); next}
        /^$/ {if (dll != "" && seen) dll = ""; seen = 0; next}
        dll != "" && /^\t[0-9a-f]+\t/ {print dll, $NF; seen = 1}')
    [ -n "$imports" ] || fail "no import table found"
    host_imports=0 foreign=" "
    while read -r dll function; do
        case $dll in
        libmx.dll) host_imports=$((host_imports + 1))
                   case $function in mx*) ;; *) fail "imports $function from libmx.dll" ;; esac ;;
        libmex.dll) case $function in mex*) ;; *) fail "imports $function from libmex.dll" ;; esac ;;
        kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-*.dll | advapi32.dll | user32.dll | ntdll.dll) continue ;;
        *) case $foreign in *" $dll "*) ;; *) foreign="$foreign $dll "; fail "imports from $dll, which is not Windows' own" ;; esac
           continue ;;
        esac
        base=${function%_730}
        case $sized in
        *" $base "*) [ "$function" != "$base" ] || fail "binds $function, not ${function}_730" ;;
        *) [ "$function" = "$base" ] || fail "binds $function, which MATLAB has under its plain name" ;;
        esac
    done <<IMPORTS
$imports
IMPORTS
    [ $host_imports -gt 0 ] || fail "imports nothing from libmx.dll"
done
[ $status -eq 0 ] && echo "export and import tables checked for $# Windows plug-ins"
exit $status
