"""Reads the plain grid data text the way the program's loader does, and
converts codes the way the program does, so that the database can be checked
without the program.

Written from the file format's rules, independently of generate.py: it works
on the bytes of the generated file, not on the grid source.
"""

import ctypes
import math

KEY = "Kapten Bl\u00e5 seglar hem mot Gotland i natt:)".encode("cp1252")


def unscramble(data):
    return bytes(b ^ KEY[i % len(KEY)] for i, b in enumerate(data))


def f32(x):
    return ctypes.c_float(x).value


class FormatError(Exception):
    pass


class Reader:
    """Byte reader with the field readers of the file format."""

    def __init__(self, data):
        self.data = data
        self.pos = 0

    def byte(self):
        if self.pos >= len(self.data):
            return None
        b = self.data[self.pos]
        self.pos += 1
        return b

    def word(self):
        buf = []
        c = self.byte()
        if c is None:
            return b""
        buf.append(c)
        while True:
            if buf and (buf[-1] < 0x20 or buf[-1] >= 0x80):
                buf.pop()
            c = self.byte()
            if c is None:
                break
            if c == 0x0A and buf:
                break
            if c == 0x20 or c == 0xFF:
                break
            buf.append(c)
        return bytes(buf)

    def field(self, ends):
        buf = []
        while True:
            c = self.byte()
            if c is None or c in ends:
                return bytes(buf)
            buf.append(c)

    def short(self):
        return _atoi(self.field(b",\n"))

    def number_entry(self):
        f = [self.byte()]
        i = 0
        while True:
            if i == 0 and f[0] == 0x0A:
                i = -1
            elif i >= 0 and f[i] == 0x0D:
                if i == 0:
                    self.byte()
                i -= 1
            elif i >= 0 and f[i] == 0x09:
                i -= 1
            i += 1
            c = self.byte()
            del f[i:]
            f.append(c)
            if c is None or c in b",\n":
                break
        text = bytes(b for b in f[:i] if b is not None)
        v = _atoi(text) & 0xFF
        return v - 256 if v >= 128 else v

    def position(self):
        deg = self.field(b"'")
        mins = self.field(b" \n")
        v = f32(_atof(deg) * 60.0)
        m = _atof(mins)
        return f32(v - m if v < 0 else v + m)

    def name(self):
        buf = []
        while True:
            c = self.byte()
            if c == 0x0D:
                c = self.byte()
            if c is None or c == 0x0A:
                return bytes(buf), False
            if c == ord(","):
                return bytes(buf), True
            buf.append(c)

    def line(self):
        buf = []
        while True:
            c = self.byte()
            if c is None or c == 0x0A:
                break
            buf.append(c)
        return bytes(buf[:-1]) if buf else b""


def _atoi(text):
    s = text.lstrip(b" \t\r\n\v\f")
    sign = 1
    if s[:1] in (b"+", b"-"):
        sign = -1 if s[:1] == b"-" else 1
        s = s[1:]
    digits = b""
    for ch in s:
        if 0x30 <= ch <= 0x39:
            digits += bytes([ch])
        else:
            break
    v = sign * int(digits) if digits else 0
    v &= 0xFFFF
    return v - 0x10000 if v >= 0x8000 else v


def _atof(text):
    s = text.lstrip(b" \t\r\n\v\f").decode("latin-1")
    best = 0.0
    for i in range(len(s), 0, -1):
        try:
            best = float(s[:i])
            break
        except ValueError:
            continue
    return best


class Database:
    def __init__(self):
        self.about = None
        self.records = []   # dicts: name chart lat lon size_lon size_lat type section
        self.forms = {}     # type -> (fx, fy, numbers)
        self.sections = []  # (chart, type, nx, ny, names)
        self.status = 0


