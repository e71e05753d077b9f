#!/usr/bin/env bash
# --formulas: planted ions with their isotope peaks come out first in formulas.tsv, each peak
# with at most five candidates on the line of its row in results.tsv, a peak no formula fits
# with one empty line; wrong uses are refused before anything is written.
source "$(dirname "$0")/common.bash" "$1"
# C4H9+, C7H7+ and C6H5Cl+ (M+1 and 37Cl), and a peak at a mass no formula reaches.
awk -v lo=50 -v hi=120 -v step=0.002 -v base=10 -v R=3000 -v peaks="57.069877:40000 58.073232:1760 \
91.054227:60000 92.057581:4600 112.007429:30000 113.010784:1960 114.004479:9700 100.45:5000" \
    -f "$here/make_spectrum.awk" > f.txt

"$batch" --kolusred 5 --threshold 300 --formulas --out out f.txt
t=out/formulas.tsv
head -1 "$t" | grep -qx "line	mass	rank	formula	ion_mass	delta_mmu	delta_ppm	delta_sigma	rdbe	isotope_score	score"
! grep -q $'\r' "$t"
line_of() { tail -n +2 out/results.tsv | awk -F'\t' -v m="$1" '{ d = $2 - m; if (d < 0) d = -d; if (d < 0.01) print NR }'; }
for ion in 57.069877:C4H9+ 91.054227:C7H7+ 112.007429:C6H5Cl+; do
    n=$(line_of "${ion%%:*}")
    [ -n "$n" ]
    awk -F'\t' -v n="$n" -v f="${ion#*:}" '$1 == n && $3 == 1 { found = ($4 == f) } END { exit !found }' "$t" ||
        { echo "${ion#*:} not first on line $n"; cat "$t"; exit 1; }
done
n=$(line_of 100.45)
[ "$(awk -F'\t' -v n="$n" '$1 == n' "$t")" = "$n	100.450000									" ] || { cat "$t"; exit 1; }
# At most five per peak, ranks from 1, every line a row of results.tsv.
awk -F'\t' 'NR > 1 { c[$1]++; if (c[$1] > 5 || ($3 != "" && $3 != c[$1])) bad = 1 } END { exit bad }' "$t"
rows=$(($(wc -l < out/results.tsv) - 1))
awk -F'\t' -v rows="$rows" 'NR > 1 && ($1 < 1 || $1 > rows) { bad = 1 } END { exit bad }' "$t"

# Ranges given after the option, with the tolerance; a spectrum named last is not taken for ranges.
"$batch" --kolusred 5 --threshold 300 --out narrow --formulas C0-8H0-12 --formula-ppm 5 f.txt
n=$(line_of 112.007429)
! awk -F'\t' -v n="$n" '$1 == n && $4 != ""' narrow/formulas.tsv | grep -q Cl
# A later run without the option leaves no formulas of the run before.
"$batch" --kolusred 5 --threshold 300 --out narrow f.txt
[ ! -e narrow/formulas.tsv ] || { echo "FAIL: formulas.tsv of the run before kept"; exit 1; }

run "$batch" --kolusred 5 --threshold 300 --formulas C0-8Xy1 --out bad f.txt
expect 1 "Неизвестный элемент \"Xy\" в диапазонах элементов \"C0-8Xy1\""
[ ! -e bad ]
run "$batch" --kolusred 5 --threshold 300 --formula-ppm 3 --out bad f.txt
expect 2 "--formula-ppm требует --formulas"
run "$batch" --kolusred 5 --threshold 300 --formulas f.txt
expect 2 "--formulas требует --threshold и --out"
run "$batch" --kolusred 5 --threshold 300 --formulas --formula-ppm -1 --out bad f.txt
expect 2 "--formula-ppm: допуск должен быть положительным числом ppm"
[ ! -e bad ]
