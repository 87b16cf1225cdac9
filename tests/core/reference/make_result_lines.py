#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes result_lines.tsv: exact result lines for a few hundred trips, from a model of
the arithmetic written apart from the C++ core. core_tests reads the file and checks
the core against every line.

Regenerate, after a deliberate change to the arithmetic or to the line, with Debian's
python3 and python3-numpy (under a minute; the same numpy gives the same file):

    /usr/bin/python3 tests/core/reference/make_result_lines.py

The model stores every float quantity as a numpy float32 and does the arithmetic
between two stores in Python's doubles. Numbers are rounded half away from zero on
their exact binary value, with fractions.Fraction. cos, atan and sqrt come from the C
library, as in the program.

Besides the trips that cover the cases a reader would list (quadrants, due north,
south, east and west, the same position, long and odd texts), the file holds trips
chosen because a realistic fault changes their line. The script models each such
fault as a variant of the model, prints how many lines of the file show it, and fails
when a fault shows in none.
"""

import math
import random
import sys
from fractions import Fraction
from pathlib import Path

import numpy as np

np.seterr(all="ignore")  # overflow to infinity and 0/0 are part of the arithmetic

FLOAT_MAX = float(np.finfo(np.float32).max)


def f32(value):
    """The value stored as a 32-bit float, back as a Python float (a double)."""
    return float(np.float32(value))


def ieee_divide(numerator, denominator):
    """Division with IEEE 754 semantics: x/0 is a signed infinity, 0/0 is NaN."""
    if denominator == 0:
        if numerator == 0 or math.isnan(numerator):
            return math.nan
        negative = (numerator < 0) != (math.copysign(1.0, denominator) < 0)
        return -math.inf if negative else math.inf
    return numerator / denominator


class Model:
    """The rules. Each fault below is a subclass that changes one thing."""

    minutes_per_degree = 60.0
    degrees_to_radians = 0.0174533
    radians_to_degrees = 57.295779
    eastward_base = 90.0
    westward_base = 270.0
    nautical_miles_per_kilometre = 0.54

    # Coordinate text.
    def degrees(self, text):
        parts = text.split(":")
        if len(parts) < 3:
            return None
        values = []
        for part in parts[:3]:
            if not part or any(c not in "0123456789" for c in part):
                return None
            values.append(float(part))  # digits only: already a whole number
        if not all(math.isfinite(v) for v in values):
            return None
        result = self.combine(*values)
        return None if result > FLOAT_MAX else f32(result)

    def combine(self, degrees, minutes, seconds):
        m = minutes / 60
        d = degrees + m
        return seconds / 3600 + d

    # Course and distance.
    def lat_diff(self, own_lat, target_lat):
        return f32((target_lat - own_lat) * self.minutes_per_degree)

    def cos_factor(self, own_lat, target_lat):
        return f32(math.cos(target_lat * self.degrees_to_radians))

    def departure(self, own_lon, target_lon, cos_factor):
        return f32((target_lon - own_lon) * self.minutes_per_degree * cos_factor)

    def distance(self, departure, lat_diff):
        return f32(math.sqrt(departure * departure + lat_diff * lat_diff))

    def quotient(self, departure, lat_diff):
        return ieee_divide(lat_diff, departure)

    def angle(self, departure, lat_diff):
        return f32(math.atan(self.quotient(departure, lat_diff)) * self.radians_to_degrees)

    def course(self, departure, angle):
        base = self.westward_base if departure < 0 else self.eastward_base
        return f32(base - angle)

    def course_distance(self, own_lat, own_lon, target_lat, target_lon):
        own_lat_deg = self.degrees(own_lat)
        target_lat_deg = self.degrees(target_lat)
        own_lon_deg = self.degrees(own_lon)
        target_lon_deg = self.degrees(target_lon)
        if None in (own_lat_deg, target_lat_deg, own_lon_deg, target_lon_deg):
            return None
        lat_diff = self.lat_diff(own_lat_deg, target_lat_deg)
        cos_factor = self.cos_factor(own_lat_deg, target_lat_deg)
        departure = self.departure(own_lon_deg, target_lon_deg, cos_factor)
        distance = self.distance(departure, lat_diff)
        angle = self.angle(departure, lat_diff)
        return self.course(departure, angle), distance

    # Result line.
    def kilometres(self, distance):
        return distance / self.nautical_miles_per_kilometre

    def rounded_units(self, magnitude, decimals):
        """|value| in units of the last decimal shown, rounded half away from zero."""
        scaled = Fraction(magnitude) * 10**decimals
        units = math.floor(scaled)
        return units + 1 if scaled - units >= Fraction(1, 2) else units

    def number(self, value, least_digits, decimals, separator):
        if not math.isfinite(value):
            return "---"
        units = self.rounded_units(abs(value), decimals)
        whole, fraction = divmod(units, 10**decimals)
        text = (str(whole) if whole else "").rjust(least_digits, "0")
        if decimals:
            text += separator + str(fraction).rjust(decimals, "0")
        return ("-" if value < 0 and units else "") + text

    def line(self, course, distance, separator):
        return (
            "Kurs "
            + self.number(course, 3, 0, separator)
            + "   "
            + self.number(distance, 1, 2, separator)
            + "  DM   "
            + self.number(self.kilometres(distance), 1, 3, separator)
            + "  Km"
        )

    def result_line(self, trip, separator):
        result = self.course_distance(*trip)
        return None if result is None else self.line(*result, separator)


# Faults: what a slip in the program could do, one at a time.


class MinutesStoredAsFloat(Model):
    def combine(self, degrees, minutes, seconds):
        return seconds / 3600 + (degrees + f32(minutes / 60))


class SecondsAddedToMinutesFirst(Model):
    def combine(self, degrees, minutes, seconds):
        return degrees + (minutes / 60 + seconds / 3600)


class AllSecondsThenDivided(Model):
    def combine(self, degrees, minutes, seconds):
        return (degrees * 3600 + minutes * 60 + seconds) / 3600


class LatitudesSubtractedInFloat(Model):
    def lat_diff(self, own_lat, target_lat):
        return f32(f32(target_lat - own_lat) * self.minutes_per_degree)


class LatDiffKeptAsDouble(Model):
    def lat_diff(self, own_lat, target_lat):
        return (target_lat - own_lat) * self.minutes_per_degree


class CosineKeptAsDouble(Model):
    def cos_factor(self, own_lat, target_lat):
        return math.cos(target_lat * self.degrees_to_radians)


class CosineOfMeanLatitude(Model):
    def cos_factor(self, own_lat, target_lat):
        return f32(math.cos((own_lat + target_lat) / 2 * self.degrees_to_radians))


class CosineOfOwnLatitude(Model):
    def cos_factor(self, own_lat, target_lat):
        return f32(math.cos(own_lat * self.degrees_to_radians))


class DegreesToRadiansFull(Model):
    degrees_to_radians = math.pi / 180


class DegreesToRadiansLastDigit(Model):
    degrees_to_radians = 0.0174534


class RadiansToDegreesShortened(Model):
    radians_to_degrees = 57.29578


class RadiansToDegreesLastDigit(Model):
    radians_to_degrees = 57.295778


class RadiansToDegreesFull(Model):
    radians_to_degrees = 180 / math.pi


class MinutesPerDegreeLastDigit(Model):
    minutes_per_degree = 61.0


class LongitudeDifferenceStoredAsFloat(Model):
    def departure(self, own_lon, target_lon, cos_factor):
        return f32(f32(target_lon - own_lon) * self.minutes_per_degree * cos_factor)


class DepartureKeptAsDouble(Model):
    def departure(self, own_lon, target_lon, cos_factor):
        return (target_lon - own_lon) * self.minutes_per_degree * cos_factor


class DistanceInFloat(Model):
    def distance(self, departure, lat_diff):
        d = np.float32(departure)
        n = np.float32(lat_diff)
        return float(np.sqrt(d * d + n * n))


class DistanceKeptAsDouble(Model):
    def distance(self, departure, lat_diff):
        return math.sqrt(departure * departure + lat_diff * lat_diff)


class QuotientInFloat(Model):
    def quotient(self, departure, lat_diff):
        return f32(ieee_divide(lat_diff, departure))


class AngleKeptAsDouble(Model):
    def angle(self, departure, lat_diff):
        return math.atan(self.quotient(departure, lat_diff)) * self.radians_to_degrees


class TwoArgumentArctangent(Model):
    def angle(self, departure, lat_diff):
        return f32(math.atan2(lat_diff, departure) * self.radians_to_degrees)


class WestwardFromZeroDeparture(Model):
    def course(self, departure, angle):
        base = self.westward_base if departure <= 0 else self.eastward_base
        return f32(base - angle)


class WestwardBySignBit(Model):
    def course(self, departure, angle):
        base = self.westward_base if math.copysign(1.0, departure) < 0 else self.eastward_base
        return f32(base - angle)


class CourseWrapped(Model):
    def course(self, departure, angle):
        return math.fmod(super().course(departure, angle), 360.0)


class EastwardBaseLastDigit(Model):
    eastward_base = 91.0


class WestwardBaseLastDigit(Model):
    westward_base = 271.0


class KilometresStoredAsFloat(Model):
    def kilometres(self, distance):
        return f32(distance / self.nautical_miles_per_kilometre)


class KilometresByMultiplying(Model):
    def kilometres(self, distance):
        return distance * 1.852


class KilometreFactorLastDigit(Model):
    nautical_miles_per_kilometre = 0.55


class HalfToEven(Model):
    def rounded_units(self, magnitude, decimals):
        scaled = Fraction(magnitude) * 10**decimals
        return round(scaled)  # Python rounds a Fraction half to even


class ScaledInDouble(Model):
    """Rounds magnitude * 10^decimals, itself rounded to a double."""

    def rounded_units(self, magnitude, decimals):
        return super().rounded_units(magnitude * 10**decimals, 0)


class TieOnScaledFraction(Model):
    """Scales only the fraction, in double, and decides the tie on that."""

    def rounded_units(self, magnitude, decimals):
        whole = math.floor(magnitude)
        scaled = (magnitude - whole) * 10**decimals
        return whole * 10**decimals + super().rounded_units(scaled, 0)


class RoundedTwice(Model):
    """Rounds to one decimal more first (as printf would), then half away from zero."""

    def rounded_units(self, magnitude, decimals):
        once = round(Fraction(magnitude) * 10 ** (decimals + 1))
        return super().rounded_units(Fraction(once, 10 ** (decimals + 1)), decimals)


class Truncated(Model):
    def rounded_units(self, magnitude, decimals):
        return math.floor(Fraction(magnitude) * 10**decimals)


FAULTS = [
    MinutesStoredAsFloat,
    SecondsAddedToMinutesFirst,
    AllSecondsThenDivided,
    LatitudesSubtractedInFloat,
    LatDiffKeptAsDouble,
    CosineKeptAsDouble,
    CosineOfMeanLatitude,
    CosineOfOwnLatitude,
    DegreesToRadiansFull,
    DegreesToRadiansLastDigit,
    RadiansToDegreesShortened,
    RadiansToDegreesLastDigit,
    RadiansToDegreesFull,
    MinutesPerDegreeLastDigit,
    LongitudeDifferenceStoredAsFloat,
    DepartureKeptAsDouble,
    DistanceInFloat,
    DistanceKeptAsDouble,
    QuotientInFloat,
    AngleKeptAsDouble,
    TwoArgumentArctangent,
    WestwardFromZeroDeparture,
    WestwardBySignBit,
    CourseWrapped,
    EastwardBaseLastDigit,
    WestwardBaseLastDigit,
    KilometresStoredAsFloat,
    KilometresByMultiplying,
    KilometreFactorLastDigit,
    HalfToEven,
    ScaledInDouble,
    TieOnScaledFraction,
    RoundedTwice,
    Truncated,
]

# The kilometres from a float distance are never within a scaled ulp of a decimal tie,
# so this fault cannot show in a result line; FormatNumber's own table (1.005, 0.015)
# catches it.
NOT_IN_RESULT_LINES = {TieOnScaledFraction}

MODEL = Model()

# Trips: (own latitude, own longitude, target latitude, target longitude).

COVERAGE = {
    "the default positions": [("58:00:00", "17:00:00", "57:00:00", "18:00:00")],
    "every quadrant, and the way back": [
        ("58:00:00", "17:00:00", "59:00:00", "18:00:00"),
        ("58:00:00", "17:00:00", "57:00:00", "16:00:00"),
        ("58:00:00", "17:00:00", "59:00:00", "16:00:00"),
        ("57:00:00", "18:00:00", "58:00:00", "17:00:00"),
        ("59:30:00", "20:15:00", "59:20:00", "20:00:00"),
        ("60:10:20", "24:57:30", "60:10:21", "24:57:31"),
    ],
    "due north, south, east and west": [
        ("57:00:00", "18:00:00", "58:00:00", "18:00:00"),
        ("58:00:00", "18:00:00", "57:00:00", "18:00:00"),
        ("58:00:00", "17:00:00", "58:00:00", "18:00:00"),
        ("58:00:00", "18:00:00", "58:00:00", "17:00:00"),
        ("0:0:0", "0:0:0", "0:0:0", "1:0:0"),
        ("0:0:0", "1:0:0", "0:0:0", "0:0:0"),
        ("65:59:59", "30:59:59", "53:00:00", "30:59:59"),
        ("53:00:00", "9:00:00", "53:00:00", "30:59:59"),
    ],
    # Beyond 90 degrees the cosine is negative: the zero departure of a trip along a
    # meridian is -0, which still counts as eastward, and east and west swap.
    "latitudes beyond 90 degrees": [
        ("95:00:00", "18:00:00", "99:00:00", "18:00:00"),
        ("99:00:00", "18:00:00", "95:00:00", "18:00:00"),
        ("95:00:00", "18:00:00", "95:00:00", "18:00:00"),
        ("95:00:00", "17:00:00", "95:00:00", "18:00:00"),
        ("89:59:59", "17:00:00", "90:00:00", "18:00:00"),
        ("80:00:00", "17:00:00", "99:59:59", "18:00:00"),
    ],
    "the same position": [
        ("58:00:00", "17:00:00", "58:00:00", "17:00:00"),
        ("58:00:00", "17:00:00", "058:0:0", "17:00:00:00"),
        ("0:0:0", "0:0:0", "0:0:0", "0:0:0"),
    ],
    "three-digit longitudes": [
        ("58:00:00", "9:00:00", "57:00:00", "123:45:00"),
        ("58:00:00", "179:59:59", "59:00:00", "100:00:00"),
        ("1:00:00", "359:59:59", "0:00:00", "000:00:01"),
        ("60:00:00", "017:00:00", "60:00:00", "190:30:30"),
    ],
    "minutes and seconds of 60 and more": [
        ("58:75:99", "17:60:60", "57:00:00", "18:00:00"),
        ("58:00:00", "17:00:00", "57:99:99", "17:120:3600"),
        ("57:59:3600", "18:00:00", "58:60:00", "18:00:00"),
        ("58:0:86400", "17:0:0", "57:00:00", "17:999:00"),
    ],
    "texts of four parts and more": [
        ("58:00:00:12", "17:00:00", "57:00:00", "18:00:00:99"),
        ("58:00:00:", "17:00:00:00:00", "57:00:00:x", "18:00:00::"),
        ("5:8:0:0", "17:00:00", "5:8:0:1", "17:0:1:0"),
    ],
    "leading zeros and short parts": [
        ("058:00:00", "017:00:00", "0057:0:0", "18:0:0"),
        ("58:0:0", "9:5:7", "53:59:59", "31:0:0"),
    ],
    # Boundaries of reading a part as a whole number: 19 digits still fit 64 bits,
    # 20 digits no longer do, and the largest float is still read.
    "very long parts": [
        ("0:0:0", "0:0:0", "0:0:0", "9999999999999999999:0:0"),
        ("0:0:0", "0:0:0", "0:0:0", "18446744073709551616:0:0"),
        ("0:0:0", "0:0:0", "0:0:0", "99999999999999999999:0:0"),
        ("0:0:0", "0:0:0", "0:0:0", "0:0:18446744073709551615"),
        ("0:0:0", "0:0:0", "18446744073709551616:0:0", "0:0:0"),
        ("0:0:0", "0:0:0", "0:0:0", "340282346638528859811704183484516925440:0:0"),
        ("0:0:0", "0:0:0", "333333333333333333333333333333333333:0:0", "1:0:0"),
    ],
}


def dms(total_seconds):
    degrees, rest = divmod(int(total_seconds), 3600)
    minutes, seconds = divmod(rest, 60)
    return f"{degrees:02d}:{minutes:02d}:{seconds:02d}"


def random_trip(rng, latitudes=(53, 66), longitudes=(9, 31)):
    """A trip in the Baltic, unless other ranges of degrees are given."""
    return tuple(
        dms(rng.randint(low * 3600, high * 3600))
        for low, high in (latitudes, longitudes, latitudes, longitudes)
    )


def screen(seed, count, chunk=500_000):
    """Random Baltic trips, vectorised, and the ones whose course, distance or
    kilometres land on or next to a rounding tie. numpy's cos and arctan may differ
    from the C library's in the last bit, so every trip found here is checked again by
    the model before use."""
    rng = np.random.default_rng(seed)
    found = []
    for _ in range(count // chunk):
        seconds = [
            rng.integers(low * 3600, high * 3600 + 1, size=chunk)
            for low, high in ((53, 66), (9, 31), (53, 66), (9, 31))
        ]
        picked = screen_chunk(*(degrees_of(s) for s in seconds))
        found += [tuple(dms(s[i]) for s in seconds) for i in np.flatnonzero(picked)]
    return found


def degrees_of(total_seconds):
    whole, rest = np.divmod(total_seconds, 3600)
    minutes, seconds = np.divmod(rest, 60)
    return stored(seconds / 3600 + (whole + minutes / 60))


def stored(values):
    return values.astype(np.float32).astype(np.float64)


def screen_chunk(own_lat, own_lon, target_lat, target_lon):
    lat_diff = stored((target_lat - own_lat) * 60)
    cos_factor = stored(np.cos(target_lat * 0.0174533))
    departure = stored((target_lon - own_lon) * 60 * cos_factor)
    distance = stored(np.sqrt(departure**2 + lat_diff**2))
    angle = stored(np.arctan(lat_diff / departure) * 57.295779)
    course = stored(np.where(departure < 0, 270.0, 90.0) - angle)

    near_half = np.abs(course - np.floor(course) - 0.5) < 2e-4
    eighths = distance * 8
    distance_tie = (eighths == np.floor(eighths)) & (np.floor(eighths) % 2 == 1)
    km_units = distance * 32 / 27  # a distance of 27/32 NM is exactly 1.5625 km
    km_tie = (km_units == np.floor(km_units)) & (np.floor(km_units) % 2 == 1)
    course_tie = course - np.floor(course) == 0.5
    return near_half | distance_tie | km_tie | course_tie


def tie_kind(trip):
    """Which numbers of the model's line lie exactly on a rounding tie, or within an ulp
    of one (for the kilometres, a billionth of a unit below one)."""
    course, distance = MODEL.course_distance(*trip)
    kinds = []
    for name, value, scale in (("course", course, 1), ("distance", distance, 100)):
        offset = Fraction(value) * scale - Fraction(1, 2)
        step = Fraction(float(np.spacing(np.float32(value)))) * scale
        if offset == math.floor(offset):
            kinds.append(name + " exact")
        elif min(offset - math.floor(offset), math.ceil(offset) - offset) <= step:
            kinds.append(name + " near")
    km = Fraction(MODEL.kilometres(distance)) * 1000 - Fraction(1, 2)
    if km == math.floor(km):
        kinds.append("km exact")
    elif math.ceil(km) - km < Fraction(1, 10**9):
        kinds.append("km below")
    return kinds


def huge_degree_trips():
    """The order of the sums in reading a position shows only where a double's ulp is
    coarser than a minute: from 2^48 degrees up. There, on a float tie, whether the
    minutes and seconds are added one at a time or together decides the rounding. As a
    target longitude, the difference shows in the line."""
    trips = []
    wanted = {SecondsAddedToMinutesFirst: 2, AllSecondsThenDivided: 2}
    for odd in range(1, 64, 2):
        tie = 2**48 + odd * 2**24  # halfway between two floats
        for minutes in range(0, 3):
            for seconds in range(0, 240, 7):
                trip = ("0:0:0", "0:0:0", "0:0:0", f"{tie}:{minutes}:{seconds}")
                line = MODEL.result_line(trip, ".")
                for fault, left in wanted.items():
                    if left and fault().result_line(trip, ".") != line:
                        wanted[fault] -= 1
                        trips.append(trip)
                if not any(wanted.values()):
                    return trips
    return trips


def main():
    rng = random.Random(10)
    faults = [fault() for fault in FAULTS]

    def lines_of(trip):
        return [model.result_line(trip, ".") for model in [MODEL] + faults]

    # Trips that catch a fault, a few for each; then ties; then plain random trips.
    # Anywhere north and east: a float difference of latitudes rounds only when one is
    # more than twice the other.
    worldwide = [random_trip(rng, (0, 89), (0, 179)) for _ in range(2000)]
    candidates = [random_trip(rng) for _ in range(4000)] + worldwide + screen(10, 6_000_000)
    caught_by = {fault: [] for fault in FAULTS}
    ties = {
        kind: []
        for kind in ("course exact", "course near", "distance exact", "distance near")
        + ("km exact", "km below")
    }
    for trip in candidates:
        exact, *variants = lines_of(trip)
        for fault, line in zip(FAULTS, variants):
            if line != exact:
                caught_by[fault].append(trip)
        for kind in tie_kind(trip):
            ties[kind].append(trip)

    chosen = {}  # trip -> why; insertion order is the file's order

    def choose(trip, why):
        chosen.setdefault(trip, why)

    for why, trips in COVERAGE.items():
        for trip in trips:
            choose(trip, why)
    for trip in huge_degree_trips():
        choose(trip, "the order of the sums in reading a position")
    for kind, trips in ties.items():
        for trip in trips[:6]:
            choose(trip, "rounding ties: " + kind)
    per_fault = 6
    for fault in sorted(FAULTS, key=lambda f: len(caught_by[f])):
        already = sum(1 for trip in caught_by[fault] if trip in chosen)
        for trip in caught_by[fault]:
            if already >= per_fault:
                break
            if trip not in chosen:
                choose(trip, "trips a fault changes")
                already += 1
    for trip in candidates[:200]:
        choose(trip, "random trips in the Baltic")
    for trip in worldwide[:20]:
        choose(trip, "random trips anywhere north and east")

    # Coverage rows in both separators, all others alternating.
    rows = []
    for index, (trip, why) in enumerate(chosen.items()):
        separators = ".," if why in COVERAGE else ".,"[index % 2]
        for separator in separators:
            rows.append((why, trip, separator, MODEL.result_line(trip, separator)))

    out = Path(__file__).with_name("result_lines.tsv")
    with out.open("w", encoding="utf-8") as file:
        file.write(
            "# Written by make_result_lines.py; do not edit. Own latitude, own longitude,\n"
            "# target latitude, target longitude, decimal separator, result line.\n"
        )
        last_why = None
        for why, trip, separator, line in rows:
            assert line is not None, trip
            if why != last_why:
                file.write(f"# {why}\n")
                last_why = why
            file.write("\t".join([*trip, separator, line]) + "\n")

    print(f"{len(rows)} lines, {len(chosen)} trips, written to {out}")
    print("ties found among the screened trips:", {k: len(v) for k, v in ties.items()})
    missing = []
    for fault, model in zip(FAULTS, faults):
        shown = sum(
            1 for _, trip, sep, line in rows if model.result_line(trip, sep) != line
        )
        note = " (not visible in a result line)" if fault in NOT_IN_RESULT_LINES else ""
        print(f"  {fault.__name__:34} changes {shown:4} lines{note}")
        if shown == 0 and fault not in NOT_IN_RESULT_LINES:
            missing.append(fault.__name__)
    if missing:
        sys.exit("no line shows: " + ", ".join(missing))


if __name__ == "__main__":
    main()
