#!/usr/bin/env bash
# Fails when a program or test source holds a five-digit number from 30000
# to 49999 outside core/commandids.h. The program's command ids lie in that
# range (together with the toolkit's id limit), and every one of them is
# written by its name from that header, in the tests too, so a renumbered
# command cannot leave a test checking the old number. A number that is part
# of a longer one, a hexadecimal number or a fraction is not such a number;
# another quantity in that range is written with a digit separator (44'100).
# The test fixtures (tests/fixtures/) are material, not code, and are skipped.
# Usage: tools/checkids.sh [source root]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"
header=core/commandids.h

failures=0
# One grep over every file: a process per file takes half a minute on a busy machine.
while IFS=: read -r file line_number _; do
    case "$file" in tests/fixtures/* | bench/* | tools/* | build*/* | "$header") continue ;; esac
    echo "$file:$line_number: a command id literal; use its name from $header" >&2
    failures=$((failures + 1))
done < <( (git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h' | sed 's#^\./##') |
          xargs -d '\n' grep -n -H -E '(^|[^0-9A-Za-z_.])[34][0-9]{4}($|[^0-9A-Za-z_.])' || true)

if (( failures > 0 )); then
    echo "$failures command id literal(s) outside $header" >&2
    exit 1
fi
echo "command ids are used by name"
