# Licence texts: one longer than 4 KiB, one with stray bytes.
# Needs: nothing.
# Leaves: no record.

echo "--- a licence of more than 4 KiB is shown whole"
mkdir -p "$out/long-licence"
for n in $(seq 1 150); do printf '第%d条 この条項は長い使用許諾のための試験用の文章です。\r\n' "$n"; done |
  iconv -f UTF-8 -t CP932 > "$out/long-licence/同意書.txt"
make_package "$out/long-licence/files.zarc" "同意書.txt" "$out/long-licence/同意書.txt"
start_setup long-licence "$out/long-licence/files.zarc"
d wait Quillfen >/dev/null
d command Quillfen 1
d wait "$licence" >/dev/null
check "a long licence file" yes "$([ "$(stat -c %s "$out/long-licence/同意書.txt")" -gt 8192 ] && echo yes)"
check "the long licence whole" "$(iconv -f CP932 -t UTF-8 "$out/long-licence/同意書.txt")" \
  "$(d text "$licence" 1009)"
d command "$licence" 2
d gone "$licence" >/dev/null
cancel_setup

echo "--- a licence with stray bytes: each shows as one replacement character, the rest stays"
mkdir -p "$out/stray-licence"
{
  printf '\xff'; printf '第1条 使用許諾\r\n' | iconv -f UTF-8 -t CP932
  printf 'cut\x83\r\n'; printf '第2条 本文\r\n' | iconv -f UTF-8 -t CP932; printf 'end\x83'
} > "$out/stray-licence/同意書.txt"
make_package "$out/stray-licence/files.zarc" "同意書.txt" "$out/stray-licence/同意書.txt"
start_setup stray-licence "$out/stray-licence/files.zarc"
d wait Quillfen >/dev/null
d command Quillfen 1
d wait "$licence" >/dev/null
check "stray bytes at the start, middle and end" $'\uFFFD第1条 使用許諾\r\ncut\uFFFD\r\n第2条 本文\r\nend\uFFFD' \
  "$(d text "$licence" 1009)"
d command "$licence" 2
d gone "$licence" >/dev/null
cancel_setup
