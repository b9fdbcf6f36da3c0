#!/usr/bin/python3
"""Checks the track merge against another reader: for each multi-track song, the merged song
that COMMAND writes must read, in mido, as mido.merge_tracks of the original (the absolute time
and bytes of every event, End of Track aside).

Usage: merge_check_mido.py COMMAND...   (run as COMMAND... SONG -o OUT for each song)

The songs are the format-1 songs of Debian's openttd-openmsx package and songs generated here
with midiutil. mido 1.2.10 keeps events after End of Track and reads a data byte after a SysEx
as running status: songs with either are left out (the rule tests cover them). Exits 77 when
a package is missing, or 1 if CI=true.
"""
import glob
import os
import random
import subprocess
import sys
import tempfile

OPENMSX = "/usr/share/games/openttd/baseset/openmsx"
SKIP = 77


def missing(what):
    print(f"missing {what}: apt-get install python3-mido python3-midiutil openttd-openmsx")
    sys.exit(1 if os.environ.get("CI") == "true" else SKIP)


try:
    import mido
    from midiutil import MIDIFile
except ImportError as error:
    missing(error.name)


def quantity(data, at):
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, at


def why_left_out(path):
    """Why mido 1.2.10 would read this song differently from the file format, or None."""
    data = open(path, "rb").read()
    at = 8 + int.from_bytes(data[4:8], "big")
    while at + 8 <= len(data):
        length = int.from_bytes(data[at + 4:at + 8], "big")
        if data[at:at + 4] == b"MTrk":
            track, i, last = data[at + 8:at + 8 + length], 0, None
            while i < len(track):
                _, i = quantity(track, i)
                kind = track[i]
                if kind == 0xFF:
                    size, j = quantity(track, i + 2)
                    if track[i + 1] == 0x2F and j + size < len(track):
                        return "events after End of Track"
                    i = j + size
                elif kind in (0xF0, 0xF7):
                    size, j = quantity(track, i + 1)
                    i, last = j + size, kind
                elif kind < 0x80:
                    if last in (0xF0, 0xF7):
                        return "a data byte after a SysEx"
                    i += 1 if last >> 4 in (0xC, 0xD) else 2
                else:
                    i, last = i + (2 if kind >> 4 in (0xC, 0xD) else 3), kind
        at += 8 + length
    return None


def timeline(track):
    """(absolute time, bytes) of each event of a track, End of Track aside."""
    now, events = 0, []
    for message in track:
        now += message.time
        if message.type != "end_of_track":
            events.append((now, message.bytes()))
    return events


def generated_songs(folder):
    """Multi-track songs with many events at shared instants, running across every kind."""
    songs = []
    for seed in range(8):
        rng = random.Random(seed)
        tracks = rng.randint(2, 9)
        song = MIDIFile(tracks, file_format=1, ticks_per_quarternote=rng.choice([96, 480, 960]),
                        eventtime_is_ticks=True, deinterleave=False)
        song.addTempo(0, 0, rng.randint(300000, 900000))
        for track in range(tracks):
            channel = track % 16
            song.addTrackName(track, 0, f"part {track}")
            song.addProgramChange(track, channel, 0, rng.randrange(128))
            song.addControllerEvent(track, channel, 0, 7, rng.randrange(128))
            if seed % 3 == 0:
                song.addSysEx(track, 0, 0x43, bytes([0x10, 0x4C, track & 0x7F]))
            when = 0
            for _ in range(rng.randint(20, 200)):
                when += rng.choice([0, 0, 48, 96, 240])
                pitch = rng.randint(30, 90)
                song.addNote(track, channel, pitch, when, rng.choice([24, 96, 480]),
                             rng.randint(1, 127))
                if rng.random() < 0.2:
                    song.addPitchWheelEvent(track, channel, when, rng.randint(-8192, 8191))
                if rng.random() < 0.1:
                    song.addTempo(track, when, rng.randint(300000, 900000))
        path = os.path.join(folder, f"generated-{seed}.mid")
        with open(path, "wb") as out:
            song.writeFile(out)
        songs.append(path)
    return songs


def main():
    command = sys.argv[1:]
    if not command:
        print(__doc__)
        return 2
    packaged = sorted(glob.glob(os.path.join(OPENMSX, "*.mid")))
    if not packaged:
        missing("openttd-openmsx")
    failures, compared, left_out = [], {"packaged": 0, "generated": 0}, []
    with tempfile.TemporaryDirectory() as folder:
        songs = [("packaged", p) for p in packaged]
        songs += [("generated", p) for p in generated_songs(folder)]
        for source, song in songs:
            name = os.path.basename(song)
            reason = why_left_out(song)
            if reason:
                left_out.append(f"{name} ({reason})")
                continue
            original = mido.MidiFile(song)
            if original.type != 1:
                left_out.append(f"{name} (format {original.type})")
                continue
            out = os.path.join(folder, "merged.mid")
            run = subprocess.run(command + [song, "-o", out], capture_output=True, text=True)
            if run.returncode != 0:
                failures.append(f"{name}: the merge failed: {run.stderr.strip()}")
                continue
            merged = mido.MidiFile(out)
            expected = timeline(mido.merge_tracks(original.tracks))
            got = timeline(merged.tracks[0]) if merged.tracks else []
            if merged.type != 0 or len(merged.tracks) != 1:
                failures.append(f"{name}: merged song of format {merged.type}, "
                                f"{len(merged.tracks)} tracks")
            elif merged.ticks_per_beat != original.ticks_per_beat:
                failures.append(f"{name}: division {merged.ticks_per_beat}, "
                                f"not {original.ticks_per_beat}")
            elif got != expected:
                at = next((i for i, pair in enumerate(zip(got, expected)) if pair[0] != pair[1]),
                          min(len(got), len(expected)))
                failures.append(f"{name}: event {at} differs: merged "
                                f"{got[at] if at < len(got) else 'nothing'}, mido "
                                f"{expected[at] if at < len(expected) else 'nothing'}")
            compared[source] += 1
    print(f"compared {compared['packaged']} packaged and {compared['generated']} generated songs")
    for song in left_out:
        print(f"left out: {song}")
    for failure in failures:
        print(f"FAILED {failure}")
    if compared["packaged"] == 0 or compared["generated"] == 0:
        print("FAILED: a source of songs gave nothing to compare")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
