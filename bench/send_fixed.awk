# The peer of the fixed-column send (columns of the "Bench fixed"
# definition: name 10, northing 14, easting 14, elevation 10, a blank,
# code 8).
function trim(s) { gsub(/^ +| +$/, "", s); return s }
BEGIN {
  printf "00NMTP V10-70       000008-Dec-26 07:00 123111\r\n"
  printf "10NM%-16s121221\r\n", "BENCH"
}
{ sub(/\r$/, "") }
$0 == "" { next }
{
  printf "69KI%16s%-16s%-16s%-16s%-16s11\r\n", trim(substr($0, 1, 10)),
         sprintf("%.3f", substr($0, 11, 14)), sprintf("%.3f", substr($0, 25, 14)),
         sprintf("%.3f", substr($0, 39, 10)), trim(substr($0, 50, 8))
}
