#!/usr/bin/env bash
# The Snakemake workflow over a folder of a text spectrum, an mzML run in which one chosen scan
# fails and a file orvelo-batch refuses: each file's rows are gathered under its name, the failed
# runs are recorded and the others go on. Arguments: orvelo-batch and the test data folder.
set -euo pipefail
if ! command -v snakemake > /dev/null; then
    echo "SKIP: snakemake is not installed (apt-get install snakemake)"
    exit 77
fi
batch=$(realpath "$1"); data=$(realpath "$2")
snakefile=$(cd "$(dirname "$0")/../../workflow" && pwd)/Snakefile
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

mkdir in
cp "$data/real/ltqft_ms1_scan1.txt" "in/ltqft scan.txt"      # a space in the name
cp "$data/mzml/small.mzML" in/
cp "$data/bad/binary.bin" in/broken.txt
cp "$data/mzml/README.md" in/                                  # not a spectrum's name: left out
cp "$data/bad/one-line.txt" "in/tab$(printf '\t')name.txt"      # a name Snakemake cannot pass on

# Scan 3 of the run is centroided: the run writes scans 1 and 2 and exits with 1.
snakemake -s "$snakefile" --cores 2 --quiet --config input=in output=out \
    "options=--kolusred 5 --threshold 20000" "instrument_options=--scan 1-3" "batch=$batch" > snakemake.log 2>&1 \
    || { cat snakemake.log; fail "the workflow failed"; }

table=out/all-results.tsv
head -1 "$table" | grep -qx "Файл	Спектр	Время, мин	M	Масса	Ошибка	Me	DMe	R	dR	A	B	Std Err	Iter	Kol" \
    || fail "head of the gathered table"
# A text spectrum: results.tsv with two empty columns; a run of scans: results-all.tsv.
diff <(tail -n +2 "out/ltqft scan.txt/results.tsv" | sed 's/^/ltqft scan.txt\t\t\t/') \
     <(grep "^ltqft scan.txt	" "$table") || fail "rows of the text spectrum"
diff <(tail -n +2 out/small.mzML/results-all.tsv | sed 's/^/small.mzML\t/') \
     <(grep "^small.mzML	" "$table") || fail "rows of the mzML run"
[ "$(cut -f1 "$table" | sort -u | tr '\n' '|')" = "ltqft scan.txt|small.mzML|Файл|" ] || fail "file column"
[ "$(grep "^small.mzML	" "$table" | cut -f2 | sort -u | tr '\n' ' ')" = "1 2 " ] || fail "scans of the mzML run"
rows=$(grep -c "^small.mzML	" "$table")
if grep -q $'\r' "$table"; then fail "line ends of the gathered table"; fi

# The refused file: its exit status, its message and no rows; the run of scans with its rows.
diff out/failed.tsv <(printf 'Файл\tКод выхода\tСообщение\tСтрок\nbroken.txt\t1\tСтрока 3: нулевой байт, файл двоичный или записан не в кодировке Windows-1251\t0\nsmall.mzML\t1\tСпектр 3: пропущен: центроидный спектр\t%s\ntab\\tname.txt\t\tне обработан: в имени файла управляющие символы, байты не UTF-8, фигурные скобки или кавычки обоих видов\t0\n' "$rows") \
    || fail "failed.tsv"
[ ! -e out/README.md ] || fail "a file that is not a spectrum was processed"

# A malformed command line is the same for every file: the workflow fails.
if snakemake -s "$snakefile" --cores 2 --quiet --config input=in output=bad \
    "options=--kolusred x --threshold 3000" "batch=$batch" > bad.log 2>&1; then
    fail "a malformed option string succeeded"
fi
grep -q "exited with 2: orvelo-batch: --kolusred" bad.log || { cat bad.log; fail "message of a malformed option"; }
[ ! -e bad/all-results.tsv ] || fail "a gathered table after a malformed option"
echo "workflow checks passed"