def load(data):
    """Load plain text bytes; returns a Database with the loader's status."""
    db = Database()
    r = Reader(data)
    t = r.word()
    if t == b"About":
        db.about = r.line()
        t = r.word()
    mismatch = 0
    chart = qtype = nx = ny = 0
    dl = ur = (0.0, 0.0)
    while True:
        if t == b"Chart":
            chart = r.short()
        t = r.word()
        if t == b"Quadtype":
            qtype = r.short()
        t = r.word()
        if t == b"NrOfQuadsX":
            nx = r.short()
        t = r.word()
        if t == b"NrOfQuadsY":
            ny = r.short()
        t = r.word()
        if t == b"DownLeftPos":
            dl = (r.position(), r.position())
        t = r.word()
        if t == b"UpRightPos":
            ur = (r.position(), r.position())
        names = []
        t = r.word()
        while t == b"QuadName":
            more = True
            while more:
                n, more = r.name()
                names.append(n)
            t = r.word()
        if nx * ny != len(names):
            mismatch = 1
        size_lon = f32((ur[1] - dl[1]) / nx) if nx else 0.0
        size_lat = f32((ur[0] - dl[0]) / ny) if ny else 0.0
        sec = len(db.sections)
        db.sections.append((chart, qtype, nx, ny, list(names)))
        for j in range(max(ny, 0)):
            for k in range(max(nx, 0)):
                idx = nx * j + k
                db.records.append({
                    "name": names[idx] if idx < len(names) else b"",
                    "chart": chart, "type": qtype,
                    "lat": f32(dl[0] + f32(j * size_lat)),
                    "lon": f32(dl[1] + f32(k * size_lon)),
                    "size_lon": size_lon, "size_lat": size_lat,
                    "section": sec,
                })
        if t != b"Chart":
            break
    if t != b"QuadDefinitions":
        db.status = 2
        return db
    t = r.word()
    index = 0
    while True:
        if t == b"Type":
            index = r.short()
        fx, fy, nums = db.forms.get(index, (0, 0, []))
        t = r.word()
        if t == b"FormX":
            fx = r.short()
        t = r.word()
        if t == b"FormY":
            fy = r.short()
        t = r.word()
        if t == b"Numbers:":
            nums = [r.number_entry() for _ in range(max(fx * fy, 0))]
        db.forms[index] = (fx, fy, nums)
        t = r.word()
        if t != b"Type":
            break
    db.status = mismatch
    return db


STANDARD = [[10 * (3 * (r // 3) + c // 3 + 1) + 3 * (r % 3) + c % 3 + 1 for c in range(9)]
            for r in range(9)]


def find_cell(fx, fy, nums, number):
    for r in range(fy):
        for c in range(fx):
            if nums[r * fx + c] == number:
                return c, fy - 1 - r
    return None


def convert(db, code):
    """Centre of the small square named by code: (lat, lon) in degrees,
    north and EAST positive, and the chosen record; None when not found."""
    letters = code[:2].encode("cp1252")
    matches = [rec for rec in db.records if rec["name"] == letters][:20]
    if len(code) != 6:
        return None
    for rec in matches:
        fx, fy, nums = db.forms.get(rec["type"], (0, 0, []))
        if fy <= 0:
            continue
        c1 = find_cell(fx, fy, nums, _atoi(code[2:4].encode()))
        if c1 is None:
            continue
        c2 = find_cell(9, 9, sum(STANDARD, []), _atoi(code[4:6].encode()))
        if c2 is None:
            continue
        fracx = f32(c1[0] / fx + c2[0] / (9 * fx))
        fracy = f32(c1[1] / fy + c2[1] / (9 * fy))
        lat = (fracy * rec["size_lat"] + rec["lat"]) + rec["size_lat"] / (9 * fy) * 0.5
        lon = (fracx * rec["size_lon"] + rec["lon"]) + rec["size_lon"] / (9 * fx) * 0.5
        return lat / 60.0, -lon / 60.0, rec
    return None


def extent(rec):
    """(south, north, west, east) of a record in degrees, east positive."""
    lat0 = rec["lat"] / 60.0
    lat1 = (rec["lat"] + rec["size_lat"]) / 60.0
    lon0 = -rec["lon"] / 60.0
    lon1 = -(rec["lon"] + rec["size_lon"]) / 60.0
    return min(lat0, lat1), max(lat0, lat1), min(lon0, lon1), max(lon0, lon1)


def distance_nm(lat1, lon1, lat2, lon2):
    """Great-circle distance in nautical miles."""
    p1, p2 = math.radians(lat1), math.radians(lat2)
    dp = p2 - p1
    dl = math.radians(lon2 - lon1)
    a = math.sin(dp / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin(dl / 2) ** 2
    return 2 * math.asin(min(1.0, math.sqrt(a))) * 180 / math.pi * 60
