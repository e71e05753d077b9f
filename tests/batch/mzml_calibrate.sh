#!/usr/bin/env bash
# orvelo-batch --calibrate on an mzML scan also writes calibrated.mzML, which opens again.
source "$(dirname "$0")/common.bash" "$1"
data=$2/mzml
printf '0 643.3735\r\n18 1500\r\n' > "$work/points.txt"
"$batch" --kolusred 5 --threshold 50000 --calibrate "$work/points.txt" --out "$work/out" "$data/small.mzML"
mzml=$work/out/calibrated.mzML
grep -q 'name="source file" value="small.mzML"' "$mzml"
grep -q 'name="calibration curve" value="line"' "$mzml"
[ "$(grep -c 'name="calibration coefficient [ABC]"' "$mzml")" -eq 3 ]

# One profile MS1 spectrum with the source's id and time, whose masses are those of calibrated.txt.
"$batch" --list-scans "$mzml" > "$work/list.tsv"
[ "$(wc -l < "$work/list.tsv")" -eq 2 ]
line=$(sed -n 2p "$work/list.tsv")
IFS=$'\t' read -r number id level time points kind low high tic <<< "$line"
[ "$number $level $time $points $kind" = "1 1 0.0049 19914 профиль" ] || { echo "$line"; exit 1; }
[ "$id" = "controllerType=0 controllerNumber=1 scan=1" ]
awk -v low="$low" -v high="$high" 'NR == 4 { first = $1 } { last = $1 }
    END { d1 = first - low; d2 = last - high; exit !(d1 < 6e-5 && d1 > -6e-5 && d2 < 6e-5 && d2 > -6e-5) }' \
    "$work/out/calibrated.txt"
# The written file is processed like any instrument file.
"$batch" --kolusred 5 --threshold 50000 "$mzml" | grep -q "^643	643.37"
echo OK
