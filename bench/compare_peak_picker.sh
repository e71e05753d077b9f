#!/usr/bin/env bash
# Wall time of a whole orvelo-batch run beside the peak picker of the field's usual toolkit
# (PeakPickerHiRes of the Debian package topp, installed by hand for this comparison only:
# apt-get install topp) on the same points: each spectrum text file of tests/data/real is also
# written as a one-spectrum profile mzML. The two programs run alternately, five times each;
# the medians are printed with their ratio. Not part of the test suite.
#
#   bench/compare_peak_picker.sh [ORVELO_BATCH] [RUNS]
#
# Each spectrum runs at the noise thresholds of THRESHOLDS (default "300 3000"), KolUsred 150.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
batch=${1:-$here/../build/bin/orvelo-batch}
runs=${2:-5}
thresholds=${THRESHOLDS:-300 3000}
picker=$(command -v PeakPickerHiRes) || { echo "PeakPickerHiRes not found: apt-get install topp" >&2; exit 2; }
data=$here/../tests/data/real
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

to_mzml() { python3 "$here/profile_mzml.py" "$1" "$2"; }

seconds() {  # command...: wall seconds of one run
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

printf '%-28s %9s %7s %12s %12s %7s\n' spectrum threshold points orvelo_s picker_s ratio
for spectrum in "$data"/*.txt; do
    name=$(basename "$spectrum" .txt)
    points=$(to_mzml "$spectrum" "$work/$name.mzML")
    for threshold in $thresholds; do
        : >"$work/orvelo" && : >"$work/picker"
        for ((i = 0; i < runs; i++)); do
            rm -rf "$work/out" "$work/picked.mzML"
            seconds "$batch" --kolusred 150 --threshold "$threshold" --out "$work/out" "$spectrum" >>"$work/orvelo"
            seconds "$picker" -in "$work/$name.mzML" -out "$work/picked.mzML" >>"$work/picker"
        done
        o=$(median <"$work/orvelo")
        p=$(median <"$work/picker")
        printf '%-28s %9s %7s %12.3f %12.3f %7.2f\n' "$name" "$threshold" "$points" "$o" "$p" "$(echo "$o / $p" | bc -l)"
    done
done
