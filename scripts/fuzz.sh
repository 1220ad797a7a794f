#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz in ./build-fuzz (clang with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each one: first
# over its corpus in tests/fuzz/corpus, which holds every input that ever
# failed, then on new inputs. A crash, a sanitizer report, a timeout, too
# much memory or a broken property fails the run.
#
#   scripts/fuzz.sh [SECONDS [HARNESS...]]
#
# Without SECONDS (as test.sh runs it) each harness tries a fixed number of
# new inputs from a fixed seed, with address randomisation, Qt's hash seed
# and the fuzzer's use of compared values turned off: every machine tries
# the same inputs, so the verdict of a commit is the same wherever it is
# tested (fuzz_projectfile: not always in a folder whose path has another
# length). With SECONDS (or $PRUVEX_FUZZ_SECONDS) each harness searches that
# long from a random seed, to find new faults; 0 replays the corpus only.
# HARNESS is one of
# projectfile, formmailers, jsonio, xmlreader (default all four). New inputs
# go to a temporary folder, so the corpus in the repository stays as it is;
# a failing input is kept in build-fuzz/artifacts. PRUVEX_FUZZ_BUILD_DIR
# names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${PRUVEX_FUZZ_SECONDS:-}}
shift || true
harnesses=("$@")
[[ ${#harnesses[@]} -gt 0 ]] || harnesses=(projectfile formmailers jsonio xmlreader)
build_dir=${PRUVEX_FUZZ_BUILD_DIR:-build-fuzz}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPRUVEX_FUZZ=ON -DPRUVEX_BUILD_EDITOR=OFF -DPRUVEX_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build_dir" -j2 --target "${harnesses[@]/#/fuzz_}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/xdg
artifacts=$build_dir/artifacts
mkdir -p "$artifacts"

# New inputs tried per harness in the fixed run, about a minute each here.
declare -A fixed_runs=([projectfile]=250000 [formmailers]=1500000 [jsonio]=800000 [xmlreader]=2500000)
# Without address randomisation the fuzzer's choices do not depend on where
# the program lies in memory; where the system forbids it, the fixed run is
# still run, only no longer the same everywhere.
no_aslr=()
if [[ -z $seconds ]]; then
    if setarch "$(uname -m)" -R true 2>/dev/null; then
        no_aslr=(setarch "$(uname -m)" -R)
    else
        echo "fuzz: address randomisation cannot be turned off here; the inputs may differ from other machines'." >&2
    fi
fi

status=0
for h in "${harnesses[@]}"; do
    dict=tests/fuzz/xml.dict
    [[ $h == jsonio ]] && dict=tests/fuzz/json.dict
    mkdir -p "$work/$h"
    if [[ -z $seconds ]]; then
        echo "fuzz: $h, ${fixed_runs[$h]} inputs from seed 1"
        # Compared values include addresses, which move with the length of
        # the environment and of the paths; they would steer the mutations.
        limit=(-seed=1 -runs="${fixed_runs[$h]}" -reload=0 -use_cmp=0)
        run=(env QT_HASH_SEED=0 "${no_aslr[@]}")
    elif [[ $seconds == 0 ]]; then
        echo "fuzz: $h, the corpus only"
        limit=(-runs=0)
        run=()
    else
        echo "fuzz: $h for ${seconds}s"
        limit=(-max_total_time="$seconds")
        run=()
    fi
    if "${run[@]}" "$build_dir/bin/fuzz_$h" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
        -dict="$dict" -artifact_prefix="$artifacts/$h-" -print_final_stats=1 \
        "$work/$h" "tests/fuzz/corpus/$h" >"$work/$h.log" 2>&1; then
        grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|peak_rss_mb)' "$work/$h.log" | sed -E 's/ exec\/s: .*//; s/^/fuzz: '"$h"' /'
    else
        status=1
        tail -n 60 "$work/$h.log"
        echo "fuzz: $h FAILED; the input is in $artifacts (add it to tests/fuzz/corpus/$h)" >&2
    fi
done
exit $status
