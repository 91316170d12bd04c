#!/usr/bin/env bash
# Checks every #include of the libraries against the include rules table of
# docs/ARCHITECTURE.md ("Include rules"): a file in one of the table's folders may include
# its own folder's headers, those of the folders its row names, the standard and POSIX
# headers, and only the outside libraries its row names. Prints each include that breaks
# a rule and exits 1 if there is any.
# Usage: tools/check-layers.sh [source dir]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

# Outside libraries by the include paths that name them.
declare -A library_pattern=(
    [Qt]='^Q[A-Za-z0-9]*$|^Qt[A-Za-z]*/'
    [libpulse]='^pulse/'
    [xcb]='^xcb/'
    [zlib]='^zlib\.h$'
    [libjpeg]='^(jpeglib|jerror)\.h$'
    [libpng]='^png\.h$'
)

rules=docs/ARCHITECTURE.md

# The table: one row per folder, "| `folder` | `dep` `dep` ... | Library, Library |".
declare -A allowed_folders allowed_libraries
folders=()
while IFS='|' read -r _ folder deps libs _; do
    folder=$(tr -d '` ' <<<"$folder")
    folders+=("$folder")
    allowed_folders[$folder]=" $(tr -d '`,' <<<"$deps" | tr -s ' ') "
    allowed_libraries[$folder]=" $(tr -d ',' <<<"$libs" | tr -s ' ') "
done < <(awk '/^#/ { inside = /^#+ Include rules$/ } inside && /^\| `/' "$rules")
if [ ${#folders[@]} -eq 0 ]; then
    echo "check-layers: no include rules table in $rules" >&2
    exit 2
fi

# The table folder a path lies in: the longest folder that is a prefix of it.
folder_of() {
    local path=$1 best=""
    for folder in "${folders[@]}"; do
        if [[ $path == "$folder"/* && ${#folder} -gt ${#best} ]]; then best=$folder; fi
    done
    echo "$best"
}

breaks=0
while IFS= read -r file; do
    own=$(folder_of "$file")
    [ -n "$own" ] || continue
    while IFS= read -r line; do
        if [[ $line =~ ^#include\ \"([^\"]+)\" ]]; then
            target=$(folder_of "${BASH_REMATCH[1]}")
            # Paths outside every table folder (a header generated beside the file) pass.
            [ -z "$target" ] || [ "$target" = "$own" ] && continue
            [[ ${allowed_folders[$own]} == *" $target "* ]] && continue
        elif [[ $line =~ ^#include\ \<([^\>]+)\> ]]; then
            header=${BASH_REMATCH[1]}
            library=""
            for name in "${!library_pattern[@]}"; do
                if [[ $header =~ ${library_pattern[$name]} ]]; then library=$name; fi
            done
            [ -z "$library" ] && continue
            [[ ${allowed_libraries[$own]} == *" $library "* ]] && continue
        else
            continue
        fi
        echo "$file: $line  ($own may not include it)"
        breaks=$((breaks + 1))
    done < <(grep -E '^#include [<"]' "$file")
done < <(git ls-files '*.h' '*.cpp' 2>/dev/null || find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||')

if [ "$breaks" -gt 0 ]; then
    echo "check-layers: $breaks include(s) against the rules of $rules" >&2
    exit 1
fi
echo "check-layers: every include keeps to the rules of $rules"
