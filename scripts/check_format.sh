#!/usr/bin/env bash
# Fails when a tracked C++ file differs from the layout in .clang-format.
# Fix with: git ls-files '*.cpp' '*.h' ':!resources/' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
# resources/ holds runtime data (the sensor table is a .h the program parses), not code.
files=$(git ls-files '*.cpp' '*.h' ':!resources/')
if ! echo "$files" | xargs clang-format --dry-run --Werror 2>/tmp/velmorax-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/velmorax-format.$$ | cut -d: -f1 | sort -u | sed 's/^/not formatted: /'
  rm -f /tmp/velmorax-format.$$
  exit 1
fi
rm -f /tmp/velmorax-format.$$
echo "all $(echo "$files" | wc -l) source files follow .clang-format"
