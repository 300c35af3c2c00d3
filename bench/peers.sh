#!/usr/bin/env bash
# Times the same 39-voice patch in this program and in the block-based peers Pure Data and
# Csound, whichever of them are installed (apt-get install puredata-core csound; for this
# benchmark only). Each voice is an envelope (8 ms attack, 300 ms decay to 55 %) driving a sine
# at its note, the 39 voices are summed and the sum goes through a master gain of 0.68 into a
# 16-bit mono WAV file. All three play the same 39 held notes (MIDI 36 to 74) for 60 s offline,
# and compute at 22050 samples per second, the engine rate of this program; the peers use
# blocks of 64 samples (Pd's default block, Csound's ksmps 64).
# Each engine runs three times, the rounds interleaved so that other work on the machine falls on
# all of them alike; it prints the median whole-process processor time (user + system) of each
# and this program's time as a share of each peer's.
#   bench/peers.sh [BUILD_FOLDER]   (default: build-release, configured as Release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
seconds=60
rate=22050
first_note=36
voices=39
# The level of one voice in device full scale, as this program's envelope gives a key struck at
# velocity 100: the sum of the 39 voices stays below full scale.
pd_peak=0.05
pd_sustain=0.0275

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target zelmar >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The bundled 39-voice synth with a sine in place of its saw.
sed 's/ PolySaw$/ PolySine/' examples/poly_synth.zmr >"$work/sine39.zmr"

# A MIDI file (format 0, 480 ticks a quarter at 120 beats a minute) that strikes the 39 notes at
# once and holds them past the end of the render.
write_chord() {
  local track='\x00\xff\x51\x03\x07\xa1\x20' note
  for ((note = first_note; note < first_note + voices; note++)); do
    track+=$(printf '\\x00\\x90\\x%02x\\x64' "$note")
  done
  track+='\x83\xc2\x00\xff\x2f\x00' # 57600 ticks later (60 s), the end of the track
  local length
  length=$(printf "$track" | wc -c)
  {
    printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk'
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' 0 0 $((length >> 8)) $((length & 255)))"
    printf "$track"
  } >"$1"
}
write_chord "$work/chord.mid"

# Pd: per voice [osc~] at the note times a [vline~] envelope, both started by loadbang, every
# voice into one [*~ 0.68] (a signal inlet sums what is wired to it), into [writesf~]; a delay in
# logical time stops the file and then quits after 60 s.
write_pd_patch() {
  local object note
  {
    echo "#N canvas 0 0 800 600 12;"
    echo "#X obj 10 10 loadbang;"                                        # 0
    echo "#X obj 10 40 t b b b;"                                         # 1
    echo "#X msg 10 70 \\; pd dsp 1;"                                   # 2
    echo "#X msg 120 70 open -bytes 2 $work/pd.wav \\, start;"          # 3
    echo "#X obj 120 400 writesf~ 1;"                                    # 4
    echo "#X obj 300 70 delay $((seconds * 1000));"                      # 5
    echo "#X obj 300 100 t b b;"                                         # 6
    echo "#X msg 300 130 stop;"                                          # 7
    echo "#X msg 300 160 \\; pd quit;"                                  # 8
    echo "#X obj 120 370 *~ 0.68;"                                       # 9
    echo "#X msg 500 10 $pd_peak 8 \\, $pd_sustain 300 8;"              # 10: the envelope
    for ((note = first_note; note < first_note + voices; note++)); do
      echo "#X obj 10 200 mtof;"
      echo "#X msg 10 170 $note;"
      echo "#X obj 10 230 osc~;"
      echo "#X obj 100 230 vline~;"
      echo "#X obj 10 260 *~;"
    done
    # A trigger fires right to left: the file stops before Pd quits.
    local wires=("0 0 1 0" "1 2 3 0" "1 1 2 0" "1 0 5 0" "3 0 4 0" "5 0 6 0" "6 1 7 0" "6 0 8 0"
      "7 0 4 0" "9 0 4 0" "0 0 10 0")
    for ((object = 11; object < 11 + 5 * voices; object += 5)); do
      wires+=("0 0 $((object + 1)) 0" "$((object + 1)) 0 $object 0" "$object 0 $((object + 2)) 0"
        "10 0 $((object + 3)) 0" "$((object + 2)) 0 $((object + 4)) 0"
        "$((object + 3)) 0 $((object + 4)) 1" "$((object + 4)) 0 9 0")
    done
    printf '#X connect %s;\n' "${wires[@]}"
  } >"$1"
}

# Csound: one instance of instr 1 per note (a linseg envelope times a truncating table oscillator
# on a sine table), summed into a global signal that instr 99 scales and writes.
write_csound_file() {
  local note
  {
    echo "<CsoundSynthesizer>"
    echo "<CsOptions>"
    echo "-d -m0 -W -s -o $work/csound.wav"
    echo "</CsOptions>"
    echo "<CsInstruments>"
    echo "sr = $rate"
    echo "ksmps = 64"
    echo "nchnls = 1"
    echo "0dbfs = 1"
    echo "gaSum init 0"
    echo "instr 1"
    echo "  aEnv linseg 0, 0.008, $pd_peak, 0.3, $pd_sustain, $seconds, $pd_sustain"
    echo "  gaSum += oscil(aEnv, cpsmidinn(p4), 1)"
    echo "endin"
    echo "instr 99"
    echo "  out gaSum * 0.68"
    echo "  gaSum = 0"
    echo "endin"
    echo "</CsInstruments>"
    echo "<CsScore>"
    echo "f 1 0 16384 10 1"
    for ((note = first_note; note < first_note + voices; note++)); do
      echo "i 1 0 $seconds $note"
    done
    echo "i 99 0 $seconds"
    echo "</CsScore>"
    echo "</CsoundSynthesizer>"
  } >"$1"
}

names=("zelmar")
commands=("$build/app/zelmar --render $work/sine39.zmr --midi $work/chord.mid --seconds $seconds --out $work/ours.wav")
if command -v pd >/dev/null; then
  write_pd_patch "$work/voices.pd"
  names+=("Pure Data")
  commands+=("pd -nogui -nosound -noprefs -batch -r $rate -open $work/voices.pd")
fi
if command -v csound >/dev/null; then
  write_csound_file "$work/voices.csd"
  names+=("Csound")
  commands+=("csound $work/voices.csd")
fi

# Processor seconds (user + system) of one whole process, to the millisecond: the second line
# of `times` is that of the subshell's children.
cpu_seconds() {
  (
    $1 >/dev/null 2>&1
    times
  ) | awk 'NR == 2 {
    split($1, user, /[ms]/); split($2, kernel, /[ms]/)
    printf "%.3f\n", user[1] * 60 + user[2] + kernel[1] * 60 + kernel[2]
  }'
}

declare -A times
for round in 1 2 3; do
  for index in "${!names[@]}"; do
    times[$index]+="$(cpu_seconds "${commands[$index]}") "
  done
done

median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | sed -n 2p; }

ours=$(median "${times[0]}")
printf "%-10s %9s %8s   %s\n" "60 s of" "processor" "ours/it" "runs (s)"
for index in "${!names[@]}"; do
  it=$(median "${times[$index]}")
  printf "%-10s %7.3f s %8.2f   %s\n" "${names[$index]}" "$it" \
    "$(awk -v a="$ours" -v b="$it" 'BEGIN { print (b > 0 ? a / b : 0) }')" "${times[$index]}"
done
echo "target: ours/it at most 0.80 for each peer"
