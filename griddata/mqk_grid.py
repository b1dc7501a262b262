# The German naval grid (Marinequadratkarte), described by rule.
#
# This module is the readable source of the grid database.  generate.py turns
# it into the keyword text of GridData.txt / GridData-Pacific.txt.
#
# Conventions used here (not those of the data file):
#   * latitudes in degrees, north positive;
#   * longitudes in degrees, EAST positive (the usual atlas convention);
#     generate.py converts to the file's west-positive positions.
#
# Rules of the grid (see README.md for the sources):
#   * a cell ("Quadrat", first digit pair) is 0.9 deg of latitude high and is
#     divided into 9 x 9 small squares of 0.1 deg (6 nm);
#   * a regular large square is 3 x 3 blocks of 3 x 3 cells, numbered like a
#     telephone keypad from the north-west corner: 8.1 deg high;
#   * widths are multiples of 2.7 deg (8.1, 10.8, 13.5 ...) so that a square
#     stays near 486 nm wide; 20.25, 27 and 40.5 deg toward the poles;
#   * rows of large squares lie on three latitude series: the Atlantic
#     (2.4 + 8.1 k), the Indian Ocean and Pacific (1.4 + 8.1 k) and the
#     eastern Mediterranean (29.4, 37.5, 45.6);
#   * cells divide a square evenly in DEGREES (see README.md, "Degrees or
#     Mercator paper"), which is also how the program interpolates.
#
# An irregular square is written as several records of one name, each a
# rectangle of equal cells whose form marks missing cells with None.
#
# Chart numbers express confidence: 1 = geometry confirmed by published
# positions (tests/griddata/test_history.py), 2 = reconstructed from the
# rules and the layout facts listed in README.md.

from collections import namedtuple

CONFIRMED = 1
RECONSTRUCTED = 2

# A quad form: cells given top row first, None where the square has no cell.
Form = namedtuple("Form", "type name rows")

# A run of equal large squares side by side, west to east, in one band.
#   lon_west: west edge of the first square (deg, east positive)
#   width:    width of each square (deg)
Run = namedtuple("Run", "names chart form lat_south lat_north lon_west width note")

_forms = []


def form(name, rows):
    """Registers a cell layout and returns it with the next free type number."""
    f = Form(len(_forms), name, [list(r) for r in rows])
    _forms.append(f)
    return f


def block_cells(blocks, cols=(0, 1, 2)):
    """Rows of cell numbers for block rows: blocks is a list of rows of block
    numbers (None for a missing block); cols picks the block columns kept."""
    rows = []
    for brow in blocks:
        for r in range(3):
            row = []
            for entry in brow:
                block, keep = entry if isinstance(entry, tuple) else (entry, cols)
                for c in keep:
                    row.append(None if block is None else 10 * block + 3 * r + c + 1)
            rows.append(row)
    return rows


def two_by_five(blocks, across):
    """Cells of blocks laid out as 2 columns x 5 rows (across=False) or
    5 columns x 2 rows (across=True).  The tenth cell of block k is written
    "0k", which the program reads as the number k."""
    def cell(k, n):
        return 10 * k + n if n <= 9 else k
    if across:
        return [[cell(k, 5 * r + c + 1) for k in blocks for c in range(5)] for r in range(2)]
    return [[cell(k, 2 * r + c + 1) for k in blocks for c in range(2)] for r in range(5)]


REGULAR = form("regular 9x9", block_cells([[1, 2, 3], [4, 5, 6], [7, 8, 9]]))
TOP_THIRD = form("blocks 1-3 only", block_cells([[1, 2, 3]]))
LOWER_TWO_THIRDS = form("blocks 4-9 (under a separate top part)",
                        block_cells([[4, 5, 6], [7, 8, 9]]))
TWO_BY_FIVE_3 = form("top part: blocks 1-3 as 2 x 5 cells each", two_by_five([1, 2, 3], False))
TWO_BY_FIVE_1 = form("top part: block 1 only, 2 x 5 cells", two_by_five([1], False))
WEST_TWO_THIRDS = form("blocks 1, 2, 4, 5, 7, 8", block_cells([[1, 2], [4, 5], [7, 8]]))
EAST_THIRD = form("blocks 3, 6, 9", block_cells([[3], [6], [9]]))
WEST_THIRD = form("blocks 1, 4, 7", block_cells([[1], [4], [7]]))
EAST_TWO_THIRDS = form("blocks 2, 3, 5, 6, 8, 9", block_cells([[2, 3], [5, 6], [8, 9]]))
NO_WEST_COLUMN = form("regular without its westernmost cell column",
                      block_cells([[(1, (1, 2)), 2, 3], [(4, (1, 2)), 5, 6],
                                   [(7, (1, 2)), 8, 9]]))
AL_LOWER = form("AL lower part, blocks 4/5/7/8 two columns wide",
                block_cells([[(4, (0, 1)), (5, (0, 1)), 6], [(7, (0, 1)), (8, (0, 1)), 9]]))
AM_LOWER = form("AM lower part, cell 63 belongs to AN",
                [[None if n == 63 else n for n in row] for row in LOWER_TWO_THIRDS.rows])
