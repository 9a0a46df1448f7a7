#!/usr/bin/python3
"""Writes the PDF writer's font width files (data/fonts/*.ftb) for the 14 standard fonts.

The widths come from the AFM files of Debian's package fonts-urw-base35, whose fonts are metric
compatible with the standard PostScript fonts. The text fonts are indexed by WinAnsi code, the
encoding the writer declares for them; Symbol and ZapfDingbats keep their built-in codes, because the
writer declares no encoding for those two. Codes without a glyph are left out and so have width 0.

Run once after a change of the metrics; the generated files are committed, so the build never needs
the package:  /usr/bin/python3 tools/make_font_widths.py [AFM folder] [output folder]
"""

import os
import sys

AFM_DIR = "/usr/share/fonts/type1/urw-base35"

# width file name -> AFM file
FONTS = {
    "courier": "NimbusMonoPS-Regular",
    "courierb": "NimbusMonoPS-Bold",
    "courieri": "NimbusMonoPS-Italic",
    "courierbi": "NimbusMonoPS-BoldItalic",
    "helvetica": "NimbusSans-Regular",
    "helveticab": "NimbusSans-Bold",
    "helveticai": "NimbusSans-Italic",
    "helveticabi": "NimbusSans-BoldItalic",
    "times": "NimbusRoman-Regular",
    "timesb": "NimbusRoman-Bold",
    "timesi": "NimbusRoman-Italic",
    "timesbi": "NimbusRoman-BoldItalic",
    "symbol": "StandardSymbolsPS",
    "zapfdingbats": "D050000L",
}
BUILTIN_ENCODING = {"symbol", "zapfdingbats"}

ASCII_NAMES = (
    "space exclam quotedbl numbersign dollar percent ampersand quotesingle parenleft parenright "
    "asterisk plus comma hyphen period slash zero one two three four five six seven eight nine colon "
    "semicolon less equal greater question at A B C D E F G H I J K L M N O P Q R S T U V W X Y Z "
    "bracketleft backslash bracketright asciicircum underscore grave a b c d e f g h i j k l m n o p q "
    "r s t u v w x y z braceleft bar braceright asciitilde"
).split()

HIGH_NAMES = {
    128: "Euro", 130: "quotesinglbase", 131: "florin", 132: "quotedblbase", 133: "ellipsis",
    134: "dagger", 135: "daggerdbl", 136: "circumflex", 137: "perthousand", 138: "Scaron",
    139: "guilsinglleft", 140: "OE", 142: "Zcaron", 145: "quoteleft", 146: "quoteright",
    147: "quotedblleft", 148: "quotedblright", 149: "bullet", 150: "endash", 151: "emdash",
    152: "tilde", 153: "trademark", 154: "scaron", 155: "guilsinglright", 156: "oe", 158: "zcaron",
    159: "Ydieresis",
}

LATIN1_NAMES = (
    "space exclamdown cent sterling currency yen brokenbar section dieresis copyright ordfeminine "
    "guillemotleft logicalnot hyphen registered macron degree plusminus twosuperior threesuperior "
    "acute mu paragraph periodcentered cedilla onesuperior ordmasculine guillemotright onequarter "
    "onehalf threequarters questiondown Agrave Aacute Acircumflex Atilde Adieresis Aring AE Ccedilla "
    "Egrave Eacute Ecircumflex Edieresis Igrave Iacute Icircumflex Idieresis Eth Ntilde Ograve Oacute "
    "Ocircumflex Otilde Odieresis multiply Oslash Ugrave Uacute Ucircumflex Udieresis Yacute Thorn "
    "germandbls agrave aacute acircumflex atilde adieresis aring ae ccedilla egrave eacute "
    "ecircumflex edieresis igrave iacute icircumflex idieresis eth ntilde ograve oacute ocircumflex "
    "otilde odieresis divide oslash ugrave uacute ucircumflex udieresis yacute thorn ydieresis"
).split()


def win_ansi():
    names = {32 + i: n for i, n in enumerate(ASCII_NAMES)}
    names.update(HIGH_NAMES)
    names.update({160 + i: n for i, n in enumerate(LATIN1_NAMES)})
    assert len(ASCII_NAMES) == 95 and len(LATIN1_NAMES) == 96
    return names


def read_afm(path):
    """Glyph name -> width, and built-in code -> width."""
    by_name, by_code = {}, {}
    with open(path, encoding="latin-1") as f:
        for line in f:
            if not line.startswith("C "):
                continue
            fields = {}
            for part in line.split(";"):
                words = part.split()
                if len(words) >= 2:
                    fields[words[0]] = words[1]
            width = int(round(float(fields["WX"])))
            code = int(fields["C"])
            by_name.setdefault(fields.get("N"), width)
            if 0 <= code <= 255:
                by_code[code] = width
    return by_name, by_code


def key(code):
    ch = chr(code)
    if ch in ("'", "\\"):
        return "'\\" + ch + "'"
    if 32 <= code < 127:
        return "'" + ch + "'"
    return "chr(%d)" % code


def main():
    afm_dir = sys.argv[1] if len(sys.argv) > 1 else AFM_DIR
    out_dir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data", "fonts")
    os.makedirs(out_dir, exist_ok=True)
    names = win_ansi()
    for ftb, afm in FONTS.items():
        by_name, by_code = read_afm(os.path.join(afm_dir, afm + ".afm"))
        if ftb in BUILTIN_ENCODING:
            widths = dict(by_code)
        else:
            widths = {}
            for code, name in sorted(names.items()):
                if name not in by_name:
                    sys.exit("%s: no glyph %s" % (afm, name))
                widths[code] = by_name[name]
        lines = ["%s=>%d" % (key(code), widths[code]) for code in sorted(widths)]
        with open(os.path.join(out_dir, ftb + ".ftb"), "w", encoding="ascii", newline="\n") as f:
            f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
