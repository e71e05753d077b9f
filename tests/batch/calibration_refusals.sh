#!/usr/bin/env bash
# A calibration that would ruin the mass axis is refused with its reason and nothing is written;
# calibration files with a UTF-8 byte order mark and CR or CR LF line ends read like any other.
source "$(dirname "$0")/common.bash" "$1"
awk -v lo=25 -v hi=90 -v step=0.001 -v base=20 -v R=3000 \
    -v peaks="29.045:2000 43.065:4000 57.08:6000 71.1:8000 85.115:10000" \
    -f "$here/make_spectrum.awk" > s.txt
calibrate() { "$batch" --kolusred 5 --threshold 100 --calibrate "$1" --out "$2" s.txt; }

printf '0 29.03915\n4 85.10179\n' > good.txt
calibrate good.txt good
printf '\xEF\xBB\xBF0 29.03915\r4 85.10179\r' > bom-cr.txt
printf '\xEF\xBB\xBF0 29.03915\r\n4 85.10179\r\n' > bom-crlf.txt
for ends in bom-cr bom-crlf; do
    calibrate $ends.txt $ends
    cmp good/calibrated.txt $ends/calibrated.txt
done

# Same true mass twice (a constant axis), a true mass of 0 or 1E35, swapped masses (mirrored).
for case in "same:0 50:4 50:должны возрастать" "zero:0 0:4 85.10179:должны быть положительными" \
            "huge:0 100000000000000000000000000000000000:4 85.10179:слишком велика для файла спектра" \
            "swapped:0 85.10179:4 29.03915:должны возрастать" \
            "slow:0 50:4 50.00003:растут слишком медленно (масса 25 переходит в 49.99999"; do
    IFS=: read -r name first second reason <<< "$case"
    printf '%s\n%s\n' "$first" "$second" > "$name.txt"
    cp -r good "$name-out"
    before=$(cd "$name-out" && ls -A | sort && cat ./*)
    run calibrate "$name.txt" "$name-out"
    [ $rc -eq 1 ] && grep -q "^Калибровка не применена: исправленн.* $reason" err ||
        { echo "$name: rc=$rc"; cat err; exit 1; }
    [ "$(cd "$name-out" && ls -A | sort && cat ./*)" = "$before" ] || { echo "$name: folder changed"; exit 1; }
    run calibrate "$name.txt" "$name-new"
    [ $rc -eq 1 ] && [ ! -e "$name-new" ] || { echo "$name: a refused run made its folder"; exit 1; }
done
echo OK
