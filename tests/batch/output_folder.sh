#!/usr/bin/env bash
# The --out folder: an input is never overwritten, links and special files are never written
# through or replaced, and a run's files appear as one whole set or the folder stays as it was
# (a refused run, a full disk in the middle, two runs at once, a kill while writing).
source "$(dirname "$0")/common.bash" "$1"
# Everything in a folder, hidden entries included, with contents: equal snapshots, equal folders.
snapshot() { (cd "$1" && find . -print0 | sort -z | xargs -0 ls -ld --time-style=+ | awk '{ $2 = ""; print }' &&
              find . -type f -print0 | sort -z | xargs -0 -r cat); }
# A whole set: the summary, the results table and the mass list speak of the same peaks.
whole_set() {
    local n; n=$(sed -n 's/^Всего пиков = //p' "$1/summary.txt")
    [ "$(($(wc -l < "$1/results.tsv") - 1))" -eq "$n" ] && [ "$(wc -l < "$1/masses.txt")" -eq "$n" ] &&
        [ "$(ls -A "$1" | grep -c '^\.')" -eq 0 ] || { echo "$1 is no whole set"; ls -A "$1"; exit 1; }
}

"$batch" --kolusred 5 --threshold 500 --out out s.txt
whole_set out
cp out/zones.txt zones.copy
"$batch" --kolusred 5 --out new/deep/ s.txt   # a new folder, its parents and a final slash
[ "$(ls -A new/deep | tr '\n' ' ')" = "run-files.txt zones.txt " ] && [ "$(ls -A new)" = deep ] &&
    [ "$(stat -c %a new/deep)" = "$(stat -c %a out)" ] || { echo "new/deep"; ls -lA new/deep; exit 1; }
# The manifest lists the set; a run with fewer files leaves exactly its own, and files the
# program does not write stay whatever a manifest says.
[ "$(sort out/run-files.txt | tr '\n' ' ')" = "$(ls out | tr '\n' ' ')" ] || { echo "out/run-files.txt"; exit 1; }
cp -r out fewer && echo mine > fewer/notes.txt && echo notes.txt >> fewer/run-files.txt
"$batch" --kolusred 5 --out fewer s.txt
[ "$(ls -A fewer | tr '\n' ' ')" = "notes.txt run-files.txt zones.txt " ] || { echo "fewer:"; ls -A fewer; exit 1; }
# Names as the system resolves them, and names up to the system's limit of 255 bytes.
"$batch" --kolusred 5 --out up/../beside s.txt
[ -d up ] && [ -f beside/zones.txt ] || { echo "up/../beside"; ls -A; exit 1; }
long=$(printf 'n%.0s' $(seq 255))
"$batch" --kolusred 5 --out "$long" s.txt && [ -f "$long/zones.txt" ] && rm -r "$long" up beside fewer
# A folder whose temporary cannot be made is named, never the temporary's name.
deep=.; for _ in $(seq 20); do deep=$deep/$(printf 'd%.0s' $(seq 203)); done
mkdir -p "$deep"
run "$batch" --kolusred 5 --out "$deep" s.txt;  expect 1 "Не удалось создать временную папку в папке \"$deep\": "
! grep -q XXXXXX err || { echo "the template was named"; exit 1; }
rm -r ./ddd*

# 1. An input that is one of the outputs (by name, through a link, as calibration file).
before=$(snapshot out)
run "$batch" --kolusred 5 --out out out/zones.txt;    expect 1 "совпадает с файлом результата"
ln -s out/zones.txt alias.txt
run "$batch" --kolusred 5 --out out alias.txt;        expect 1 "совпадает с файлом результата"
printf '0 102\n1 104.5\n' > out-points.txt; cp out-points.txt out/masses.txt.new
run "$batch" --kolusred 5 --threshold 500 --calibrate out/masses.txt --out out s.txt
expect 1 "Входной файл \"out/masses.txt\" совпадает с файлом результата"
rm out/masses.txt.new
[ "$(snapshot out)" = "$before" ] || { echo "a refused run changed the folder"; exit 1; }
cmp out/zones.txt zones.copy

# 2. Links, devices, FIFOs and folders at an output name are refused; the victim is untouched.
echo victim > victim.txt
mkdir planted && ln -s ../victim.txt planted/zones.txt
run "$batch" --kolusred 5 --out planted s.txt;         expect 1 "\"planted/zones.txt\" существует, и это символическая ссылка"
ln -sf /dev/null planted/zones.txt
run "$batch" --kolusred 5 --out planted s.txt;         expect 1 "символическая ссылка"
[ -c /dev/null ] && [ "$(cat victim.txt)" = victim ] && [ -L planted/zones.txt ]
rm planted/zones.txt && mkfifo planted/report.htm
run "$batch" --kolusred 5 --threshold 500 --out planted s.txt; expect 1 "это канал (FIFO)"
rm planted/report.htm && mkdir planted/results.tsv
run "$batch" --kolusred 5 --threshold 500 --out planted s.txt; expect 1 "это папка"
[ "$(ls -A planted)" = results.tsv ] || { echo "planted: files were written"; ls -A planted; exit 1; }
run "$batch" --kolusred 5 --out victim.txt s.txt;      expect 1 "\"victim.txt\" существует и не является папкой"

