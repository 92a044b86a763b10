#!/usr/bin/env bash
# Makes the real-world benchmark set: PDFs shipped in Debian 12 documentation packages, each listed
# in bench/realpdfs.tsv with its package, pinned version, path inside the package and sha256.
#   bench/realpdfs.sh DEST
# Only files missing from DEST or differing from the list are fetched, so a second run downloads
# nothing. The packages are kept in DEST/.debs. A path ending in .gz is a PDF the package ships
# gzipped; the list's sha256, pages and bytes are those of the PDF itself.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
list=$here/realpdfs.tsv

if [ $# -ne 1 ]; then
  echo "usage: bench/realpdfs.sh DEST" >&2
  exit 2
fi
fail() { echo "realpdfs: $*" >&2; exit 1; }
for tool in apt-get dpkg-deb sha256sum gzip; do
  command -v "$tool" >/dev/null || fail "needs $tool (a Debian system)"
done

mkdir -p "$1/.debs"
dest=$(cd "$1" && pwd)
debs=$dest/.debs

sha() { sha256sum <"$1" | cut -d' ' -f1; }

# The packages holding files that are missing or wrong.
declare -A wanted=()
while IFS=$'\t' read -r name package version _ sum _; do
  [[ $name == \#* ]] && continue
  if [ ! -f "$dest/$name" ] || [ "$(sha "$dest/$name")" != "$sum" ]; then
    wanted[$package]=$version
  fi
done <"$list"

# Prints the path of the kept .deb of package at version, if there is one.
kept_deb() {
  local deb
  for deb in "$debs/$1"_*.deb; do
    [ -f "$deb" ] || continue
    if [ "$(dpkg-deb -f "$deb" Version)" = "$2" ]; then
      echo "$deb"
      return
    fi
  done
}

apt_options=()
# As root, apt hands downloads to its own unprivileged user, which cannot write into DEST.
[ "$(id -u)" -eq 0 ] && apt_options=(-o APT::Sandbox::User=root)
updated=
download() {
  local log
  if log=$(cd "$debs" && apt-get download -q "${apt_options[@]}" "$1=$2" 2>&1); then
    return 0
  fi
  if [ -z "$updated" ] && [ "$(id -u)" -eq 0 ]; then
    updated=1
    echo "realpdfs: updating the package lists" >&2
    apt-get update -q >/dev/null
    log=$(cd "$debs" && apt-get download -q "${apt_options[@]}" "$1=$2" 2>&1) && return 0
  fi
  echo "$log" >&2
  fail "the archive does not have $1 $2 (any more?): 'apt-cache policy $1' shows the versions it has;" \
    "pick the files again from one of them and update bench/realpdfs.tsv"
}

tree=$(mktemp -d "$dest/.extract.XXXXXX")
trap 'rm -rf "$tree"' EXIT

for package in "${!wanted[@]}"; do
  version=${wanted[$package]}
  deb=$(kept_deb "$package" "$version")
  if [ -z "$deb" ]; then
    echo "realpdfs: downloading $package $version" >&2
    download "$package" "$version"
    deb=$(kept_deb "$package" "$version")
    [ -n "$deb" ] || fail "apt-get download of $package $version left no package in $debs"
  fi
  rm -rf "${tree:?}"/*
  dpkg-deb -x "$deb" "$tree"
  while IFS=$'\t' read -r name p _ path sum _; do
    [ "$p" = "$package" ] || continue
    [ -f "$tree/$path" ] || fail "$package $version has no $path"
    if [[ $path == *.gz ]]; then
      gzip -dc "$tree/$path" >"$dest/$name.part"
    else
      cp "$tree/$path" "$dest/$name.part"
    fi
    got=$(sha "$dest/$name.part")
    if [ "$got" != "$sum" ]; then
      rm -f "$dest/$name.part"
      fail "$name from $package $version has sha256 $got, the list says $sum"
    fi
    mv "$dest/$name.part" "$dest/$name"
  done <"$list"
done

awk -F'\t' '!/^#/ { files++; pages += $6; bytes += $8; producers[$7] = 1 }
  END { n = 0; for (p in producers) n++
        printf "realpdfs: %d files, %d pages, %.1f MB, %d producers, in %s\n", files, pages, bytes / 1e6, n, dest }' \
  dest="$dest" "$list"
