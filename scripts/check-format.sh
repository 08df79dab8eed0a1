#!/bin/sh
# Fails, naming the files, when a C++ file of the repository does not follow .clang-format.
# With --fix, formats them in place instead.
set -eu
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null 2>&1 || ./scripts/deps.sh
if [ "${1:-}" = "--fix" ]; then
  git ls-files '*.cpp' '*.h' | xargs clang-format -i
  exit 0
fi
bad=""
for file in $(git ls-files '*.cpp' '*.h'); do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || bad="$bad $file"
done
if [ -n "$bad" ]; then
  echo "Not formatted as .clang-format says (run scripts/check-format.sh --fix):"
  for file in $bad; do echo "  $file"; done
  exit 1
fi
echo "Every C++ file follows .clang-format."