# 3. A refused run creates nothing; a full disk in the middle leaves the folder as it was.
printf '1 2\r\n1.5E+03 7\r\n' > bad.txt
run "$batch" --kolusred 5 --out fresh/sub bad.txt;     expect 1 "is not a valid floating point value"
[ ! -e fresh ] || { echo "a refused run made its folder"; exit 1; }
before=$(snapshot out)
run bash -c "ulimit -f 1; exec '$batch' --kolusred 5 --threshold 200 --out out s.txt"   # report.htm > 1 KB
expect 1 "превышен допустимый размер файла (EFBIG)"
[ "$(snapshot out)" = "$before" ] || { echo "a failed write changed the folder"; exit 1; }
run bash -c "ulimit -f 1; exec '$batch' --kolusred 5 --threshold 200 --out made/deeper/new-out s.txt"
expect 1 "Не удалось записать файл \"made/deeper/new-out/"   # named where it was to be, not in the temporary
[ ! -e made ] || { echo "a failed commit left the folders it made"; exit 1; }
[ -z "$(ls -A)" ] || [ -z "$(ls -A | grep -e '^\.' -e new-out)" ] || { echo "leftovers:"; ls -A; exit 1; }

# Two runs at once into one folder (existing or not yet made) leave one whole set.
for round in 1 2 3; do
    for folder in out "twice-$round"; do
        "$batch" --kolusred 5 --threshold 500 --out "$folder" s.txt & a=$!
        "$batch" --kolusred 5 --threshold 200 --out "$folder" s.txt & b=$!
        wait $a; wait $b
        whole_set "$folder"
    done
done

# 4. A kill while the run writes (or at any other moment) leaves no temporary file behind and
# either the old set or the new one.
awk 'BEGIN { srand(1); printf "\"Many\"\r\n\"\"\r\n\"\"\r\n"
             for (x = 100; x < 700; x += 0.005) { m = int(x) + 0.3; t = 1.6651 * 2000 * (m / x - 1)
                 printf "%.5f\t%d\r\n", x, 10 + (1000 + (int(x) % 7) * 300) * exp(-t * t) } }' > many.txt
"$batch" --kolusred 5 --threshold 500 --out killed many.txt
for delay in 0 0.05 0.1 0.2 0.4 0.8; do
    "$batch" --kolusred 5 --threshold 900 --out killed many.txt & pid=$!
    if [ "$delay" = 0 ]; then   # as soon as the temporary folder appears
        for _ in $(seq 2000); do ls -A killed | grep -q '^\.orvelo-batch' && break; done
    else sleep "$delay"; fi
    kill -TERM $pid 2> /dev/null || true
    wait $pid || true
    whole_set killed
    [ -z "$(ls -A | grep '^\.')" ] || { echo "leftovers beside the folder"; ls -A; exit 1; }
done

# SIGKILL leaves a temporary folder, in the folder or beside a new one: the next run that takes
# the folder's lock removes those of dead runs.
for folder in killed new-killed; do
    "$batch" --kolusred 5 --threshold 900 --out $folder many.txt & pid=$!
    for _ in $(seq 20000); do ls -A . killed | grep -q '^\.orvelo-batch' && break; done
    kill -KILL $pid 2> /dev/null || true
    wait $pid || true
    "$batch" --kolusred 5 --threshold 500 --out $folder many.txt
    whole_set $folder
    [ -z "$(ls -A | grep '^\.')" ] || { echo "leftovers beside the folder"; ls -A; exit 1; }
done
# A kill during the moves: the old set aside in ".old", half of the new one moved in. The next
# run finishes that commit and then puts its own set in place: the folder holds one run.
"$batch" --kolusred 5 --threshold 200 --out newer s.txt
dead=killed/.orvelo-batch-dead00
mkdir -p $dead/.old
mv killed/* $dead/.old/
mv newer/zones.txt newer/results.tsv killed/
mv newer/* $dead/
"$batch" --kolusred 5 --out killed s.txt
[ "$(ls -A killed | tr '\n' ' ')" = "run-files.txt zones.txt " ] || { echo "half committed:"; ls -A killed; exit 1; }
cmp killed/zones.txt zones.copy
echo OK
