#!/usr/bin/env bash
# orvelo-batch on damaged, disguised and oversized instrument files, and on titles the text
# files cannot hold: refusals with a message (status 1), warnings on the error stream.
source "$(dirname "$0")/common.bash" "$1"
data=$2/mzml
crash=$2/../fuzz-regressions/mzml/library-crash-zero-bytes-uncompressed.mzXML

# Compression is told by content: a plain file named .gz and a gzipped one get the same checks.
cp "$crash" x.mzXML.gz
run "$batch" --list-scans x.mzXML.gz; expect 1 "нулевой байт в позиции 12093"
gzip -c "$crash" > z.mzXML.gz
run "$batch" --list-scans z.mzXML.gz; expect 1 "нулевой байт в позиции 12093"
head -c 30000000 /dev/zero | tr '\0' ' ' | gzip -c > bomb.mzML.gz
run "$batch" --list-scans bomb.mzML.gz; expect 1 "данные сжаты более чем в 1000 раз"

# Every index entry pointing at the first spectrum: each scan is still itself, and the warning
# comes once.
perl -pe 'if (/<index name="spectrum">/ .. /<\/index>/) { s/(<offset idRef="[^"]*">)(\d+)/$1 . sprintf("%0*d", length($2), 4480)/e }' \
    "$data/small.mzML" > moved.mzML
run "$batch" --kolusred 5 --threshold 3000 --scan 1-2 --out moved moved.mzML; expect 0 "указывает не на те места"
[ "$(grep -c "Предупреждение" err)" -eq 1 ] || { echo "one warning expected"; cat err; exit 1; }
"$batch" --kolusred 5 --threshold 3000 --scan 1-2 --out right "$data/small.mzML"
diff moved/results-all.tsv right/results-all.tsv

# A UTF-8 title without a byte order mark reaches the report in Windows-1251; what it cannot
# hold is named.
{ printf '"Проба CH₄"\r\n""\r\n""\r\n'; tail -n +4 s.txt; } > u.txt
run "$batch" --threshold 100 --out u u.txt; expect 0 "нет в кодировке Windows-1251: ₄;"
grep -qa "$(printf '<TITLE> \xcf\xf0\xee\xe1\xe0 CH?</TITLE>')" u/report.htm || { echo "title"; exit 1; }
