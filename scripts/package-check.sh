#!/usr/bin/env bash
# Builds the Debian package from the suite's build (build/ or BUILD_DIR),
# installs it with dpkg into this very system from a fresh folder, checks that
# a desktop finds the programs, icons and launchers, runs the programs briefly
# as an ordinary user, and removes the package again. Needs root or sudo.
#
# The package is left in PACKAGE_OUT (default: build/package).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=${PACKAGE_OUT:-$build/package}
package=stationlink-suite
prefix=/usr
check_user=slcheck

fail() {
    echo "package check: $*" >&2
    exit 1
}

# ---- checks run as the ordinary user, from the fresh folder ---------------------------------
if [ "${1:-}" = "--as-user" ]; then
    cd "$2"
    export QT_QPA_PLATFORM=offscreen
    stationlink-cli --help | grep -q "stationlink-cli ports" || fail "stationlink-cli --help"
    echo "stationlink-cli --help: usage printed"
    version=$(stationlink --version) || fail "stationlink --version failed"
    echo "stationlink --version: $version"
    [[ $version == stationlink* ]] || fail "stationlink --version printed '$version'"

    x4sim >x4sim.out 2>x4sim.err &
    sim=$!
    for _ in $(seq 50); do
        [ -s x4sim.out ] && break
        sleep 0.1
    done
    tty=$(head -n 1 x4sim.out)
    [ -c "$tty" ] || fail "x4sim did not open a pseudo-terminal: $(cat x4sim.err)"
    # The installed programs talk to each other: the instrument's lists over the line.
    STATIONLINK_PORTS="COM1=$tty" stationlink-cli list COM1 --timeout 20 >list.out ||
        fail "stationlink-cli list against x4sim failed"
    grep -q "^DEVICE" list.out || fail "stationlink-cli list printed no device line"
    echo "stationlink-cli list read $(($(wc -l <list.out) - 1)) entries from x4sim"
    kill -TERM "$sim"
    wait "$sim" || fail "x4sim did not end cleanly on SIGTERM"
    echo "x4sim ran on $tty and ended on SIGTERM"

    # The installed drawexport finds GDAL's drivers and data: a small job into a drawing and a
    # GeoPackage, read back with GDAL.
    printf '*410001+000000000000TREE \r\n*110002+00000000000000P1 81..00+0000000001234567 %s\r\n' \
        '82..00-0000000000045678 83..00+0000000000012345 ' >job.gsi
    drawexport job.gsi -o job.dxf >/dev/null || fail "drawexport job.gsi -o job.dxf failed"
    drawexport job.gsi -o job.gpkg --epsg 25832 >/dev/null || fail "drawexport to GeoPackage failed"
    ogrinfo -q -al job.gpkg | grep -q "POINT Z (1234.567 -45.678 12.345)" ||
        fail "drawexport's GeoPackage does not hold the point"
    echo "drawexport wrote a drawing and a GeoPackage"

    # The installed coordbook makes a point file a GSI-16 job and back.
    printf 'P1,1234.567,-45.678,12.345,TREE\r\n' >points.dat
    coordbook --convert points.dat stakeout.gsi >/dev/null || fail "coordbook --convert to GSI failed"
    coordbook --convert stakeout.gsi back.dat >/dev/null || fail "coordbook --convert back failed"
    cmp -s points.dat back.dat || fail "coordbook did not give the points back: $(cat back.dat)"
    echo "coordbook made a GSI-16 job of a point file and the point file again"

    # The installed routebook sets out an alignment and takes it through LandXML and back.
    printf 'START,0.000,1000.000,2000.000,45.0000\r\nSTRAIGHT,50.000\r\nARC,30.000,-80.000\r\n' \
        >road.hal
    routebook --stations road.hal --interval 10 --offsets 2,2 -o road.csv ||
        fail "routebook --stations failed"
    [ "$(wc -l <road.csv)" -eq 28 ] || fail "routebook wrote $(wc -l <road.csv) lines of stations"
    routebook --convert road.hal road.xml && routebook --convert road.xml back.hal ||
        fail "routebook --convert through LandXML failed"
    cmp -s road.hal back.hal || fail "routebook did not give the alignment back: $(cat back.hal)"
    echo "routebook set out an alignment and converted it to LandXML and back"

    # The installed legacyxfer captures what x4sim's simple mode sends, byte for byte.
    x4sim --legacy-send job.gsi --delay 1 >legacy.tty &
    sim=$!
    for _ in $(seq 50); do [ -s legacy.tty ] && break; sleep 0.1; done
    legacyxfer receive "$(head -1 legacy.tty)" -o capture.gsi --end-silence 0.5 --quiet ||
        fail "legacyxfer receive from x4sim failed"
    kill -TERM "$sim"
    wait "$sim" || true
    cmp -s job.gsi capture.gsi || fail "legacyxfer's capture differs from what x4sim sent"
    echo "legacyxfer received a job from x4sim's simple mode"

    # The installed codebook gives a code list back byte for byte and refuses
    # what the instrument cannot take, leaving the file as it was.
    printf '*410001+000000000000TREE 42....+0000000000000OAK \r\n*410002+0000000HEDGEROWS \r\n' >codes.crf
    codebook --convert codes.crf codes.book >/dev/null || fail "codebook --convert to a book failed"
    codebook --convert codes.book back.crf --format gsi16 >/dev/null || fail "codebook --convert back failed"
    cmp -s codes.crf back.crf || fail "codebook did not give the code list back: $(cat back.crf)"
    status=0
    codebook --convert codes.book back.crf --format gsi8 --overwrite 2>/dev/null || status=$?
    [ "$status" -eq 1 ] && cmp -s codes.crf back.crf || fail "codebook wrote a list GSI-8 cannot hold"
    echo "codebook gave a code list back and refused one too long for GSI-8"

    # A desktop program that is still running after a few seconds has started.
    for program in suitepad alignedit drawexport coordbook codebook routebook legacyxfer; do
        command -v "$program" >/dev/null || continue
        status=0
        timeout 3 "$program" >/dev/null 2>&1 || status=$?
        [ "$status" -eq 124 ] || fail "$program ended early with status $status"
        echo "$program started and ran"
    done
    exit 0
