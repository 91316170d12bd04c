#!/usr/bin/env bash
# Builds and tests the project in a Debian 13 (trixie) root, the way the test command does
# on the host: the dev build (warnings are errors), the unit and display tests on a private
# Xvfb, end-to-end scenarios under X11 and Wayland, and the package built in the root and
# checked by tools/check-package.sh.
# The root is made once by mmdebstrap from the archive this machine's apt uses, kept in
# /var/cache/tetrakon/trixie-root and brought up to date on later runs; its packages come
# from scripts/install-deps.sh run inside it. The source tree is bound into the root at the
# same path; the builds go to build-trixie/ (dev/, package/) and the compiler cache to
# /var/cache/tetrakon/trixie-ccache. Needs root (runs itself through sudo otherwise).
# Ends with one summary line; the exit status is non-zero when any step failed.
#   tools/check-debian13.sh
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
src=$PWD
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$src/tools/check-debian13.sh" "$@"
fi

cache=/var/cache/tetrakon
root=$cache/trixie-root
ccache_dir=$cache/trixie-ccache
out=build-trixie
jobs=$(nproc)
# X11, weston nested and headless, and the two that read the protocol log (sway, mutter).
scenarios=(first_frame click_turn_and_undo wayland_first_frame headless_first_frame
    sway_start mutter_start)

# Runs a command inside the root, in the source tree, with a clean environment. The
# mounts live in a mount namespace of their own, so they go when the command ends, even
# when it is killed.
# The repository's .git (outside the tree in a git worktree) is bound at its own path too:
# the format and layers checks ask git for the sources. git may read a tree root does not
# own (safe.directory).
git_dir=$(git rev-parse --path-format=absolute --git-common-dir)
in_root() {
    # shellcheck disable=SC2016 # the inner script expands its own arguments
    unshare --mount --propagation private -- bash -euc '
        r=$1 src=$2 git_dir=$3 ccache_dir=$4
        shift 4
        mount -t proc proc "$r/proc"
        mount --rbind /dev "$r/dev" # with /dev/pts and /dev/shm
        mount --rbind /sys "$r/sys"
        mount --bind /tmp "$r/tmp" # Xvfb sees the host servers lock files
        mkdir -p "$r$src" "$r$git_dir" "$r/var/cache/ccache"
        mount --bind "$src" "$r$src"
        mount --bind "$git_dir" "$r$git_dir"
        mount --bind "$ccache_dir" "$r/var/cache/ccache"
        exec chroot "$r" /usr/bin/env -i -C "$src" HOME=/root LANG=C.UTF-8 TERM=dumb \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            GIT_CONFIG_COUNT=1 GIT_CONFIG_KEY_0=safe.directory GIT_CONFIG_VALUE_0="*" \
            CCACHE_DIR=/var/cache/ccache CCACHE_BASEDIR="$src" CCACHE_NOHASHDIR=1 "$@"
    ' in_root "$root" "$src" "$git_dir" "$ccache_dir" "$@"
}

# The archive apt uses here: the first URI of the host's sources for the main suites,
# and the one for security updates.
archive_uris() {
    local sources=/etc/apt/sources.list.d/debian.sources
    mirror=$(awk '/^URIs:/ && !/security/ { print $2; exit }' "$sources")
    security=$(awk '/^URIs:/ && /security/ { print $2; exit }' "$sources")
    : "${mirror:=http://deb.debian.org/debian}" "${security:=http://deb.debian.org/debian-security}"
}

