#!/usr/bin/env bash
# usage: check_maintainer_scripts.sh DEBIAN_DIR
# Runs postinst and postrm with stand-ins for setcap and udevadm that log
# their arguments: the helper gets its capability, udev reloads its rules when
# it runs, and neither a missing udev nor a refused setcap fails the install.
set -uo pipefail
dir=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The scripts with the helper and udev's run folder moved into $tmp.
for script in postinst postrm; do
  sh -n "$dir/$script" || fail "$script: syntax"
  [ -x "$dir/$script" ] || fail "$script: not executable"
  sed -e "s|^helper=/usr/bin/veltrin-usb-access|helper=$tmp/helper|" \
      -e "s|/run/udev|$tmp/run-udev|g" "$dir/$script" >"$tmp/$script"
done
grep -q "^helper=$tmp/helper" "$tmp/postinst" || fail "postinst: helper path not found"

# stub NAME STATUS: a command that logs "NAME ARGS" and ends with STATUS.
stub() {
  printf '#!/bin/sh\necho "%s $*" >>"%s/log"\nexit %s\n' "$1" "$tmp" "$2" >"$tmp/bin/$1"
  chmod +x "$tmp/bin/$1"
}

# run EXPECTED_LOG SCRIPT ARGS...: runs with only the stubs on PATH.
run() {
  local expected=$1
  shift
  : >"$tmp/log"
  PATH="$tmp/bin" /bin/sh "$tmp/$1" "${@:2}" 2>"$tmp/err"
  local status=$?
  [ $status -eq 0 ] || fail "$* ended with $status: $(cat "$tmp/err")"
  local got
  got=$(cat "$tmp/log")
  [ "$got" = "$expected" ] || fail "$*: ran \"$got\", expected \"$expected\""
}

reload="udevadm control --reload-rules"
setcap="setcap cap_sys_rawio+ep $tmp/helper"

# udev running, everything works.
mkdir -p "$tmp/bin" "$tmp/run-udev"
touch "$tmp/helper"
stub setcap 0
stub udevadm 0
run "$setcap
$reload" postinst configure
run "$reload" postrm remove
run "$reload" postrm purge
run "" postrm upgrade
run "" postinst abort-upgrade

# A file system without capabilities, and udevadm failing in a container.
stub setcap 1
stub udevadm 1
run "$setcap
$reload" postinst configure
grep -q CAP_SYS_RAWIO "$tmp/err" || fail "a refused setcap is not reported"
run "$reload" postrm remove

# No udev at all, and no helper installed.
rm -rf "$tmp/run-udev" "$tmp/bin/udevadm" "$tmp/helper"
stub setcap 0
run "" postinst configure
run "" postrm remove

[ $failures -eq 0 ] && echo "maintainer scripts: all cases pass"
exit $((failures > 0))
