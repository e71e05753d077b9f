# Writes a spectrum file in the program's format (title block, CR LF) with Gaussian peaks of
# the program's own model on a flat baseline, intensities rounded to whole counts.
#   awk -v lo=100 -v hi=110 -v step=0.002 -v base=10 -v R=2000 \
#       -v peaks="102:1000 104.5:5000" -f make_spectrum.awk > spectrum.txt
BEGIN {
    K = 1.6651
    n = split(peaks, list, " ")
    for (i = 1; i <= n; i++) { split(list[i], f, ":"); c[i] = f[1]; a[i] = f[2] }
    printf "\"Synthetic spectrum\"\r\n\"\"\r\n\"\"\r\n"
    count = int((hi - lo) / step + 0.5)
    for (k = 0; k <= count; k++) {
        x = lo + k * step
        y = base
        for (i = 1; i <= n; i++) { t = K * R * (c[i] / x - 1); y += a[i] * exp(-t * t) }
        printf "%.5f\t%d\r\n", x, int(y + 0.5)
    }
}
