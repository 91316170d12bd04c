#!/usr/bin/env bash
# Cross-builds the libraries that need no Qt (TETRAKON_QT=OFF), with their test programs,
# for s390x, a big-endian machine, and runs every test program under qemu, so that a
# byte-order fault shows on this little-endian machine. The settings writer's round trip
# runs there too. Sets itself up from Debian's packages: the cross compiler and qemu are
# installed, and the s390x development packages are unpacked into a sysroot in the work
# folder (installed, they would clash with the amd64 ones). A second run only builds what
# changed. Exits non-zero when any test fails, after one summary line.
# Usage: tools/check-big-endian.sh [WORK_DIR]   (build-s390x by default)
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(realpath -m "${1:-build-s390x}")
sysroot=$work/sysroot
build=$work/build
packages=(zlib1g zlib1g-dev libpng16-16 libpng-dev libjpeg62-turbo libjpeg62-turbo-dev
    libgtest-dev libgmock-dev)
export DEBIAN_FRONTEND=noninteractive

# Runs a command quietly; shows what it printed when it fails.
quietly() {
    local out
    if ! out=$("$@" 2>&1); then
        printf '%s\n' "$out" >&2
        echo "check-big-endian: failed: $*" >&2
        return 1
    fi
}

# The cross compiler and the emulator.
qemu=$(command -v qemu-s390x qemu-s390x-static | head -1 || true)
if ! command -v s390x-linux-gnu-g++ >/dev/null || [ -z "$qemu" ]; then
    echo "check-big-endian: installing the s390x cross compiler and qemu"
    quietly apt-get update
    quietly apt-get install -y --no-install-recommends g++-s390x-linux-gnu qemu-user
    qemu=$(command -v qemu-s390x)
fi

# Debian's s390x packages, unpacked once; the stamp names the packages that are there.
stamp=$sysroot/.packages
if [ "$(cat "$stamp" 2>/dev/null)" != "${packages[*]}" ]; then
    echo "check-big-endian: unpacking the s390x packages into $sysroot"
    if ! dpkg --print-foreign-architectures | grep -qx s390x; then
        dpkg --add-architecture s390x
    fi
    quietly apt-get update
    rm -rf "$sysroot" "$work/debs"
    mkdir -p "$sysroot" "$work/debs"
    (cd "$work/debs" && quietly apt-get download "${packages[@]/%/:s390x}")
    for deb in "$work"/debs/*.deb; do
        dpkg-deb -x "$deb" "$sysroot"
    done
    # zlib's package puts its library in /lib and links to it from /usr/lib by an absolute
    # path: the sysroot's /lib goes into its /usr/lib, as on a merged-/usr system, and
    # absolute links are made relative links within the sysroot.
    if [ -d "$sysroot/lib" ]; then
        cp -a "$sysroot/lib/." "$sysroot/usr/lib/"
        rm -rf "${sysroot:?}/lib"
    fi
    find "$sysroot" -type l -lname '/*' -print0 | while IFS= read -r -d '' link; do
        target=$(readlink "$link")
        ln -sfnr "$sysroot/usr${target#/usr}" "$link"
    done
    echo "${packages[*]}" >"$stamp"
fi

# How an s390x program runs here: qemu finds the C and C++ runtime under the cross
# compiler's folder, and the unpacked libraries by the library path it hands the program.
run=("$qemu" -L /usr/s390x-linux-gnu -E "LD_LIBRARY_PATH=$sysroot/usr/lib/s390x-linux-gnu")

# A compiler cache keyed on paths relative to this checkout, as in scripts/test.sh.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# Optimised as the native test build is, without its debug information, which only slows
# the build here; dpkg-buildflags' hardening flags are the build machine's, not s390x's.
emulator=$(IFS=';' && echo "${run[*]}")
quietly cmake -S . -B "$build" -G Ninja --toolchain "$PWD/cmake/s390x-linux-gnu.cmake" \
    -DTETRAKON_S390X_SYSROOT="$sysroot" -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" \
    -DTETRAKON_QT=OFF -DBUILD_TESTING=ON -DTETRAKON_BENCHMARKS=OFF -DTETRAKON_HARDENING=OFF \
    -DTETRAKON_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG" "${launcher[@]}"
quietly cmake --build "$build" -j "$(nproc)"

passed=0
failed=0
for program in "$build"/tests/*/*_tests; do
    name=$(basename "$program")
    # The long run of random turns takes minutes under qemu; the puzzle tests turn the
    # same pieces in short.
    [ "$name" != puzzle_soak_tests ] || continue
    if out=$("${run[@]}" "$program" 2>&1); then
        echo "passed: $name ($(grep -Eo '[0-9]+ tests? from [0-9]+ test suites? ran' <<<"$out"))"
        passed=$((passed + 1))
    else
        # The first failures in full (or the end of the output, after a crash), then the
        # names of every failing test.
        { grep -m3 -A4 ': Failure$' <<<"$out" || tail -n 20 <<<"$out"; } >&2
        grep -o '^\[  FAILED  \] [A-Za-z][^ ]*' <<<"$out" | sort -u >&2 || true
        echo "FAILED: $name" >&2
        failed=$((failed + 1))
    fi
done
# ctest puts the emulator before the settings writer.
if quietly ctest --test-dir "$build" -L settings_writer --output-on-failure; then
    echo "passed: settings_writer round trip"
    passed=$((passed + 1))
else
    echo "FAILED: settings_writer round trip" >&2
    failed=$((failed + 1))
fi

echo "big-endian (s390x under qemu): $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