fi

# ---- as root: build, install, check, remove -------------------------------------------------
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
"$top/scripts/deps.sh" dpkg-dev desktop-file-utils
BUILD_DIR=$build "$top/scripts/build.sh"
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/${package}_*.deb)
echo "Built $deb"
dpkg-deb -f "$deb" Depends

fresh=$(mktemp -d)
created_user=""
cleanup() {
    $sudo dpkg -r "$package" >/dev/null 2>&1 || true
    [ -z "$created_user" ] || $sudo userdel -r "$created_user" >/dev/null 2>&1 || true
    rm -rf "$fresh"
}
trap cleanup EXIT

if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    fail "$package is installed already; remove it first"
fi
cp "$deb" "$0" "$fresh/"
chmod 755 "$fresh"
chmod 644 "$fresh"/*.deb
(cd "$fresh" && $sudo dpkg -i "$(basename "$deb")") ||
    (cd "$fresh" && $sudo apt-get -f install -y -qq) ||
    fail "the package does not install"

for program in stationlink suitepad drawexport coordbook codebook routebook legacyxfer x4sim stationlink-cli; do
    [ -x "$prefix/bin/$program" ] || fail "$prefix/bin/$program is missing"
done
for program in $(dpkg -L "$package" | grep "^$prefix/bin/"); do
    ! ldd "$program" | grep -q "not found" || fail "$program lacks libraries: $(ldd "$program")"
done
desktops=$(dpkg -L "$package" | grep "^$prefix/share/applications/.*\.desktop$") ||
    fail "no desktop files"
for desktop in $desktops; do
    desktop-file-validate "$desktop" || fail "$desktop is not valid"
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ "$(command -v "$exec_name")" = "$prefix/bin/$exec_name" ] ||
        fail "$desktop starts $exec_name, which is not in $prefix/bin"
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "$desktop shows icon $icon, which the hicolor theme lacks"
    echo "$desktop: starts $prefix/bin/$exec_name, icon $icon"
done

if [ "$(id -u)" -eq 0 ]; then
    if ! id "$check_user" >/dev/null 2>&1; then
        useradd -m -s /bin/bash "$check_user"
        created_user=$check_user
    fi
    chown "$check_user" "$fresh"
    runuser -u "$check_user" -- env -i PATH=/usr/bin:/bin HOME="$(eval echo "~$check_user")" \
        bash "$fresh/$(basename "$0")" --as-user "$fresh"
else
    bash "$fresh/$(basename "$0")" --as-user "$fresh"
fi

$sudo dpkg -r "$package" >/dev/null
[ ! -e "$prefix/bin/stationlink" ] || fail "removing the package left $prefix/bin/stationlink"
echo "package check passed: $(basename "$deb") installs, runs and removes cleanly"
