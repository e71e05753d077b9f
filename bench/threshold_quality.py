#!/usr/bin/env python3
"""Quality of orvelo-batch --threshold auto on spectra with known peaks and noise, beside the
peak picker of the field's usual toolkit (PeakPickerHiRes of the Debian package topp, installed
by hand for this comparison only: apt-get install topp) at signal_to_noise 1 and 3 on the same
points written as mzML. Not part of the test suite.

    bench/threshold_quality.py [ORVELO_BATCH] [SPECTRA_PER_KIND]

Four kinds of spectrum, m/z 300-600 sampled every 0.0015, 150 peaks each (resolving power
20000, about 15 points across the half height), heights log-uniform from 1 to 1000 noise
sigmas, at random positions:
  baseline      Gaussian noise (sigma 100) on a sloping baseline 2000-4000
  poisson       Poisson counts on a baseline of 400 counts (sigma = 20 counts at the baseline)
  near-zero     Gaussian noise (sigma 100) on a zero baseline, negative values cut to 0
  zero-stripped near-zero, values below 2 sigma set to 0 and the zeros removed except beside a
                non-zero point, as instruments store their scans
For each program: the share of the true peaks at least 5 sigmas high that a reported peak lies
within half a width of ("kept"), and the share of the reported peaks that lie within a width of
no true peak ("noise"). For Orvelo twice: the zones the chosen height keeps (what the threshold
decides; zone centres lie on the maxima of the heavily smoothed signal, so they are matched
within four widths) and the fitted peaks of results.tsv
(fits that failed have no mass and are counted apart, "failed"). "all zones" is every zone of the
preliminary run, threshold 0: the peaks the zones resolve at all (close neighbours merge).
"""
import base64, math, os, random, re, struct, subprocess, sys, tempfile, zlib

from profile_mzml import write_mzml

here = os.path.dirname(os.path.abspath(__file__))
batch = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "bin", "orvelo-batch")
per_kind = int(sys.argv[2]) if len(sys.argv) > 2 else 3
picker = "PeakPickerHiRes"

FIRST, LAST, STEP, R, PEAKS = 300.0, 600.0, 0.0015, 20000.0, 150


def poisson(rng, lam):
    if lam > 50:
        return max(0, round(rng.gauss(lam, math.sqrt(lam))))
    limit, k, p = math.exp(-lam), 0, 1.0
    while True:
        p *= rng.random()
        if p <= limit:
            return k
        k += 1


def generate(kind, seed):
    rng = random.Random(seed)
    sigma = 20.0 if kind == "poisson" else 100.0
    peaks = []
    for _ in range(PEAKS):
        centre = rng.uniform(FIRST + 1, LAST - 1)
        peaks.append((centre, sigma * 10 ** rng.uniform(0, 3)))
    n = int(round((LAST - FIRST) / STEP)) + 1
    xs = [FIRST + i * STEP for i in range(n)]
    signal = [0.0] * n
    for centre, height in peaks:
        s = centre / R / 2.3548
        lo, hi = int((centre - 6 * s - FIRST) / STEP), int((centre + 6 * s - FIRST) / STEP) + 1
        for i in range(max(lo, 0), min(hi, n)):
            signal[i] += height * math.exp(-0.5 * ((xs[i] - centre) / s) ** 2)
    ys = []
    for i in range(n):
        if kind == "baseline":
            ys.append(round(2000 + 2000 * i / n + signal[i] + rng.gauss(0, sigma)))
        elif kind == "poisson":
            ys.append(poisson(rng, 400 + signal[i]))
        else:
            ys.append(max(0, round(signal[i] + rng.gauss(0, sigma))))
    if kind == "zero-stripped":
        ys = [y if y >= 2 * sigma else 0 for y in ys]
        keep = [ys[i] > 0 or (i > 0 and ys[i - 1] > 0) or (i + 1 < n and ys[i + 1] > 0) for i in range(n)]
        xs = [x for x, k in zip(xs, keep) if k]
        ys = [y for y, k in zip(ys, keep) if k]
    return xs, ys, peaks, sigma


def write_text(path, xs, ys):
    with open(path, "w", encoding="cp1251", newline="") as f:
        f.write('"synthetic"\r\n""\r\n""\r\n')
        f.write("".join("%.6f\t%d\r\n" % (x, y) for x, y in zip(xs, ys)))