SINGLE_BLOCK = {k: form("block %d alone" % k, block_cells([[k]])) for k in (3, 4, 5, 6)}
MIDDLE_THIRD = form("blocks 2, 5, 8", block_cells([[2], [5], [8]]))
BLOCK_COLUMN_AND_ONE = form("blocks 1, 4, 7 and the first cell column of blocks 2, 5, 8",
                            block_cells([[1, (2, (0,))], [4, (5, (0,))], [7, (8, (0,))]]))
TWO_BLOCK_COLUMNS_AND_ONE = form("blocks 1, 2 and the first cell column of blocks 3, 6, 9",
                                 block_cells([[1, 2, (3, (0,))], [4, 5, (6, (0,))],
                                              [7, 8, (9, (0,))]]))
FIRST_TWO_OF_147 = form("first two cell columns of blocks 1, 4, 7",
                        block_cells([[(1, (0, 1))], [(4, (0, 1))], [(7, (0, 1))]]))
JK_JS = form("JK/JS: block columns 2 (two cells) and 3",
             block_cells([[(2, (1, 2)), 3], [(5, (1, 2)), 6], [(8, (1, 2)), 9]]))

# ---------------------------------------------------------------------------
# Latitude series
# ---------------------------------------------------------------------------


def atlantic(k):
    """Band k of the Atlantic series: 2.4 + 8.1 k .. 10.5 + 8.1 k."""
    south = round(2.4 + 8.1 * k, 4)
    return south, round(south + 8.1, 4)


def indo_pacific(k):
    """Band k of the Indian Ocean and Pacific series: 1.4 + 8.1 k."""
    south = round(1.4 + 8.1 * k, 4)
    return south, round(south + 8.1, 4)


def regular_row(names, band, lon_west, width, note, chart=RECONSTRUCTED):
    return Run(list(names), chart, REGULAR, band[0], band[1], lon_west, width, note)


def letters(first, pairs):
    """Names such as "DA DB DC" from a first letter and second letters."""
    return [first + c for c in pairs]


# ---------------------------------------------------------------------------
# The Atlantic file: Atlantic, Arctic seas, North Sea, Baltic, Mediterranean,
# Black Sea, South Atlantic and Indian Ocean.
# ---------------------------------------------------------------------------

# The northern Atlantic row reaches from 51.0 to 60.9 deg: two block rows
# (51.0-56.4) under a top part (56.4-60.9) of blocks drawn 2 x 5 cells.
A_LOWER = (51.0, 56.4)
A_TOP = (56.4, 60.9)

_ARCTIC = [
    regular_row(["\u00c4J", "\u00c4H", "\u00c4G", "\u00c4F"], (77.1, 85.2), -76.0, 40.5,
                "polar row, 40.5 deg squares"),
    regular_row(["\u00c4D", "AA", "AB", "AC", "AT"], (69.0, 77.1), -61.0, 27.0,
                "Greenland Sea, Spitsbergen, Barents Sea; 27 deg squares"),
    Run(["AS"], RECONSTRUCTED, BLOCK_COLUMN_AND_ONE,
        69.0, 77.1, 74.0, 12.0, "Kara Sea, partial square east of AT"),
    Run(["\u00c4E"], RECONSTRUCTED, WEST_THIRD, 69.0, 77.1, -85.0, 6.0,
        "Baffin Bay: blocks 1, 4, 7 narrowed to 6 deg (cells 2 deg wide)"),
    Run(["\u00c4E"], RECONSTRUCTED, EAST_TWO_THIRDS, 69.0, 77.1, -79.0, 18.0,
        "Baffin Bay: blocks 2, 3, 5, 6, 8, 9, cells 3 deg wide"),
    regular_row(["\u00c4C", "\u00c4B"], (60.9, 69.0), -85.0, 20.25, "Hudson Strait, Davis Strait"),
    Run(["AD"], RECONSTRUCTED, form("AD: blocks 1 and 2 in the east of the top row",
                                    block_cells([[None, 1, 2], [3, 4, 5], [6, 7, 8]])),
        60.9, 69.0, -44.5, 20.25, "Denmark Strait; top row holds only blocks 1 and 2"),
    Run(["AD"], RECONSTRUCTED, form("AD 9: 4 x 2 cells", [[91, 92, 93, 94], [95, 96, 97, 98]]),
        59.1, 60.9, -44.5, 7.2, "AD 9, south of Cape Farewell"),
    regular_row(["AE", "AF"], (60.9, 69.0), -24.25, 20.25, "Iceland, Norwegian Sea"),
    Run(["AG"], RECONSTRUCTED, WEST_TWO_THIRDS, 60.9, 69.0, 16.25, 13.5,
        "Gulf of Bothnia: blocks 1, 2, 4, 5, 7, 8"),
    regular_row(["AW", "AU"], (60.9, 69.0), 29.75, 20.25, "Kola, White Sea"),
    Run(["AR"], RECONSTRUCTED, TWO_BLOCK_COLUMNS_AND_ONE,
        60.9, 69.0, 70.25, 15.75, "Kara Sea coast, partial square"),
    Run(["\u00c4A"], RECONSTRUCTED, form("\u00c4A: three blocks of 5 x 2 cells",
                                         two_by_five([1, 2, 3], True)),
        59.1, 60.9, -71.5, 27.0, "Hudson Strait to Cape Farewell, 1.8 deg high"),
]

