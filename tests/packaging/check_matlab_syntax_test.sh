#!/bin/sh
# check_matlab_syntax_test.sh CHECKER FILE
# The checker passes FILE and the same file with lines that hold Octave-only
# characters inside strings and comments, and fails it once any one
# Octave-only construct is added.
checker=$1 file=$2
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
status=0
with() {
    cp "$file" "$scratch/t.m" && printf '%s\n' "$1" >>"$scratch/t.m"
}
for line in "% # ! != ++ += printf( endif \"quoted\" %!" \
            "s = 'a # ! != ++ += -= printf( endfunction \"b\" %! c'; % ''" \
            "s = ['it''s #', 'x''', s']; t = s.' + s'; % x'" \
            "fprintf('%d\n', 1); s = sprintf('%s', 'a'); a = b ~= c; a = b <= -c;" \
            "a = f(1, ... # \" ! ++" \
            "%{" "x = \"in a block comment\" + !y" "%}"; do
    printf '%s\n' "$line" >>"$scratch/valid.m"
done
cat "$file" "$scratch/valid.m" >"$scratch/t.m"
sh "$checker" "$scratch/t.m" || { echo "refused valid MATLAB"; status=1; }
for line in "x = 1; # comment" "if !x, end" "a = b != c;" "k++;" "k += 1;" "k -= 1;" \
            "printf('%d', 1);" "x = 1; printf ('%d', x);" "endfunction" "if x, y = 1; endif" \
            "for k = 1:2, endfor" "while x, endwhile" "end_try_catch" "switch x, endswitch" \
            "%!assert (1, 1)" "s = \"abc\";" "s = ['a', \"b\"];" "s = 'a'; t = \"it's\";"; do
    with "$line"
    if sh "$checker" "$scratch/t.m" >/dev/null; then
        echo "not found: $line"
        status=1
    fi
done
exit $status
