#!/bin/sh
# The submission of 20,000 marked invoices as a whole kelmorin-tool process,
# beside the sqlite3 shell selecting the same invoices joined with their
# code-list rows, and the peak memory of the tool. Reports, asserts nothing.
#
#   bench/submission_tool_bench.sh BUILD [OTHER_BUILD]
#
# BUILD and OTHER_BUILD are build folders (OTHER_BUILD for a side-by-side
# run with an older build); needs the sqlite3 shell and /usr/bin/time.
set -e
build=$(cd "$1" && pwd)
other=${2:+$(cd "$2" && pwd)}
runs=${RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
year=$(date +%y)

"$build/bench/generate_db" "$work/shop" 1 20000
sqlite3 "$work/shop/Kelmorin.mdb" "UPDATE Rn SET Izbor = '1', Pom2 = '2103060102001', Kol2 = 1, \
  Pom3 = '2103031412001', Kol3 = 2, Pom4 = '2103060201001', Kol4 = 1; \
  UPDATE Opci SET Vrsta = '4', Sifra = '123456789', Naziv = 'Optika';"

# The invoices' columns the run reads, and the columns of the code lists it
# prices from.
cols="r.Broj, r.Prezime, r.Ime, r.Brosig1, r.Brosig2, r.Brbolesnlist, r.Drz, r.Dopunsko, r.Pu, r.Izbor, r.Plac,
  r.Opaska, r.Proizv, r.BrojMalopRn, r.Datum, r.Datumnar, r.DatumIzdavanja, r.Osl, r.Dop, r.God, r.Rnbr, r.Iznos,
  r.Pom1, r.Kol1, r.Pom2, r.Kol2, r.Pom3, r.Kol3, r.Pom4, r.Kol4, r.Pom5, r.Kol5, r.Pom6, r.Kol6, r.Pom7, r.Kol7"
aid() { echo "$1.Naziv, $1.ISO, $1.Cijena, $1.PDV"; }
query="SELECT $cols, $(aid a1), $(aid a2), $(aid a3), $(aid a4) FROM Rn r
  LEFT JOIN OrtopedskaKelmorinISO a1 ON a1.Sifra = r.Pom1 LEFT JOIN OrtopedskaKelmorinISO a2 ON a2.Sifra = r.Pom2
  LEFT JOIN OrtopedskaKelmorinISO a3 ON a3.Sifra = r.Pom3 LEFT JOIN OrtopedskaKelmorinISO a4 ON a4.Sifra = r.Pom4
  WHERE r.God = $year AND r.Izbor = '1' ORDER BY r.Rnbr;"

. "$(dirname "$0")/median.sh"

peak() {
  rm -f "$work/shop/"*.O$year*
  /usr/bin/time -v "$1/src/kelmorin-tool" submission "$work/shop" --mark 1 --medium 1 --date 04.12.2026 --office 114 \
    --yes 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'
}

echo "sqlite3 shell, the invoices joined with their code-list rows: $(median sqlite3 "$work/shop/Kelmorin.mdb" "$query")"
for b in $build $other; do
  echo "kelmorin-tool submission ($b): $(median "$b/src/kelmorin-tool" submission "$work/shop" --mark 1 --medium 1 \
    --date 04.12.2026 --office 114 --yes), peak $(peak "$b") KiB"
  rm -f "$work/shop/"*.O$year*
done
