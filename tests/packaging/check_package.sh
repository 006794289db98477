#!/usr/bin/env bash
# usage: check_package.sh CPACK BUILD_DIR VERSION PROGRAM...
# Makes the Debian package from the build tree into a temporary folder and
# checks its files, its control fields and its maintainer scripts, that every
# program in it reports the package's version, and lintian (when installed).
set -uo pipefail
cpack=$1
build=$2
version=$3
shift 3
programs=("$@")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
deb="$tmp/out/veltrin-view_${version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
  ls "$tmp/out"
  echo "FAIL: no $deb"
  exit 1
fi

# The files.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' >"$tmp/files"
expected=(
  /usr/share/applications/veltrin-view.desktop
  /usr/share/icons/hicolor/48x48/apps/veltrin-view.png
  /usr/share/icons/hicolor/256x256/apps/veltrin-view.png
  /usr/lib/udev/rules.d/70-veltrin-recorder.rules
  /usr/share/doc/veltrin-view/README.md
  /usr/share/doc/veltrin-view/copyright
  /usr/share/doc/veltrin-view/changelog.gz
)
for program in "${programs[@]}"; do
  expected+=("/usr/bin/$program" "/usr/share/man/man1/$program.1.gz")
done
for file in "${expected[@]}"; do
  grep -qx "$file" "$tmp/files" || fail "missing $file"
done
grep -v -e '^/usr' -e '^/$' -e '^$' "$tmp/files" | sed 's/^/FAIL: outside \/usr: /'
grep -q '^/usr/local' "$tmp/files" && fail "files in /usr/local"

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = veltrin-view ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
depends=$(field Depends)
for dependency in libc6 libstdc++6 libqt6core6 libqt6widgets6 libudev1 libcap2-bin qt6-qpa-plugins; do
  [[ ", $depends," == *", $dependency"[\ ,]* ]] || fail "Depends lacks $dependency: $depends"
done
[[ "$(field Recommends)" == *udev* ]] || fail "Recommends lacks udev"

# The maintainer scripts.
dpkg-deb -e "$deb" "$tmp/control"
for script in postinst postrm; do
  [ -x "$tmp/control/$script" ] || fail "no executable $script"
done
grep -q 'setcap cap_sys_rawio+ep "\$helper"' "$tmp/control/postinst" || fail "postinst sets no capability"
grep -q '^helper=/usr/bin/veltrin-usb-access$' "$tmp/control/postinst" || fail "postinst names another helper"
grep -q 'udevadm control --reload-rules' "$tmp/control/postinst" || fail "postinst does not reload udev"

# The programs: stripped, and all of the package's version.
dpkg-deb -x "$deb" "$tmp/root"
for program in "${programs[@]}"; do
  binary="$tmp/root/usr/bin/$program"
  [ -x "$binary" ] || continue
  readelf -S "$binary" | grep -q '\.symtab' && fail "$program is not stripped"
  got=$(env -u DISPLAY -u WAYLAND_DISPLAY "$binary" --version 2>&1)
  [ "$got" = "$program $version" ] || fail "$program --version: $got"
done

if command -v lintian >/dev/null 2>&1; then
  # lintian runs as root only with this switch; it refuses otherwise.
  as_root=()
  [ "$(id -u)" -eq 0 ] && lintian --help 2>&1 | grep -q -- --allow-root && as_root=(--allow-root)
  lintian "${as_root[@]}" --fail-on error --tag-display-limit 0 "$deb" >"$tmp/lintian" 2>&1
  status=$?
  cat "$tmp/lintian"
  [ $status -eq 0 ] || fail "lintian reports errors"
else
  echo "lintian is not installed: skipped"
fi

[ $failures -eq 0 ] && echo "package $(basename "$deb"): all checks pass"
exit $((failures > 0))
