# Sourced by the test scripts that run wine in a prefix of their own.
# private_wine_prefix <base prefix> <new prefix>: hard links to the large
# files nobody changes, own copies of the registry (and a full copy where
# links cannot be made), so that the base prefix stays as it is.
private_wine_prefix() {
  local base=$1 prefix=$2 reg
  if ! cp -al "$base" "$prefix" 2>/dev/null; then
    rm -rf "$prefix"
    cp -a "$base" "$prefix" || return 1
  fi
  for reg in system.reg user.reg userdef.reg; do
    if [ -f "$base/$reg" ]; then
      rm -f "$prefix/$reg"
      cp "$base/$reg" "$prefix/$reg"
    fi
  done
}
