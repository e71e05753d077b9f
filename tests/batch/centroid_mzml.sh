#!/usr/bin/env bash
# --centroid-mzml: the fitted peaks as centroid spectra in centroids.mzML, from a text spectrum
# (planted peaks, then calibrated against known ions) and from every MS1 scan of a run. The file
# reopens as centroids (listed, refused for fitting) and loads in the field's tools when present.
source "$(dirname "$0")/common.bash" "$1"
data=$2/mzml
fail() { echo "FAIL: $*"; exit 1; }
column() { awk -F'\t' -v n="$1" -v c="$2" '$1 == n { print $c }'; }  # scan n, column c of a scan table

# Three planted peaks on a flat background of 10: m/z 102, 104.5 and 107, heights 1000, 5000, 300.
"$batch" --kolusred 5 --threshold 100 --centroid-mzml --out text s.txt
grep -qx "centroids.mzML" text/run-files.txt || fail "centroids.mzML not in run-files.txt"
"$batch" --list-scans text/centroids.mzML > text.tsv
row=$(tail -n +2 text.tsv)
[ "$(wc -l < text.tsv)" -eq 2 ] || fail "one spectrum expected: $(cat text.tsv)"
[ "$(column 1 2 < text.tsv)$(column 1 3 < text.tsv)$(column 1 4 < text.tsv)" = "index=01" ] || fail "id, level, no time: $row"
[ "$(column 1 5 < text.tsv)" -eq 3 ] && [ "$(column 1 6 < text.tsv)" = "центроиды" ] || fail "three centroids: $row"
awk -F'\t' 'NR == 2 { exit !($7 > 101.999 && $7 < 102.001 && $8 > 106.999 && $8 < 107.001 && $9 > 6200 && $9 < 6400) }' \
    text.tsv || fail "centres and heights above the background: $row"
run "$batch" --kolusred 5 --threshold 100 text/centroids.mzML
expect 1 "записан в центроидах"
run "$batch" --centroid-mzml --out x s.txt
expect 2 "--centroid-mzml требует --threshold и --out"
# A later run without the option leaves no centroids of the run before.
"$batch" --kolusred 5 --threshold 100 --out text s.txt
[ ! -e text/centroids.mzML ] || fail "centroids.mzML of the run before kept"

# Calibrated: CH ions measured 5 mmu + 0.1 ppt too high come out at their true masses.
true_masses="29.03915 43.05481 57.07047 71.08613 85.10179"
peaks=""; i=0
for t in $true_masses; do
    peaks="$peaks $(awk -v t="$t" 'BEGIN { printf "%.6f", t + 0.005 + 0.0001 * t }'):$((2000 + 2000 * i))"; i=$((i + 1))
done
awk -v lo=25 -v hi=90 -v step=0.001 -v base=20 -v R=3000 -v peaks="$peaks" -f "$here/make_spectrum.awk" > ch.txt
i=0; for t in $true_masses; do echo "$i $t"; i=$((i + 1)); done > points.txt
"$batch" --kolusred 5 --threshold 100 --calibrate points.txt --centroid-mzml --out cal ch.txt
"$batch" --list-scans cal/centroids.mzML | awk -F'\t' 'function near(a, b) { return a - b < 2e-4 && b - a < 2e-4 }
    NR == 2 { exit !($5 == 5 && near($7, 29.03915) && near($8, 85.10179)) }' ||
    fail "calibrated centres: $("$batch" --list-scans cal/centroids.mzML)"

# A run of scans: one centroid spectrum per processed (MS1 profile) scan, ids and times kept.
"$batch" --kolusred 5 --threshold 3000 --scan all --centroid-mzml --out all "$data/small.mzML"
grep -qx "centroids.mzML" all/run-files.txt || fail "centroids.mzML not in run-files.txt of a run of scans"
"$batch" --list-scans "$data/small.mzML" > source.tsv
"$batch" --list-scans all/centroids.mzML > centroids.tsv
processed=$(awk -F'\t' 'NR > 1 && $6 == "" { print $2 "\t" $3 }' all/scans.tsv)
[ "$(tail -n +2 centroids.tsv | cut -f2,4)" = "$processed" ] || fail "ids and times of the processed scans"
[ "$(tail -n +2 centroids.tsv | cut -f3,6 | sort -u)" = "1	центроиды" ] || fail "MS1 centroid spectra"
# Each spectrum holds that scan's peaks: problem peaks and fits without a positive R (column 8)
# or height above the background (column 11) left out.
while IFS=$'\t' read -r number id _; do
    count=$(awk -F'\t' -v n="$number" '$1 == n && $4 != "Ошибка" && $8 > 0 && $11 > 0' all/results-all.tsv | wc -l)
    [ "$(awk -F'\t' -v id="$id" '$2 == id { print $5 }' centroids.tsv)" -eq "$count" ] || fail "peaks of scan $number"
done < <(awk -F'\t' 'NR > 1 && $6 == ""' all/scans.tsv)
run "$batch" --kolusred 5 --threshold 3000 --scan 2 all/centroids.mzML
expect 1 "записан в центроидах"

# The field's tools read it (when installed: the Debian package topp). The feature finder needs at
# least three MS1 spectra, so it gets the run of scans only.
if command -v FileInfo > /dev/null && command -v FeatureFinderMetabo > /dev/null; then
    for f in cal/centroids.mzML all/centroids.mzML; do
        FileInfo -in "$f" > info.txt 2>&1 || { cat info.txt; fail "FileInfo on $f"; }
        grep -q "FWHM_ppm: *[0-9]* spectra" info.txt || { cat info.txt; fail "FileInfo sees no FWHM_ppm array in $f"; }
    done
    grep -q "Number of spectra: $(($(wc -l < centroids.tsv) - 1))$" info.txt || { cat info.txt; fail "FileInfo: spectra"; }
    FeatureFinderMetabo -in all/centroids.mzML -out features.featureXML > ffm.txt 2>&1 ||
        { cat ffm.txt; fail "FeatureFinderMetabo"; }
    ! grep -q "^Error" ffm.txt || { cat ffm.txt; fail "FeatureFinderMetabo reports an error"; }
    grep -q "<feature " features.featureXML || fail "no features found"
    grep "Output features" ffm.txt
else
    echo "FileInfo or FeatureFinderMetabo not installed: the field's tools not tried"
fi
echo ok
