#!/usr/bin/env bash
# Generates spectra of known ions, runs orvelo-batch --formulas on each and prints how often the
# true formula comes first and within the first five (beside the ranking by mass alone).
#   bash bench/composition_accuracy.sh [BUILD] [DIR] [SEED]
set -euo pipefail
build=${1:-build}; dir=${2:-$(mktemp -d)}; seed=${3:-20261209}
mkdir -p "$dir"
"$build/bin/composition_accuracy" generate "$dir" "$seed"
for s in "$dir"/s*.txt; do
    k=$(basename "$s" .txt); k=${k#s}
    "$build/bin/orvelo-batch" --kolusred 5 --threshold 60 --formulas --out "$dir/out$k" "$s" > /dev/null
done
"$build/bin/composition_accuracy" evaluate "$dir"