_NORTH_ATLANTIC_A = [
    Run(["AH", "AJ"], RECONSTRUCTED, TOP_THIRD, 56.4, 59.1, -69.7, 16.2,
        "Labrador Sea, top block row 16.2 deg wide"),
    Run(["AH", "AJ"], RECONSTRUCTED, LOWER_TWO_THIRDS, *A_LOWER, -67.0, 13.5,
        "Labrador, lower block rows 13.5 deg wide"),
    Run(["AK"], RECONSTRUCTED, TWO_BY_FIVE_3, *A_TOP, -37.3, 10.8, "2 x 5 top part"),
    Run(["AL", "AM"], CONFIRMED, TWO_BY_FIVE_3, *A_TOP, -26.5, 10.8,
        "2 x 5 top parts; AL 2658 (Athenic) and AM 1969 (Athenia) fit within 3 nm"),
    Run(["AN"], RECONSTRUCTED, TWO_BY_FIVE_1, *A_TOP, -4.9, 3.6,
        "AN 1, the tenth 2 x 5 block of the top row"),
    Run(["AK"], RECONSTRUCTED, LOWER_TWO_THIRDS, *A_LOWER, -40.0, 13.5,
        "AK lower part"),
    Run(["AL"], RECONSTRUCTED, AL_LOWER, *A_LOWER, -26.5, 10.5,
        "AL lower part: 7 columns of 1.5 deg"),
    Run(["AM"], RECONSTRUCTED, AM_LOWER, *A_LOWER, -16.0, 13.5,
        "AM lower part, west of Scotland and Ireland"),
    Run(["AN"], RECONSTRUCTED, form("AN 2: 5 x 2 cells", two_by_five([2], True)),
        59.1, 60.9, -1.3, 9.0, "AN 2, Shetland to Bergen"),
    Run(["AN"], RECONSTRUCTED, SINGLE_BLOCK[4], 56.4, 59.1, -1.3, 5.4, "AN 4, west of AN 3"),
    Run(["AN"], RECONSTRUCTED, SINGLE_BLOCK[3], 56.4, 59.1, 4.1, 5.4, "AN 3, Skagerrak mouth"),
    Run(["AN"], RECONSTRUCTED, form("AN 5-8: two blocks wide",
                                    block_cells([[5, 6], [7, 8]])),
        *A_LOWER, -2.5, 9.0, "southern North Sea"),
    Run(["AN"], RECONSTRUCTED, form("AN 05 alone", [[5]]), 55.5, 56.4, -4.0, 1.5,
        "AN 05, tenth cell of AN 5 (Firth of Forth)"),
    Run(["AN"], RECONSTRUCTED, form("AN 9: 2 x 5 cells", two_by_five([9], False)),
        51.9, 56.4, 6.5, 3.0, "AN 9, German Bight"),
    Run(["AO"], RECONSTRUCTED, form("AO 1-3: 4, 5 and 4 cells across, 2 high",
                                    [[11, 12, 13, 14, 21, 22, 23, 24, 25, 31, 32, 33, 34],
                                     [15, 16, 17, 18, 26, 27, 28, 29, 2, 35, 36, 37, 38]]),
        59.1, 60.9, 7.7, 23.4, "Oslofjord to Gulf of Finland"),
    Run(["AO"], RECONSTRUCTED, SINGLE_BLOCK[4], 56.4, 59.1, 9.5, 5.4, "AO 4, Skagerrak, Kattegat"),
    Run(["BH"], RECONSTRUCTED, form("BH 7: 5 x 2 cells", two_by_five([7], True)),
        45.6, 47.4, 11.0, 7.5, "BH 7, the only block of BH with sea: the head of the "
        "Gulf of Trieste north of 45.6 N; the rest of BH is land"),
    Run(["AO"], RECONSTRUCTED, SINGLE_BLOCK[5], 56.4, 59.1, 14.9, 5.4, "AO 5, Gotland"),
    Run(["AO"], RECONSTRUCTED, SINGLE_BLOCK[6], 56.4, 59.1, 20.3, 5.4, "AO 6, Gulf of Riga"),
    Run(["AO"], RECONSTRUCTED, form("AO 7-9: western Baltic",
                                    [[71, 72, 73, 81, 82, 91, 92, 93],
                                     [74, 75, 76, 83, 84, 94, 95, 96],
                                     [77, 78, 79, 85, 86, 97, 98, 99],
                                     [7, 87, 88, 89, 8, None, None, None]]),
        52.8, 56.4, 9.5, 12.0, "Belts, Kiel Bay, Bornholm, Danzig Bay"),
]

_BISCAY = [
    regular_row(["BA", "BB", "BC"], atlantic(5), -79.0, 13.5,
                "Nova Scotia, Newfoundland, Grand Banks"),
    regular_row(["BD"], atlantic(5), -38.5, 13.5,
                "BD 5354 (U 880) fits within 3 nm", chart=CONFIRMED),
    regular_row(["BE"], atlantic(5), -25.0, 13.5, "west of Biscay"),
    Run(["BF"], RECONSTRUCTED, form("BF 1, 2", block_cells([[1, 2]])),
        48.3, 51.0, -11.5, 9.0, "Western Approaches"),
    Run(["BF"], RECONSTRUCTED, form("BF 3: Channel, narrowing east",
                                    [[31, 32, 33, 34], [35, 36, 37, None],
                                     [38, 39, None, None]]),
        48.3, 51.0, -2.5, 6.0, "English Channel"),
    Run(["BF"], RECONSTRUCTED, form("BF 4-6: block 4 whole, 5 and 6 two columns",
                                    block_cells([[4, (5, (0, 1)), (6, (0, 1))]])),
        45.6, 48.3, -11.5, 10.5, "northern Bay of Biscay"),
    Run(["BF"], RECONSTRUCTED, form("BF 7-9: cells 1.2 deg wide", block_cells([[7, 8, 9]])),
        42.9, 45.6, -11.5, 10.8, "southern Bay of Biscay"),
]

