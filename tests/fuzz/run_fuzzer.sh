#!/usr/bin/env bash
# Runs one fuzz target over its committed seeds, new inputs going to a fresh
# scratch folder (the seeds are never written) and crashes to ARTIFACTS:
#
#   tests/fuzz/run_fuzzer.sh FUZZER SEEDS SCRATCH ARTIFACTS [libFuzzer options]
#
# Every run refuses a buffer of more than 256 MB (the decoder's own limit is
# 64 MiB), so a request for more counts as a crash.
set -euo pipefail
fuzzer=$1 seeds=$2 scratch=$3 artifacts=$4
shift 4
rm -rf "$scratch"
mkdir -p "$scratch" "$artifacts"
exec "$fuzzer" -malloc_limit_mb=256 -artifact_prefix="$artifacts/" "$@" "$scratch" "$seeds"
