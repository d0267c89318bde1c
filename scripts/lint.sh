#!/usr/bin/env bash
# `make lint`. "format": every C++ file of the tree against .clang-format.
# "checks": clang-tidy (.clang-tidy) and clazy's Qt checks below over src/ and
# main.cpp, with the compile commands of the release build (`build/`, built
# first, for the files moc generates), two files at a time; clang's own
# warnings count as well. Any misformatted line or finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# Signals and slots: a connection to what is no signal, a lambda that can
# outlive what it captures, a signal hidden or made virtual, an emit of a
# non-signal. Containers: a detach of a temporary or of a range loop's
# container, an iterator or data pointer into a temporary, a mutable key.
CLAZY_CHECKS=connect-non-signal,connect-not-normalized,connect-3arg-lambda,lambda-in-connect,lambda-unique-connection
CLAZY_CHECKS+=,overridden-signal,virtual-signal,incorrect-emit,fully-qualified-moc-types
CLAZY_CHECKS+=,container-anti-pattern,detaching-temporary,range-loop-detach,strict-iterators,temporary-iterator
CLAZY_CHECKS+=,returning-data-from-temporary,writing-to-temporary,mutable-container-key,qstring-arg
CLAZY_CHECKS+=,unused-non-trivial-variable,wrong-qevent-cast,child-event-qobject-cast,post-event
# The project's headers, not those moc writes into the build folder.
HEADERS='/src/[a-z]+/(core/)?[A-Za-z0-9]+\.h$'

# One file: its findings, printed only when there are any (clazy also notes
# connections it cannot follow, which are no findings).
check_file() {
    local out status=0
    out=$(clang-tidy -p build --quiet "$1" 2>&1) || status=1
    if [ $status -ne 0 ]; then printf '%s\n' "$out"; fi
    out=$(clazy-standalone -p build --checks="$CLAZY_CHECKS" --header-filter="$HEADERS" --extra-arg=-Werror "$1" 2>&1) ||
        { printf '%s\n' "$out"; status=1; }
    return $status
}

case "${1:-}" in
format)
    git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
    ;;
checks)
    export CLAZY_CHECKS HEADERS
    export -f check_file
    # xargs ends with 123 when any file had a finding; every file is still checked.
    if ! git ls-files --cached --others --exclude-standard 'src/*.cpp' main.cpp |
            xargs -P "${JOBS:-2}" -n 1 bash -c 'check_file "$0"'; then
        echo "lint: findings above (.clang-tidy, scripts/lint.sh)" >&2
        exit 1
    fi
    ;;
*)
    echo "usage: $0 format|checks" >&2
    exit 2
    ;;
esac
