#!/usr/bin/env bash
# The engine against simpleFoam on the 160,000-cell benchmark channel, to convergence, on the same cores: 1, 4 and
# all the machine's cores, each run pinned with taskset to cores 0..n-1, the engine ("F 206 n" threads) and
# simpleFoam (n MPI ranks, bench/openfoam_channel.sh) alternating, in two rounds, so that both meet the same
# load. Every line carries the 1-minute load average before the run; at the end the ratios engine / simpleFoam
# per core count and round, and the engine's own speed-up from 4 cores to all.
#
# Usage: bench/channel_race.sh PATH_TO_TELVA [--untuned] [--rounds N] [--cores "1 4 8"] [DATA SET LINES...]
#   DATA SET LINES: the engine's settings, one control line each (default the fastest same-profile setting,
#   "F 168 2" "K 5 0 0 0 10 0 0" "K 4 1 1 1 1 1 1"). --untuned runs simpleFoam with glibc's allocator as
#   installed. Wall seconds are of the solver alone (the engine's whole run, simpleFoam without blockMesh and
#   decomposePar); CPU seconds (user + system) are printed beside them, since on a shared machine the wall time
#   of a pinned run depends on what else the cores carry. The profile of a setting is checked by
#   telva_whole_run --converge, not here.
set -euo pipefail