_AZORES_MED = [
    regular_row(["CA"], atlantic(4), -78.7, 10.8,
                "CA 6897 (Tacoma Star's distress position) fits within 4 nm",
                chart=CONFIRMED),
    regular_row(["CB", "CC", "CD", "CE"], atlantic(4), -67.9, 10.8,
                "Bermuda to the Azores"),
    Run(["CF"], RECONSTRUCTED, NO_WEST_COLUMN, 34.8, 42.9, -24.7, 9.6,
        "CF lacks its westernmost cell column"),
    regular_row(["CG"], atlantic(4), -15.1, 10.8, "Portugal, Gibraltar"),
    Run(["CH"], RECONSTRUCTED, WEST_TWO_THIRDS, 34.8, 42.9, -4.3, 7.2, "Alboran Sea, Balearics"),
    Run(["CH"], CONFIRMED, EAST_THIRD, 35.7, 43.8, 2.9, 3.6,
        "CH 3/6/9, shifted 0.9 deg north; CH 9119 (HMS Eagle) fits within 12 nm"),
    Run(["CJ"], RECONSTRUCTED, WEST_THIRD, 36.6, 44.7, 6.5, 3.6,
        "CJ 1/4/7, Sardinia, shifted 1.8 deg north"),
    Run(["CJ"], RECONSTRUCTED, EAST_TWO_THIRDS, 37.5, 45.6, 10.1, 7.2,
        "Tyrrhenian Sea, on the eastern Mediterranean series"),
    Run(["CN"], RECONSTRUCTED, form("CN west: block 1 lower two rows, blocks 4 and 7",
                                    block_cells([[1]])[1:] + block_cells([[4], [7]])),
        29.4, 36.6, 6.5, 3.6, "Tunisia"),
    Run(["CN"], RECONSTRUCTED, EAST_TWO_THIRDS, 29.4, 37.5, 10.1, 7.2, "Sicily to Libya"),
    regular_row(["CK"], (37.5, 45.6), 17.3, 10.8, "Adriatic, Ionian and northern Aegean"),
    regular_row(["CO", "CP"], (29.4, 37.5), 17.3, 10.8, "Crete, Libya, Egypt, Levant"),
    Run(["CM"], RECONSTRUCTED, TOP_THIRD, 37.5, 40.2, 28.1, 10.8, "Sea of Marmara, Anatolia"),
    Run(["CL"], RECONSTRUCTED, form("CL: blocks 1, 5, 6 over 4, 7, 8",
                                    block_cells([[1, 5, 6], [4, 7, 8]])),
        40.2, 45.6, 28.1, 10.8, "western Black Sea"),
    Run(["CL"], RECONSTRUCTED, form("CL 2, 3: 1.5 deg cells, two rows",
                                    [[None, 21, 22, 23, 24, 31, 32, 33, 34],
                                     [25, 26, 27, 28, 29, 35, 36, 37, 38]]),
        45.6, 47.4, 29.0, 13.5, "Odessa, Crimea, Sea of Azov"),
    Run(["CL"], RECONSTRUCTED, form("CL 9: 2 x 5 cells", two_by_five([9], False)),
        40.2, 44.7, 38.9, 2.4, "eastern Black Sea"),
    Run(["CS"], RECONSTRUCTED, form("CS top row", [[11, 12, 13, 21, 22]]),
        44.7, 45.6, 38.9, 6.0, "Kerch Strait"),
    Run(["CS"], RECONSTRUCTED, form("CS east column of cells",
                                    [[14, 24, 25], [15, 27, 28], [16, 31, 32],
                                     [17, 34, 35], [18, 37, 38]]),
        40.2, 44.7, 41.3, 3.6, "Caucasus coast"),
    Run(["CQ"], RECONSTRUCTED, form("CQ 1, 2", block_cells([[1, 2]])),
        26.7, 29.4, 31.7, 7.2, "Gulf of Suez, northern Red Sea"),
    Run(["CQ"], RECONSTRUCTED, form("CQ 3-5: one row of 0.9 deg cells",
                                    [[31, 32, 33, 41, 42, 43, 51, 52, 53]]),
        25.8, 26.7, 31.4, 8.1, "Red Sea at 26 N"),
]

