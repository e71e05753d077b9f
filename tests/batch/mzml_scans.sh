#!/usr/bin/env bash
# orvelo-batch on mzML and mzXML: the scan table, one scan, whole runs of scans.
source "$(dirname "$0")/common.bash" "$1"
data=$2/mzml
fail() { echo "FAIL: $*"; exit 1; }

"$batch" --list-scans "$data/small.mzML" > "$work/list.tsv"
[ "$(wc -l < "$work/list.tsv")" -eq 49 ] || fail "48 scans and a head"
head -2 "$work/list.tsv" | diff - <(printf 'Номер\tId\tУровень MS\tВремя, мин\tТочек\tВид\tm/z от\tm/z до\tПолный ток\n1\tcontrollerType=0 controllerNumber=1 scan=1\t1\t0.0049\t19914\tпрофиль\t200.0002\t2000.0099\t15245068\n')
"$batch" --list-scans "$data/three_test_scans.mzML" | grep -q "scan=10014	1	22.1283	27826	профиль"  # wrong index
# Gzipped, and recognised by content under any name; the wrong index gzipped too.
gzip -c "$data/microscans.mzXML" > "$work/m.mzXML.gz"
gzip -c "$data/three_test_scans.mzML" > "$work/t.mzML.gz"
cp "$data/small.mzML" "$work/run.dat"
[ "$("$batch" --list-scans "$work/m.mzXML.gz" | wc -l)" -eq 5 ] || fail "gzipped mzXML"
[ "$("$batch" --list-scans "$work/t.mzML.gz" | wc -l)" -eq 4 ] || fail "gzipped file with a wrong index"
[ "$("$batch" --list-scans "$work/run.dat" | wc -l)" -eq 49 ] || fail "mzML by content"
run "$batch" --list-scans "$2/golden/spectrum.txt" > /dev/null
[ $rc -eq 1 ] && grep -q "не является файлом mzML или mzXML" "$work/err" || fail "list-scans of a text file: $rc"

# One scan: the default is the first MS1 profile spectrum; a centroided one is refused.
"$batch" --kolusred 5 "$data/small.mzML" | diff - <("$batch" --kolusred 5 --scan 1 "$data/small.mzML")
"$batch" --kolusred 5 --scan 3 "$data/microscans.mzXML" | grep -q .
run "$batch" --kolusred 5 --scan 3 "$data/small.mzML" > /dev/null
[ $rc -eq 1 ] && grep -q "записан в центроидах" "$work/err" || fail "centroided scan: $rc"

# A whole run: every MS1 profile scan; the rows of a scan are those of a run on that scan alone,
# whatever the number of threads.
"$batch" --kolusred 5 --threshold 3000 --scan all --out "$work/all" "$data/small.mzML"
"$batch" --kolusred 5 --threshold 3000 --scan all --jobs 1 --out "$work/one" "$data/small.mzML"
cmp "$work/all/results-all.tsv" "$work/one/results-all.tsv"
head -1 "$work/all/results-all.tsv" | grep -q "^Спектр	Время, мин	M	Масса	Ошибка	Me	DMe	R	dR	A	B	Std Err	Iter	Kol$"
[ "$(wc -l < "$work/all/scans.tsv")" -eq 49 ] || fail "scans.tsv: one line per scan"
grep -q "^3	controllerType=0 controllerNumber=1 scan=3	0.0112			пропущен: центроидный спектр$" "$work/all/scans.tsv"
[ "$(grep -c "	пропущен: " "$work/all/scans.tsv")" -eq 34 ] || fail "34 MS2 scans skipped"
for k in 2 23; do
    "$batch" --kolusred 5 --threshold 3000 --scan $k --out "$work/s$k" "$data/small.mzML"
    time=$(awk -F'\t' -v k=$k '$1 == k { print $4 }' "$work/list.tsv")
    diff <(tail -n +2 "$work/s$k/results.tsv" | sed "s/^/$k\t$time\t/") <(grep "^$k	" "$work/all/results-all.tsv")
    peaks=$(sed -n 's/^Всего пиков = //p' "$work/s$k/summary.txt")
    problems=$(sed -n 's/^Проблемных пиков = //p' "$work/s$k/summary.txt")
    grep -q "^$k	.*	$time	$peaks	$problems	$" "$work/all/scans.tsv" || fail "scans.tsv line of $k"
done

# A scan that cannot be processed is named and makes the exit status 1; the others are written.
run "$batch" --kolusred 5 --threshold 20000 --scan 1-3 --out "$work/part" "$data/small.mzML"
[ $rc -eq 1 ] || fail "a failing scan: $rc"
grep -q "^Спектр 3: пропущен: центроидный спектр$" "$work/err"
[ "$(cut -f1 "$work/part/results-all.tsv" | sort -u | tr '\n' ' ')" = "1 2 Спектр " ] || fail "rows of 1 and 2"
run "$batch" --kolusred 5 --threshold 20000 --scan 8-9 --out "$work/weak" "$data/small.mzML"
[ $rc -eq 0 ] || fail "two good scans: $rc"

# Malformed choices.
# A system that gives fewer threads than asked (here: stacks of 500 MB in 2 GB) slows the run
# and says so; the rows stay those of one thread.
if starts_within 2000000; then
    run bash -c "ulimit -s 500000; ulimit -v 2000000; exec '$batch' --kolusred 5 --threshold 3000 --scan all --jobs 14 --out '$work/few' '$data/small.mzML'"
    [ $rc -eq 0 ] && grep -q "^Потоков запущено [1-9][0-9]* из 14: система не дала больше" "$work/err" || fail "few threads: $rc"
    cmp "$work/few/results-all.tsv" "$work/one/results-all.tsv"