# Makes the root on the first run (in a new folder, renamed when complete, so that an
# interrupted run leaves nothing half made), or brings its packages up to date.
make_or_update_root() {
    mkdir -p "$cache" "$ccache_dir"
    if [ ! -x "$root/usr/bin/apt-get" ]; then
        command -v mmdebstrap >/dev/null ||
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mmdebstrap >/dev/null || return 1
        archive_uris
        rm -rf "$root.new"
        # No services are started in the root (policy-rc.d). For speed: no manual pages
        # (man-db's trigger indexes them all at every install), translations of the package
        # descriptions or AppStream catalogues.
        # shellcheck disable=SC2016 # mmdebstrap's hooks get the root as $1
        mmdebstrap --quiet --variant=apt --dpkgopt='path-exclude=/usr/share/man/*' \
            --aptopt='Acquire::Languages "none"' \
            --aptopt='Acquire::IndexTargets::deb::DEP-11::DefaultEnabled "false"' \
            --aptopt='Acquire::IndexTargets::deb::DEP-11-icons::DefaultEnabled "false"' \
            --aptopt='Acquire::IndexTargets::deb::DEP-11-icons-small::DefaultEnabled "false"' \
            --customize-hook='printf "#!/bin/sh\nexit 101\n" >"$1/usr/sbin/policy-rc.d"' \
            --customize-hook='chmod 755 "$1/usr/sbin/policy-rc.d"' \
            trixie "$root.new" "deb $mirror trixie main" "deb $mirror trixie-updates main" \
            "deb $security trixie-security main" || return 1
        mv "$root.new" "$root"
    else
        cp --remove-destination /etc/resolv.conf "$root/etc/resolv.conf"
        in_root apt-get update -qq &&
            in_root env DEBIAN_FRONTEND=noninteractive apt-get -y -qq dist-upgrade >/dev/null ||
            return 1
    fi
    cp --remove-destination /etc/resolv.conf "$root/etc/resolv.conf"
    in_root scripts/install-deps.sh
}

launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

step_build() {
    in_root cmake --preset dev -B "$out/dev" "${launcher[@]}" >/dev/null &&
        in_root cmake --build "$out/dev" -j "$jobs"
}

# As in the test command, a failing case is run once more, and every case that needed the
# second run is named.
step_unit() {
    local log=$out/ctest.log status
    in_root env QT_QPA_PLATFORM=xcb tools/with-private-display.sh \
        ctest --test-dir "$out/dev" --output-on-failure -LE soak -j "$jobs" \
        --repeat until-pass:2 2>&1 | tee "$log"
    status=${PIPESTATUS[0]}
    grep -E 'Test +#[0-9]+: [^ ]+ \.+\*\*\*(Failed|Timeout|Exception)' "$log" |
        sed -E 's/.*Test +#[0-9]+: ([^ ]+) .*/failed once and was run again: \1/' | sort -u
    return "$status"
}

step_e2e() { in_root tests/e2e/run.sh "$out/dev" "${scenarios[@]}"; }

step_package() {
    in_root cmake --preset package -B "$out/package" "${launcher[@]}" >/dev/null &&
        in_root cmake --build "$out/package" -j "$jobs" &&
        in_root tools/check-package.sh "$out/package"
}

# Each step in turn; a step whose root or build failed is skipped.
started=$SECONDS
results=()
failed=0
for step in root build unit e2e package; do
    needs=build
    case $step in root) needs="" ;; build) needs=root ;; esac
    if [ -n "$needs" ] && [[ " ${results[*]} " != *" $needs ok "* ]]; then
        results+=("$step skipped")
        continue
    fi
    echo "== debian13 $step"
    begun=$SECONDS
    case $step in
        root) make_or_update_root ;;
        build) step_build ;;
        unit) step_unit ;;
        e2e) step_e2e ;;
        package) step_package ;;
    esac
    status=$?
    result=ok
    [ $status -eq 0 ] || { result=FAILED; failed=1; }
    took=$((SECONDS - begun))
    echo "== debian13 $step: $result in $((took / 60)) min $((took % 60)) s"
    results+=("$step $result")
done
# The build folders belong to whoever owns the tree, not to root.
[ -d "$out" ] && chown -R --reference=. "$out"

took=$((SECONDS - started))
verdict=PASS
[ $failed -eq 0 ] || verdict=FAIL
summary=$(printf '%s, ' "${results[@]}")
echo "debian13: $verdict in $((took / 60)) min $((took % 60)) s (${summary%, })"
exit $failed
