#!/bin/sh
# The long overview of every invoice of a business year of 32,767 invoices
# (the most a year can hold), each with a retail receipt, a manufacturer and
# four aid lines, as a whole kelmorin-tool process, beside the sqlite3 shell
# selecting the same year's invoices, and the peak memory of the tool.
# Reports, asserts nothing.
#
#   bench/report_tool_bench.sh BUILD [OTHER_BUILD]
#
# BUILD and OTHER_BUILD are build folders (OTHER_BUILD for a side-by-side
# run with an older build); needs the sqlite3 shell and /usr/bin/time.
set -e
build=$(cd "$1" && pwd)
other=${2:+$(cd "$2" && pwd)}
runs=${RUNS:-5}
for needed in sqlite3 /usr/bin/time; do
  if ! command -v "$needed" > /dev/null; then
    echo "report_tool_bench: $needed is missing (apt-get install sqlite3 time); skipped"
    exit 0
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
year=$(date +%y)

"$build/bench/generate_db" "$work/shop" 1 32767
sqlite3 "$work/shop/Kelmorin.mdb" "UPDATE Rn SET BrojMalopRn = 'M-' || Rnbr, Proizv = 'PR1', \
  Pom2 = '2103060102001', Kol2 = 1, Pom3 = '2103031412001', Kol3 = 2, Pom4 = '2103060201001', Kol4 = 1;"

. "$(dirname "$0")/median.sh"

peak() {
  /usr/bin/time -v "$1/src/kelmorin-tool" report "$work/shop" overview --which all --long 2>&1 >/dev/null \
    | sed -n 's/.*Maximum resident set size (kbytes): //p'
}

echo "sqlite3 shell, the year's invoices: $(median sqlite3 "$work/shop/Kelmorin.mdb" \
  "select * from Rn where God = $year order by Rnbr;")"
for b in $build $other; do
  echo "kelmorin-tool report overview --which all --long ($b): $(median "$b/src/kelmorin-tool" report "$work/shop" overview \
    --which all --long), peak $(peak "$b") KiB"
done
