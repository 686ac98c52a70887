#!/usr/bin/env bash
# The .deb as a user gets it: built by CPack, installed with apt, its desktop files valid, the
# installed program started by a normal user under Xvfb, one extraction against the demo
# service and one save (which lands in the user's data folder, since /usr/bin is not the
# user's to write), closed with Esc and exit code 0, then purged without a trace.
# Usage: deb_install_test.sh BUILD_DIR   (as root: it installs and removes a package)
set -euo pipefail
build="$(cd "$1" && pwd)"
user=plt-package-test
title="Quillmere__Tarnwick工具"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    if dpkg-query -W proxy-list-tool >/dev/null 2>&1; then
        apt-get purge -y -q proxy-list-tool >/dev/null 2>&1 || true
    fi
    userdel -r "$user" >/dev/null 2>&1 || true
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wait_until() {  # seconds, command...
    local deadline=$((SECONDS + $1)); shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

# 1. Build the package and install it.
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/proxy-list-tool_*_amd64.deb)
echo "package: $(basename "$deb") $(stat -c %s "$deb") bytes"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
dpkg-query -W -f='${Depends}\n' proxy-list-tool | grep -q 'libcurl4' || fail "libcurl4 is no dependency"
desktop-file-validate /usr/share/applications/net.quillmere.ProxyListTool.desktop
appstreamcli validate --no-net /usr/share/metainfo/net.quillmere.ProxyListTool.metainfo.xml >/dev/null
installed_files=$(dpkg -L proxy-list-tool | while read -r f; do [ -f "$f" ] && echo "$f"; done)

# 2. A normal user, a display, the demo service on the port the program was built for.
useradd -m "$user" 2>/dev/null || true
home=$(getent passwd "$user" | cut -d: -f6)
exec 5< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -ac -nolisten tcp 2>/dev/null)
pids+=($!)
read -r -t 20 display <&5 || fail "Xvfb did not start"
export DISPLAY=":$display"
"$build/tools/demo_service/proxy-list-demo-service" --port 8931 2>/dev/null &
pids+=($!)

# 3. Start the installed program as that user and wait for its window.
started=$(date +%s%N)
runuser -u "$user" -- env -i HOME="$home" DISPLAY="$DISPLAY" LANG=C.UTF-8 \
    /usr/bin/proxy-list-tool &
program=$!
pids+=($program)
window=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | head -n1) || fail "no window"
shown=$(date +%s%N)
echo "installed program: window after $(((shown - started) / 1000000)) ms"

# 4. Click 提取, then 保存 until the saved list is whole (the extraction runs on a worker).
saved="$home/.local/share/proxy-list-tool/ip.txt"
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
click 52 200
saved_whole() {
    click 124 200
    [ -f "$saved" ] && [ "$(grep -c ':' "$saved")" -eq 10 ]
}
wait_until 20 saved_whole || fail "no list of 10 addresses in $saved"
[ ! -e /usr/bin/ip.txt ] || fail "ip.txt written into /usr/bin"

# 5. Esc closes the window; the program ends with exit code 0.
xdotool windowfocus --sync "$window" key Escape
wait_until 10 bash -c "! kill -0 $program 2>/dev/null" || fail "still running after Esc"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"

# 6. Purge: nothing of the package is left.
apt-get purge -y -q proxy-list-tool >/dev/null
dpkg-query -W proxy-list-tool >/dev/null 2>&1 && fail "package still known to dpkg"
for f in $installed_files; do
    [ ! -e "$f" ] || fail "$f left behind"
done
echo "deb install test: passed"
