#!/usr/bin/env bash
# usage: check_man_pages.sh PAGE...
# Fails when groff (and man, where it is installed, at the widths a terminal
# and lintian use) has anything to say about a page.
set -uo pipefail
status=0
for page in "$@"; do
  messages=$(groff -k -man -Tutf8 -Wall -z "$page" 2>&1)
  if command -v man >/dev/null 2>&1; then
    for width in 80 120; do
      messages+=$(MANWIDTH=$width man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    done
  fi
  if [ -n "$messages" ]; then
    echo "$page:"
    echo "$messages"
    status=1
  fi
  # An unreplaced @VARIABLE@ would reach the reader.
  if grep -n '@[A-Z_]*@' "$page"; then
    echo "$page: unreplaced variable"
    status=1
  fi
done
exit $status