_CENTRAL_ATLANTIC = [
    regular_row(letters("D", "ABCDEFGHJ"), atlantic(3), -99.1, 10.8,
                "Gulf of Mexico to Morocco; 10.8 deg squares north of 26.7 N"),
    Run(["DK"], RECONSTRUCTED, WEST_THIRD, 18.6, 26.7, -100.0, 1.8,
        "DK 1/4/7, Mexican coast, cells 0.6 deg wide"),
    Run(["DK"], RECONSTRUCTED, EAST_TWO_THIRDS, 18.6, 26.7, -98.2, 5.4,
        "DK 2/3/5/6/8/9, western Gulf of Mexico"),
    regular_row(letters("D", "LMNOPQRSTU"), atlantic(2), -92.8, 8.1,
                "Yucatan, Cuba, Bahamas to West Africa"),
    regular_row(letters("E", "ABCDEFGHJK"), atlantic(1), -92.8, 8.1,
                "Caribbean to Cape Verde"),
    regular_row(letters("E", "LMNOPQRSTUVW"), atlantic(0), -84.7, 8.1,
                "Panama to the Gulf of Guinea"),
]

_SOUTH_ATLANTIC = [
    regular_row(letters("F", "ABCDE"), atlantic(-1), -52.3, 8.1,
                "Amazon mouth to St Paul Rocks, across the equator"),
    regular_row(["FF"], atlantic(-1), -11.8, 8.1,
                "FF 7721 (U 156, Laconia) fits U 156's own plain-language position "
                "within 2 nm", chart=CONFIRMED),
    regular_row(["FG", "FH"], atlantic(-1), -3.7, 8.1, "Gulf of Guinea to Gabon"),
    regular_row(letters("F", "JKLMNOP"), atlantic(-2), -41.5, 8.1, "Recife, St Helena, Angola"),
    regular_row(letters("F", "QRSTUVW"), atlantic(-3), -41.5, 8.1, "Bahia, Trindade, Angola"),
    regular_row(letters("G", "ABCDEFGHJ"), atlantic(-4), -52.3, 8.1, "Santos, Rio, Walvis Bay"),
    regular_row(letters("G", "KLMNOPQR"), atlantic(-5), -64.3, 10.8,
                "River Plate to the Cape; 10.8 deg squares south of 30 S"),
    regular_row(letters("G", "STUVWXYZ"), atlantic(-6), -69.1, 10.8, "Patagonia to the Cape"),
    regular_row(letters("H", "ABCDEFG"), atlantic(-7), -70.0, 13.5, "Falklands, South Georgia"),
    regular_row(letters("H", "HJKLMN"), atlantic(-8), -76.0, 16.2, "Drake Passage, Weddell Sea"),
    Run(["JJ"], RECONSTRUCTED, WEST_TWO_THIRDS, -46.2, -38.1, 17.3, 7.2,
        "south of the Cape, partial square"),
]

_INDIAN = [
    Run(["KY"], RECONSTRUCTED, form("KY 2/5/8: the eastern cell column, down to 86",
                                    [[23], [26], [29], [53], [56], [59], [83], [86]]),
        -38.2, -31.0, 21.8, 1.2,
        "Cape: the eastern cells of blocks 2, 5, 8 on KY's own grid (1.2 deg from 21.8 E); "
        "their western quarter is GR's, the last small-square row of 86 JJ's"),
    Run(["KY"], RECONSTRUCTED, form("KY 3/6/9 without 97 (JJ lies there)",
                                    [[None if n == 97 else n for n in row]
                                     for row in EAST_THIRD.rows]),
        -39.1, -31.0, 23.0, 3.6,
        "Port Elizabeth; 94, 95 and 98 reach a small-square row or a quarter cell into JJ"),
    regular_row(["KZ"] + letters("J", "ABCDEFGH"), indo_pacific(-5), 26.6, 10.8,
                "East London to Australia"),
    regular_row(["KP"], indo_pacific(-4), 26.6, 10.8,
                "Durban; KP 8325 (Nova Scotia) fits within 12 nm", chart=CONFIRMED),
    regular_row(letters("K", "QRSTUVWX"), indo_pacific(-4), 37.4, 10.8,
                "Madagascar south to Western Australia"),
    regular_row(letters("K", "DEFGHJKLMNO"), indo_pacific(-3), 29.3, 8.1,
                "Mozambique Channel, Mauritius"),
    regular_row(letters("L", "TUVWXYZ") + ["KA", "KB", "KC"], indo_pacific(-2), 37.4, 8.1,
                "Dar es Salaam, Seychelles south, Java"),
    regular_row(letters("L", "JKLMNOPQRS"), indo_pacific(-1), 37.4, 8.1,
                "Mombasa, Chagos, Sumatra"),
    regular_row(["MY", "MZ"] + letters("L", "ABCDEFGH"), indo_pacific(0), 37.4, 8.1,
                "Somalia, Maldives, Ceylon, Malacca"),
    regular_row(letters("M", "OPQRSTUVWX"), indo_pacific(1), 37.4, 8.1,
                "Gulf of Aden, Arabian Sea, Bay of Bengal"),
    regular_row(["CR"] + letters("M", "DEFGHJKLMN"), indo_pacific(2), 29.3, 8.1,
                "Red Sea, Gulf of Oman, Bombay, Calcutta"),
    Run(["MA"], RECONSTRUCTED, EAST_TWO_THIRDS, 25.7, 33.8, 41.0, 7.2, "Iraq, Kuwait"),
    regular_row(["MB", "MC"], indo_pacific(3), 48.2, 10.8, "Persian Gulf, Makran coast"),
    regular_row(["CU"], indo_pacific(5), 45.5, 13.5, "northern Caspian Sea"),
    regular_row(["CV"], indo_pacific(4), 48.2, 10.8, "southern Caspian Sea"),
    regular_row(letters("J", "LMNOPQR"), indo_pacific(-6), 32.0, 13.5, "Roaring forties"),
    regular_row(letters("J", "TUVWXYZ"), indo_pacific(-7), 32.0, 13.5, "southern Indian Ocean"),
    regular_row(letters("H", "OPQRSTU"), indo_pacific(-8), 21.2, 16.2, "towards Antarctica"),
    Run(["JK"], RECONSTRUCTED, JK_JS, -47.2, -39.1, 24.5, 7.5,
        "south of Port Elizabeth, partial square"),
    Run(["JS"], RECONSTRUCTED, JK_JS, -55.3, -47.2, 24.5, 7.5,
        "Southern Ocean south of JK, east of HG"),
    Run(["JS"], RECONSTRUCTED, form("JS 79, 87", [[79, 87]]), -55.3, -54.4, 21.5, 3.0,
        "JS 79 and 87, under HG"),
]

