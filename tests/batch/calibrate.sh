#!/usr/bin/env bash
# A batch of one spectrum calibrated in one command: peaks of known CH ions, their masses
# shifted by a known line, are fitted, calibrated against their true masses, and the corrected
# spectrum, processed again, gives the true masses back within the fit's error.
source "$(dirname "$0")/common.bash" "$1"
true_masses="29.03915 43.05481 57.07047 71.08613 85.10179"   # C2H5 .. C6H13
peaks=""; i=0
for t in $true_masses; do
    m=$(awk -v t="$t" 'BEGIN { printf "%.6f", t + 0.005 + 0.0001 * t }')   # measured = shifted
    peaks="$peaks $m:$((2000 + 2000 * i))"; i=$((i + 1))
done
awk -v lo=25 -v hi=90 -v step=0.001 -v base=20 -v R=3000 -v peaks="$peaks" \
    -f "$here/make_spectrum.awk" > "$work/s.txt"
i=0; for t in $true_masses; do echo "$i $t"; i=$((i + 1)); done > "$work/points.txt"

for shape in line parabola; do
    extra=""; [ $shape = parabola ] && extra="--parabola"
    "$batch" --kolusred 5 --threshold 100 --calibrate "$work/points.txt" $extra --out "$work/$shape" "$work/s.txt"
    for f in zones.txt results.tsv zone-array.txt problems.txt summary.txt masses.txt standard-masses.txt \
             standard-masses-all.txt CH_t.txt CH_p.txt ch-list.txt report.htm calibrated.txt; do
        [ -f "$work/$shape/$f" ] || { echo "missing $f"; exit 1; }
    done
    grep -q "^Всего пиков = 5$" "$work/$shape/summary.txt"
    grep -q "^Проблемных пиков = 0$" "$work/$shape/summary.txt"

    "$batch" --kolusred 5 --threshold 100 --out "$work/$shape-again" "$work/$shape/calibrated.txt"
    # Column 2 "Масса", column 3 "Ошибка": every fitted mass within its error (plus the
    # 0.00001 the spectrum file's five decimals allow) of the true mass.
    echo "$shape:"
    paste <(tail -n +2 "$work/$shape-again/results.tsv") <(tr ' ' '\n' <<< "$true_masses") |
        awk -F'\t' '{ d = $2 - $13; if (d < 0) d = -d; tol = 3 * $3 + 0.00002
                      printf "  fitted %s true %s diff %.6f tol %.6f\n", $2, $13, d, tol
                      if (d > tol) bad = 1 } END { exit bad }'
    # Before the calibration the same masses were off by 7.9 to 13.6 thousandths.
    paste <(tail -n +2 "$work/$shape/results.tsv") <(tr ' ' '\n' <<< "$true_masses") |
        awk -F'\t' '{ d = $2 - $13; if (d < 0.007) bad = 1 } END { exit bad }'
done
echo OK
