#!/usr/bin/env bash
# orvelo-batch with --threshold: the results table, the flat-topped model, the height check.
source "$(dirname "$0")/common.bash" "$1"

# Without --out the results table goes to standard output, header row first.
"$batch" --kolusred 5 --threshold 500 "$work/s.txt" > "$work/table.tsv"
head -1 "$work/table.tsv" | grep -q "^M	Масса	Ошибка	Me	DMe	R	dR	A	B	Std Err	Iter	Kol$"
[ "$(wc -l < "$work/table.tsv")" -eq 3 ] || { cat "$work/table.tsv"; exit 1; }   # 107 (300) is noise
awk -F'\t' 'NR==2 && ($1 != 102 || $2 < 101.9999 || $2 > 102.0001 || $6 < 1990 || $6 > 2010) { bad=1 }
            NR==3 && ($1 != 104 || $2 < 104.4999 || $2 > 104.5001) { bad=1 } END { exit bad }' "$work/table.tsv"

# The flat-topped model fits the same peaks, with other widths.
"$batch" --kolusred 5 --threshold 500 --flat --out "$work/flat" "$work/s.txt"
grep -q "^Всего пиков = 2$" "$work/flat/summary.txt"
[ "$(wc -l < "$work/flat/zone-array.txt")" -eq 12 ]   # six lines per zone

# The height is checked like the entry field: digits only.
for bad in -5 "1 2" 12a "" 99999999999999999999; do
    run "$batch" --threshold "$bad" "$work/s.txt" > /dev/null
    [ $rc -eq 2 ] && grep -q "^orvelo-batch: --threshold: недопустимое значение высоты \"$bad\"" "$work/err" || { echo "height '$bad': rc=$rc"; exit 1; }
done
"$batch" --kolusred 5 --threshold 0012 "$work/s.txt" > /dev/null   # leading zeros are fine
echo OK
