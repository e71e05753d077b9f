#!/usr/bin/env bash
# --threshold auto: each spectrum's own noise height, named in summary.txt and scans.tsv; the
# results are those of a run with that height typed in.
source "$(dirname "$0")/common.bash" "$1"
data=$2
fail() { echo "FAIL: $*"; exit 1; }

spectrum=$data/real/ltqft_ms1_scan1.txt
"$batch" --threshold auto --out auto "$spectrum"
height=$(tr -d '\r' < auto/summary.txt | sed -n 's/^Порог по шуму спектра = \([0-9]*\)$/\1/p')
[ -n "$height" ] && [ "$height" -gt 1000 ] || fail "summary.txt names no height: $(cat auto/summary.txt)"
"$batch" --threshold "$height" --out typed "$spectrum"
for f in results.tsv zone-array.txt problems.txt masses.txt report.htm; do cmp "auto/$f" "typed/$f" || fail "$f"; done
diff <(head -2 auto/summary.txt) <(head -2 typed/summary.txt)
[ "$(wc -l < typed/summary.txt)" -eq 3 ] || fail "a typed height adds no line"
# Without --out the table goes to standard output and the height to the error stream.
"$batch" --threshold auto "$spectrum" 2> err | cmp - auto/results.tsv
grep -qx "Порог по шуму спектра = $height" err

# A whole run: a last column with each scan's height; skipped scans leave it empty.
mzml=$data/mzml/small.mzML
"$batch" --kolusred 5 --threshold auto --scan all --out all "$mzml"
head -1 all/scans.tsv | grep -q "	Пропущен	Порог$" || fail "scans.tsv head"
grep -q "^3	.*	пропущен: центроидный спектр	$" all/scans.tsv || fail "skipped scan"
[ "$(awk -F'\t' 'NR > 1 && $7 != ""' all/scans.tsv | cut -f7 | sort -u | wc -l)" -gt 3 ] || fail "one height for all scans"
for k in 2 15; do
    "$batch" --kolusred 5 --threshold auto --scan $k --out "s$k" "$mzml"
    h=$(tr -d '\r' < "s$k/summary.txt" | sed -n 's/^Порог по шуму спектра = //p')
    [ "$(awk -F'\t' -v k=$k '$1 == k { print $7 }' all/scans.tsv)" = "$h" ] || fail "scan $k: height $h"
    diff <(tail -n +2 "s$k/results.tsv" | cut -f1) <(grep "^$k	" all/results-all.tsv | cut -f3)
done
# A typed height keeps the table as it was.
"$batch" --kolusred 5 --threshold 3000 --scan 1-2 --out typed-all "$mzml"
head -1 typed-all/scans.tsv | grep -q "	Пропущен$" || fail "typed height: no new column"

# A spectrum whose zones show no noise is refused with the reason.
run "$batch" --threshold auto s.txt > /dev/null
expect 1 "Порог не выбран по шуму"
