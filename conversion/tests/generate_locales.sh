#!/bin/sh
# Compiles the locales the tests load through LOCPATH into directory $1:
# de_DE.UTF-8 (decimal ","), en_US.UTF-8 ("."), fa_IR.UTF-8 (a two-byte separator).
set -eu
out=$1
mkdir -p "$out"
for name in de_DE en_US fa_IR; do
    [ -d "$out/$name.UTF-8" ] && continue
    # localedef exits 1 for mere warnings; the compiled directory is what counts.
    localedef -c -i "$name" -f UTF-8 "$out/$name.UTF-8" || true
    [ -d "$out/$name.UTF-8" ] || { echo "localedef failed for $name" >&2; exit 1; }
done
