#!/usr/bin/env python3
"""Writes baltic-sample.adi: a made-up BALTIC contest log for hostsim to replay.

One evening of an EU station outside the Baltic states on 80 m, CW and SSB,
21:00-02:00 UTC, with what a real log holds besides good QSOs: duplicates, a few
QSOs on 40 m, a few without a received number, and two busted calls that the
operator deleted (a record carrying APP_HOSTSIM_DELETE, which hostsim turns into
the host's deletion). The random seed is fixed, so the file is the same on every
run. A summary of what the plug-in should count goes to stderr.

Usage: python3 samples/make_sample.py [OUTPUT]   (default: beside this script)
       python3 samples/make_sample.py --faults [OUTPUT]
  --faults writes baltic-faults.adi instead: a short evening with one QSO of
  each kind that the log check names before the log is sent.
"""
import datetime
import os
import random
import sys

SEED = 20240518
OWN_CALL = "SM5XYZ"
START = datetime.datetime(2024, 5, 18, 21, 0, 0)
END = datetime.datetime(2024, 5, 19, 2, 0, 0)

# (prefix forms, suffix letters, continent, weight)
COUNTRIES = [
    (["LY1", "LY2", "LY3", "LY4", "LY5"], 2, "EU", 18),
    (["ES1", "ES2", "ES4", "ES5", "ES8"], 2, "EU", 14),
    (["YL2", "YL3"], 2, "EU", 18),
    (["SM0", "SM3", "SM5", "SM6", "SM7", "SA5"], 3, "EU", 9),
    (["OH1", "OH2", "OH3", "OH6", "OH8"], 3, "EU", 9),
    (["DL1", "DL2", "DK3", "DJ5", "DF4"], 3, "EU", 8),
    (["SP1", "SP2", "SP5", "SP9", "SQ6"], 3, "EU", 8),
    (["UA2F", "RA2F"], 1, "EU", 4),
    (["UA1", "UA3", "RW3"], 2, "EU", 4),
    (["EW1", "EW8"], 2, "EU", 3),
    (["LA1", "LA6", "OZ1", "OZ7"], 3, "EU", 4),
    (["OK1", "OM3", "HA5"], 3, "EU", 3),
    (["UA9", "RA9"], 2, "AS", 1),
]
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"


def make_stations(rng, count):
    stations = {}
    weights = [c[3] for c in COUNTRIES]
    while len(stations) < count:
        forms, letters, cont, _ = rng.choices(COUNTRIES, weights)[0]
        call = rng.choice(forms) + "".join(rng.choice(LETTERS) for _ in range(rng.randint(max(1, letters - 1), letters)))
        if call not in stations:
            # Each station has its own pace: its serial number grows with its rate.
            stations[call] = {"cont": cont, "rate": rng.uniform(0.15, 1.2), "last": 0}
    return stations


def received_number(rng, station, when):
    minutes = (when - START).total_seconds() / 60.0
    nr = max(station["last"] + 1, int(station["rate"] * minutes) + 1 + rng.randint(0, 3))
    station["last"] = nr
    return str(nr)


def field(name, value):
    return "<%s:%d>%s" % (name, len(value.encode("utf-8")), value)


def record(fields):
    return " ".join(field(n, v) for n, v in fields if v is not None) + " <EOR>\n"


# One fault each, in log order, with what the check should say of it:
# (call, time, kHz, mode, sent, received)
FAULTS = [
    ("LY1AA", "2105", 3525, "CW", "001", "005"),   # good
    ("ES1BB", "2110", 3526, "CW", "002", "5NN"),   # received: the report in cut numbers
    ("YL2CC", "2115", 3527, "CW", "004", "010"),   # sent: 003 is missing
    ("LY1AA", "2120", 3700, "SSB", "005", "003"),  # same station: 003 after 005 in CW
    ("OH2DD", "2125", 3590, "CW", "006", None),    # refused: no received number
    ("SM6EE", "2130", 3550, "SSB", "007", "020"),  # SSB in the CW part
    ("DLABC", "2135", 3528, "CW", "008", "011"),   # call: no digit
    ("OH2FF", "0215", 3530, "CW", "009", "030"),   # outside the period (next morning)
]


