#!/usr/bin/env bash
# Writes a table file from the file layout alone, independent of Quenda's writer:
#   make_table.sh OUT blank   every slot empty with a black icon (what a fresh start saves)
#   make_table.sh OUT filled  every slot with texts, bytes behind their NULs and a patterned
#                             icon, all of which a load and a save must carry over unchanged
# 350 records, each 738 bytes of fields and a 630-byte BMP: 14 + 40 header bytes, 16 palette
# entries (B, G, R, 0), 512 bytes of 4-bit pixels.
set -euo pipefail
out=${1:?usage: make_table.sh OUT blank|filled}
kind=${2:?usage: make_table.sh OUT blank|filled}

export LC_ALL=C  # ${#var} counts bytes

# printf escapes for up to 1,024 NUL bytes ("\x00" each); no variable can hold a NUL itself.
printf -v nul_escapes '%1024s' ''
nul_escapes=${nul_escapes// /\\x00}
zeros() { printf "${nul_escapes:0:$((4 * $1))}"; }
le16() { printf -v _b '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); printf "$_b"; }
le32() { le16 $(($1 & 0xFFFF)); le16 $(($1 >> 16 & 0xFFFF)); }

# A field of WIDTH bytes: TEXT, and when given, a NUL and JUNK behind it; zeros fill the rest.
# TEXT and JUNK are printf escapes without NULs.
field() {
  local width=$1 text junk n
  printf -v text "$2"
  n=${#text}
  if (($# > 2)); then
    printf -v junk "$3"
    n=$((n + 1 + ${#junk}))
  fi
  ((n <= width)) || { echo "make_table: field wider than $width" >&2; exit 1; }
  printf '%s' "$text"
  (($# > 2)) && printf '\0%s' "$junk"
  zeros $((width - n))
}

bmp_header() {
  printf 'BM'; le32 630; le32 0; le32 118
  le32 40; le32 32; le32 32; le16 1; le16 4; le32 0; le32 512; le32 0; le32 0; le32 16; le32 0
  local rgb
  for rgb in 000000 800000 008000 808000 000080 800080 008080 808080 \
             c0c0c0 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff; do
    printf "\\x${rgb:4:2}\\x${rgb:2:2}\\x${rgb:0:2}\\x00"
  done
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bmp_header >"$tmp/header"

# The records are put together by one cat at the end: a program started for each record made
# this script a few seconds of processor time.
parts=()
if [[ $kind == blank ]]; then
  zeros 738 >"$tmp/fields"
  zeros 512 >"$tmp/pixels"
  for ((r = 0; r < 350; r++)); do parts+=("$tmp/fields" "$tmp/header" "$tmp/pixels"); done
elif [[ $kind == filled ]]; then
  # Sixteen pixel blocks, each an asymmetric pattern of all sixteen palette indices.
  for ((p = 0; p < 16; p++)); do
    esc=""
    for ((i = 0; i < 512; i++)); do
      printf -v byte '\\x%x%x' $(((i + p) % 16)) $(((i / 16 + 3 * p) % 16))
      esc+=$byte
    done
    printf "$esc" >"$tmp/pixels$p"
  done
  for ((r = 0; r < 350; r++)); do
    {
      # Flag0 full width without a NUL; Flag1 one character; the title in CP932 ("テスト") with
      # junk behind its NUL; other fields ASCII with junk; the memo's last byte set.
      field 2 "$((r % 10))$((r % 7))"
      field 2 "1"
      field 64 "\x83\x65\x83\x58\x83\x67$r" "junk$r"
      field 128 "C:\\\\Tools\\\\tool$r.exe" "old-target-$r"
      field 128 "tool $r" "\xff\xfe"
      field 128 "C:\\\\Work$r"
      field 10 "$((r * 37))" "\x01"
      field 20 "2024/01/02 03:04" "\x7f"
      printf -v memo "memo %03d" "$r"
      field 255 "$memo" "junk"
      printf 'x'
    } >"$tmp/fields$r"
    parts+=("$tmp/fields$r" "$tmp/header" "$tmp/pixels$((r % 16))")
  done
else
  echo "make_table: unknown kind $kind" >&2
  exit 1
fi

cat "${parts[@]}" >"$out"
size=$(stat -c %s "$out")
((size == 478800)) || { echo "make_table: wrote $size bytes, not 478800" >&2; exit 1; }
