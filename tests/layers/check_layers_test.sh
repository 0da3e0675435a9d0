#!/usr/bin/env bash
# The layer check fails on each planted fault and passes on the clean tree:
#   check_layers_test.sh CHECK_LAYERS_SCRIPT
set -euo pipefail
check=$1
tree=$(mktemp -d)   # private to the user: mktemp makes it 0700
trap 'rm -rf "$tree"' EXIT

plant() {   # plant FILE TEXT
    mkdir -p "$tree/$(dirname "$1")"
    printf '%s\n' "$2" >"$tree/$1"
}
clean_tree() {
    rm -rf "${tree:?}"/*
    plant core/year.h 'int YearLength(int year);  // unlike QDate::daysInYear, proleptic'
    plant core/year.cpp '#include "core/year.h"'
    plant pages/year_page.h '#include <QWidget>'
    plant pages/year_page.cpp '#include "pages/year_page.h"
#include "core/year.h"'
    plant app/main.cpp '#include "pages/year_page.h"'
    cat >"$tree/layers.txt" <<'LAYERS'
core pure:  | core/year.cpp core/year.h
pages qt: core | pages/year_page.cpp pages/year_page.h
app qt: pages | app/main.cpp
LAYERS
}

failures=0
expect() {   # expect pass|fail WHAT
    local outcome=pass
    "$check" "$tree/layers.txt" "$tree" >"$tree/out" 2>&1 || outcome=fail
    if [ "$outcome" != "$1" ]; then
        echo "FAILED: $2: the check should $1"
        cat "$tree/out"
        failures=$((failures + 1))
    fi
}

clean_tree
expect pass "the clean tree"

clean_tree
plant core/year.cpp '#include "core/year.h"
#include <QDate>'
expect fail "a Qt include in a pure folder"

clean_tree
plant core/year.cpp '#include "core/year.h"
int YearLength(int year) { return QDate::isLeapYear(year) ? 366 : 365; }'
expect fail "a Qt type in a pure folder"

clean_tree
plant pages/leap.cpp 'bool IsLeap(int year) { return year % 4 == 0; }'
sed -i 's#pages/year_page.cpp#pages/leap.cpp pages/year_page.cpp#' "$tree/layers.txt"
expect fail "a pure file under pages/"

clean_tree
plant calc/orphan.cpp 'int Orphan();'
expect fail "a file in no layer"

clean_tree
plant core/year.cpp '#include "core/year.h"
#include "pages/year_page.h"'
expect fail "an include against the arrows"

clean_tree
sed -i 's#| core/year.cpp#| pages/year_page.cpp core/year.cpp#' "$tree/layers.txt"
expect fail "a file in two layers"

[ $failures -eq 0 ] && echo "the layer check catches every planted fault"
exit $failures
