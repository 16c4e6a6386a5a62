# The peer of the comma-separated send: each point line of the ASCII file
# becomes the 86-character DC point record, numbers re-written with three
# decimals, after the header and job records.
BEGIN {
  FS = ","
  printf "00NMTP V10-70       000008-Dec-26 07:00 123111\r\n"
  printf "10NM%-16s121221\r\n", "BENCH"
}
{ sub(/\r$/, "") }
NR == 1 || $0 == "end" || $0 == "" { next }
{
  printf "69KI%16s%-16s%-16s%-16s%-16s11\r\n", substr($1, 1, 16),
         sprintf("%.3f", $2), sprintf("%.3f", $3), sprintf("%.3f", $4), substr($5, 1, 16)
}
