#!/usr/bin/env bash
# orvelo-batch lists the zones of a generated spectrum by height, without the highest one.
source "$(dirname "$0")/common.bash" "$1"

"$batch" --kolusred 5 --out "$work/out" "$work/s.txt"
cat "$work/out/zones.txt"
[ "$(wc -l < "$work/out/zones.txt")" -eq 2 ] || { echo "expected two zone lines"; exit 1; }
# Heights come out a little under the amplitudes (smoothing); centres to 0.1.
awk -F',   ' 'NR==1 && !($1 > 250 && $1 <= 300 && $2 == "107.0") { print "bad line 1: " $0; bad=1 }
               NR==2 && !($1 > 900 && $1 <= 1000 && $2 == "102.0") { print "bad line 2: " $0; bad=1 }
               END { exit bad }' "$work/out/zones.txt"

# Without --out the same lines go to standard output.
diff <("$batch" --kolusred 5 "$work/s.txt") "$work/out/zones.txt"

# Errors: the program's own text on stderr and status 1; bad usage: status 2 with the usage.
printf '1 2\r\n1.5E+03 7\r\n' > "$work/bad.txt"
run "$batch" "$work/bad.txt";                 expect 1 "'1.5E' is not a valid floating point value"
run "$batch" --kolusred 1.5 "$work/s.txt";    expect 2 "--kolusred: число проходов усреднения должно быть целым числом, а не \"1.5\""
run "$batch" --bogus "$work/s.txt";           expect 2 "Запуск: orvelo-batch"
echo OK
