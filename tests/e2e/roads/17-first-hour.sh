# A publisher's first hour: zarc init, zarc check, zarc setup, and the setup opens.
# Needs: nothing.
# Leaves: no record; the starter project in $out/init.

echo "--- a publisher's first hour: zarc init, zarc check, zarc setup, and the setup opens"
clear_record
starter=$out/init/Inkstone
rm -rf "$out/init"
mkdir -p "$out/init"
check "zarc init writes the starter project" 0 "$(wine "$zarc_exe" init "$starter" >/dev/null 2>&1; echo $?)"
(cd "$starter" && wine "$zarc_exe" create files.zarc setup.txt 同意書.txt readme.txt setup256.bmp parts.bmp) \
  >"$out/init/create.log" 2>&1
wine "$zarc_exe" check "$starter/files.zarc" >"$out/init/check.log" 2>&1
status=$?
findings=$(tr -d '\r' <"$out/init/check.log" | grep -E ': (error|warning): ')
check "zarc check finds nothing in the starter project" "0:" "$status:$findings"
made_starter=$out/download/starter-setup.exe
check "zarc setup writes the starter's program" 0 \
  "$(wine "$zarc_exe" setup "$made_starter" --stub "$stub_exe" --package "$starter/files.zarc" >/dev/null 2>&1; echo $?)"
program=$made_starter start_setup starter
check "the starter's setup opens its main window" 0 "$(d wait Inkstone >/dev/null; echo $?)"
check "it offers Setup and Cancel" "1 2 " "$(buttons Inkstone)"
shot starter-setup
cancel_setup Inkstone
check "exit status after Cancel" 0 "$status"
