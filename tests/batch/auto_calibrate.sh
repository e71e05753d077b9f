#!/usr/bin/env bash
# --auto-calibrate: CH ions whose masses are off by a curve are found without a points file,
# the spectrum is corrected as --calibrate corrects it, and the specified files stay as they
# are. --ion-masses marks every list of reference masses it changes.
source "$(dirname "$0")/common.bash" "$1"
ions="29.03915 41.03915 43.05481 55.05481 57.07047 69.07047 71.08613 83.08613 85.10179"
peaks=""; i=0
for t in $ions 43.01839; do   # the last is C2H3O, no reference, 36 mmu below C3H7
    m=$(awk -v t="$t" 'BEGIN { printf "%.6f", t + (4 + 0.1 * t + 0.002 * t * t) / 1000 }')
    peaks="$peaks $m:$((2000 + 700 * (i % 5)))"; i=$((i + 1))
done
awk -v lo=25 -v hi=90 -v step=0.001 -v base=20 -v R=3000 -v peaks="$peaks" \
    -f "$here/make_spectrum.awk" > "$work/s.txt"

"$batch" --kolusred 5 --threshold 100 --out "$work/plain" "$work/s.txt"
"$batch" --kolusred 5 --threshold 100 --auto-calibrate CH --parabola --out "$work/auto" "$work/s.txt" > "$work/said"
grep -q "^Подобрано ионов: 9 из " "$work/said"
for f in "$work"/plain/*; do   # nothing specified changes (but the computing time in summary.txt)
    [ "${f##*/}" = summary.txt ] && { cmp <(head -2 "$f") <(head -2 "$work/auto/summary.txt"); continue; }
    [ "${f##*/}" = run-files.txt ] && { grep -qx auto-calibration.tsv "$work/auto/run-files.txt"; continue; }
    cmp "$f" "$work/auto/${f##*/}"
done
tsv=$(iconv -f cp1251 -t utf-8 "$work/auto/auto-calibration.tsv" | tr -d '\r')
head -1 <<< "$tsv" | grep -q "^Ион	Истинная масса (нейтральная)	Строка пика	М изм	До, mmu	После, mmu	Итог$"
[ "$(grep -c "	взят$" <<< "$tsv")" -eq 9 ]
grep -q "^C 3 H 7	43.05481	3	.*	взят$" <<< "$tsv"       # line 2 is C2H3O
iconv -f cp1251 -t utf-8 "$work/auto/calibration-check.txt" | tr -d '\r' > "$work/check"
grep -q "^Калибровочная кривая: Парабола$" "$work/check"
grep -q "^Поправка, mmu = .*·M^2 .*·M .*$" "$work/check"
[ "$(grep -c "^[0-9.]*	[0-9.]*	-[0-9.]*	-*0.0[0-9]$" "$work/check")" -eq 9 ]   # within 0.1 mmu after

# The corrected spectrum gives the true masses back.
"$batch" --kolusred 5 --threshold 100 --out "$work/again" "$work/auto/calibrated.txt"
paste <(tail -n +2 "$work/again/results.tsv" | sed 3d) <(tr ' ' '\n' <<< "$ions") |
    awk -F'\t' '{ d = $2 - $13; if (d < 0) d = -d; if (d > 3 * $3 + 0.00002) { print; bad = 1 } } END { exit bad }'

# Ion masses: 0.55 mmu lighter, and every changed list says so.
"$batch" --kolusred 5 --threshold 100 --ion-masses --auto-calibrate CH,CF --out "$work/ion" "$work/s.txt" > /dev/null
note="Массы ионов: нейтральная масса минус масса электрона 0.000548580 u"
head -1 "$work/ion/standard-masses.txt" | grep -qx "$note"
head -1 "$work/ion/standard-masses-all.txt" | grep -qx "$note"
grep -qx "57.06992142,  C 4 H 9" "$work/ion/standard-masses-all.txt"
iconv -f cp1251 -t utf-8 "$work/ion/ch-list.txt" | head -1 | tr -d '\r' | grep -qx "$note"
iconv -f cp1251 -t utf-8 "$work/ion/CH_t.txt" | head -1 | tr -d '\r' | grep -qx '"Пила CH (теория, массы ионов)"'
iconv -f cp1251 -t utf-8 "$work/ion/calibration-check.txt" | tr -d '\r' | grep -qx "$note"
iconv -f cp1251 -t utf-8 "$work/ion/auto-calibration.tsv" | head -1 | grep -q "	Истинная масса (ион)	"
! grep -q "Массы ионов" "$work/plain/standard-masses.txt"

# No ion in reach: a clear message, exit status 1, no calibration written.
awk -v lo=45 -v hi=60 -v step=0.001 -v base=20 -v R=3000 -v peaks="50.5:3000 52.6:3000" \
    -f "$here/make_spectrum.awk" > "$work/none.txt"
run "$batch" --kolusred 5 --threshold 100 --auto-calibrate CH --out "$work/none" "$work/none.txt"
[ $rc -eq 1 ] || { echo "no match: rc=$rc"; exit 1; }
grep -qx "Автоматическая калибровка не удалась: ни один опорный ион не найден среди пиков в пределах 100 mmu" "$work/err"
[ ! -e "$work/none/calibrated.txt" ] && [ ! -e "$work/none/auto-calibration.tsv" ]

# The CF table on a hydrocarbon spectrum: three chance pairs lie on a line, but a line needs four.
run "$batch" --kolusred 5 --threshold 100 --auto-calibrate CF --out "$work/cf" "$work/s.txt"
[ $rc -eq 1 ] && grep -qx "Автоматическая калибровка не удалась: найдено пар 3, а для линии нужны хотя бы четыре с разными массами" "$work/err" &&
    [ ! -e "$work/cf" ] || { echo "CF on hydrocarbons: rc=$rc"; cat "$work/err"; exit 1; }

# A tolerance of half a nominal mass or more would pair ions one hydrogen away: refused with the limit.
for tolerance in 500 3000 1e308 inf nan 0; do
    run "$batch" --kolusred 5 --threshold 100 --auto-calibrate CH --tolerance $tolerance --out "$work/t" "$work/s.txt"
    [ $rc -eq 2 ] && grep -qF "orvelo-batch: --tolerance: допуск должен быть числом mmu больше 0 и меньше 500 " "$work/err" ||
        { echo "--tolerance $tolerance: rc=$rc"; exit 1; }
done
"$batch" --kolusred 5 --threshold 100 --auto-calibrate CH --tolerance 499 --out "$work/t" "$work/s.txt" | grep -q "^Подобрано ионов: 9 "

# A malformed command line exits with 2.
for args in "--auto-calibrate CO" "--auto-calibrate CH --tolerance -5" "--auto-calibrate CH --tolerance x" \
            "--tolerance 20" "--auto-calibrate CH --calibrate $work/none.txt" "--ion-masses --out $work/x"; do
    extra="--threshold 100"; [ "$args" = "--ion-masses --out $work/x" ] && extra=""
    run "$batch" $extra $args "$work/s.txt" > /dev/null
    [ $rc -eq 2 ] || { echo "'$args': rc=$rc"; exit 1; }
done
echo OK
