# shellcheck shell=sh
# Seeds for each fuzzer, shared by run-fuzzers.sh and tools/fuzz-campaign.sh: the X reader
# gets the X test files, the picture decoders the JPEG and PNG files and the pictures whose
# chunks claim gigabytes, the registry file parser a file of every value kind.
# fuzz_seeds NAME SOURCE_DIR CORPUS_DIR copies NAME's seeds into CORPUS_DIR.
fuzz_seeds() {
    data="$2/tests/data"
    case "$1" in
        fuzz_xfile_reader)
            cp "$data"/xfiles/*.x "$data"/xfiles/*.X "$3/"
            ;;
        fuzz_picture_decoders)
            cp "$data"/images/pngsuite/*.png "$data"/images/png/*.png "$data"/images/jpeg/*.jpg "$3/"
            sh "$2/tools/make-hostile-pictures.sh" "$3"
            ;;
        fuzz_registry_parser)
            # shellcheck disable=SC1003 # a backslash ends a line, as in a hex value continued
            printf '%s\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Tetrakon]' \
                '"Left"=dword:0000000a' '"PathImage"="C:\\a \"b\""' '"Other"=hex:01,02,\' \
                '  ff' '@=hex(7):61,00' >"$3/seed.reg"
            ;;
        *)
            echo "no seeds for $1" >&2
            return 2
            ;;
    esac
}

# shellcheck disable=SC2034 # read by the scripts that source this file
FUZZERS="fuzz_xfile_reader fuzz_picture_decoders fuzz_registry_parser"