die() { echo "channel_race: $1" >&2; exit "${2:-1}"; }
usage="usage: $0 PATH_TO_TELVA [--untuned] [--rounds N] [--cores LIST] [DATA SET LINES...]"
[[ $# -ge 1 ]] || die "$usage"
telva=$(realpath "$1")
shift
[[ -x "$telva" ]] || die "$telva is not executable"
here=$(cd "$(dirname "$0")" && pwd)
foam_options=()
rounds=2
cores_all=$(nproc)
core_counts="1 4 $cores_all"
settings=()
while [[ $# -gt 0 ]]; do
    case $1 in
        --untuned) foam_options+=(--untuned); shift ;;
        --rounds) [[ $# -ge 2 && $2 =~ ^[1-9][0-9]*$ ]] || die "$usage"; rounds=$2; shift 2 ;;
        --cores) [[ $# -ge 2 ]] || die "$usage"; core_counts=$2; shift 2 ;;
        -*) die "$usage" ;;
        *) settings+=("$1"); shift ;;
    esac
done
[[ ${#settings[@]} -gt 0 ]] || settings=("F 168 2" "K 5 0 0 0 10 0 0" "K 4 1 1 1 1 1 1")

work=$(mktemp -d "${TMPDIR:-/tmp}/channel_race.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The engine's channel, as telva_whole_run writes it: 201 x 41 grid lines 0.5 m x 0.25 m apart, 2 m deep,
# 20 cells per column, 15 m3/s through the inlet and the outlet.
mkdir -p "$work/telva"
awk 'BEGIN { for (i = 1; i <= 201; i++) for (j = 1; j <= 41; j++)
                 printf "%d %d %.4f %.4f 0.0 2.0\n", i, j, 100 * (i - 1) / 200, 10 * (j - 1) / 40 }' \
    >"$work/telva/koosurf"
telva_control() {  # THREADS
    printf 'T straight channel for the race against simpleFoam\nF 2 YW\nG 1 204 44 21 1\n'
    printf 'F 65 200000 600000 200000 10000 1000\nF 314 1 1\nF 237 1 15\nF 237 2 15\nW 1 50 7.5 1.0\n'
    printf 'K 1 60000\nF 206 %d\n' "$1"
    printf '%s\n' "${settings[@]}"
}

load() { cut -d' ' -f1 /proc/loadavg; }
mask() { echo "0-$(($1 - 1))"; }

# run_telva N: prints "WALL CPU ITERATIONS" or fails.
run_telva() {
    local n=$1 times
    telva_control "$n" >"$work/telva/control"
    rm -f "$work/telva/boogie" "$work/telva/result.end"
    times=$( { cd "$work/telva" && TIMEFORMAT='%R %U %S' && time taskset -c "$(mask "$n")" "$telva" \
        >/dev/null 2>&1; } 2>&1 ) || true
    grep -q "Solution converged" "$work/telva/boogie" 2>/dev/null || return 1
    local iterations
    iterations=$(sed -n 's/.*Results, iter = *\([0-9]*\).*/\1/p' "$work/telva/result.end" | head -n 1)
    awk -v t="$times" -v it="${iterations:-?}" 'BEGIN { split(t, a, " "); printf "%.1f %.1f %s\n", a[1], a[2] + a[3], it }'
}

# run_foam N: prints "WALL CPU ITERATIONS" or fails. CPU is that of the whole script (blockMesh and
# decomposePar are a second or two of it).
run_foam() {
    local n=$1 out times
    rm -rf "$work/foam"
    times=$( { TIMEFORMAT='%U %S' && time taskset -c "$(mask "$n")" "$here/openfoam_channel.sh" \
        "${foam_options[@]}" --ranks "$n" "$work/foam" >"$work/foam.out" 2>&1; } 2>&1 ) || return 1
    out=$(tail -n 1 "$work/foam.out")
    [[ $out =~ ^simpleFoam:\ ([0-9]+)\ iterations,\ ([0-9.]+)\ seconds ]] || return 1
    awk -v t="$times" -v w="${BASH_REMATCH[2]}" -v it="${BASH_REMATCH[1]}" \
        'BEGIN { split(t, a, " "); printf "%.1f %.1f %s\n", w, a[1] + a[2], it }'
}

echo "Engine settings: ${settings[*]}"
echo "simpleFoam: SIMPLEC, allocator $([[ ${#foam_options[@]} -gt 0 ]] && echo "as installed" || echo "thresholds raised")"
echo "Machine: $cores_all cores; cores pinned from 0; rounds: $rounds"
printf '%-6s %5s %-10s %6s %9s %9s %11s\n' round cores run load wall_s cpu_s iterations
declare -A telva_wall foam_wall telva_cpu foam_cpu
for ((round = 1; round <= rounds; round++)); do
    for n in $core_counts; do
        [[ $n -le $cores_all ]] || continue
        # Alternate which program goes first, so neither always meets the other's after-effects.
        order=(telva foam)
        ((round % 2 == 1)) || order=(foam telva)
        for program in "${order[@]}"; do
            before=$(load)
            if result=$("run_$program" "$n"); then
                read -r wall cpu iterations <<<"$result"
                printf '%-6s %5s %-10s %6s %9s %9s %11s\n' "$round" "$n" "$program" "$before" "$wall" "$cpu" \
                    "$iterations"
                if [[ $program == telva ]]; then
                    telva_wall[$round,$n]=$wall
                    telva_cpu[$round,$n]=$cpu
                else
                    foam_wall[$round,$n]=$wall
                    foam_cpu[$round,$n]=$cpu
                fi
            else
                printf '%-6s %5s %-10s %6s   failed (%s)\n' "$round" "$n" "$program" "$before" "$work"
            fi
        done
    done
done

echo "Ratios engine / simpleFoam of wall time and of CPU time (below 1: the engine is faster):"
for ((round = 1; round <= rounds; round++)); do
    for n in $core_counts; do
        t=${telva_wall[$round,$n]:-}
        f=${foam_wall[$round,$n]:-}
        [[ -n "$t" && -n "$f" ]] || continue
        awk -v r="$round" -v n="$n" -v t="$t" -v f="$f" -v tc="${telva_cpu[$round,$n]}" -v fc="${foam_cpu[$round,$n]}" \
            'BEGIN { printf "  round %d, %d cores: wall %.2f, CPU %.2f\n", r, n, t / f, tc / fc }'
    done
    t4=${telva_wall[$round,4]:-}
    tall=${telva_wall[$round,$cores_all]:-}
    if [[ -n "$t4" && -n "$tall" && $cores_all -ne 4 ]]; then
        awk -v r="$round" -v a="$t4" -v b="$tall" -v n="$cores_all" \
            'BEGIN { printf "  round %d, engine on %d cores / on 4: %.2f\n", r, n, b / a }'
    fi
done
echo "Load average (1 min) at the end: $(load)"