ATLANTIC = _ARCTIC + _NORTH_ATLANTIC_A + _BISCAY + _AZORES_MED + _CENTRAL_ATLANTIC \
    + _SOUTH_ATLANTIC + _INDIAN


def forms_of(runs):
    """The forms the runs use, in type order."""
    return sorted({r.form.type: r.form for r in runs}.values(), key=lambda f: f.type)


FORMS = forms_of(ATLANTIC)

# ---------------------------------------------------------------------------
# The Pacific file.  Its rows lie on the 1.4 + 8.1 k series, its eastern
# edge (the strip between the long Pacific rows and the P squares off the
# Americas) partly on the Atlantic series.  A square that straddles the
# 180 deg meridian is one record reaching past 180 E; the program brings
# its positions back into -180..180.
# ---------------------------------------------------------------------------


def pacific_row(names, band, lon_west, width, note):
    """Runs of one row that may cross the 180 deg meridian: squares wholly
    west of it, the straddling square (east edge past 180 E), and squares
    wholly east of it (longitudes brought into -180..0)."""
    west, across, east = [], [], []
    for i, name in enumerate(names):
        lo = round(lon_west + i * width, 4)
        hi = round(lo + width, 4)
        if hi <= 180.0:
            west.append((name, lo))
        elif lo >= 180.0:
            east.append((name, round(lo - 360.0, 4)))
        else:
            across.append((name, lo))
    runs = []
    for part in (west, across, east):
        if part:
            runs.append(regular_row([n for n, _ in part], band, part[0][1], width, note))
    return runs


def strip(name, band, lon_west, width, shape, note):
    return Run([name], RECONSTRUCTED, shape, band[0], band[1], lon_west, width, note)


# The partial squares at 167 E, west of the rows that start at 170.6 or 176 E.
PACIFIC = [
    strip("OF", indo_pacific(4), 167.0, 3.6, WEST_THIRD, "partial square, western third only"),
    strip("OT", indo_pacific(3), 167.0, 3.6, WEST_THIRD, "partial square, western third only"),
    strip("XJ", indo_pacific(9), 167.0, 9.0, WEST_THIRD, "East Siberian Sea, blocks 1, 4, 7"),
    strip("XG", indo_pacific(8), 167.0, 15.75, TWO_BLOCK_COLUMNS_AND_ONE,
          "Chukchi Sea, across 180 deg"),
    strip("NC", indo_pacific(7), 167.0, 3.6, FIRST_TWO_OF_147, "Gulf of Anadyr"),
    strip("NL", indo_pacific(6), 167.0, 9.0, WEST_TWO_THIRDS, "Commander Islands"),
    strip("NU", indo_pacific(5), 167.0, 9.0, WEST_TWO_THIRDS, "North Pacific"),
    strip("UR", indo_pacific(-4), 167.0, 3.6, WEST_THIRD, "New Caledonia, Norfolk Island"),
    strip("VF", indo_pacific(-5), 167.0, 3.6, WEST_THIRD, "Norfolk Island south"),
    strip("VT", indo_pacific(-6), 167.0, 9.0, WEST_TWO_THIRDS, "west of New Zealand"),
    strip("WE", indo_pacific(-7), 167.0, 9.0, WEST_TWO_THIRDS, "south of New Zealand"),
    regular_row(["WQ"], indo_pacific(-8), 167.0, 19.8, "Southern Ocean, across 180 deg"),
] + [strip(name, indo_pacific(k), 167.0, 3.6, BLOCK_COLUMN_AND_ONE, "Marshalls to New Hebrides")
     for name, k in (("QJ", 2), ("RB", 1), ("RU", 0), ("SN", -1), ("TF", -2), ("TZ", -3))]