else
    echo "skipped: the program cannot start under a memory limit (a sanitizer build)"
fi

# Nothing to process is no success: a file without spectra, or only MS2 ones.
sed 's/name="ms level" value="1"/name="ms level" value="2"/' "$data/three_test_scans.mzML" > "$work/ms2.mzML"
run "$batch" --kolusred 5 --threshold 3000 --scan all --out "$work/ms2" "$work/ms2.mzML"
[ $rc -eq 1 ] && grep -qx "Ни один спектр не обработан: среди 3 спектров файла нет спектров MS1 в профильном виде" "$work/err" ||
    fail "only MS2: $rc"
[ "$(grep -c "пропущен: уровень MS 2" "$work/ms2/scans.tsv")" -eq 3 ] || fail "scans.tsv of MS2 scans"
cat > "$work/empty.mzML" << 'EOF'
<?xml version="1.0" encoding="utf-8"?>
<mzML xmlns="http://psi.hupo.org/ms/mzml" version="1.1.0">
<cvList count="1"><cv id="MS" fullName="Proteomics Standards Initiative Mass Spectrometry Ontology"/></cvList>
<fileDescription><fileContent/></fileDescription>
<softwareList count="1"><software id="s" version="1"/></softwareList>
<instrumentConfigurationList count="1"><instrumentConfiguration id="IC"/></instrumentConfigurationList>
<dataProcessingList count="1"><dataProcessing id="dp"/></dataProcessingList>
<run id="r" defaultInstrumentConfigurationRef="IC"><spectrumList count="0" defaultDataProcessingRef="dp"/></run>
</mzML>
EOF
[ "$("$batch" --list-scans "$work/empty.mzML" | wc -l)" -eq 1 ] || fail "the empty file has spectra"
run "$batch" --kolusred 5 --threshold 3000 --scan all --out "$work/empty" "$work/empty.mzML"
[ $rc -eq 1 ] && grep -qx "Ни один спектр не обработан: в файле нет ни одного спектра" "$work/err" || fail "no spectra: $rc"
run "$batch" --kolusred 5 --threshold 3000 --scan 1 --out "$work/empty" "$work/empty.mzML"
[ $rc -eq 1 ] && grep -qx "Недопустимый выбор спектров \"1\": в файле нет ни одного спектра" "$work/err" || fail "--scan 1: $rc"

# Control characters in a native id (a line feed, a tab, a terminal escape) are written out in
# every table, title and file: each stays one line or cell, and the corrected spectrum reads back.
sed 's/controllerNumber=1 scan=10014/controllerNumber=1\&#10;scan=10014\&#9;x\&#27;[2J/g' \
    "$data/three_test_scans.mzML" > "$work/ctl.mzML"
"$batch" --list-scans "$work/ctl.mzML" > "$work/ctl.tsv"
[ "$(wc -l < "$work/ctl.tsv")" -eq 4 ] && grep -qF 'controllerNumber=1\nscan=10014\tx\x1B[2J	1	' "$work/ctl.tsv" || fail "--list-scans row"
"$batch" --kolusred 5 --threshold 3000 --scan all --out "$work/ctl" "$work/ctl.mzML"
[ "$(wc -l < "$work/ctl/scans.tsv")" -eq 4 ] && [ "$(awk -F'\t' '{ print NF }' "$work/ctl/scans.tsv" | sort -u)" = 6 ] || fail "scans.tsv rows"
"$batch" --kolusred 5 --threshold 3000 --scan 1 --out "$work/ctl1" "$work/ctl.mzML"
printf '0 %s\n3 %s\n' "$(awk 'NR == 1 { print $1 + 0.001 }' "$work/ctl1/masses.txt")" \
    "$(awk 'NR == 4 { print $1 + 0.001 }' "$work/ctl1/masses.txt")" > "$work/ctl-points.txt"
"$batch" --kolusred 5 --threshold 3000 --scan 1 --calibrate "$work/ctl-points.txt" --out "$work/ctl1" "$work/ctl.mzML"
! grep -q $'\x1b' "$work/ctl1/report.htm" "$work/ctl1/calibrated.txt" "$work/ctl.tsv" || fail "a raw escape"
"$batch" --kolusred 5 "$work/ctl1/calibrated.txt" > /dev/null
head -1 "$work/ctl1/calibrated.txt" | grep -qF 'controllerNumber=1\nscan=10014\tx\x1B[2J' || fail "the title of calibrated.txt"

# Malformed whatever the file holds: usage errors before the file is read; beyond the file: 1.
for case in "0:2:номера спектров начинаются с 1" "49:1:номера спектров файла от 1 до 48" "9-5:2:диапазон 9-5 идёт от большего номера к меньшему; нужно 5-9" \
            "x:2:ожидаются номера" "1,,2:2:ожидаются номера"; do
    IFS=: read -r bad status why <<< "$case"
    run "$batch" --kolusred 5 --threshold 3000 --scan "$bad" --out "$work/bad" "$data/small.mzML"
    [ $rc -eq "$status" ] && grep -qF "Недопустимый выбор спектров \"$bad\": $why" "$work/err" || fail "--scan '$bad': $rc"
done
for args in "--scan all" "--scan all --threshold 5" "--list-scans --scan 1" "--jobs 2 --threshold 5" \
            "--scan all --threshold 5 --out o --jobs 0" "--scan all --threshold 5 --out o --jobs 257"; do
    run "$batch" $args "$data/small.mzML" > /dev/null
    [ $rc -eq 2 ] || fail "'$args': $rc"
done
run "$batch" --scan 1 "$2/golden/spectrum.txt" > /dev/null
[ $rc -eq 1 ] || fail "--scan of a text spectrum: $rc"
echo OK
