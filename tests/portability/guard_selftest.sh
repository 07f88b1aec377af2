#!/usr/bin/env bash
# Runs the portability check on small trees of its own: each line below is a file, an
# include line in it, and whether the check must pass.
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0
while IFS='|' read -r file line expect; do
    rm -rf "${tree:?}"/*
    mkdir -p "$tree/$(dirname "$file")"
    printf '// a file\n%s\nint x;\n' "$line" >"$tree/$file"
    if "$check" "$tree" >/dev/null 2>&1; then got=pass; else got=fail; fi
    if [ "$got" != "$expect" ]; then
        echo "FAIL: $file with '$line': the check said $got, expected $expect"
        failures=$((failures + 1))
    fi
done <<'CASES'
link/serial_link.cpp|#include <unistd.h>|fail
ui/frm_main.h|  #  include "termios.h"|fail
app/main.cpp|#include <csignal>|fail
cli/main.cpp|#include <sys/ioctl.h>|fail
platform/qt_serial_port.cpp|#include <fcntl.h>|fail
platform/posix_system.h|#include <signal.h>|fail
platform/posix_system.cpp|#include <signal.h>|pass
sim/pty_line.cpp|#include <termios.h>|pass
tests/sim/tst_sim.cpp|#include <unistd.h>|pass
bench/exchange/bench_exchange.cpp|#include <sys/resource.h>|pass
app/application.cpp|#include <semaphore>|pass
app/config.cpp|#include <QSocketNotifier>|pass
app/config.cpp|// #include <unistd.h> was here|pass
CASES
[ "$failures" -eq 0 ] && echo "portability check: all cases as expected"
exit "$failures"
