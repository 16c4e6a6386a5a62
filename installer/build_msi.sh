#!/bin/bash
# Builds the installer from pelixo.wxs with wixl, then marks the component of
# Formats.ini never to be overwritten (msidbComponentAttributesNeverOverwrite),
# an attribute wixl cannot write: an upgrade keeps the user's Formats.ini.
#   build_msi.sh <msi> <version> <bin folder> <Formats.ini> <wxs> <wixl> <msibuild> <msiinfo>
# The build and the installer test both make their packages with it.
set -euo pipefail
exec </dev/null

msi=$1 version=$2 bin=$3 formats_ini=$4 wxs=$5 wixl=$6 msibuild=$7 msiinfo=$8
never_overwrite=128

fail() { echo "build_msi.sh: $*" >&2; exit 1; }
# wixl takes the sources relative to its working folder: it runs in / with
# the absolute paths.
bin=$(realpath "$bin") formats_ini=$(realpath "$formats_ini")
msi=$(realpath -m "$msi") wxs=$(realpath "$wxs")
rm -f "$msi"
(cd / && "$wixl" -a x86 -D "Version=$version" -D "BinDir=${bin#/}" \
   -D "FormatsIni=${formats_ini#/}" -o "$msi" "$wxs") || fail "wixl failed"

attributes=$("$msiinfo" export "$msi" Component |
  awk -F'\t' '$1 == "FormatDefinitions" { print $4 }')
[ -n "$attributes" ] || fail "no component FormatDefinitions in $msi"
"$msibuild" "$msi" -q "UPDATE Component SET Attributes = $((attributes | never_overwrite)) WHERE Component = 'FormatDefinitions'" ||
  fail "msibuild could not mark FormatDefinitions"
