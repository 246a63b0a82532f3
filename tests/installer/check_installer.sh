#!/usr/bin/env bash
# Runs the suite's setup program silently in a Wine prefix made for this run and removed after
# it, and checks what a user's machine would be left with:
#   1. installed into a folder given with /D= (with a space in it, as Program Files has): the
#      files, and no others, in that folder; every class created by its ProgID; the type
#      libraries, classes and interfaces of every server registered, each class at its file in
#      that folder; one uninstall entry; then its UninstallString run with /S removes the
#      folder and leaves the registry as it was before the setup ran;
#   2. a setup whose last server fails to register, or that cannot write one of its files,
#      exits non-zero and leaves nothing behind;
#   3. an uninstaller that cannot unregister a server exits non-zero and removes no file, and
#      once the server lets it, the next run removes everything it installed and nothing else.
# 2 and 3 use a second setup program of the same script, with the last server replaced by a
# stand-in that fails on request (scripted_server.cpp).
#
# Usage: check_installer.sh PROBE SETUP SCRIPTED_SETUP --servers FILE... \
#          --resource-libraries FILE... --progids PROGID...
set -euo pipefail

probe=$1
setup=$2
scripted_setup=$3
shift 3
servers=()
resource_libraries=()
progids=()
list=""
for argument in "$@"; do
  case "$argument" in
    --servers) list=servers ;;
    --resource-libraries) list=resource_libraries ;;
    --progids) list=progids ;;
    *)
      case "$list" in
        servers) servers+=("$argument") ;;
        resource_libraries) resource_libraries+=("$argument") ;;
        progids) progids+=("$argument") ;;
        *) echo "usage: see the top of $0" >&2; exit 2 ;;
      esac
      ;;
  esac
done

work=$(mktemp -d "${TMPDIR:-/tmp}/gws-installer-test.XXXXXX")
export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  # Only this run's prefix: its wineserver and the processes it started.
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

start=$SECONDS
wineboot -i >/dev/null 2>&1
wineserver -w
echo "fresh Wine prefix in $((SECONDS - start)) s"
drive_c="$WINEPREFIX/drive_c"
cp "$setup" "$drive_c/suite-setup.exe"
cp "$scripted_setup" "$drive_c/scripted-setup.exe"

probe() { wine "$probe" "$@" 2>/dev/null; }
# A Windows command line, exactly as written; the program's exit status.
run_windows() { probe run "$1"; }

uninstall_root='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
roots=('HKLM\Software\Classes' "$uninstall_root" 'HKCU\Software\Classes')
# Every key and value under the roots the suite writes to, sorted, in $work/NAME.
snapshot() {
  probe registry "${roots[@]}" > "$work/$1.unsorted" || fail "cannot read the registry"
  LC_ALL=C sort "$work/$1.unsorted" > "$work/$1"
}
# Lines of snapshot $2 that snapshot $1 lacks.
added() { LC_ALL=C comm -13 "$work/$1" "$work/$2"; }
expect_registry_as_before() {
  snapshot "$1"
  if ! cmp -s "$work/baseline" "$work/$1"; then
    diff "$work/baseline" "$work/$1" | head -40 >&2 || true
    fail "$2 left the registry changed (< before, > after)"
  fi
}
# The folder's files, sorted, one a line; fails unless it is exactly the expected list.
expect_files() {
  local folder=$1 what=$2
  shift 2
  local wanted found
  wanted=$(printf '%s\n' "$@" | LC_ALL=C sort)
  found=$(cd "$folder" 2>/dev/null && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)
  [ "$found" = "$wanted" ] || fail "$what: the folder holds
$found
but should hold
$wanted"
}
# The uninstall entries that snapshot $1 has and the baseline lacks.
new_uninstall_entries() {
  added baseline "$1" | K="$uninstall_root\\" awk -F'\t' \
    '$1 == "K" && index($2, ENVIRON["K"]) == 1 && index(substr($2, length(ENVIRON["K"]) + 1), "\\") == 0 { print $2 }'
}
# Value $3 of key $2 in snapshot $1.
value_of() {
  KEY=$2 NAME=$3 awk -F'\t' \
    '$1 == "V" && $2 == ENVIRON["KEY"] && $3 == ENVIRON["NAME"] { print $4 }' "$work/$1"
}
# Uninstalls through the entry's UninstallString, as the system's program list does. The
# uninstaller copies itself elsewhere and returns at once; the copy does the work, so wait for
# every process of the prefix to end.
uninstall_by_entry() {
  local entry=$1 snapshot_name=$2 command
  command=$(value_of "$snapshot_name" "$entry" UninstallString)
  [ -n "$command" ] || fail "the uninstall entry $entry has no UninstallString"
  run_windows "$command /S" || fail "$command /S exited with status $?"
  wineserver -w
}

