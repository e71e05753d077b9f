#!/usr/bin/env bash
# orvelo-batch tells the truth in its exit status and refuses at once what it cannot do well:
# standard output that cannot be written, malformed command lines, inputs that never end,
# reference tables too wide to build.
source "$(dirname "$0")/common.bash" "$1"

# Standard output that cannot be written is a failure.
run "$batch" --kolusred 5 s.txt > /dev/full;  expect 1 "Не удалось записать в стандартный вывод: на диске не осталось места (ENOSPC)"
run "$batch" --kolusred 5 s.txt >&-;          expect 1 "Не удалось записать в стандартный вывод"
run "$batch" --help > /dev/full;              expect 1 "Не удалось записать в стандартный вывод"

# --help is an answer, not an error; option values are never the next option; no "-".
"$batch" --help > help.txt
grep -q "^Запуск: orvelo-batch" help.txt && grep -q "от 1 до 256" help.txt
run "$batch" --out --kolusred s.txt;          expect 2 "после --out нужно значение"
[ ! -e ./--kolusred ] || { echo "a folder named --kolusred was made"; exit 1; }
run "$batch" --kolusred --out out s.txt;      expect 2 "после --kolusred нужно значение"
run "$batch" -;                               expect 2 "спектр не читается со стандартного ввода"
run "$batch" --threshold 500 --calibrate missing.txt s.txt; expect 2 "--calibrate требует --out"
[ ! -e missing.txt ]
# Every malformed value is a usage error (2, in Russian) before any work, folders included.
run "$batch" --kolusred 5 --out "" s.txt;     expect 2 "--out: имя папки пусто"
run "$batch" --kolusred 5 --out -h s.txt;     expect 2 "--out: имя папки \"-h\" начинается с \"-\""
run "$batch" --kolusred 5 --threshold 5 --scan all --jobs x --out o s.txt; expect 2 "--jobs: число потоков должно быть целым числом от 1 до 256, а не \"x\""
[ ! -e -h ] && [ ! -e o ] || { echo "a refused command line made a folder"; exit 1; }
run "$batch" --list-scans /nonexistent;       expect 1 "Не удалось открыть файл \"/nonexistent\": нет такого файла или папки (ENOENT)"

# A system that gives fewer threads (stacks of 500 MB in 700 MB) than the fits would use: the
# run goes on with the ones it has, the results unchanged.
"$batch" --kolusred 5 --threshold 100 --out ref s.txt
if starts_within 700000; then
    run bash -c "ulimit -s 500000; ulimit -v 700000; exec '$batch' --kolusred 5 --threshold 100 --out few s.txt"
    [ $rc -eq 0 ] && cmp few/results.tsv ref/results.tsv || { echo "few threads: $rc"; cat err; exit 1; }
else
    echo "skipped: the program cannot start under a memory limit (a sanitizer build)"
fi

# Only regular files are read: a FIFO without a writer, a device, a folder are refused at once.
mkfifo fifo
run timeout 20 "$batch" fifo;                 expect 1 "Не удалось прочитать файл \"fifo\": это канал (FIFO), а читаются только обычные файлы"
run timeout 20 "$batch" /dev/zero;            expect 1 "это устройство"
run timeout 20 "$batch" --threshold 500 --calibrate fifo --out out s.txt; expect 1 "это канал (FIFO)"
run timeout 20 "$batch" --threshold 500 --calibrate /dev/zero --out out s.txt; expect 1 "это устройство"
head -c 1048577 /dev/zero | tr '\0' ' ' > big-points.txt
run "$batch" --kolusred 5 --threshold 500 --calibrate big-points.txt --out out s.txt
expect 1 "слишком велик: 1048577 байт, допустимо не более 1048576 байт"
[ ! -e out ] || { echo "a refused run made its folder"; exit 1; }
# System errors in Russian; a control character of a name never reaches the terminal raw.
run "$batch" missing.txt;                     expect 1 "Не удалось открыть файл \"missing.txt\": нет такого файла или папки (ENOENT)"
run "$batch" "$(printf 'x\033[2J\ny.txt')";    expect 1 'Не удалось открыть файл "x\x1B[2J\ny.txt"'
[ "$(wc -l < err)" -eq 1 ] && ! grep -q $'\x1b' err || { echo "a raw control character"; exit 1; }

# Masses up to a million would need reference tables of a million rows: refused before any
# processing, saying what is allowed (without --threshold no table is built and it runs).
printf '10 1\r\n500000 2\r\n1000000 1\r\n' > wide.txt
run "$batch" --kolusred 5 --threshold 1 wide.txt; expect 1 "строятся они не более чем для 100000 номинальных масс"
echo OK