def read_centroids(path):
    text = open(path, encoding="utf-8").read()
    for block in re.findall(r"<binaryDataArray\b.*?</binaryDataArray>", text, re.S):
        if "MS:1000514" not in block:
            continue
        raw = base64.b64decode(re.search(r"<binary>(.*?)</binary>", block, re.S).group(1))
        if "MS:1000574" in block:
            raw = zlib.decompress(raw)
        size = 4 if "MS:1000521" in block else 8
        return list(struct.unpack("<%d%s" % (len(raw) // size, "f" if size == 4 else "d"), raw))
    return []


def orvelo(work, xs, ys):
    """The zones the chosen height keeps (their centres), the fitted peaks, and the failed fits."""
    path = os.path.join(work, "s.txt")
    write_text(path, xs, ys)
    out = os.path.join(work, "orvelo")
    subprocess.run([batch, "--threshold", "auto", "--out", out, path], check=True, capture_output=True)
    summary = open(os.path.join(out, "summary.txt"), encoding="utf-8").read()
    height = int(re.search(r"Порог по шуму спектра = (\d+)", summary).group(1))
    zones, every = [], []
    with open(os.path.join(out, "zones.txt"), encoding="utf-8") as f:
        for line in f.read().splitlines():
            h, c = line.split(",")
            every.append(float(c))
            if int(h) >= height:
                zones.append(float(c))
    with open(os.path.join(out, "results.tsv"), encoding="utf-8") as f:
        rows = [line.split("\t") for line in f.read().splitlines()[1:]]
    fitted = [float(r[1]) for r in rows if re.fullmatch(r"[0-9.]+", r[1])]
    return every, zones, fitted, len(rows) - len(fitted)


def peer(work, xs, ys, sn):
    src, dst = os.path.join(work, "s.mzML"), os.path.join(work, "p%s.mzML" % sn)
    if not os.path.exists(src):
        write_mzml(src, xs, ys)
    subprocess.run([picker, "-in", src, "-out", dst, "-algorithm:signal_to_noise", str(sn)],
                   check=True, capture_output=True)
    return read_centroids(dst)


def judge(found, peaks, sigma, reach=1.0):
    found = sorted(found)
    def near(m, reach):
        import bisect
        i = bisect.bisect_left(found, m - reach)
        return i < len(found) and found[i] <= m + reach
    strong = [(c, h) for c, h in peaks if h >= 5 * sigma]
    kept = sum(1 for c, _ in strong if near(c, 0.5 * reach * c / R))
    centres = sorted(c for c, _ in peaks)
    import bisect
    noise = 0
    for m in found:
        i = bisect.bisect_left(centres, m - reach * m / R)
        if not (i < len(centres) and centres[i] <= m + reach * m / R):
            noise += 1
    return kept, len(strong), noise, len(found)


def main():
    if subprocess.run(["sh", "-c", "command -v " + picker], capture_output=True).returncode != 0:
        sys.exit("PeakPickerHiRes not found: apt-get install topp")
    tools = ["all zones", "orvelo zones", "orvelo fits", "peer S/N 1", "peer S/N 3"]
    print("%-14s %-13s %8s %8s %8s %8s" % ("spectra", "program", "kept", "noise", "peaks", "failed"))
    for kind in ["baseline", "poisson", "near-zero", "zero-stripped"]:
        totals = {t: [0, 0, 0, 0, 0] for t in tools}
        for k in range(per_kind):
            xs, ys, peaks, sigma = generate(kind, 1000 * k + 7)
            with tempfile.TemporaryDirectory() as work:
                every, zones, fitted, failed = orvelo(work, xs, ys)
                results = {"all zones": (every, 0), "orvelo zones": (zones, 0), "orvelo fits": (fitted, failed),
                           "peer S/N 1": (peer(work, xs, ys, 1), 0), "peer S/N 3": (peer(work, xs, ys, 3), 0)}
            for t in tools:
                found, bad = results[t]
                for i, v in enumerate(judge(found, peaks, sigma, 4.0 if t.endswith("zones") else 1.0) + (bad,)):
                    totals[t][i] += v
        for t in tools:
            kept, strong, noise, found, failed = totals[t]
            print("%-14s %-13s %7.1f%% %7.1f%% %8d %8d" % (kind, t, 100.0 * kept / max(strong, 1),
                                                           100.0 * noise / max(found, 1), found, failed))
        sys.stdout.flush()


main()
