# Packages and setup programs for the roads, made from the demo's files with zarc, and the saved
# data's chunks. Needs $out, $demo, $stub_exe and $zarc_exe.

# A package made from the demo's files, leaving out or replacing some; $1 is the archive to write.
make_package() {
  local archive=$1 leave_out=$2 files=()
  shift 2
  for f in "$demo/bin/Quillfen.exe" "$demo/bin/uninstall.exe" "$demo"/files/*; do
    case "/$leave_out/" in */$(basename "$f")/*) continue ;; esac
    files+=("$f")
  done
  wine "$zarc_exe" create "$archive" "${files[@]}" "$@" >/dev/null
}

# The demo's script with more lines or other values: script_with OUT SED-EXPRESSION [LINE...]
script_with() {
  local out=$1 expression=$2
  shift 2
  { sed "$expression" "$demo/files/setup.txt"; for line in "$@"; do printf '%s\r\n' "$line"; done; } > "$out"
}
# The ids of a chunk file's form type and chunks, and a digest of each chunk's data.
chunks() {
  python3 - "$1" <<'PY'
import hashlib, struct, sys
data = open(sys.argv[1], "rb").read()
print(data[8:12].decode(), end="")
at = 12
while at + 8 <= len(data):
    cid, length = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
    print(" %s:%s" % (cid.decode(), hashlib.md5(data[at + 8:at + length]).hexdigest()[:8]), end="")
    at += length
print()
PY
}

# A product of this test's own through its releases, each a program that "zarc setup" made:
# make_release VERSION ENTRY...  writes $out/releases/VERSION/ (its files, "release VERSION" in each,
# the list in that order after #I) and the program $out/releases/setup-VERSION.exe. An ENTRY is a
# file of the package, or a line of the list as it stands when it starts with #.
make_release() {
  local version=$1 folder=$out/releases/$1 name files=()
  shift
  mkdir -p "$folder"
  {
    printf '%s\r\n' '#G=.Default\Software\CORVANE\QUILLFEN' '#P=C:\Program Files\Corvane\Quillfen' \
      '#T=Quillfen' '#E=prog.exe' '#S=Corvane\Quillfen' '#N=Quillfen' '#D=1' "#V=$version"
    for name in "$@"; do
      case $name in
        '#'*) printf '%s\r\n' "$name" ;;
        *) printf '#I=%s\r\n' "$name"; files+=("$folder/$name") ;;
      esac
    done
  } > "$folder/setup.txt"
  for name in "${files[@]}"; do
    [ -e "$name" ] || echo "release $version: ${name##*/}" > "$name"
  done
  wine "$zarc_exe" setup "$out/releases/setup-$version.exe" --stub "$stub_exe" "$folder/setup.txt" \
    "${files[@]}" "$demo/files/setup256.bmp" "$demo/files/parts.bmp" "$demo/files/同意書.txt" >/dev/null 2>&1
}
# 0 when every FILE of the install folder holds what release VERSION has for it.
same_as_release() {  # same_as_release VERSION FILE...
  local version=$1 name
  shift
  for name in "$@"; do cmp -s "$out/releases/$version/$name" "$install_dir_unix/$name" || return 1; done
}
# Puts release 6 back in the install folder, recorded, with the old saved data.
release_6_installed() {
  rm -rf "$install_dir_unix"
  mkdir -p "$install_dir_unix"
  for name in "${listed[@]}"; do cp "$out/releases/6/$name" "$install_dir_unix/"; done
  cp "$out/zimel.dat" "$install_dir_unix/zimel.dat"
  write_record 6 'C:\Program Files\Corvane\Quillfen\prog.exe'
}