all_files=("${servers[@]}" "${resource_libraries[@]}" uninstall.exe)
snapshot baseline

# 1. Install, use, uninstall.
folder='C:\Suite Test'
unix_folder="$drive_c/Suite Test"
run_windows "C:\\suite-setup.exe /S /D=$folder" || fail "the silent setup exited with status $?"
expect_files "$unix_folder" "after the setup" "${all_files[@]}"
probe create "${progids[@]}" || fail "not every class can be created after the setup"
snapshot installed
for server in "${servers[@]}"; do
  identities=$(probe identities "$folder\\$server") || fail "$identities"
  for identity in $(echo "$identities" | tr -d '\r'); do
    key="HKLM\\Software\\Classes\\$identity"
    grep -qixF "K"$'\t'"$key" "$work/installed" || fail "the setup did not register $key ($server)"
    case "$identity" in
      CLSID*)
        registered=$(value_of installed "$key\\InprocServer32" "")
        [ "$registered" = "$folder\\$server" ] ||
          fail "$key is served by '$registered', not by the installed $server"
        ;;
    esac
  done
done
entries=$(new_uninstall_entries installed)
[ "$(echo "$entries" | grep -c .)" -eq 1 ] || fail "the setup made these uninstall entries: '$entries'"
uninstall_by_entry "$entries" installed
[ ! -e "$unix_folder" ] || fail "the uninstaller left $(ls -A "$unix_folder")"
expect_registry_as_before uninstalled "installing and uninstalling"
echo "installed, created, uninstalled"

# 2. A server that fails to register: the setup says so and takes everything back.
wine reg add 'HKCR\GwsInstallerTest.RefuseRegistration' /f >/dev/null 2>&1
status=0
run_windows 'C:\scripted-setup.exe /S /D=C:\Failed Setup' || status=$?
wine reg delete 'HKCR\GwsInstallerTest.RefuseRegistration' /f >/dev/null 2>&1
[ "$status" -ne 0 ] || fail "a setup whose server failed to register exited with status 0"
[ ! -e "$drive_c/Failed Setup" ] || fail "the failed setup left $(ls -A "$drive_c/Failed Setup")"
expect_registry_as_before after_failed_setup "a failed setup"
echo "a failed registration: status $status, nothing left"

# A file that cannot be written (a folder of its name is in the way) fails the setup as well.
mkdir -p "$drive_c/Blocked Setup/fwres.dll"
status=0
run_windows 'C:\suite-setup.exe /S /D=C:\Blocked Setup' || status=$?
[ "$status" -ne 0 ] || fail "a setup that could not write fwres.dll exited with status 0"
expect_files "$drive_c/Blocked Setup" "after a setup that could not write a file" fwres.dll
expect_registry_as_before after_blocked_setup "a setup that could not write a file"
echo "a failed copy: status $status, nothing left"

# 3. A server that fails to unregister: the uninstaller says so and keeps every file, so that it
# can run again.
kept='C:\Kept Setup'
unix_kept="$drive_c/Kept Setup"
run_windows "C:\\scripted-setup.exe /S /D=$kept" || fail "the second setup exited with status $?"
snapshot kept
entries=$(new_uninstall_entries kept)
wine reg add 'HKCR\GwsInstallerTest.RefuseUnregistration' /f >/dev/null 2>&1
status=0
# In place (_?=), so that its exit status is the uninstall's own.
run_windows "\"$kept\\uninstall.exe\" /S _?=$kept" || status=$?
wine reg delete 'HKCR\GwsInstallerTest.RefuseUnregistration' /f >/dev/null 2>&1
[ "$status" -ne 0 ] || fail "an uninstaller that could not unregister a server exited with status 0"
expect_files "$unix_kept" "after a failed uninstall" "${all_files[@]}"
snapshot after_failed_uninstall
[ -n "$(value_of after_failed_uninstall "$entries" UninstallString)" ] ||
  fail "a failed uninstall removed the uninstall entry"
# A file of the user's in the folder is not the uninstaller's to remove, nor is the folder then.
echo "the user's own" > "$unix_kept/notes.txt"
uninstall_by_entry "$entries" kept
expect_files "$unix_kept" "after the second uninstall" notes.txt
expect_registry_as_before uninstalled_again "a failed uninstall and its second run"
echo "a failed unregistration: status $status, every file kept, removed by the next run"
echo "took $((SECONDS - start)) s"
