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
#     stays near 486 nm wide;
#   * cells divide a square evenly in DEGREES (see README.md, "Degrees or
#     Mercator paper"), which is also how the program interpolates.
#
# Chart numbers express confidence: 1 = geometry confirmed by published
# positions, 2 = reconstructed from the rules and neighbouring facts.

from collections import namedtuple

CONFIRMED = 1
RECONSTRUCTED = 2

# A quad form: cells given top row first, None where the square has no cell.
Form = namedtuple("Form", "type name rows")

# A run of equal large squares side by side, west to east, in one band.
#   lon_west: west edge of the first square (deg, east positive)
#   width:    width of each square (deg)
Run = namedtuple("Run", "names chart form lat_south lat_north lon_west width note")


def _block_rows(first_block_row):
    """Rows of cell numbers for one row of three regular 3x3 blocks."""
    rows = []
    for r in range(3):
        row = []
        for b in range(3):
            block = 3 * first_block_row + b + 1
            row.extend(10 * block + 3 * r + c + 1 for c in range(3))
        rows.append(row)
    return rows


def _two_by_five(blocks):
    """Cells of 2-column x 5-row blocks: block k holds k1..k9 and the tenth
    cell, written with a leading zero ("0k"), which reads as the number k."""
    rows = []
    for r in range(5):
        row = []
        for k in blocks:
            for c in range(2):
                n = 2 * r + c + 1
                row.append(10 * k + n if n <= 9 else k)
        rows.append(row)
    return rows


# Cell layouts.  The type numbers are those written to the file.
FORM_REGULAR = Form(0, "regular 9x9", _block_rows(0) + _block_rows(1) + _block_rows(2))
FORM_LOWER_TWO_THIRDS = Form(1, "blocks 4-9 (lower part under a 2x5 top)",
                             _block_rows(1) + _block_rows(2))
FORM_TWO_BY_FIVE_3 = Form(2, "top part: blocks 1-3 as 2 x 5 cells each",
                          _two_by_five([1, 2, 3]))
FORM_TWO_BY_FIVE_1 = Form(3, "top part: block 1 only, 2 x 5 cells",
                          _two_by_five([1]))


def _al_lower():
    # AL's lower part is narrowed to 10.5 deg: blocks 4, 5, 7 and 8 keep only
    # their two western columns, blocks 6 and 9 are whole.
    rows = []
    for base in (4, 7):
        for r in range(3):
            row = []
            for block, cols in ((base, 2), (base + 1, 2), (base + 2, 3)):
                row.extend(10 * block + 3 * r + c + 1 for c in range(cols))
            rows.append(row)
    return rows


FORM_AL_LOWER = Form(4, "AL lower part, blocks 4/5/7/8 two columns wide", _al_lower())

FORMS = [FORM_REGULAR, FORM_LOWER_TWO_THIRDS, FORM_TWO_BY_FIVE_3,
         FORM_TWO_BY_FIVE_1, FORM_AL_LOWER]

# ---------------------------------------------------------------------------
# Atlantic latitude series: rows start at 2.4 + 8.1 k degrees.
# ---------------------------------------------------------------------------


def atlantic_row(k):
    south = round(2.4 + 8.1 * k, 4)
    return south, round(south + 8.1, 4)


R_C = atlantic_row(4)      # 34.8 .. 42.9
R_B = atlantic_row(5)      # 42.9 .. 51.0
R_E = atlantic_row(1)      # 10.5 .. 18.6
R_D = atlantic_row(3)      # 26.7 .. 34.8
R_F = atlantic_row(0)      # 2.4 .. 10.5  (north of the equator)
R_FS = atlantic_row(-1)    # -5.7 .. 2.4

# The northern row of the Atlantic reaches from 51.0 to 60.9 deg: a lower
# part of two block rows (51.0 .. 56.4, cells 1.5 deg wide in 13.5 deg
# squares) under a top part of 2 x 5 blocks (56.4 .. 60.9, blocks 3.6 deg wide
# with cells 1.8 deg wide).
A_LOWER = (51.0, 56.4)
A_TOP = (56.4, 60.9)

