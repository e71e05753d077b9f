# Sourced by the batch checks: $batch (the program), $here (this folder), a fresh working folder
# that is removed at exit and is the current folder, its spectrum s.txt of three peaks, and the
# helpers run and expect.
set -euo pipefail
batch=$(realpath "$1"); here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd); work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cd "$work"
awk -v lo=100 -v hi=110 -v step=0.002 -v base=10 -v R=2000 \
    -v peaks="102:1000 104.5:5000 107:300" -f "$here/make_spectrum.awk" > s.txt

# Runs the command, keeping its status in $rc and its standard error in err.
run() { set +e; "$@" 2> err; rc=$?; set -e; }
expect() {  # status, text expected in standard error
    [ "$rc" -eq "$1" ] && grep -qF -- "$2" err || { echo "expected $1 '$2', got $rc:"; cat err; exit 1; }
}
# True when the program starts under an address-space limit of $1 KiB; a sanitizer build reserves
# terabytes of address space and cannot, so the checks of a memory-starved system skip there.
starts_within() { bash -c "ulimit -v $1; exec '$batch' --help" > /dev/null 2>&1; }
