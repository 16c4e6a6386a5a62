# The peer of koordles for KX77: points only after the header line, comment
# ("/* ") and info ("&_") lines skipped, a decimal comma read as a period,
# each point written as name,first,second,third,code with four decimals.
{ sub(/\r$/, "") }
!header { if (substr($0, 1, 2) == "' ") header = 1; next }
substr($0, 1, 3) == "/* " || substr($0, 1, 2) == "&_" { next }
{
  gsub(/,/, ".")
  if (NF < 4) next
  printf "%s,%.4f,%.4f,%.4f,%s\r\n", $1, $2, $3, $4, $5
}
