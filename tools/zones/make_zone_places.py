#!/usr/bin/env python3
"""Writes clock/zone_places_data.cpp: the places of the IANA time zones (city, country, tzdata's
comment) with the Windows zone each keeps the time of, for the Time Zone window's search.

Needs Python 3 (its standard library only) and two Debian packages, which the build does not need:
  unicode-cldr-core  /usr/share/unicode/cldr/common/{supplemental/windowsZones.xml,bcp47/timezone.xml,
                     dtd/ldmlSupplemental.dtd}
  tzdata             /usr/share/zoneinfo/{zone.tab,zone1970.tab,iso3166.tab,tzdata.zi}

  tools/zones/make_zone_places.py [OUTPUT] [--cldr DIR] [--tzdata DIR]

OUTPUT defaults to clock/zone_places_data.cpp beside this script's tree. Commit what it writes.
"""
import argparse
import os
import subprocess
import sys
import textwrap
import unicodedata
import xml.etree.ElementTree as ElementTree

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

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


def package_note(name, folder, default_folder):
    """ (Debian package NAME VERSION), when the files are the package's."""
    if os.path.realpath(folder) != default_folder:
        return ""
    try:
        version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", name], capture_output=True, text=True,
                                 check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return ""
    return " (Debian package %s %s)" % (name, version)


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


def read_places(tzdata, links, windows_zones):
    by_territory, anywhere = windows_zones
    countries = {code: name for code, name in rows(os.path.join(tzdata, "iso3166.tab"))}
    # zone1970.tab spells some comments with their accents; zone.tab's comment is the one meant for
    # the row's country, so the accented form is taken only where it is the same text.
    accented = {}
    for fields in rows(os.path.join(tzdata, "zone1970.tab")):
        if len(fields) > 3:
            for code in fields[0].split(","):
                accented[(code, fields[2])] = fields[3]
    places = []
    unmapped = []
    for fields in rows(os.path.join(tzdata, "zone.tab")):
        code, name = fields[0], fields[2]
        comment = fields[3] if len(fields) > 3 else ""
        if comment and fold(accented.get((code, name), "")) == fold(comment):
            comment = accented[(code, name)]
        key = by_territory.get((code, name)) or anywhere.get(name)
        if not key:
            unmapped.append(name)
            continue
        city = name.rsplit("/", 1)[-1].replace("_", " ")
        places.append((key, city, countries[code], comment))
    return places, unmapped


def c_string(text):
    out = []
    for byte in text.encode("utf-8"):
        if byte in (0x22, 0x5C):
            out.append("\\" + chr(byte))
        elif 0x20 <= byte < 0x7F:
            out.append(chr(byte))
        else:
            out.append("\\%03o" % byte)
    return "".join(out)


def pack(texts):
    """One block of zero-ended texts, each stored once (a text that ends another shares its bytes),
    and each text's offset in it. Offset 0 is the empty text."""
    block = "\0"
    offsets = {"": 0}
    for text in sorted(set(texts) - {""}, key=lambda t: (-len(t.encode("utf-8")), t)):
        whole = (text + "\0").encode("utf-8")
        found = block.encode("utf-8").find(whole)
        if found < 0:
            found = len(block.encode("utf-8"))
            block += text + "\0"
        offsets[text] = found
    return block, offsets


def write(path, places, cldr_source, tz_source):
    block, offsets = pack([text for place in places for text in place])
    size = len(block.encode("utf-8"))
    if size > 0xFFFF:
        sys.exit("the texts take %d bytes, more than an offset of 16 bits reaches" % size)
    lines = [
        "// Generated by tools/zones/make_zone_places.py; do not edit. The places of the IANA time zones,",
        "// each with the Windows zone whose time it keeps.",
        "//",
    ]
    sources = ("From %s: common/supplemental/windowsZones.xml (the Windows zone of each IANA zone per "
               "territory) and common/bcp47/timezone.xml (the zones' other names), under the Unicode licence "
               "below; and from %s: zone.tab, zone1970.tab, iso3166.tab and tzdata.zi, which are in the "
               "public domain." % (cldr_source, tz_source))
    lines += ["// " + line for line in textwrap.wrap(sources, 97)] + ["//"]
    lines += ["// " + line if line else "//" for line in UNICODE_NOTICE.split("\n")]
    lines += [
        "",
        '#include "clock/zone_places.h"',
        "",
        "namespace {",
        "",
        "struct ZonePlaceRow {",
        "  unsigned short keyName, city, country, comment;",
        "};",
        "",
        "// Every text once, each ending in a zero byte, in UTF-8.",
        "const char TEXT[] =",
    ]
    # One literal per text: a digit after "\0" in the same literal would join its escape.
    literals = ['"\\0"'] + ['"%s\\0"' % c_string(text) for text in block[1:].split("\0")[:-1]]
    line = "   "
    for literal in literals:
        if len(line) + 1 + len(literal) > 112:
            lines.append(line)
            line = "   "
        line += " " + literal
    lines.append(line + ";")
    lines += [
        "",
        "// Offsets into TEXT: the Windows zone's key name, the city, the country, tzdata's comment.",
        "const ZonePlaceRow PLACES[] = {",
    ]
    for key, city, country, comment in places:
        lines.append("    {%d, %d, %d, %d},  // %s" % (offsets[key], offsets[city], offsets[country], offsets[comment],
                                                     city))
    lines += [
        "};",
        "",
        "}  // namespace",
        "",
        "std::size_t ZonePlaceCount() { return sizeof PLACES / sizeof PLACES[0]; }",
        "",
        "ZonePlace ZonePlaceAt(std::size_t index) {",
        "  const ZonePlaceRow& row = PLACES[index < ZonePlaceCount() ? index : 0];",
        "  return ZonePlace{TEXT + row.keyName, TEXT + row.city, TEXT + row.country, TEXT + row.comment};",
        "}",
        "",
    ]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    return size


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("output", nargs="?", default=os.path.join(ROOT, "clock", "zone_places_data.cpp"))
    parser.add_argument("--cldr", default="/usr/share/unicode/cldr")
    parser.add_argument("--tzdata", default="/usr/share/zoneinfo")
    args = parser.parse_args()
    links, tz_version = read_links(args.tzdata)
    places, unmapped = read_places(args.tzdata, links, read_windows_zones(args.cldr, links))
    cldr_source = "Unicode CLDR %s%s" % (cldr_version(args.cldr),
                                         package_note("unicode-cldr-core", args.cldr, "/usr/share/unicode/cldr"))
    tz_source = "the IANA time zone database %s%s" % (tz_version,
                                                      package_note("tzdata", args.tzdata, "/usr/share/zoneinfo"))
    size = write(args.output, places, cldr_source, tz_source)
    print("wrote %s: %d places, %d bytes of text" % (args.output, len(places), size))
    if unmapped:
        print("no Windows zone in CLDR for: " + " ".join(unmapped))


if __name__ == "__main__":
    main()
