# Shared by the whole-process bench scripts (sourced). Callers set `runs`,
# `warmups` and `work` (a scratch folder) before using these.

# Median wall time of one run, in microseconds, after the warm-up runs.
median_us() {
  local t=() start end i
  for ((i = 0; i < ${warmups:-1}; i++)); do "$@" >/dev/null 2>&1; done
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    t+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${t[@]}" | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : int((v[NR/2]+v[NR/2+1])/2)}'
}
# Peak resident memory of one run, in KiB.
peak_kib() { /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>&1; cat "$work/rss"; }
