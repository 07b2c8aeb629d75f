# Sourced by scripts that run a program as another user (uid 65534). The sanitizers read their
# suppressions file as that user, and a clone in /root is closed to every other user: the file
# named in LSAN_OPTIONS is copied into a folder the user can read, and LSAN_OPTIONS names the copy.
# Usage: readable_suppressions FOLDER
readable_suppressions() {
    [[ "${LSAN_OPTIONS:-}" =~ suppressions=([^:]*) ]] || return 0
    cp "${BASH_REMATCH[1]}" "$1/lsan.supp"
    chmod 644 "$1/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS/"${BASH_REMATCH[1]}"/$1/lsan.supp}
}