def write_faults(out_path):
    """The log check's sample: the header's CATEGORY-MODE (CW by default) is
    wrong too, as the log holds SSB QSOs."""
    with open(out_path, "w", newline="\n") as f:
        f.write("BALTIC contest sample log with one fault of each kind the log check names.\n")
        f.write("Written by samples/make_sample.py --faults.\n")
        f.write(field("ADIF_VER", "3.1.4") + " " + field("PROGRAMID", "make_sample.py") + " <EOH>\n\n")
        for call, hhmm, khz, mode, sent, rcvd in FAULTS:
            date = "20240519" if hhmm < "2100" else "20240518"
            rst = "599" if mode == "CW" else "59"
            f.write(record([("CALL", call), ("QSO_DATE", date), ("TIME_ON", hhmm + "00"),
                            ("FREQ", "%.3f" % (khz / 1000.0)), ("MODE", mode), ("RST_SENT", rst),
                            ("STX_STRING", sent), ("RST_RCVD", rst), ("SRX_STRING", rcvd), ("CONT", "EU"),
                            ("STATION_CALLSIGN", OWN_CALL)]))


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--faults":
        here = os.path.dirname(os.path.abspath(__file__))
        write_faults(sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "baltic-faults.adi"))
        return
    rng = random.Random(SEED)
    out_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                                 "baltic-sample.adi")
    stations = make_stations(rng, 240)
    calls = sorted(stations)
    worked = set()  # (call, band, mode) stored so far, to tell duplicates
    stats = {"qsos": 0, "dupes": 0, "wrong_band": 0, "no_number": 0, "deleted": 0, "points": 0, "cw": 0, "ssb": 0}
    records = []
    sent = 0
    when = START
    mode = "CW"
    block_left = rng.randint(20, 40)
    run_khz = rng.randint(3512, 3555)
    pending_fix = None  # a busted QSO waiting for its deletion and the corrected QSO

    def log_qso(call, band, khz, number_sent, nr_rcvd, mode_, when_):
        st = stations.get(call, {"cont": "EU"})
        rst = "599" if mode_ == "CW" else "59"
        if rng.random() < 0.08:
            rst = "579" if mode_ == "CW" else "57"
        fields = [
            ("CALL", call),
            ("QSO_DATE", when_.strftime("%Y%m%d")),
            ("TIME_ON", when_.strftime("%H%M%S")),
            ("BAND", band),
            ("FREQ", "%.3f" % (khz / 1000.0)),
            ("MODE", mode_),
            ("RST_SENT", rst),
            ("STX_STRING", number_sent),
            ("RST_RCVD", "599" if mode_ == "CW" else "59"),
            ("SRX", nr_rcvd),
            ("CONT", st["cont"]),
            ("STATION_CALLSIGN", OWN_CALL),
        ]
        records.append(fields)
        return fields

    while True:
        when += datetime.timedelta(seconds=max(12, int(rng.expovariate(1 / 52.0))))
        if when >= END:
            break
        block_left -= 1
        if block_left <= 0:
            mode = "SSB" if mode == "CW" else "CW"
            block_left = rng.randint(20, 40)
            run_khz = rng.randint(3512, 3555) if mode == "CW" else rng.randint(3605, 3645)
        if pending_fix is not None:
            # The operator notices the busted call: deletes that QSO and logs it again.
            busted, right = pending_fix
            pending_fix = None
            records.append(busted + [("APP_HOSTSIM_DELETE", "Y")])
            stats["deleted"] += 1
            mode_, khz = busted[5][1], int(round(float(busted[4][1]) * 1000))
            worked.discard((busted[0][1], "80m", mode_))
            stats["qsos"] -= 1
            stats["points"] -= points(busted[0][1])
            stats[mode_.lower()] -= 1
            sent += 1
            nr = received_number(rng, stations[right], when)
            log_qso(right, "80m", khz, "%03d" % sent, nr, mode_, when)
            account(stats, worked, right, mode_)
            continue

        khz = run_khz + rng.choice([0, 0, 0, 1, -1]) if rng.random() < 0.7 else (
            rng.randint(3505, 3560) if mode == "CW" else rng.randint(3600, 3650))
        roll = rng.random()
        if roll < 0.05 and any((c, "80m", mode) in worked for c in calls):
            call = rng.choice([c for c in calls if (c, "80m", mode) in worked])  # a duplicate
        else:
            fresh = [c for c in calls if (c, "80m", mode) not in worked]
            call = rng.choice(fresh)
        sent += 1
        number_sent = "%03d" % sent
        if roll > 0.985:  # a few minutes on 40 m
            band_khz = rng.randint(7005, 7035) if mode == "CW" else rng.randint(7080, 7150)
            log_qso(call, "40m", band_khz, number_sent, received_number(rng, stations[call], when), mode, when)
            stats["wrong_band"] += 1
            continue
        if 0.965 < roll <= 0.985:  # the number was not copied
            log_qso(call, "80m", khz, number_sent, None, mode, when)
            stats["no_number"] += 1
            continue
        if stats["deleted"] < 2 and sent in (57, 203):
            # A busted call: one letter wrong, not a call of the pool.
            busted_call = call[:-1] + ("X" if call[-1] != "X" else "Q")
            fields = log_qso(busted_call, "80m", khz, number_sent, received_number(rng, stations[call], when),
                             mode, when)
            account(stats, worked, busted_call, mode)
            pending_fix = (fields, call)
            continue
        log_qso(call, "80m", khz, number_sent, received_number(rng, stations[call], when), mode, when)
        account(stats, worked, call, mode)

    with open(out_path, "w", newline="\n") as f:
        f.write("BALTIC contest sample log for hostsim: made-up stations, one evening on 80 m.\n")
        f.write("Written by samples/make_sample.py (seed %d).\n" % SEED)
        f.write(field("ADIF_VER", "3.1.4") + " " + field("PROGRAMID", "make_sample.py") + " <EOH>\n\n")
        for fields in records:
            f.write(record(fields))

    sys.stderr.write(
        "%s: %d records; expect %d QSOs (%d CW, %d SSB), %d points, %d dupes, %d bad QSOs "
        "(%d wrong band, %d without number), %d deleted\n"
        % (out_path, len(records), stats["qsos"], stats["cw"], stats["ssb"], stats["points"], stats["dupes"],
           stats["wrong_band"] + stats["no_number"], stats["wrong_band"], stats["no_number"], stats["deleted"]))


def points(call):
    """Points for an EU station outside the Baltic states: 10 for LY, ES and YL, else 1."""
    return 10 if call[:2] in ("LY", "ES", "YL") else 1


def account(stats, worked, call, mode):
    """Counts a QSO on 80 m as the contest rules do, for the summary."""
    key = (call, "80m", mode)
    if key in worked:
        stats["dupes"] += 1
        return
    worked.add(key)
    stats["qsos"] += 1
    stats[mode.lower()] += 1
    stats["points"] += points(call)


if __name__ == "__main__":
    main()
