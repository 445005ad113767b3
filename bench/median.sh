# Sourced by the benchmark scripts: median CMD... prints the median wall
# time and the median processor time (user + system) of $runs runs of a
# command, in seconds; $work is the script's scratch folder.
median() {
  for i in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" > /dev/null 2>&1
    cat "$work/time"
  done > "$work/times"
  wall=$(cut -d' ' -f1 "$work/times" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  cpu=$(awk '{ print $2 + $3 }' "$work/times" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  echo "wall $wall s, processor $cpu s"
}
