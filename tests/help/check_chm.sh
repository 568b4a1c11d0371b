#!/usr/bin/env bash
# The compiled help file, read back with chmls: it holds exactly the pages of the sources (and
# their contents list), each as its source converted to code page 936; its language is Chinese
# (PRC), its main page Topic_17.htm and its title "Sanivo 帮助".
#   check_chm.sh <Tarqcc.chm> <folder of the help sources>
set -euo pipefail
chm=$1
sources=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "help file: $*" >&2; exit 1; }

expected=$(cd "$sources" && ls | grep -v '\.hhp$' | sort)
inside=$(chmls -n -p list "$chm" 2>/dev/null | sed -n 's#^/\([^#$_/][^/]*\)$#\1#p' | sort)
[ "$inside" = "$expected" ] || fail "holds $(echo $inside), the sources are $(echo $expected)"

for name in $expected; do
  chmls extract "$chm" "/$name" "$work/$name" >/dev/null 2>&1 || fail "$name cannot be read"
  sed 's/charset=utf-8/charset=gb2312/' "$sources/$name" | iconv -f UTF-8 -t CP936 >"$work/$name.expected"
  cmp -s "$work/$name" "$work/$name.expected" || fail "$name differs from its source"
done

chmls extract "$chm" "/#SYSTEM" "$work/system" >/dev/null 2>&1 || fail "no #SYSTEM"
system=$(od -An -tx1 -v "$work/system" | tr -d ' \n')
title=$(printf 'Sanivo 帮助' | iconv -f UTF-8 -t CP936 | od -An -tx1 | tr -d ' \n')
topic=$(printf 'Topic_17.htm' | od -An -tx1 | tr -d ' \n')
# Record 4 of #SYSTEM (code 4, 36 bytes) begins with the language id.
[[ $system == *"0400240004080000"* ]] || fail "its language is not 0x804"
[[ $system == *"$topic"* ]] || fail "its main page is not Topic_17.htm"
[[ $system == *"$title"* ]] || fail "its title is not Sanivo 帮助"
echo "help file: $(echo $expected | wc -w) files, Chinese, main page Topic_17.htm"
