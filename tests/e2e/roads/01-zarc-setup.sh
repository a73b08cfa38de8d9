# The stub alone ends silently; zarc setup makes a setup program of it.
# Needs: nothing.
# Leaves: $made, the setup program zarc setup made, in the downloads folder.

echo "--- the stub alone ends silently; zarc setup makes a setup program of it"
program=$stub_exe start_setup stub-alone
wait_setup
check "exit status of the stub alone" 0 "$status"
check "no window from the stub alone" 1 "$(d wait Quillfen 1 >/dev/null 2>&1; echo $?)"
# Made where setup.exe runs from, among the planted DLLs when there are any.
made=$out/download/made-setup.exe
check "zarc setup writes the program" 0 \
  "$(wine "$zarc_exe" setup "$made" --stub "$stub_exe" --icon "$demo/setup.ico" \
       --product-version 5.0 --package "$demo/files.zarc" >/dev/null 2>&1; echo $?)"
