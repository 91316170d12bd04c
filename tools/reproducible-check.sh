#!/usr/bin/env bash
# Builds the Debian package of one commit twice and checks that the two are the same byte
# for byte. Each build starts from its own clone, in folders of different names and
# lengths, one after the other (so the clones' files have different times), in another
# time zone. SOURCE_DATE_EPOCH is left to the build, which takes the last commit's time.
# Both build with umask 022: CPack gives the package's members the modes their files
# have on disk. The locale stays the caller's, and warnings are errors as in the test
# command's build, so that ccache serves both builds from that one. With diffoscope installed a difference is shown readably; otherwise
# the differing members of the two packages are listed.
#   tools/reproducible-check.sh [COMMIT]   (default HEAD)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse "${1:-HEAD}")
work=$(mktemp -d /tmp/reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
unset SOURCE_DATE_EPOCH

# build CLONE TZ: clones the commit into CLONE and makes CLONE/build/*.deb.
build() {
    local clone=$1
    git clone -q --no-checkout "$repo" "$clone"
    git -C "$clone" checkout -q "$commit"
    if ! (
        cd "$clone"
        umask 022
        export TZ=$2
        launcher=()
        if command -v ccache >/dev/null 2>&1; then
            export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
            launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
        fi
        cmake --preset package "${launcher[@]}"
        cmake --build build
        cd build && cpack -G DEB
    ) >"$clone.log" 2>&1; then
        tail -n 40 "$clone.log" >&2
        echo "reproducible-check: the build in $clone failed" >&2
        exit 1
    fi
}

started=$SECONDS
build "$work/first" UTC
echo "reproducible-check: first build in $((SECONDS - started)) s"
build "$work/second-clone-elsewhere" Asia/Kathmandu
debs=("$work"/first/build/tetrakon_*.deb "$work"/second-clone-elsewhere/build/tetrakon_*.deb)
[ ${#debs[@]} -eq 2 ] || { echo "reproducible-check: expected two packages: ${debs[*]}" >&2; exit 1; }
echo "reproducible-check: two builds of ${commit:0:12} in $((SECONDS - started)) s"

if cmp -s "${debs[0]}" "${debs[1]}"; then
    echo "reproducible-check: $(basename "${debs[0]}") is the same in both builds" \
        "($(sha256sum <"${debs[0]}" | cut -c1-16))"
    exit 0
fi

echo "FAIL: the two packages differ" >&2
if command -v diffoscope >/dev/null 2>&1; then
    diffoscope --text - "${debs[0]}" "${debs[1]}" | head -n 200 >&2 || true
    exit 1
fi
# Without diffoscope: the archive's members, then the files of the data archive.
for i in 0 1; do
    mkdir -p "$work/x$i/root"
    (cd "$work/x$i" && ar x "${debs[$i]}" && for m in *.tar*; do md5sum "$m"; done) >"$work/ar$i"
    dpkg-deb -R "${debs[$i]}" "$work/x$i/root"
    dpkg-deb -c "${debs[$i]}" >"$work/list$i"
done
diff "$work/ar0" "$work/ar1" >&2 || true
diff "$work/list0" "$work/list1" >&2 || true
diff -rq "$work/x0/root" "$work/x1/root" | while read -r _ one _ other _; do
    echo "$one: $(cmp -l "$one" "$other" | wc -l) bytes differ, from byte $(cmp "$one" "$other" |
        awk '{ print $5 }')"
done >&2
exit 1
