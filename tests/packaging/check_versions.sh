#!/usr/bin/env bash
# usage: check_versions.sh VERSION PROGRAM...
# Each program's --version says "<its name> VERSION" and nothing else.
set -uo pipefail
version=$1
shift
status=0
for program in "$@"; do
  expected="$(basename "$program") $version"
  got=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version 2>&1)
  rc=$?
  if [ $rc -ne 0 ] || [ "$got" != "$expected" ]; then
    echo "$program --version: \"$got\" (status $rc), expected \"$expected\""
    status=1
  fi
done
exit $status
