#!/bin/bash
# reference_job.sh N OUT.dc [SEED]: writes a DC job of exactly N lines (LF line ends; Danish letters only
# through the DC text escapes, so the file is plain ASCII). Header and coordinate-system records
# give UTM zone 32 (Euref89) with DVR90 heights; then field work: mostly keyed-in points (69 KI)
# with codes, B6 code records, attribute groups and attributes (87, 88, 89, 90, 92), notes (13 NM,
# 13 TS), and now and then a station setup (02, 77, 07, a Reference observation to the backsight,
# D2) followed by polar points (69 F1) with skipped raw observations (79 M2) and the odd deleted
# observation; a few IX, RS, copied and deleted points. No GPS and no observation whose export
# would need the known-point file. Deterministic: the same N and SEED give the same bytes with any
# POSIX awk (own integer generator, no rand()).
set -eu
usage() { echo "usage: reference_job.sh N OUT.dc [SEED]" >&2; exit 2; }
[[ $# -ge 2 && $1 =~ ^[0-9]+$ ]] || usage
n=$1 out=$2 seed=${3:-20261208}
[[ $seed =~ ^[0-9]+$ ]] || usage
tmp="$out.tmp.$$"
trap 'rm -f "$tmp"' EXIT
LC_ALL=C awk -v N="$n" -v seed="$seed" '
# Park-Miller generator: every product stays below 2^53, so all awks agree.
function r(k) { s = (s * 16807) % 2147483647; return int(s * k / 2147483647) }
function pick(list,   a, m) { m = split(list, a, "|"); return a[r(m) + 1] }
function L(x) { print x; if (++n >= N) exit }
# decimal texts with four decimals, never ending in 5: no printed value lies near a rounding tie
function dec(ip,   f) { f = r(10000); if (f % 10 == 5) f++; return sprintf("%d.%04d", ip, f) }
function north() { return dec(6170000 + r(60000)) }
function east() { return dec(520000 + r(60000)) }
function height(   z) { z = r(1000); if (z < 40) return ""; if (z < 50) return "-" dec(r(3)); return dec(2 + r(120)) }
function p69(flags, name, code, mc) {
  L(sprintf("69%s%16.16s%-16s%-16s%-16s%-16.16s%s", flags, name, north(), east(), height(), code, mc))
}
function code(   k) {
  k = r(100)
  if (k < 55) return pick("KB|FS|SKEL|HEGN|MUR|TRAE|BR|LYGTE|VEJM|BYG|RIST|SKILT|HJ|ASF|FLISE|GRUS|BELYS|KANT|Tr*e|H*ek|B*og|BR2|KB1|FS2|VEJ_MIDT")
  if (k < 67) return pick("1_KB|2_HEGN|0_KANT|12_MUR|3_GEL.1|2_XY.5|0.5_X|1_FS.2|5_SKEL|0_A_BC|10_VEJ|1_BYG")
  if (k < 79) return pick("KB FS|KB,FS|SKEL HJ|MUR,HJ|FS KB 1_HEGN|KB, FS|BYG HJ")
  if (k < 87) return pick("BR1 &R|TRAE &S:40+cm|LYGTE &Nr+12|BR &S:100+mm|SKEL &R")
  if (k < 92) return pick("HJ .5|KB  .2 FS|K1 .5 K2")
  if (k < 95) return ""
  return pick("BR|TRAE|SKEL")
}
function b6code() {
  return pick("KB FS &R SKEL|3_GEL.1 Tr*e|BR &S:125+mm &Bem*erk+tilsluttet|SKEL HJ VEJM MUR HEGN|TRAE &S:60+cm &Art+B*og|2_HEGN.5 1_KB|FS,KB,,HJ")
}
function attrs(c,   k) {
  k = r(100)
  if (c ~ /^BR/ && k < 70) {
    L("87NMBR                  ")
    L(sprintf("88NM%-20s%-16s", "Dybde", sprintf("%d.%02d", 1 + r(3), r(100))))
    L(sprintf("90NM%-20s%-10s", "Type", pick("Beton|Plast|Tegl")))
    if (r(4) == 0) L(sprintf("89NM%-20s%-100s", "Bem*erkning", pick("Br*ond renoveret 2025|Kegle udskiftet|D*eksel revnet, skal skiftes")))
  } else if (c ~ /^TRAE/ && k < 60) {
    L("87NMTRAE                ")
    L(sprintf("88NM%-20s%-16s", "Stamme", sprintf("0.%02d", 10 + r(80))))
    L(sprintf("92NM%-20s%-20s", "Art", pick("B*og|Eg|Ask|Lind|R*odel")))
  } else if (c ~ /^SKEL/ && k < 50) {
    L("87NMSKEL                ")
    L(sprintf("88NM%-20s%-16s", "Type", pick("Granit|Jern|R*or|Tr*epl*ok")))
  } else if (k < 2) {
    # a group that the code does not begin with: no attribute line
    L("87NMBR                  ")
    L(sprintf("88NM%-20s%-16s", "Dybde", "1.75"))
  }
}
function notes(   k) {
  k = r(1000)
  if (k < 15) L(sprintf("13NM%-60s", pick("Reflektor skiftet|Prismeh*ojde *endret til 1.500|Kontrol mod fikspunkt|Punkt sat med s*om|Sigte gennem buske")))
  else if (k < 20) L(sprintf("13TS%-60s", sprintf("Time stamp %02d:%02d:%02d 08-12-2026 job gemt", 7 + r(10), r(60), r(60))))
}
function pname(i,   k) {
  k = r(100)
  if (k < 90) return i
  if (k < 95) return "SKEL" i
  if (k < 98) return "H*oj" i
  return sprintf("LANGTPUNKTNAVN%02d", i % 100)
}
function point(flags, i, mc,   c) {
  c = code()
  p69(flags, pname(i), c, mc)
  if (r(100) < 8) { c = b6code(); L(sprintf("B6NM%-100s", c)) }
  attrs(c)
  notes()
}
function setup(   st, bs) {
  st = "S" (++nst); bs = (nst > 1) ? "S" (nst - 1) : "FIX1"
  L(sprintf("02NM%-16s%-16s%-16s%-16s%-16s%16s", st, north(), east(), dec(10 + r(60)), sprintf("1.%03d", 400 + r(300)), ""))
  if (r(3) == 0) L(sprintf("D2NM%-16s%-16s%16s%-16s", sprintf("%d.%d", 990 + r(40), r(10)), sprintf("%d.%d", r(25), r(10)), "", "0.0"))
  L(sprintf("77NM%-16s%-16s%16s", "1.300", "0.0", ""))
  L(sprintf("07NM%-16s%-16s%-16s%-16s", st, bs, dec(r(400)), "0.0000"))
  L(sprintf("79NM%-16s%-16s%-16s%-16s%-16s%-16s5", st, bs, dec(20 + r(300)), dec(98 + r(4)), "0.0000", ""))
}
function raw(st, name, cls) {
  L(sprintf("79%s%-16s%-16s%-16s%-16s%-16s%-16s%s", cls == 6 ? "NM" : "M2", st, name, dec(5 + r(200)), dec(97 + r(6)), dec(r(400)), cls == 6 ? "SLET" : "", cls))
}
BEGIN {
  s = seed % 2147483647; if (s <= 0) s += 2147483646
  n = 0; N += 0
  if (N <= 0) exit
  L("00NMTP V10-70       000008-Dec-26 10:15 213111")
  L(sprintf("10NM%-16s121221", "Ringk*obing 2026"))
  L("78NM11")
  L(sprintf("65NM%-16s", "6378137.0"))
  L(sprintf("64NM3%16s%-16s%64s%-16s", "", "9.0", "", "0.9996"))
  L(sprintf("81NM2%80s%-32s", "", "DVR90G2002"))
  L(sprintf("75NM%-16s%6d0%16s%-16s%-16s", "TOTALSTATION 5", 345678, "", "281.8", "0.2908"))
  i = 1000; next_setup = 12; polar = 0
  for (;;) {
    i++
    if (--next_setup == 0) { setup(); polar = 6 + r(20); next_setup = 100 + r(150) }
    if (polar > 0) {
      polar--
      if (r(100) < 3) raw("S" nst, "X" i, 6)
      if (r(100) < 40) raw("S" nst, i, 1)
      point("F1", i, "01")
      continue
    }
    k = r(1000)
    if (k < 20) point("IX", i, "01")
    else if (k < 30) point("RS", i, "01")
    else if (k < 40) point("CC", i, "51")
    else if (k < 50) point("KI", i, "16")
    else if (k < 55) point("KI", i, "17")
    else point("KI", i, "11")
  }
}' >"$tmp"
mv "$tmp" "$out"
trap - EXIT
