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

# One MS1 profile spectrum, 64-bit arrays without compression.
to_mzml() {
    python3 - "$1" "$2" <<'EOF'
import base64, struct, sys
xs, ys = [], []
with open(sys.argv[1], encoding="cp1251") as f:
    for line in f:
        parts = line.split()
        if len(parts) == 2 and not line.startswith('"'):
            xs.append(float(parts[0])); ys.append(float(parts[1]))
def array(values, accession, name):
    data = base64.b64encode(struct.pack("<%dd" % len(values), *values)).decode()
    return ('<binaryDataArray encodedLength="%d"><cvParam cvRef="MS" accession="MS:1000523" name="64-bit float"/>'
            '<cvParam cvRef="MS" accession="MS:1000576" name="no compression"/>'
            '<cvParam cvRef="MS" accession="%s" name="%s"/><binary>%s</binary></binaryDataArray>'
            % (len(data), accession, name, data))
with open(sys.argv[2], "w") as out:
    out.write('<?xml version="1.0" encoding="utf-8"?>\n'
              '<mzML xmlns="http://psi.hupo.org/ms/mzml" version="1.1.0">'
              '<cvList count="1"><cv id="MS" fullName="PSI-MS" URI="https://www.ebi.ac.uk/ols/ontologies/ms"/></cvList>'
              '<softwareList count="1"><software id="conv" version="1"/></softwareList>'
              '<instrumentConfigurationList count="1"><instrumentConfiguration id="IC"/></instrumentConfigurationList>'
              '<dataProcessingList count="1"><dataProcessing id="dp"><processingMethod order="0" softwareRef="conv">'
              '<cvParam cvRef="MS" accession="MS:1000544" name="Conversion to mzML"/></processingMethod>'
              '</dataProcessing></dataProcessingList>'
              '<run id="r" defaultInstrumentConfigurationRef="IC"><spectrumList count="1" defaultDataProcessingRef="dp">'
              '<spectrum index="0" id="scan=1" defaultArrayLength="%d">'
              '<cvParam cvRef="MS" accession="MS:1000511" name="ms level" value="1"/>'
              '<cvParam cvRef="MS" accession="MS:1000579" name="MS1 spectrum"/>'
              '<cvParam cvRef="MS" accession="MS:1000128" name="profile spectrum"/>'
              '<binaryDataArrayList count="2">%s%s</binaryDataArrayList></spectrum></spectrumList></run></mzML>\n'
              % (len(xs), array(xs, "MS:1000514", "m/z array"), array(ys, "MS:1000515", "intensity array")))
print(len(xs))
EOF
}

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
