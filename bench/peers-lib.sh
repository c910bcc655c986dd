# Shared by the whole-process bench scripts (sourced). Callers set `runs`,
# `warmups` and `work` (a scratch folder) before using these.

# Median wall time of one run, in microseconds, after the warm-up runs.
# The clock is bash's own (no process, no subshell): a `date` process per
# reading would add a millisecond or two to every run and pull ratios to 1.
# Scripts print /bin/true's median too, the cost of starting any process.
median_us() {
  local t=() start end i
  for ((i = 0; i < ${warmups:-1}; i++)); do "$@" >/dev/null 2>&1; done
  for ((i = 0; i < runs; i++)); do
    start=${EPOCHREALTIME/[.,]/}
    "$@" >/dev/null 2>&1
    end=${EPOCHREALTIME/[.,]/}
    t+=($((10#$end - 10#$start)))
  done
  printf '%s\n' "${t[@]}" | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : int((v[NR/2]+v[NR/2+1])/2)}'
}
# The medians of several commands measured in turns, one run of each per
# round, so a change in the machine's load falls on all of them alike. Each
# command is given as the name of an array holding it; prints one median per
# line, in the order given.
medians_us() {
  local names=("$@") lists=() i r start end
  for ((r = 0; r < ${warmups:-1}; r++)); do
    for i in "${!names[@]}"; do
      local -n cmd=${names[i]}
      "${cmd[@]}" >/dev/null 2>&1
      unset -n cmd
    done
  done
  for ((r = 0; r < runs; r++)); do
    for i in "${!names[@]}"; do
      local -n cmd=${names[i]}
      start=${EPOCHREALTIME/[.,]/}
      "${cmd[@]}" >/dev/null 2>&1
      end=${EPOCHREALTIME/[.,]/}
      unset -n cmd
      lists[i]+="$((10#$end - 10#$start)) "
    done
  done
  for i in "${!names[@]}"; do
    printf '%s\n' ${lists[i]} | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : int((v[NR/2]+v[NR/2+1])/2)}'
  done
}
# Peak resident memory of one run, in KiB.
peak_kib() { /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>&1; cat "$work/rss"; }
# A line with /bin/true's median (what starting any process costs here, part
# of every figure above it) and the machine's load while measuring.
# Given a median, prints that one (measured in turns with the others).
baseline_line() {
  local t=${1:-}
  [ -n "$t" ] || t=$(median_us /bin/true)
  awk -v u="$t" -v l="$(cut -d' ' -f1-3 /proc/loadavg)" \
    'BEGIN {printf "baseline /bin/true: median %.2f ms (starting any process); load average %s\n", u / 1000, l}'
}