# The polar row above the X squares: one block row, 82.4-85.1 N.
POLAR = (82.4, 85.1)
PACIFIC += [
    strip("YB", POLAR, 86.0, 40.5, form("blocks 8, 9", block_cells([[8, 9]])),
          "north of Severnaya Zemlya"),
    strip("YC", POLAR, 126.5, 60.75, form("blocks 7, 8, 9", block_cells([[7, 8, 9]])),
          "Arctic Ocean, across 180 deg"),
    strip("YD", POLAR, -172.75, 54.0, form("blocks 7, 8 and two cell columns of 9",
                                           block_cells([[7, 8, (9, (0, 1))]])),
          "Arctic Ocean; the last third of cells 93, 96, 99 (2.25 deg) is left out"),
    strip("YE", POLAR, -116.5, 40.5, form("blocks 7, 8", block_cells([[7, 8]])),
          "north of Ellesmere Island"),
    strip("XN", indo_pacific(9), -103.0, 27.0,
          form("without block 9", block_cells([[1, 2, 3], [4, 5, 6], [7, 8, None]])),
          "Queen Elizabeth Islands; block 9 is \u00c4E's"),
    strip("XR", indo_pacific(8), -96.25, 11.25,
          form("block 1 column and two cell columns of block 2",
               block_cells([[1, (2, (0, 1))], [4, (5, (0, 1))], [7, (8, (0, 1))]])),
          "Gulf of Boothia, Prince Regent Inlet"),
]

# The eastern strip: squares that close the gap between the Pacific rows
# (ending at 108.4 W or 103 W) and the P squares off the Americas (100.9 W
# or 100 W).  The middle block column of the 8.4 deg squares is 3 deg wide.
_QU_EAST = form("blocks 3, 6, 9 without 99", [[None if n == 99 else n for n in row]
                                              for row in EAST_THIRD.rows])
_RN_EAST = form("first two cell columns of blocks 3, 6, 9",
                block_cells([[(3, (0, 1))], [(6, (0, 1))], [(9, (0, 1))]]))
_SY_EAST = form("SY 3/6/9: two cell columns, and 99",
                [row[:2] + [99 if row[0] == 97 else None] for row in EAST_THIRD.rows])


def eastern_square(name, band, east_form, east_width, note):
    """An 8.4 (or 7.5) deg square of the strip: 2.7 + 3.0 + east part."""
    return [strip(name, band, -108.4, 2.7, WEST_THIRD, note),
            strip(name, band, -105.7, 3.0, MIDDLE_THIRD, note),
            strip(name, band, -102.7, east_width, east_form, note)]


PACIFIC += eastern_square("QU", indo_pacific(2), _QU_EAST, 2.7, "Mazatlan to Manzanillo") \
    + eastern_square("RN", indo_pacific(1), _RN_EAST, 1.8, "off Acapulco") \
    + eastern_square("SF", indo_pacific(0), _RN_EAST, 1.8, "Clipperton") \
    + eastern_square("SY", indo_pacific(-1), _SY_EAST, 2.7, "equatorial Pacific") \
    + eastern_square("TR", indo_pacific(-2), EAST_THIRD, 2.7, "South Pacific") \
    + eastern_square("UL", indo_pacific(-3), EAST_THIRD, 2.7, "South Pacific")
PACIFIC += [
    Run(["VA"], RECONSTRUCTED, form("VA: two cell columns of blocks 1, 4 and 7 down to 75",
                                    FIRST_TWO_OF_147.rows[:8]),
        -30.1, -22.9, -103.0, 3.0, "South Pacific; cells 74, 75 reach a small-square row into VP"),
    strip("VP", atlantic(-5), -103.0, 3.0, FIRST_TWO_OF_147, "South Pacific"),
    strip("WA", atlantic(-6), -103.0, 3.0, FIRST_TWO_OF_147, "South Pacific"),
    strip("WM", atlantic(-7), -103.0, 6.0, BLOCK_COLUMN_AND_ONE, "South Pacific"),
    strip("WV", atlantic(-8), -108.4, 16.2,
          form("without 11, 12, 13", [[None if n in (11, 12, 13) else n for n in row]
                                      for row in REGULAR.rows]),
          "Southern Ocean; 14-16 reach a small-square row into WL"),
]
_LAST_TWO_OF_147 = form("last two cell columns of blocks 1, 4, 7",
                        block_cells([[(1, (1, 2))], [(4, (1, 2))], [(7, (1, 2))]]))
for name, band in (("PS", atlantic(-5)), ("PV", atlantic(-6))):
    PACIFIC += [
        strip(name, band, -100.0, 2.1, _LAST_TWO_OF_147, "South Pacific off Chile"),
        strip(name, band, -97.9, 7.2, EAST_TWO_THIRDS, "South Pacific off Chile"),
    ]

