#!/usr/bin/env bash
# Builds the Debian package from the `package` preset and uses it as a Debian user would: checks
# it with lintian, installs it with apt, proves its dependencies, and as an ordinary user made for
# the test (the installed programs never run as root) asks for the version and the manual pages,
# converts a song and runs the desktop program without a screen beside tav-emulator and a private
# JACK server. Then removes the package and checks that nothing of it stays under /usr. The
# package, the user with its home and every process started are removed however the test ends,
# so that it can run again. Run as root on a machine where the package may be installed and
# removed (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
    echo "$0: run as root: it installs the package and adds a user" >&2
    exit 2
fi

SECONDS_UP="${SECONDS_UP:-3}"
started=$(date +%s)
step() { printf -- '--- %s\n' "$*"; }
fail() {
    echo "$0: $*" >&2
    exit 1
}

step "Building the package"
cmake --preset package >/dev/null
cmake --build --preset package
rm -f build/package/songloader_*.deb
(cd build/package && cpack -G DEB >/dev/null)
debs=(build/package/songloader_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package, found: ${debs[*]}"
deb="$(realpath "${debs[0]}")"
version="$(dpkg-deb -f "$deb" Version)"
echo "$deb"

user="songloader-pkg-$$"
home="/home/$user"
work="$(mktemp -d -t songloader-package.XXXXXX)"
user_pid=""

# The processes of the test user (all started by this test), from /proc: no procps needed.
user_processes() {
    local process
    for process in /proc/[0-9]*; do
        if [ "$(stat -c %U "$process" 2>/dev/null)" = "$user" ]; then
            echo "${process#/proc/}"
        fi
    done
}

cleanup() {
    if [ -n "$user_pid" ]; then
        kill -TERM "$user_pid" 2>/dev/null || true
        wait "$user_pid" 2>/dev/null || true
    fi
    if id "$user" >/dev/null 2>&1; then
        for pid in $(user_processes); do
            kill -TERM "$pid" 2>/dev/null || true
        done
        for _ in $(seq 1 50); do
            [ -z "$(user_processes)" ] && break
            sleep 0.1
        done
    fi
    if dpkg-query -W -f='${Status}' songloader 2>/dev/null | grep -q "ok installed"; then
        dpkg -r songloader >/dev/null
    fi
    if id "$user" >/dev/null 2>&1; then
        # JACK's shared-memory files live outside the home.
        find /dev/shm /tmp -xdev -user "$user" -delete 2>/dev/null || true
        userdel --remove "$user" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

useradd --create-home --home-dir "$home" --shell /bin/bash --user-group "$user"
# Runs a command as the test user, in its home, with the user's own login environment.
as_user() {
    setpriv --reuid="$user" --regid="$user" --init-groups --reset-env -- \
        env --chdir="$home" "$@"
}

step "lintian"
install -o "$user" -m 644 "$deb" "$home/"
as_user lintian --fail-on error "$home/$(basename "$deb")" || fail "lintian reports errors"

step "Installing with apt"
apt_options=(-y -q)
# Where dpkg is told to leave manual pages out (as in some minimal images), take ours in.
if grep -qs '^path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d/*; then
    apt_options+=(-o "DPkg::Options::=--path-include=/usr/share/man/man1/*")
fi
DEBIAN_FRONTEND=noninteractive apt-get install "${apt_options[@]}" "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt could not install $deb"; }
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' | grep '^/usr' \
    >"$work/files"

step "Desktop entry and AppStream metadata"
desktop-file-validate /usr/share/applications/songloader.desktop
# Only the package's own file: other packages' metadata is not ours to judge.
appstreamcli validate --no-net "$(grep -m1 '^/usr/share/metainfo/.*\.metainfo\.xml$' "$work/files")"

step "Dependencies"
# The package's Depends, names only, and everything they depend on in turn.
depends_field="$(dpkg-query -W -f='${Depends}' songloader)"
tr ',|' '\n' <<<"$depends_field" | awk 'NF { sub(/:.*/, "", $1); print $1 }' |
    sort -u >"$work/depends"
apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances songloader |
    awk '{ name = $NF; gsub(/[<>|]/, "", name); sub(/:.*/, "", name); print name }' |
    sort -u >"$work/closure"
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
# The package that holds a file, by its path or, on a merged /usr, by its other path.
package_of() {
    local path found
    for path in "$@"; do
        if found="$(dpkg -S "$path" 2>/dev/null)"; then
            awk -F': ' 'NR == 1 { sub(/:.*/, "", $1); print $1 }' <<<"$found"
            return 0
        fi
    done
    return 1
}
for program in songloader songloader-cli tav-emulator; do
    for library in $(objdump -p "/usr/bin/$program" | awk '$1 == "NEEDED" { print $2 }'); do
        owner="$(package_of "/lib/$multiarch/$library" "/usr/lib/$multiarch/$library")" ||
            fail "$program needs $library, which no installed package holds"
        grep -qx "$owner" "$work/closure" ||
            fail "$program needs $library from $owner, which the Depends of songloader do not bring"
        echo "$program: $library ($owner)"
    done
done
for plugin in libqxcb.so libqoffscreen.so; do
    owner="$(package_of "/usr/lib/$multiarch/qt6/plugins/platforms/$plugin")" ||
        fail "no installed package holds Qt's platform plugin $plugin"
    grep -qx "$owner" "$work/depends" ||
        fail "Qt's platform plugin $plugin is in $owner, which is not in Depends: $depends_field"
    echo "platform plugin $plugin ($owner) is in Depends"
done
dpkg-query -W -f='${Recommends}' songloader | grep -qw jackd2 || fail "jackd2 is not recommended"

step "Using the programs as $user"
printed="$(as_user songloader-cli --version)"
[ "$printed" = "songloader-cli $version" ] ||
    fail "songloader-cli --version printed '$printed', not the package's version $version"
printed="$(as_user tav-emulator --version)"
[ "$printed" = "tav-emulator $version" ] ||
    fail "tav-emulator --version printed '$printed', not the package's version $version"
echo "both programs print version $version"

for page in songloader songloader-cli tav-emulator; do
    found="$(as_user man -w "$page")" || fail "man -w finds no page for $page"
    [ "$found" = "/usr/share/man/man1/$page.1.gz" ] || fail "man -w $page found $found"
    echo "man page: $found"
done

build/package/examples/make-example-songs "$work/songs" >/dev/null
install -d -o "$user" -g "$user" "$home/Songs"
install -o "$user" -g "$user" -m 644 "$work/songs/etude.mid" "$home/Songs/"
printed="$(as_user songloader-cli convert "$home/Songs/etude.mid")" ||
    fail "songloader-cli convert failed on an example song"
if [ "$printed" != "$home/Songs/etude.midx10" ] || [ ! -s "$home/Songs/etude.midx10" ]; then
    fail "songloader-cli convert printed '$printed' and did not write $home/Songs/etude.midx10"
fi
echo "converted: $printed"

install -d -o "$user" -g "$user" "$home/bin"
install -o "$user" -m 755 scripts/with-jack-server.sh scripts/background.sh \
    tests/package/desktop-program-stays-up.sh "$home/bin/"
as_user "$home/bin/with-jack-server.sh" "$home/bin/desktop-program-stays-up.sh" "$SECONDS_UP" &
user_pid=$!
wait "$user_pid" || fail "the desktop program did not stay up (see above)"
user_pid=""
# Nothing the user's programs did may have landed under /usr, nor may any still run.
written="$(find /usr -xdev -user "$user" -print)"
[ -z "$written" ] || fail "the programs wrote under /usr: $written"
[ ! -e /usr/bin/SongLoader.ini ] || fail "the desktop program wrote /usr/bin/SongLoader.ini"
running="$(user_processes)"
if [ -n "$running" ]; then
    for pid in $running; do
        echo "$pid: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" >&2
    done
    fail "processes of $user are still running"
fi
echo "nothing written under /usr, nothing left running"

step "Removing the package"
dpkg -r songloader >/dev/null
left=()
while read -r path; do
    # A folder stays when other packages still hold files in it.
    if [ -e "$path" ] && ! { [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1; }; then
        left+=("$path")
    fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "dpkg -r left files of the package: ${left[*]}"
echo "nothing of the package left under /usr"

echo "The package passed in $(($(date +%s) - started)) s."
