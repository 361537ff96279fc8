#!/usr/bin/env bash
# Builds the seed catalog program and rewrites the committed catalog of the shipped module from the text
# under data/. Commit the new tests/golden/seed_catalog.txt with the change that altered generation or
# content; the diff is what reviewers read.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

cmake --preset normal -DMURK_WERROR=ON >/dev/null
cmake --build --preset normal -j 4 --target seedcatalog
mkdir -p tests/golden
build/normal/tools/seedcatalog/seedcatalog --base data --module Barrowdeep --out tests/golden/seed_catalog.txt
git --no-pager diff --stat -- tests/golden/seed_catalog.txt || true