for _args in [
    (letters("X", "ACE"), indo_pacific(9), 86.0, 27.0, "Laptev Sea"),
    (letters("X", "KLM"), indo_pacific(9), 176.0, 27.0, "Arctic Ocean north of Alaska"),
    (["XZ", "XB", "XD", "XF"], indo_pacific(8), 86.0, 20.25, "Kara and Laptev coast"),
    (letters("X", "HOPQ"), indo_pacific(8), -177.25, 20.25, "Chukchi and Beaufort Sea"),
    (["NA", "NB"], indo_pacific(7), 134.6, 16.2, "Sea of Okhotsk north"),
    (letters("N", "DEFG"), indo_pacific(7), 170.6, 16.2, "Bering Sea, Gulf of Alaska"),
    (letters("N", "HJK"), indo_pacific(6), 126.5, 13.5, "Sea of Okhotsk, Sakhalin"),
    (letters("N", "MNOPQ"), indo_pacific(6), 176.0, 13.5, "Aleutians, Gulf of Alaska"),
    (letters("N", "RST"), indo_pacific(5), 126.5, 13.5, "Sea of Japan, Hokkaido"),
    (letters("N", "VWXYZ"), indo_pacific(5), 176.0, 13.5, "North Pacific"),
    (letters("O", "ABCDE"), indo_pacific(4), 113.0, 10.8, "Yellow Sea, Japan"),
    (letters("O", "GHJKLMN"), indo_pacific(4), 170.6, 10.8, "North Pacific to California"),
    (letters("O", "OPQRS"), indo_pacific(3), 113.0, 10.8, "East China Sea, Bonin"),
    (letters("O", "UVWXYZ") + ["QA", "QB"], indo_pacific(3), 170.6, 10.8,
     "Midway to Baja California"),
    (letters("Q", "CDEFGH"), indo_pacific(2), 118.4, 8.1, "Taiwan, Philippine Sea, Marianas"),
    (letters("Q", "KLMNOPQRST"), indo_pacific(2), 170.6, 8.1, "Wake, Hawaii, Mexico"),
    (["QV", "QW", "QX", "QY", "QZ", "RA"], indo_pacific(1), 118.4, 8.1,
     "South China Sea to Marianas"),
    (letters("R", "CDEFGHJKLM"), indo_pacific(1), 170.6, 8.1, "Marshalls to Central America"),
    (letters("R", "OPQRST"), indo_pacific(0), 118.4, 8.1, "Borneo, Mindanao, Carolines"),
    (letters("R", "VWXYZ") + letters("S", "ABCDE"), indo_pacific(0), 170.6, 8.1,
     "Gilberts to Panama"),
    (letters("S", "GHJKLM"), indo_pacific(-1), 118.4, 8.1, "Celebes, New Guinea"),
    (letters("S", "OPQRSTUVWX"), indo_pacific(-1), 170.6, 8.1, "Equatorial Pacific"),
    (["SZ", "TA", "TB", "TC", "TD", "TE"], indo_pacific(-2), 118.4, 8.1,
     "Timor, Arafura Sea, Solomons"),
    (letters("T", "GHJKLMNOPQ"), indo_pacific(-2), 170.6, 8.1, "Samoa, Marquesas"),
    (letters("T", "TUVWXY"), indo_pacific(-3), 118.4, 8.1, "north-western Australia, Coral Sea"),
    (letters("U", "ABCDEFGHJK"), indo_pacific(-3), 170.6, 8.1, "Fiji, Tahiti"),
    (letters("U", "NOPQ"), indo_pacific(-4), 123.8, 10.8, "Australia, Coral Sea"),
    (letters("U", "STUVWXYZ"), indo_pacific(-4), 170.6, 10.8, "south of Tonga"),
    (letters("V", "BCDE"), indo_pacific(-5), 123.8, 10.8, "Great Australian Bight, Tasman Sea"),
    (letters("V", "GHJKLMNO"), indo_pacific(-5), 170.6, 10.8, "north of New Zealand"),
    (letters("V", "QRS"), indo_pacific(-6), 126.5, 13.5, "south of Australia"),
    (letters("V", "UVWXYZ"), indo_pacific(-6), 176.0, 13.5, "east of New Zealand"),
    (letters("W", "BCD"), indo_pacific(-7), 126.5, 13.5, "Southern Ocean"),
    (letters("W", "FGHJKL"), indo_pacific(-7), 176.0, 13.5, "Southern Ocean"),
    (["WO", "WP"], indo_pacific(-8), 134.6, 16.2, "Southern Ocean"),
    (letters("W", "RSTU"), indo_pacific(-8), -173.2, 16.2, "Southern Ocean"),
    (["PA"], atlantic(1), -100.9, 8.1, "Mexico, west of EA"),
    (["PB", "PC"], atlantic(0), -100.9, 8.1, "Central America, Pacific side"),
    (letters("P", "DEF"), atlantic(-1), -100.9, 8.1, "Galapagos"),
    (letters("P", "GHJ"), atlantic(-2), -100.0, 8.1, "Peru"),
    (letters("P", "KLMN"), atlantic(-3), -100.0, 8.1, "Peru, northern Chile"),
    (letters("P", "OPQR"), atlantic(-4), -100.0, 8.1, "Chile"),
    (["PT", "PU"], atlantic(-5), -90.7, 10.8, "Chile"),
    (["PW", "PX"], atlantic(-6), -90.7, 10.8, "southern Chile"),
    (["PY", "PZ"], atlantic(-7), -97.0, 13.5, "Patagonia, Pacific side"),
    (["WW"], atlantic(-8), -92.2, 16.2, "Drake Passage west"),
]:
    PACIFIC.extend(pacific_row(*_args))

PACIFIC_FORMS = forms_of(PACIFIC)

DATE = "2026-12-07"

# The About box shows the line in an edit field of 175 x 45 dialog units:
# five lines of about 43 average characters (generate.py holds it to five
# lines of 40).  Chart 1 squares are those the program marks " Ok.".
_ABOUT = ("Orvanta MQK grid database %s, %s. Chart 1 squares (the program says Ok.) "
          "fit published positions; Chart 2 squares are reconstructed.")
ABOUT_MAIN = _ABOUT % (DATE, "Atlantic to Indian Ocean")
ABOUT_PACIFIC = _ABOUT % (DATE, "Pacific and Arctic Ocean")