ATLANTIC = [
    # --- northern row, top part (2 x 5 blocks) ---------------------------
    Run(["AK"], RECONSTRUCTED, FORM_TWO_BY_FIVE_3, *A_TOP, -37.3, 10.8,
        "AK 1-3 as 2x5 blocks; west edge 37.3 W"),
    Run(["AL", "AM"], CONFIRMED, FORM_TWO_BY_FIVE_3, *A_TOP, -26.5, 10.8,
        "AL 2658 (Athenic) and AM 1969 (Athenia) fit within 5 nm"),
    Run(["AN"], RECONSTRUCTED, FORM_TWO_BY_FIVE_1, *A_TOP, -4.9, 3.6,
        "only AN 1 is a 2x5 block; AN 2 and AN 3 (northern North Sea) not modelled"),
    # --- northern row, lower part -----------------------------------------
    Run(["AK"], RECONSTRUCTED, FORM_LOWER_TWO_THIRDS, *A_LOWER, -40.0, 13.5,
        "AK lower part ends where AL's narrowed lower part begins"),
    Run(["AL"], RECONSTRUCTED, FORM_AL_LOWER, *A_LOWER, -26.5, 10.5,
        "AL lower part: 7 columns of 1.5 deg"),
    Run(["AM", "AN", "AO"], RECONSTRUCTED, FORM_LOWER_TWO_THIRDS, *A_LOWER, -16.0, 13.5,
        "AM 6 has its west edge at 7 W; AN is the southern North Sea, AO the western Baltic"),
    # --- 42.9 .. 51.0, squares 13.5 deg wide --------------------------------
    Run(["BA", "BB", "BC"], RECONSTRUCTED, FORM_REGULAR, *R_B, -79.5, 13.5,
        "continued west of BD by the 13.5 deg rule"),
    Run(["BD"], CONFIRMED, FORM_REGULAR, *R_B, -39.0, 13.5,
        "BD 4835 (Hastings) and BD 5354 (U-880)"),
    Run(["BE", "BF"], RECONSTRUCTED, FORM_REGULAR, *R_B, -25.5, 13.5,
        "BF 1345 in U 31's war diary fits a west edge of 12 W"),
    # --- 34.8 .. 42.9, squares 10.8 deg wide --------------------------------
    Run(["CA"], CONFIRMED, FORM_REGULAR, *R_C, -78.3, 10.8,
        "CA 2896 (Coimbra)"),
    Run(["CB", "CC", "CD", "CE", "CF", "CG"], RECONSTRUCTED, FORM_REGULAR, *R_C, -67.5, 10.8,
        "east of CA by the 10.8 deg rule; CG reaches Gibraltar"),
    Run(["CH", "CJ"], RECONSTRUCTED, FORM_REGULAR, *R_C, 8.1 - 10.8, 10.8,
        "western Mediterranean, continuing the row east of CG"),
    # --- 26.7 .. 34.8, squares 8.1 deg wide ---------------------------------
    Run(["DG"], RECONSTRUCTED, FORM_REGULAR, *R_D, -33.3, 8.1,
        "DG 8682 (Minister Wedel, convoy TM 1) places DG's west edge near 33.3 W"),
    # --- 10.5 .. 18.6, squares 8.1 deg wide ---------------------------------
    Run(["EB"], RECONSTRUCTED, FORM_REGULAR, *R_E, -85.9, 8.1,
        "EB 2135 (New Jersey) in the Caribbean"),
    Run(["EF"], CONFIRMED, FORM_REGULAR, *R_E, -52.5, 8.1,
        "EF 7392 (South Africa) east of Trinidad"),
    # --- 5.7 S .. 2.4 N, squares 8.1 deg wide --------------------------------
    Run(["FF"], RECONSTRUCTED, FORM_REGULAR, *R_FS, -12.0, 8.1,
        "FF 7721 (Laconia) near Ascension"),
]

# ---------------------------------------------------------------------------
# Pacific file.  Indian Ocean and Pacific rows start at 1.4 + 8.1 k degrees.
# ---------------------------------------------------------------------------


def indo_pacific_row(k):
    south = round(1.4 + 8.1 * k, 4)
    return south, round(south + 8.1, 4)


# Partial squares that keep only their western column of blocks (1, 4, 7):
# the western third of a 10.8 deg square, north-west of Midway.
FORM_WEST_THIRD = Form(5, "western column of blocks only",
                       [[10 * (3 * br + 1) + 3 * r + c + 1 for c in range(3)]
                        for br in range(3) for r in range(3)])

PACIFIC_FORMS = [FORM_REGULAR, FORM_WEST_THIRD]

PACIFIC = [
    Run(["OT"], RECONSTRUCTED, FORM_WEST_THIRD, *indo_pacific_row(3), 167.0, 3.6,
        "partial square, western third only"),
    Run(["OF"], RECONSTRUCTED, FORM_WEST_THIRD, *indo_pacific_row(4), 167.0, 3.6,
        "partial square, western third only"),
]

DATE = "2026-12-07"

ABOUT_MAIN = ("Orvanta MQK grid database %s (Atlantic file): North Atlantic, "
              "western Mediterranean, Caribbean, central and South Atlantic; partial "
              "coverage. Chart 1 = checked against published positions, 2 = "
              "reconstructed. Data MIT licence." % DATE)

ABOUT_PACIFIC = ("Orvanta MQK grid database %s (Pacific file): Pacific squares; "
                 "partial coverage, all reconstructed (chart 2). Data MIT licence." % DATE)
